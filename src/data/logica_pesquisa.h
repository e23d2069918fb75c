#pragma once

#include <QString>

class ConjuntoDados;

// What the search dialog does, apart from its widgets. It works on the data
// set holding the result (QyPesquisa): the two options name its first two
// columns, the search narrows it with a filter, and the dialog closes when a
// row is chosen or when a search leaves exactly one row.
class LogicaPesquisa {
public:
    explicit LogicaPesquisa(ConjuntoDados &dados);

    // When the dialog is shown: option captions, filter cleared, the search
    // box filled from the first row.
    void iniciar();

    QString opcao1() const { return m_opcao1; }
    QString opcao2() const { return m_opcao2; }
    int opcaoSelecionada() const { return m_opcao; }
    QString texto() const { return m_texto; }
    void setTexto(const QString &texto) { m_texto = texto; }

    // Selecting option 1 or 2 puts the current row's value of its column in
    // the search box.
    void selecionarOpcao(int opcao);
    // A click on a row (1-based record number of the visible rows): it
    // becomes current and its first-column value goes to the search box.
    void clicarLinha(int numeroRegistro);
    // A double-click chooses the current row.
    void escolherLinhaAtual();
    // Ok, Alt+O or Enter in the search box.
    void pesquisar();

    bool confirmado() const { return m_confirmado; }
    // The dialog should close now.
    bool concluido() const { return m_concluido; }
    ConjuntoDados &dados() { return m_dados; }

private:
    QString colunaSelecionada() const;
    QString valorAtual(const QString &coluna) const;
    void limparFiltro();
    void escolher();

    ConjuntoDados &m_dados;
    QString m_opcao1, m_opcao2, m_texto;
    int m_opcao = 1;
    bool m_confirmado = false;
    bool m_concluido = false;
};
