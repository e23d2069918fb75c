#include "atualizacao.h"
#include "atualizacao_teste.h"
#include "copia_seguranca.h"
#include "dialogos_roteiro.h"
#include "erro.h"
#include "esquema.h"
#include "pasta_programa.h"
#include "servidor_ftp.h"
#include "servidor_smtp.h"
#include "udm.h"
#include "ufunc.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <iostream>
#include <memory>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <sqlite3.h>

namespace
{

const QString kUsuario = QStringLiteral("rep12");
const QString kSenha = QStringLiteral("s3nha");
const QString kPerguntaClientes = QStringLiteral("Deseja atualizar os clientes?\nLembrando que essa opção irá apagar "
                                                 "os clientes que foram cadastrados no sistema local.");
const QString kSucesso = QStringLiteral("Atualização realizada com sucesso!");
const QString kPerguntaPendentes = QStringLiteral("Deseja verificar os item(ns) pendentes no estoque?");
const QString kErroFtp =
    QStringLiteral("Houve um problema na atualização dos dados.\nÉ necessário realizar novamente o procedimento !!");
const QString kFalha = QStringLiteral("Atualização não pode ser realizada. Motivo(s):\n"
                                      "Verifique se há conexão com a Internet;\n"
                                      "Verifique se o caminho do Banco de Dados está correto;\n"
                                      "Aguarde 5 minutos e tente novamente;\n\n"
                                      "Qualquer dúvida, entre em contato com Suporte Técnico.");
const char *const kFilho = "CORLANDO_ATUALIZACAO_FILHO";

// The central database the FTP server hands out, in <pasta>/atualizacao/.
QString criarCentral(const QString &pasta, int produtosExtras = 0, int clientesExtras = 0)
{
    QDir(pasta).mkpath(QStringLiteral("atualizacao"));
    const QString banco = QDir(pasta).filePath(QStringLiteral("atualizacao/central.db"));
    Esquema::criarBancoCentral(banco);
    PastaProgramaTeste::executarEm(
        banco, QStringLiteral("INSERT INTO tbproduto (idProduto, CODIGO, PRODUTO, ESTOQUE, PRECOVENDA, inativo) VALUES "
                              "(10, 'P-10', 'PARAFUSO', 100, 12.3456, 0), (11, 'P-11', 'FORA DE LINHA', 5, 1, 1), "
                              "(12, 'P-12', 'ARRUELA', 8, 0.5, NULL);"
                              "INSERT INTO tbfuncionario (idfunc, Nome) VALUES (15, 'CARLA'), (7, 'ANA'), (3, 'BRUNO');"
                              "INSERT INTO tbcliente (IdCliente, Nome, Cidade, regiao) VALUES (1, 'A', 'X', '07'), "
                              "(2, 'B', 'Y', '15'), (3, 'C', 'Z', '7'), (4, 'D', 'W', '15'), (5, 'E', 'V', NULL);"));
    if (produtosExtras > 0)
        PastaProgramaTeste::executarEm(
            banco, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1000 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                  "INSERT INTO tbproduto (idProduto, CODIGO, PRODUTO, ESTOQUE, PRECOVENDA, inativo) "
                                  "SELECT i, 'X-' || i, 'PRODUTO NÚMERO ' || i, i % 50, i / 100.0, i % 7 = 0 FROM n")
                       .arg(999 + produtosExtras));
    if (clientesExtras > 0)
        PastaProgramaTeste::executarEm(
            banco, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1000 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                  "INSERT INTO tbcliente (IdCliente, Nome, Cidade, regiao) "
                                  "SELECT i, 'CLIENTE ' || i, 'CIDADE', CASE WHEN i % 2 THEN '07' ELSE '15' END "
                                  "FROM n")
                       .arg(999 + clientesExtras));
    return banco;
}

// A program folder of representative `codigo` with its own rows, its settings
// pointing at the FTP server, and no copy of the central database yet.
void prepararLocal(const PastaProgramaTeste &pasta, const QString &host, const QString &codigo)
{
    QFile::remove(pasta.bancoCentral());
    pasta.executar(
        QStringLiteral(
            "INSERT INTO tbproduto (idProduto, CODIGO, PRODUTO, ESTOQUE) VALUES (1, 'LOC-1', 'PRODUTO LOCAL', 5);"
            "INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('%1', 'ANTIGO');"
            "INSERT INTO tbcliente (IdCliente, Nome, regiao) VALUES (900, 'CLIENTE LOCAL', '07');"
            "INSERT INTO tbconfiguracoes (cod_funcionario, ftp_host, ftp_usuario, ftp_senha, ftp_pasta, ftp_arquivo) "
            "VALUES ('%1', '%2', '%3', '%4', 'atualizacao', 'central.db');")
            .arg(codigo, host, kUsuario, kSenha));
}

// Every row of the tables the update writes, as one text.
QString estado(const PastaProgramaTeste &pasta)
{
    return pasta.consultar(
        QStringLiteral("SELECT (SELECT group_concat(idProduto || ':' || CODIGO, ',') FROM tbproduto) || '|' || "
                       "(SELECT group_concat(idfunc || ':' || Nome, ',') FROM tbfuncionario) || '|' || "
                       "(SELECT group_concat(IdCliente || ':' || Nome, ',') FROM tbcliente) || '|' || "
                       "coalesce((SELECT ultima_atualizacao FROM tbconfiguracoes), 'nunca')"));
}

// The program's working folder for the length of a test.
class NaPasta
{
  public:
    explicit NaPasta(const QString &pasta) : m_anterior(QDir::currentPath()) { QDir::setCurrent(pasta); }
    ~NaPasta() { QDir::setCurrent(m_anterior); }

  private:
    QString m_anterior;
};

// A central database left over where an update must never read it: the
// program folder under the downloaded file's name, and the working folder.
void deixarCentralVelho(const QString &arquivo)
{
    Esquema::criarBancoCentral(arquivo);
    PastaProgramaTeste::executarEm(
        arquivo, QStringLiteral("INSERT INTO tbproduto (idProduto, CODIGO, PRODUTO, inativo) VALUES (99, 'VELHO', "
                                "'PRODUTO VELHO', 0);"
                                "INSERT INTO tbfuncionario (idfunc, Nome) VALUES (7, 'VELHO'), (15, 'VELHO');"));
}

// The program runs from another working folder, as a desktop launcher
// starts it, with stale central databases lying about.
class Atualizacao : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        criarCentral(servido.path());
        deixarCentralVelho(QDir(alheia.path()).filePath(QStringLiteral("central.db")));
    }
    void TearDown() override
    {
        EXPECT_EQ(QDir(alheia.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList{QStringLiteral("central.db")})
            << "nada é escrito nem apagado na pasta de trabalho";
    }

    QTemporaryDir servido;
    QTemporaryDir alheia;
    const NaPasta naPasta{alheia.path()};
    DialogosRoteiro dialogos;
};

TEST_F(Atualizacao, SubstituiProdutosFuncionarioEClientesDaRegiao)
{
    ServidorFtp servidor(servido.path(), kUsuario, kSenha);
    struct Caso {
        const char *codigo;
        Resposta clientes;
        const char *funcionario;
        const char *clientesDepois;
        std::vector<qint64> maximosDaCopia; // products, then products and customers copied
    } const casos[] = {
        {"7", Resposta::Sim, "7:ANA", "1:A", {3, 4}},
        {"15", Resposta::Sim, "15:CARLA", "2:B,4:D", {3, 5}},
        {"999", Resposta::Sim, "3:BRUNO", "1:A,2:B,3:C,4:D,5:E", {3, 8}},
        {"7", Resposta::Nao, "7:ANA", "900:CLIENTE LOCAL", {3}},
    };
    for (const Caso &caso : casos) {
        SCOPED_TRACE(std::string(caso.codigo) + (caso.clientes == Resposta::Sim ? " sim" : " não"));
        PastaProgramaTeste pasta;
        prepararLocal(pasta, servidor.host(), QString::fromUtf8(caso.codigo));
        deixarCentralVelho(pasta.bancoCentral());
        TDM dm(pasta.caminho());
        dialogos.limpar();
        dialogos.responder(caso.clientes).responder(Resposta::Nao);
        VisaoRegistro visao;
        const QDateTime antes = QDateTime::currentDateTime().addSecs(-1);
        LogicaAtualizacao(visao).executar();
        const QDateTime depois = QDateTime::currentDateTime().addSecs(1);

        EXPECT_EQ(dialogos.textos(), QStringList({kPerguntaClientes, kSucesso, kPerguntaPendentes}));
        EXPECT_EQ(dialogos.registros()[1].titulo, QStringLiteral("Atualização do BD"));
        for (int i : {0, 2})
            EXPECT_EQ(dialogos.registros()[static_cast<std::size_t>(i)].padrao, Resposta::Sim);
        EXPECT_TRUE(dialogos.roteiroEsgotado());

        const QStringList partes = estado(pasta).split(u'|');
        ASSERT_EQ(partes.size(), 4);
        EXPECT_EQ(partes[0], QStringLiteral("10:P-10,12:P-12")) << "os do servidor, sem o inativo";
        EXPECT_EQ(partes[1], QString::fromUtf8(caso.funcionario));
        EXPECT_EQ(partes[2], QString::fromUtf8(caso.clientesDepois));
        const QDateTime quando = QDateTime::fromString(partes[3], QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        EXPECT_TRUE(quando >= antes && quando <= depois) << partes[3].toStdString();
        // Every column goes across, keys and money included.
        EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT PRECOVENDA || '/' || PRODUTO FROM tbproduto WHERE "
                                                 "idProduto = 10")),
                  QStringLiteral("12.3456/PARAFUSO"));

        EXPECT_FALSE(QFile::exists(pasta.arquivo(QStringLiteral("central.db")))) << "a cópia baixada é apagada";
        EXPECT_EQ(QDir(pasta.arquivo(QStringLiteral("backup"))).entryList({QStringLiteral("corlando-*.db")}).size(), 1);
        // The data sets show the new rows, read when first asked for.
        EXPECT_TRUE(dm.QyProduto.linhasPendentes());
        EXPECT_EQ(dm.QyProduto.quantidade(), 2);
        EXPECT_EQ(dm.QyFuncionario.campo(QStringLiteral("Nome")).texto(),
                  QString::fromUtf8(caso.funcionario).section(u':', 1));
        EXPECT_FALSE(dm.ADOConnection1.aberta());

        EXPECT_EQ(visao.visiveis, std::vector<bool>({true, false}));
        EXPECT_EQ(visao.textos, QStringList({QStringLiteral("Fazendo Download das atualizações"),
                                             QStringLiteral("Realizando alterações no Banco de Dados - AGUARDE !!!")}));
        ASSERT_EQ(visao.maximos.size(), 1 + caso.maximosDaCopia.size());
        EXPECT_GT(visao.maximos[0], 0) << "o tamanho do arquivo";
        EXPECT_EQ(std::vector<qint64>(visao.maximos.begin() + 1, visao.maximos.end()), caso.maximosDaCopia);
        // The gauge ends full and never runs past its maximum.
        EXPECT_EQ(visao.posicoes.back(), visao.maximos.back());
        EXPECT_EQ(visao.alemDoMaximo, 0);
        EXPECT_EQ(visao.representante, 1);
    }
}

// A download that fails, breaks off or brings something that is not a
// database ends the update with its reason: the stale central database in
// the program folder is never read, and nothing local changes (no backup, no
// time of update). A central database that the data link names other than
// the downloaded copy is refused too. Later errors roll back.
TEST_F(Atualizacao, FalhasDeixamAsTabelasLocaisComoEstavamNaOrdemCertaDeCaixas)
{
    QTemporaryDir lixo;
    QDir(lixo.path()).mkpath(QStringLiteral("atualizacao"));
    QFile falso(QDir(lixo.path()).filePath(QStringLiteral("atualizacao/central.db")));
    ASSERT_TRUE(falso.open(QIODevice::WriteOnly));
    falso.write(QByteArray("Isto não é um banco de dados.\n").repeated(200));
    falso.close();

    enum Servidor { Normal, Lixo, Cai, Nenhum };
    struct Caso {
        const char *nome;
        Servidor servidor;
        const char *senha;
        const char *arquivo;
        const char *codigo;
        const char *gatilho;
        const char *linkCentral; // DATABASE of central.udl; "" for none at all
        Resposta clientes;
        QStringList caixas; // each box's text starts so
        bool copiaDeSeguranca;
    } const casos[] = {
        {"senha recusada",
         Normal,
         "errada",
         "central.db",
         "7",
         "",
         "central.db",
         Resposta::Ok,
         {kErroFtp + "\nO servidor FTP recusou o usuário ou a senha."},
         false},
        {"arquivo ausente",
         Normal,
         "",
         "nada.db",
         "7",
         "",
         "nada.db",
         Resposta::Ok,
         {kErroFtp + "\nO arquivo não foi encontrado no servidor FTP"},
         false},
        {"servidor some no meio", Cai, "", "central.db", "7", "", "central.db", Resposta::Ok, {kErroFtp + "\n"}, false},
        {"servidor inalcançável",
         Nenhum,
         "",
         "central.db",
         "7",
         "",
         "central.db",
         Resposta::Ok,
         {kErroFtp + "\nNão foi possível conectar ao servidor FTP"},
         false},
        {"arquivo que não é banco",
         Lixo,
         "",
         "central.db",
         "7",
         "",
         "central.db",
         Resposta::Ok,
         {kErroFtp + "\nO arquivo baixado \""},
         false},
        {"ligação central ausente", Normal, "", "central.db", "7", "", "", Resposta::Ok, {kFalha}, false},
        {"ligação central para outro arquivo",
         Normal,
         "",
         "central.db",
         "7",
         "",
         "velho.db",
         Resposta::Ok,
         {QStringLiteral("O banco central que PATH-BKP indica em")},
         false},
        {"funcionário ausente",
         Normal,
         "",
         "central.db",
         "42",
         "",
         "central.db",
         Resposta::Ok,
         {QStringLiteral("O funcionário de código 42 não está no banco de dados central.")},
         true},
        {"erro no meio dos clientes",
         Normal,
         "",
         "central.db",
         "15",
         "CREATE TRIGGER cheio BEFORE INSERT ON tbcliente WHEN NEW.Nome = 'D' BEGIN SELECT RAISE(ABORT, 'disco "
         "cheio'); END",
         "central.db",
         Resposta::Sim,
         {kPerguntaClientes, QStringLiteral("Erro no banco de dados: disco cheio")},
         true},
    };
    for (const Caso &caso : casos) {
        SCOPED_TRACE(caso.nome);
        std::unique_ptr<ServidorFtp> servidor;
        if (caso.servidor != Nenhum)
            servidor = std::make_unique<ServidorFtp>(caso.servidor == Lixo ? lixo.path() : servido.path(), kUsuario,
                                                     kSenha, caso.servidor == Cai ? 2048 : 0);
        const QString host = servidor ? servidor->host() : QStringLiteral("127.0.0.1:%1").arg(portaLivre());
        PastaProgramaTeste pasta;
        prepararLocal(pasta, host, QString::fromUtf8(caso.codigo));
        deixarCentralVelho(pasta.arquivo(QString::fromUtf8(caso.arquivo)));
        deixarCentralVelho(pasta.arquivo(QStringLiteral("velho.db")));
        if (*caso.linkCentral)
            pasta.escrever(
                QStringLiteral("central.udl"),
                QStringLiteral("[LINK]\nDRIVER=QSQLITE\nDATABASE=%1\n").arg(QLatin1String(caso.linkCentral)));
        else
            QFile::remove(pasta.arquivo(QStringLiteral("central.udl")));
        if (*caso.senha)
            pasta.executar(
                QStringLiteral("UPDATE tbconfiguracoes SET ftp_senha = '%1'").arg(QLatin1String(caso.senha)));
        pasta.executar(
            QStringLiteral("UPDATE tbconfiguracoes SET ftp_arquivo = '%1'").arg(QLatin1String(caso.arquivo)));
        if (*caso.gatilho)
            pasta.executar(QString::fromUtf8(caso.gatilho));
        const QString antes = estado(pasta);
        TDM dm(pasta.caminho());
        dialogos.limpar();
        if (caso.clientes != Resposta::Ok)
            dialogos.responder(caso.clientes);
        VisaoRegistro visao;
        ExecutarProtegido([&visao] { LogicaAtualizacao(visao).executar(); });

        const QStringList textos = dialogos.textos();
        ASSERT_EQ(textos.size(), caso.caixas.size()) << textos.join(u'\n').toStdString();
        for (qsizetype i = 0; i < textos.size(); ++i)
            EXPECT_TRUE(textos[i].startsWith(caso.caixas[i])) << textos[i].toStdString();
        if (caso.caixas.first().startsWith(kErroFtp)) {
            EXPECT_EQ(dialogos.registros()[0].icone, Icone::Pergunta);
            EXPECT_EQ(dialogos.registros()[0].titulo, QStringLiteral("Atenção"));
        } else if (caso.caixas.last() == kFalha) {
            EXPECT_EQ(dialogos.registros().back().titulo, QStringLiteral("Atualização do BD"));
        } else {
            EXPECT_EQ(dialogos.registros().back().icone, Icone::Erro);
        }
        EXPECT_TRUE(dialogos.roteiroEsgotado());
        EXPECT_EQ(estado(pasta), antes);
        EXPECT_EQ(dm.QyProduto.quantidade(), 1);
        EXPECT_EQ(dm.QyCliente.campo(QStringLiteral("Nome")).texto(), QStringLiteral("CLIENTE LOCAL"));
        EXPECT_EQ(QDir(pasta.arquivo(QStringLiteral("backup"))).exists(), caso.copiaDeSeguranca);
        ASSERT_FALSE(visao.visiveis.empty());
        EXPECT_FALSE(visao.visiveis.back()) << "os indicadores de progresso somem";
        EXPECT_EQ(visao.representante, 0);
        EXPECT_FALSE(dm.ADOConnection1.aberta());
        EXPECT_FALSE(LogicaAtualizacao::emAndamento());
        EXPECT_FALSE(QFile::exists(pasta.arquivo(QString::fromUtf8(caso.arquivo)))) << "nenhuma cópia fica";
        EXPECT_TRUE(QFile::exists(pasta.arquivo(QStringLiteral("velho.db"))));
    }
}

// The FTP settings are refused by name before any connection and before any
// file is touched: a file name reaching out of the program folder (it would
// be deleted), or a line break that would add commands of its own.
TEST_F(Atualizacao, ConfiguracaoFtpPerigosaRecusadaAntesDeConectar)
{
    QTemporaryFile vitima; // beside the program folder, one folder up
    ASSERT_TRUE(vitima.open());
    vitima.write("não apague");
    vitima.close();
    const QString acima = QStringLiteral("../") + QFileInfo(vitima.fileName()).fileName();

    const int escuta = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    sockaddr_in endereco{};
    endereco.sin_family = AF_INET;
    endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t tamanho = sizeof endereco;
    ASSERT_EQ(::bind(escuta, reinterpret_cast<sockaddr *>(&endereco), sizeof endereco), 0);
    ASSERT_EQ(::listen(escuta, 8), 0);
    ASSERT_EQ(::getsockname(escuta, reinterpret_cast<sockaddr *>(&endereco), &tamanho), 0);

    const struct {
        const char *coluna;
        QString valor;
        const char *nome;
    } casos[] = {
        {"ftp_arquivo", acima, "arquivo para o ftp"},
        {"ftp_arquivo", QStringLiteral("..\\central.db"), "arquivo para o ftp"},
        {"ftp_arquivo", QStringLiteral("dados/central.db"), "arquivo para o ftp"},
        {"ftp_arquivo", QStringLiteral(".."), "arquivo para o ftp"},
        {"ftp_arquivo", QStringLiteral("central.db\r\nDELE central.db"), "arquivo para o ftp"},
        {"ftp_arquivo", QString(), "arquivo para o ftp"},
        {"ftp_pasta", QStringLiteral("atualizacao\r\nDELE central.db"), "pasta do ftp"},
        {"ftp_usuario", QStringLiteral("rep12\r\nDELE central.db"), "usuário do ftp"},
        {"ftp_senha", QStringLiteral("s3nha") + QChar(0x2028) + QStringLiteral("DELE central.db"), "senha do ftp"},
    };
    for (const auto &caso : casos) {
        SCOPED_TRACE(caso.coluna + (" " + caso.valor.toStdString()));
        PastaProgramaTeste pasta;
        prepararLocal(pasta, QStringLiteral("127.0.0.1:%1").arg(ntohs(endereco.sin_port)), QStringLiteral("7"));
        TDM dm(pasta.caminho());
        dm.QyConfiguracoes.editar();
        dm.QyConfiguracoes.campo(QString::fromLatin1(caso.coluna)).setTexto(caso.valor);
        dm.QyConfiguracoes.gravar();
        const QString antes = estado(pasta);
        const QStringList arquivos = QDir(pasta.caminho()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        dialogos.limpar();
        VisaoRegistro visao;
        ExecutarProtegido([&visao] { LogicaAtualizacao(visao).executar(); });

        ASSERT_EQ(dialogos.registros().size(), 1u);
        EXPECT_EQ(dialogos.registros()[0].icone, Icone::Erro);
        EXPECT_TRUE(dialogos.registros()[0].texto.startsWith(
            QStringLiteral("A configuração \"%1\" (%2) ")
                .arg(QString::fromUtf8(caso.nome), QLatin1String(caso.coluna))))
            << dialogos.registros()[0].texto.toStdString();
        EXPECT_TRUE(QFile::exists(vitima.fileName()));
        EXPECT_EQ(QDir(pasta.caminho()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), arquivos);
        EXPECT_EQ(estado(pasta), antes);
        EXPECT_FALSE(visao.visiveis.back());
        EXPECT_FALSE(LogicaAtualizacao::emAndamento());
    }
    EXPECT_LT(::accept(escuta, nullptr, nullptr), 0) << "nenhuma conexão chegou ao servidor";
    ::close(escuta);
}

TEST_F(Atualizacao, UmSegundoCliqueDuranteAAtualizacaoNaoFazNada)
{
    ServidorFtp servidor(servido.path(), kUsuario, kSenha);
    PastaProgramaTeste pasta;
    prepararLocal(pasta, servidor.host(), QStringLiteral("7"));
    TDM dm(pasta.caminho());
    dialogos.responder(Resposta::Nao).responder(Resposta::Nao);
    VisaoRegistro visao;
    int repeticoes = 0;
    visao.aoMover = [&] {
        VisaoRegistro outra;
        LogicaAtualizacao(outra).executar();
        repeticoes += outra.visiveis.empty() ? 1 : 1000;
    };
    LogicaAtualizacao(visao).executar();
    EXPECT_GT(repeticoes, 0);
    EXPECT_LT(repeticoes, 1000);
    EXPECT_EQ(dialogos.textos(), QStringList({kPerguntaClientes, kSucesso, kPerguntaPendentes}));
}

TEST(CopiaDeSeguranca, GuardaAsCincoMaisRecentesComDataEHoraNoNome)
{
    PastaProgramaTeste pasta;
    pasta.executar(QStringLiteral("INSERT INTO tbproduto (CODIGO) VALUES ('P-1')"));
    TDM dm(pasta.caminho());
    QStringList feitas;
    for (int i = 0; i < 7; ++i)
        feitas << QFileInfo(CopiarBanco(dm.ADOConexao.handle())).fileName();
    const QDir backup(pasta.arquivo(QStringLiteral("backup")));
    QStringList guardadas = backup.entryList(QDir::Files);
    std::sort(guardadas.begin(), guardadas.end());
    EXPECT_EQ(guardadas, feitas.mid(2));
    EXPECT_TRUE(feitas[0].startsWith(QStringLiteral("corlando-") +
                                     QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + u'-'))
        << feitas[0].toStdString();
    PastaProgramaTeste::executarEm(backup.filePath(guardadas.last()), QStringLiteral("SELECT 1"));
    sqlite3 *copia = nullptr;
    ASSERT_EQ(sqlite3_open(backup.filePath(guardadas.last()).toUtf8().constData(), &copia), SQLITE_OK);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(copia, "SELECT CODIGO FROM tbproduto", -1, &st, nullptr);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)), "P-1");
    sqlite3_finalize(st);
    sqlite3_close(copia);
}

// Run in a child process by the test below: one update of the program folder
// the environment names, answering Yes to the customers.
TEST(AtualizacaoInterrompida, ProcessoFilho)
{
    const QString pasta = qEnvironmentVariable(kFilho);
    if (pasta.isEmpty())
        GTEST_SKIP() << "só como processo filho";
    DialogosRoteiro dialogos;
    dialogos.responder(Resposta::Sim).responder(Resposta::Nao);
    const NaPasta naPasta(pasta);
    TDM dm(pasta);
    VisaoRegistro visao;
    LogicaAtualizacao(visao).executar();
    ASSERT_EQ(dialogos.textos().value(1), kSucesso);
}

// A kill -9 at any moment leaves the old rows or the new ones, never a mix.
TEST(AtualizacaoInterrompida, MorteDoProcessoNuncaDeixaMistura)
{
    QTemporaryDir servido;
    criarCentral(servido.path(), 30000, 10000);
    ServidorFtp servidor(servido.path(), kUsuario, kSenha);
    PastaProgramaTeste pasta;
    prepararLocal(pasta, servidor.host(), QStringLiteral("7"));
    const QString intacto = pasta.arquivo(QStringLiteral("intacto.db"));
    ASSERT_TRUE(QFile::copy(pasta.bancoLocal(), intacto));
    const QString antigo = estado(pasta);

    auto iniciar = [&](QProcess &filho) {
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert(QString::fromLatin1(kFilho), pasta.caminho());
        filho.setProcessEnvironment(ambiente);
        filho.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=AtualizacaoInterrompida.ProcessoFilho")});
        ASSERT_TRUE(filho.waitForStarted());
    };

    // A whole run gives the new state and how long a run lasts.
    QElapsedTimer relogio;
    relogio.start();
    {
        QProcess filho;
        iniciar(filho);
        ASSERT_TRUE(filho.waitForFinished(120000));
        ASSERT_EQ(filho.exitCode(), 0) << filho.readAllStandardOutput().toStdString();
    }
    const qint64 duracao = relogio.elapsed();
    const QString novo = estado(pasta);
    ASSERT_NE(novo, antigo);
    const QString ultimaNova = novo.section(u'|', 3);

    QRandomGenerator sorteio(QRandomGenerator::global()->generate());
    int antigos = 0, novos = 0;
    for (int vez = 0; vez < 8; ++vez) {
        QFile::remove(pasta.bancoLocal());
        ASSERT_TRUE(QFile::copy(intacto, pasta.bancoLocal()));
        QFile::remove(pasta.bancoLocal() + QStringLiteral("-journal"));
        const int momento = static_cast<int>(sorteio.bounded(duracao));
        SCOPED_TRACE("morto após " + std::to_string(momento) + " ms");
        QProcess filho;
        iniciar(filho);
        if (!filho.waitForFinished(momento)) {
            filho.kill();
            filho.waitForFinished();
        }
        // Opening the database for writing rolls back what the dead process left.
        PastaProgramaTeste::executarEm(pasta.bancoLocal(), QStringLiteral("SELECT count(*) FROM tbproduto"));
        EXPECT_EQ(pasta.consultar(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
        const QString depois = estado(pasta);
        if (depois == antigo) {
            ++antigos;
        } else {
            ++novos;
            // The new rows are those of a whole run; only the time differs.
            EXPECT_EQ(depois.section(u'|', 0, 2), novo.section(u'|', 0, 2));
            EXPECT_NE(depois.section(u'|', 3), QStringLiteral("nunca"));
        }
    }
    std::cout << "interrompidas com os dados antigos: " << antigos << ", com os novos: " << novos << " (uma "
              << "atualização leva " << duracao << " ms; a última foi às " << ultimaNova.toStdString() << ")\n";
}

} // namespace
