#pragma once

#include <QString>

class ConjuntoDados;

// What the search dialog does, apart from its widgets. It works on the data
// set holding the result (QyPesquisa): the two options name its first two
// columns, the search narrows it with a filter, and the dialog closes when a
// row is chosen or when a search leaves exactly one row.
//
// Besides the Ok search, the rows narrow while the user types: until the user
// picks an option, the column follows what is typed (a code-like text, with
// digits and no blanks, searches the column of codes; other text the column
// of names), and a text the chosen column lacks is tried in the other.
class LogicaPesquisa
{
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
    // the search box; from then on the narrowing keeps to that column.
    void selecionarOpcao(int opcao);
    // A click on a row (1-based record number of the visible rows): it
    // becomes current and its first-column value goes to the search box.
    void clicarLinha(int numeroRegistro);
    // A double-click or Enter chooses the current row, when there is one.
    void escolherLinhaAtual();
    // Ok or Alt+O.
    void pesquisar();

    // The text typed so far narrows the rows to those containing it; an
    // empty text shows them all. Never closes the dialog: the user picks.
    void estreitar(const QString &texto);
    // Arrow and page keys: the current row moves by `passos` rows, held
    // within the rows in view.
    void moverLinha(int passos);

    // A column's title for people: "Código" for codigo, "Preço" for
    // precovenda; a column it does not know keeps its own name.
    static QString titulo(const QString &coluna);

    bool confirmado() const { return m_confirmado; }
    // The dialog should close now.
    bool concluido() const { return m_concluido; }
    ConjuntoDados &dados() { return m_dados; }

  private:
    QString colunaSelecionada() const;
    QString coluna(int opcao) const { return opcao == 2 ? m_opcao2 : m_opcao1; }
    QString valorAtual(const QString &coluna) const;
    void classificarColunas();
    void filtrarContendo(const QString &coluna, const QString &texto);
    void limparFiltro();
    void escolher();

    ConjuntoDados &m_dados;
    QString m_opcao1, m_opcao2, m_texto;
    int m_opcao = 1;
    bool m_opcaoEscolhida = false;
    // The option searched for code-like texts and the one for other texts.
    int m_opcaoCodigo = 1;
    int m_opcaoNome = 1;
    bool m_confirmado = false;
    bool m_concluido = false;
};
