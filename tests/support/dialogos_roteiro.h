#pragma once

#include "dialogos.h"
#include "impressao_qt.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <variant>
#include <vector>

// Scripted modal interactions for tests: every box, prompt and request is
// recorded, and questions and prompts take their answers from a script in
// the order given. A question or prompt with no answer left fails the test.
class DialogosRoteiro : public Dialogos
{
  public:
    struct Registro {
        QString tipo; // "mensagem", "pergunta", "caixaTexto", "caixaEntrada", "abrir", "iniciar", "tabela", "escolha",
                      // "linhas"
        QString titulo;
        QString texto;
        Icone icone = Icone::Informacao;
        Resposta padrao = Resposta::Ok;
        QString padraoTexto; // default text of a prompt
        bool mascarado = false;
    };
    using PassosPesquisa = std::function<void(LogicaPesquisa &)>;
    // The marks the user leaves in the next choice; empty: Cancelar.
    struct Escolha {
        std::optional<QList<bool>> marcas;
        bool manterMarcas = false; // OK on the marks as offered
    };
    // The row picked in the next table to choose from; none: Cancelar.
    struct EscolhaLinha {
        std::optional<int> linha;
    };
    using Resposta_ = std::variant<Resposta, RespostaTexto, QString, PassosPesquisa, Escolha, EscolhaLinha>;

    DialogosRoteiro();
    ~DialogosRoteiro() override;

    DialogosRoteiro &responder(Resposta r);
    DialogosRoteiro &confirmarTexto(const QString &texto);
    DialogosRoteiro &cancelarTexto();
    DialogosRoteiro &entrada(const QString &texto);
    // What the user does in the next search dialog, step by step.
    DialogosRoteiro &pesquisa(std::function<void(LogicaPesquisa &)> passos);
    // The next choice of check boxes: these marks and OK; OK as offered; Cancelar.
    DialogosRoteiro &escolher(const QList<bool> &marcas);
    DialogosRoteiro &aceitarEscolha();
    DialogosRoteiro &cancelarEscolha();
    DialogosRoteiro &escolherLinhaDaTabela(std::optional<int> linha);
    // Every choice offered, in order.
    const std::vector<QList<OpcaoMarcada>> &escolhas() const { return m_escolhas; }

    const std::vector<Registro> &registros() const { return m_registros; }
    QStringList textos() const; // every text shown or asked, in order
    QStringList textos(const QString &tipo) const;
    bool roteiroEsgotado() const { return m_roteiro.empty(); }
    void limpar() { m_registros.clear(); }

    void mensagem(const QString &texto, const QString &titulo, Icone icone) override;
    Resposta pergunta(const QString &texto, const QString &titulo, Resposta padrao) override;
    RespostaTexto caixaTexto(const QString &titulo, const QString &rotulo, const QString &padrao,
                             bool mascarado) override;
    void pesquisar(LogicaPesquisa &logica) override;
    QString caixaEntrada(const QString &titulo, const QString &rotulo, const QString &padrao) override;
    void abrirArquivo(const QString &caminho) override;
    void iniciarPrograma(const QString &caminho) override;
    void processarEventos() override {}
    void tabela(const TabelaDialogo &tabela) override;
    // Every table shown, in order.
    const std::vector<TabelaDialogo> &tabelas() const { return m_tabelas; }
    void esperar(const QString &situacao) override
    {
        m_esperas << situacao;
        ++m_esperando;
    }
    void fimDaEspera() override { --m_esperando; }
    std::optional<QList<bool>> escolher(const QString &titulo, const QString &texto,
                                        const QList<OpcaoMarcada> &opcoes) override;
    // Recorded among tables() too.
    std::optional<int> escolherLinha(const TabelaDialogo &tabela) override;

    // Every wait text shown, in order; how many waits have not ended.
    const QStringList &esperas() const { return m_esperas; }
    int esperando() const { return m_esperando; }

  private:
    Registro &registrar(const QString &tipo, const QString &titulo, const QString &texto);
    template <typename T> T proxima(const QString &oQue);

    std::vector<Registro> m_registros;
    std::vector<TabelaDialogo> m_tabelas;
    std::vector<QList<OpcaoMarcada>> m_escolhas;
    std::deque<Resposta_> m_roteiro;
    Dialogos *m_anterior = nullptr;
    QStringList m_esperas;
    int m_esperando = 0;
};
