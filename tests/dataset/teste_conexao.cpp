// The connection opens the file with the same sqlite3 library the data sets
// use, and says in Portuguese, naming the file, why a database cannot be
// opened or written.

#include "conexao.h"
#include "erro.h"
#include "instrucao_sql.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <sqlite3.h>

#include <gtest/gtest.h>

namespace
{

class ConexaoTeste : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        Conexao::setEsperaOcupado(0); // the other program below never lets go
        criarBanco();
    }
    void TearDown() override
    {
        soltarOutro();
        Conexao::setEsperaOcupado(Conexao::kEsperaOcupadoPadrao);
    }

    void criarBanco()
    {
        QFile::remove(arquivo);
        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(arquivo.toUtf8().constData(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE t (v); INSERT INTO t VALUES (1)", nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
    }
    void soltarOutro()
    {
        sqlite3_close(outro);
        outro = nullptr;
    }

    // Another program holding the file, as `sql` leaves it.
    void outroPrograma(const char *sql)
    {
        ASSERT_EQ(sqlite3_open(arquivo.toUtf8().constData(), &outro), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(outro, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    }
    QString mensagemAoAbrir()
    {
        try {
            conexao.abrirBanco(arquivo);
        } catch (const Erro &e) {
            return e.mensagem();
        }
        return {};
    }
    QString mensagemAoGravar()
    {
        try {
            InstrucaoSql(conexao, QStringLiteral("INSERT INTO t VALUES (2)")).proxima();
        } catch (const Erro &e) {
            return e.mensagem();
        }
        return {};
    }

    QTemporaryDir pasta;
    const QString arquivo = pasta.filePath(QStringLiteral("corlando.db"));
    Conexao conexao{QStringLiteral("ADOConexao")};
    sqlite3 *outro = nullptr;
};

const QString kEmUso =
    QStringLiteral("O banco de dados \"%1\" está em uso por outro programa. Feche o outro programa e tente novamente.");

TEST_F(ConexaoTeste, ArquivoQueNaoEhBancoAusenteOuTravadoAoAbrir)
{
    struct Caso {
        const char *nome;
        std::function<void()> preparar;
        QString mensagem; // the beginning of it
    } casos[] = {
        {"texto no lugar do banco",
         [&] {
             QFile f(arquivo);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
             f.write(QByteArray("[CONEXAO]\nPATH=local.udl\n").repeated(200));
         },
         QStringLiteral("O arquivo \"%1\" não é um banco de dados válido: ").arg(arquivo)},
        {"cabeçalho estragado",
         [&] {
             QFile f(arquivo);
             ASSERT_TRUE(f.open(QIODevice::ReadWrite));
             f.write(QByteArray(16, 'x'));
         },
         QStringLiteral("O arquivo \"%1\" não é um banco de dados válido: ").arg(arquivo)},
        {"outro programa com a trava", [&] { outroPrograma("BEGIN EXCLUSIVE"); }, kEmUso.arg(arquivo)},
        // Last: nothing may create it.
        {"arquivo ausente", [&] { QFile::remove(arquivo); },
         QStringLiteral("O banco de dados \"%1\" não foi encontrado.").arg(arquivo)},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nome);
        soltarOutro();
        criarBanco();
        c.preparar();
        const QString mensagem = mensagemAoAbrir();
        EXPECT_TRUE(mensagem.startsWith(c.mensagem)) << mensagem.toStdString();
        EXPECT_FALSE(conexao.aberta());
    }
    EXPECT_FALSE(QFile::exists(arquivo)) << "abrir nunca cria um banco vazio";
}

TEST_F(ConexaoTeste, GravarComOArquivoTravadoOuSomenteLeitura)
{
    conexao.abrirBanco(arquivo);
    outroPrograma("BEGIN IMMEDIATE");
    EXPECT_EQ(mensagemAoGravar(), kEmUso.arg(arquivo));
    sqlite3_exec(outro, "ROLLBACK", nullptr, nullptr, nullptr);

    // Read-only as a write-protected file opens (the root user would write
    // through a file mode).
    conexao.executar(QStringLiteral("PRAGMA query_only = ON"));
    EXPECT_EQ(mensagemAoGravar(), QStringLiteral("O banco de dados \"%1\" não pode ser gravado: o arquivo ou a sua "
                                                 "pasta é somente leitura. Verifique as permissões e tente novamente.")
                                      .arg(arquivo));
    conexao.executar(QStringLiteral("PRAGMA query_only = OFF"));
    EXPECT_EQ(mensagemAoGravar(), QString());
    InstrucaoSql q(conexao, QStringLiteral("SELECT count(*) FROM t"));
    ASSERT_TRUE(q.proxima());
    EXPECT_EQ(q.valor(0).toInt(), 2);
}

// What a statement stores is what the value is: a null text is NULL, an
// empty one is a text; numbers and bytes keep their kind.
TEST_F(ConexaoTeste, ValoresVinculadosGuardamSeuTipo)
{
    conexao.abrirBanco(arquivo);
    const struct {
        QVariant valor;
        const char *tipo;
        QVariant lido;
    } casos[] = {
        {QVariant(), "null", QVariant()},
        {QString(), "null", QVariant()},
        {QStringLiteral(""), "text", QStringLiteral("")},
        {QStringLiteral("Não"), "text", QStringLiteral("Não")},
        {42, "integer", qlonglong(42)},
        {true, "integer", qlonglong(1)},
        {qlonglong(1) << 40, "integer", qlonglong(1) << 40},
        {2.5, "real", 2.5},
        {QByteArray("\0x", 2), "blob", QByteArray("\0x", 2)},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.valor.toString().toStdString());
        InstrucaoSql q(conexao, QStringLiteral("SELECT typeof(?1), ?1"));
        q.vincular(c.valor);
        ASSERT_TRUE(q.proxima());
        EXPECT_EQ(q.valor(0).toString(), QString::fromLatin1(c.tipo));
        EXPECT_EQ(q.valor(1), c.lido);
        EXPECT_EQ(q.valor(1).typeId(), c.lido.typeId());
    }
}

} // namespace
