#pragma once

#include <QColor>
#include <QString>

class ConjuntoDados;

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
    // The list in ascending order of the column, on its first row.
    void ordenar(const QString &coluna);
    void pesquisar();
    // Code order again, on the first row, for every other user of the list.
    void aoFechar();

    // Banded rows: silver on odd positions (counted from 1), white on even.
    static QColor fundoDaLinha(int linha);

  private:
    void emOrdem(const QString &coluna);
};
