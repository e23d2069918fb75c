#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class LogicaPesquisa;

enum class Icone { Informacao, Erro, Pergunta, Aviso };
enum class Resposta { Sim, Nao, Ok, Cancelar };

// The outcome of a prompt: confirmed (Ok or Enter) with the text typed, or
// not confirmed (Cancel, close box).
struct RespostaTexto {
    bool confirmado = false;
    QString texto;
};

// A read-only table shown in a window of its own and closed with OK: a text
// above it, its column titles and rows, and a text below (either may be empty).
struct TabelaDialogo {
    QString titulo;
    QString introducao;
    QStringList colunas;
    QList<QStringList> linhas;
    QString observacao;
};

// One check box of a choice: its text, whether it starts checked and whether
// the user may change it.
struct OpcaoMarcada {
    QString texto;
    bool marcada = true;
    bool habilitada = true;
};

// Every modal interaction of the program goes through this interface: message
// boxes, prompts, the search dialog, the input box, handing a file or address
// to the desktop, starting an outside program and letting the window breathe.
// The program installs the Qt implementation; tests install a scripted one.
class Dialogos
{
  public:
    virtual ~Dialogos() = default;

    // A box with a single OK button.
    virtual void mensagem(const QString &texto, const QString &titulo, Icone icone) = 0;
    // A question with the buttons Yes and No; returns Sim or Nao.
    virtual Resposta pergunta(const QString &texto, const QString &titulo, Resposta padrao) = 0;
    // The prompt dialog: caption, prompt, default text, masked input.
    virtual RespostaTexto caixaTexto(const QString &titulo, const QString &rotulo, const QString &padrao,
                                     bool mascarado) = 0;
    // The search dialog over a search's result; the outcome stays in the logic.
    virtual void pesquisar(LogicaPesquisa &logica) = 0;
    // A plain one-line input box whose Cancel returns the default text.
    virtual QString caixaEntrada(const QString &titulo, const QString &rotulo, const QString &padrao) = 0;
    // Opens a file with the desktop's default program, or a "mailto:" address;
    // when nothing can open it the user is told where the file is.
    virtual void abrirArquivo(const QString &caminho) = 0;
    // Starts an outside program without waiting for it.
    virtual void iniciarPrograma(const QString &caminho) = 0;
    // Lets the window repaint and take clicks during a long operation.
    virtual void processarEventos() = 0;
    virtual void tabela(const TabelaDialogo &tabela) = 0;
    // A wait cursor and a status text while the screen is blocked by work
    // (connecting, sending); esperar again changes the text. Without a
    // screen (a terminal, a benchmark) there is nothing to show.
    virtual void esperar(const QString &situacao) { (void)situacao; }
    virtual void fimDaEspera() {}
    // Check boxes under a text, with OK and Cancelar: each box's mark as the
    // user left it, or nothing when cancelled. Without a screen the marks
    // stay as given.
    virtual std::optional<QList<bool>> escolher(const QString &titulo, const QString &texto,
                                                const QList<OpcaoMarcada> &opcoes)
    {
        (void)titulo;
        (void)texto;
        QList<bool> marcas;
        for (const OpcaoMarcada &o : opcoes)
            marcas << o.marcada;
        return marcas;
    }

    // A table whose rows the user picks from, with OK and Cancelar: the row
    // chosen, or none when cancelled. Without a screen nothing is chosen.
    virtual std::optional<int> escolherLinha(const TabelaDialogo &tabela)
    {
        (void)tabela;
        return std::nullopt;
    }

    // The implementation in use; the program and each test set it.
    static Dialogos &atual();
    static void definir(Dialogos *dialogos);
};

// The wait shown for the life of the object, ended also by an exception.
class Espera
{
  public:
    explicit Espera(const QString &situacao) { Dialogos::atual().esperar(situacao); }
    ~Espera() { Dialogos::atual().fimDaEspera(); }
    Espera(const Espera &) = delete;
    Espera &operator=(const Espera &) = delete;
};
