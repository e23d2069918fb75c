#pragma once

#include <QColor>
#include <QString>

class ConjuntoDados;
class Dinheiro;

// What the product screen does, apart from its widgets: the list is
// DM->QyProduto, sorted by the column whose title is clicked, searched
// through the search dialog, and put back in code order on closing.
class LogicaProduto
{
  public:
    static constexpr const char *kSqlPadrao = "select * from tbproduto order by codigo";

    ConjuntoDados &produtos() const;

    // On the first product; the counter's text.
    QString abrir();
    // The list in ascending order of the column, on its first row; the same
    // column again reverses the order.
    void ordenar(const QString &coluna);
    // The column of the last sort ("" while in the opening order) and its way.
    const QString &colunaOrdenada() const { return m_coluna; }
    bool decrescente() const { return m_decrescente; }
    void pesquisar();
    // Code order again, on the first row, for every other user of the list.
    void aoFechar();

    // Banded rows: silver on odd positions (counted from 1), white on even.
    static QColor fundoDaLinha(int linha);

    // A price as the order screens show money: two decimals, up to four
    // where the value has them ("1,50", "2,9875").
    static QString textoPreco(const Dinheiro &preco);

  private:
    void emOrdem(const QString &coluna, bool decrescente);

    QString m_coluna;
    bool m_decrescente = false;
};
