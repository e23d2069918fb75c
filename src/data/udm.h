#pragma once

#include "conexao.h"
#include "conjunto_dados.h"
#include "esquema.h"

#include <QCoreApplication>
#include <QObject>
#include <QString>
#include <vector>

// The data module: the single owner of both database connections and every
// data set of the program, and of the few variables the screens share. It
// exists once, from start to end; DM points to it.
//
// Creation reads Mirvale.ini in the program folder, opens the local database
// from the data-link file its "PATH" names, opens the data sets and restricts
// the order headers to the representative's own. An error in a step is shown
// once in the error box and creation stops there: the data sets not opened
// yet stay closed, and the program goes on.
class TDM : public QObject
{
    Q_OBJECT
  public:
    // How creation opens the data sets: every one with its rows read, or only
    // those the main window needs to show itself, the others opened to be
    // read on first use or by AbrirPendentes() (their SQL is checked at
    // creation all the same, so a faulty database is reported there).
    enum class Abertura { Completa, PrincipalPrimeiro };

    // `pathSistema`: the program's folder (by default the executable's).
    explicit TDM(const QString &pathSistema = QCoreApplication::applicationDirPath(), QObject *parent = nullptr,
                 Abertura abertura = Abertura::Completa);
    ~TDM() override;
    TDM(const TDM &) = delete;
    TDM &operator=(const TDM &) = delete;

    // The central database: its connection and data sets are closed and
    // opened again from "PATH-BKP"; OnlineConectado tells whether that
    // worked. Errors are not shown. Without `abrirConjuntos` only the
    // connection opens (the database update copies with SQL and would fetch
    // every central row for nothing).
    void ConectarOnline(bool abrirConjuntos = true);
    // Closes the central connection and its data sets; never fails.
    void DesconectarOnline();
    // Reads the rows of every data set opened to be read on first use.
    void AbrirPendentes();
    bool HaPendentes() const;

    // Every connection and data set, in member order, for their role tags.
    const std::vector<Conexao *> &conexoes() const { return m_conexoes; }
    const std::vector<ConjuntoDados *> &conjuntos() const { return m_conjuntos; }

    Conexao ADOConexao{QStringLiteral("ADOConexao")};
    Conexao ADOConnection1{QStringLiteral("ADOConnection1")};

    ConjuntoDados QyCliente{QStringLiteral("QyCliente"), &Esquema::cliente()};
    ConjuntoDados QyPedido{QStringLiteral("QyPedido"), &Esquema::pedido()};
    ConjuntoDados QyPedidoItem{QStringLiteral("QyPedidoItem"), &Esquema::pedidoItem()};
    ConjuntoDados QyPacote{QStringLiteral("QyPacote"), &Esquema::pacote()};
    ConjuntoDados QyTrocaSub{QStringLiteral("QyTrocaSub"), &Esquema::trocaSub()};
    ConjuntoDados QyTrocaDev{QStringLiteral("QyTrocaDev"), &Esquema::trocaDev()};
    ConjuntoDados QyVendaCasada{QStringLiteral("QyVendaCasada"), &Esquema::vendaCasada()};
    ConjuntoDados QyPendente{QStringLiteral("QyPendente"), &Esquema::pendente()};
    ConjuntoDados QyProduto{QStringLiteral("QyProduto"), &Esquema::produto()};
    ConjuntoDados QyFuncionario{QStringLiteral("QyFuncionario"), &Esquema::funcionario()};
    ConjuntoDados QyFormaPagamento{QStringLiteral("QyFormaPagamento"), &Esquema::formaPagamento()};
    ConjuntoDados QyLocalidade{QStringLiteral("QyLocalidade"), &Esquema::localidade()};
    ConjuntoDados QyConfiguracoes{QStringLiteral("QyConfiguracoes"), &Esquema::configuracoes()};
    // Fields of whatever result its SQL text gives.
    ConjuntoDados QyPesquisa{QStringLiteral("QyPesquisa")};
    // Statements without rows, run with executar().
    ConjuntoDados QySQL{QStringLiteral("QySQL"), &Esquema::cliente()};
    ConjuntoDados QyVendas{QStringLiteral("QyVendas"), &Esquema::cliente()};
    ConjuntoDados QyOnlineProduto{QStringLiteral("QyOnlineProduto"), &Esquema::onlineProduto()};
    ConjuntoDados QyOnlineCliente{QStringLiteral("QyOnlineCliente"), &Esquema::onlineCliente()};
    ConjuntoDados QyOnlineFuncionario{QStringLiteral("QyOnlineFuncionario"), &Esquema::onlineFuncionario()};
    ConjuntoDados QyOnlineForma{QStringLiteral("QyOnlineForma"), &Esquema::onlineForma()};
    // In-memory tables the reports create, fill and close.
    ConjuntoDados cdsRelatGrupoClientes{QStringLiteral("cdsRelatGrupoClientes"), &Esquema::relatGrupoClientes()};
    ConjuntoDados cdsVendaTotais{QStringLiteral("cdsVendaTotais"), &Esquema::vendaTotais()};

    // The program's folder, ending in "/"; the settings file in it.
    QString PathSistema;
    QString ArquivoIni;
    // Installed as a package: the shared templates and logo, ending in "/";
    // empty when the program works in its own folder.
    QString PathCompartilhado;
    // A template or the logo: the one in PathSistema when the company put its
    // own there, else the shared one.
    QString ArquivoModelo(const QString &nome) const;
    // Where a file the program names lies: a relative name is taken from
    // PathSistema, never from the working folder, which a desktop launcher
    // sets to anything. An absolute path stays as it is.
    QString CaminhoNoSistema(const QString &nome) const;
    // Outcome of the last prompt or search dialog.
    bool Confirmado = false;
    QString TextoDigitado;
    // "idFunc='<code>'" (a quote in the code doubled), or empty for the
    // supervisor code "999".
    QString FiltroFuncionario;
    bool OnlineConectado = false;

    // The prompt dialog: the confirmed text, or "" when not confirmed;
    // Confirmado tells an empty confirmed box from a cancelled one.
    QString CaixaTexto(const QString &titulo, const QString &rotulo, const QString &padrao, bool mascarado);

    // The search dialog over "SELECT " + campos + " FROM " + tabela: the
    // result column of the chosen row as text, "" when none was chosen. An
    // error is passed on with the result empty.
    QString Pesquisar(const QString &tabela, const QString &campos, const QString &campoResultado);

  private:
    void configurar();
    void definirPadroes();
    void criar(const QString &pathSistema, Abertura abertura);
    bool lidoAoCriar(const ConjuntoDados *c) const;
    void abrirConexao(Conexao &conexao, const QString &valor) const;

    std::vector<Conexao *> m_conexoes;
    std::vector<ConjuntoDados *> m_conjuntos;
};

extern TDM *DM;
