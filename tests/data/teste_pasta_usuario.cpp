#include "dialogos_roteiro.h"
#include "pasta_programa.h"
#include "pasta_usuario.h"
#include "udm.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace
{

QString consultarEm(const QString &banco, const QString &sql)
{
    sqlite3 *db = nullptr;
    QString valor;
    if (sqlite3_open_v2(banco.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt *q = nullptr;
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &q, nullptr) == SQLITE_OK &&
            sqlite3_step(q) == SQLITE_ROW)
            valor = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(q, 0)));
        sqlite3_finalize(q);
    }
    sqlite3_close(db);
    return valor;
}

// A package's tree (bin/ beside share/corlando with the shipped files) and a
// user whose data folder is the test mode's.
class PastaUsuarioTeste : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(raiz.isValid());
        // A home of this test's own, so tests run side by side never share
        // the test mode's data folder (~/.qttest/share), emptied before and after.
        qputenv("HOME", QFile::encodeName(raiz.path() + QStringLiteral("/casa")));
        QCoreApplication::setApplicationName(QStringLiteral("Corlando"));
        QDir(usuario()).removeRecursively();
        QDir(raiz.path()).mkpath(QStringLiteral("bin"));
        QDir(raiz.path()).mkpath(QStringLiteral("share/corlando"));
        for (const char *nome : {"Mirvale.ini", "local.udl", "central.udl"})
            ASSERT_TRUE(
                QFile::copy(modelo.arquivo(QString::fromUtf8(nome)), compartilhada() + QString::fromUtf8(nome)));
        modelo.executar(QStringLiteral("INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('12', 'JOÃO SILVA')"));
        ASSERT_TRUE(QFile::copy(modelo.bancoLocal(), compartilhada() + QStringLiteral("corlando.db")));
    }
    void TearDown() override { QDir(usuario()).removeRecursively(); }

    QString bin() const { return raiz.path() + QStringLiteral("/bin"); }
    QString compartilhada() const { return raiz.path() + QStringLiteral("/share/corlando/"); }
    QString usuario() const
    {
        return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QLatin1Char('/');
    }

    QTemporaryDir raiz;
    PastaProgramaTeste modelo;
};

} // namespace

// Where the data lives: the program's own folder when it holds Mirvale.ini,
// else the user's folder, made from the shared data once.
TEST_F(PastaUsuarioTeste, PastaDoProgramaOuDoUsuario)
{
    const PastasPrograma propria = EscolherPastas(modelo.caminho());
    EXPECT_EQ(propria.sistema, modelo.caminho());
    EXPECT_TRUE(propria.compartilhada.isEmpty());
    EXPECT_FALSE(propria.primeiroInicio);

    const PastasPrograma instalada = EscolherPastas(bin());
    EXPECT_EQ(instalada.sistema, usuario());
    EXPECT_EQ(instalada.compartilhada, compartilhada());
    EXPECT_TRUE(instalada.primeiroInicio);

    DialogosRoteiro dialogos;
    dialogos.responder(Resposta::Sim);
    IniciarPastas(bin());
    EXPECT_FALSE(EscolherPastas(bin()).primeiroInicio);
    IniciarPastas(bin()); // asked once only: the script has no second answer
    EXPECT_EQ(dialogos.textos(QStringLiteral("pergunta")).size(), 1);
}

// The answer to the first-start question decides the database; templates
// come from the shared folder until the user's folder holds its own.
TEST_F(PastaUsuarioTeste, DemonstracaoOuVaziaETemplatesDoUsuarioPrimeiro)
{
    for (const auto &[resposta, funcionarios] : {std::pair{Resposta::Sim, "1"}, std::pair{Resposta::Nao, "0"}}) {
        QDir(usuario()).removeRecursively();
        DialogosRoteiro dialogos;
        dialogos.responder(resposta);
        const PastasPrograma pastas = IniciarPastas(bin());
        ASSERT_TRUE(QDir(usuario() + QStringLiteral("relatórios")).exists());
        PastaProgramaTeste::executarEm(usuario() + QStringLiteral("corlando.db"), QStringLiteral("SELECT 1"));
        TDM dm(pastas.sistema);
        dm.PathCompartilhado = pastas.compartilhada;
        ASSERT_EQ(dialogos.registros().size(), 1u) << dialogos.textos().join(u'\n').toStdString();
        EXPECT_EQ(QString::number(dm.QyFuncionario.quantidade()), QString::fromLatin1(funcionarios));

        EXPECT_EQ(dm.ArquivoModelo(QStringLiteral("pedido.rav")), compartilhada() + QStringLiteral("pedido.rav"));
        QFile proprio(usuario() + QStringLiteral("pedido.rav"));
        ASSERT_TRUE(proprio.open(QIODevice::WriteOnly));
        proprio.close();
        EXPECT_EQ(dm.ArquivoModelo(QStringLiteral("pedido.rav")), usuario() + QStringLiteral("pedido.rav"));
    }
}

// Making the folder again never replaces what the user has.
TEST_F(PastaUsuarioTeste, PrepararNaoTrocaArquivosDoUsuario)
{
    const PastasPrograma pastas = EscolherPastas(bin());
    PrepararPastaUsuario(pastas, InicioUsuario::Vazio);
    PastaProgramaTeste::executarEm(usuario() + QStringLiteral("corlando.db"),
                                   QStringLiteral("INSERT INTO tbcliente (Nome) VALUES ('DO USUÁRIO')"));
    QFile::remove(usuario() + QStringLiteral("Mirvale.ini")); // an interrupted first start
    PrepararPastaUsuario(pastas, InicioUsuario::Demonstracao);
    EXPECT_TRUE(QFile::exists(usuario() + QStringLiteral("Mirvale.ini")));
    TDM dm(pastas.sistema);
    EXPECT_EQ(dm.QyCliente.quantidade(), 1);
    EXPECT_EQ(dm.QyFuncionario.quantidade(), 0);
}

// A database of an older version: what it lacks is added in place, after a
// copy of it as it was; an up-to-date one is left alone, without a copy.
TEST(AtualizacaoBanco, VersaoAnteriorGanhaTabelasColunasEIndicesDepoisDaCopia)
{
    PastaProgramaTeste pasta;
    pasta.executar(QStringLiteral("INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('12', 'JOÃO');"
                                  "INSERT INTO tbpedido (nr_pedido, idFunc, vl_total_item) VALUES (7, '12', 30);"
                                  "DROP INDEX ix_tbproduto_CODIGO;"
                                  "ALTER TABLE tbpedido_pendente DROP COLUMN data_pendente;"
                                  "DROP TABLE tblocalidades;"));
    DialogosRoteiro dialogos;
    {
        TDM dm(pasta.caminho());
        EXPECT_TRUE(dialogos.registros().empty()) << dialogos.textos().join(u'\n').toStdString();
        EXPECT_EQ(dm.QyPedido.quantidade(), 1);
    }
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT count(*) FROM pragma_table_info('tbpedido_pendente') "
                                             "WHERE name='data_pendente'")),
              QStringLiteral("1"));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name IN "
                                             "('ix_tbproduto_CODIGO', 'tblocalidades')")),
              QStringLiteral("2"));

    const QStringList copias = QDir(pasta.arquivo(QStringLiteral("backup"))).entryList({QStringLiteral("*.db")});
    ASSERT_EQ(copias.size(), 1);
    const QString copia = pasta.arquivo(QStringLiteral("backup/") + copias[0]);
    // The copy is the database as it was: the order there, the column not yet.
    EXPECT_EQ(consultarEm(copia, QStringLiteral("SELECT count(*) FROM pragma_table_info('tbpedido_pendente') "
                                                "WHERE name='data_pendente'")),
              QStringLiteral("0"));
    EXPECT_EQ(consultarEm(copia, QStringLiteral("SELECT vl_total_item FROM tbpedido WHERE nr_pedido=7")),
              QStringLiteral("30"));
    {
        TDM dm(pasta.caminho());
    }
    EXPECT_EQ(QDir(pasta.arquivo(QStringLiteral("backup"))).entryList({QStringLiteral("*.db")}).size(), 1);
}
