#include "cenario.h"

#include "conexao.h"

#include <QTest>
#include <sqlite3.h>

// Saving an item while another program holds the database's write lock, or
// while the database cannot be written: a Portuguese message naming the
// file, and the item stays on screen until it can be stored.
class BancoOcupado : public Cenario
{
  protected:
    void SetUp() override
    {
        Conexao::setEsperaOcupado(0); // no waiting for the other program here
        Cenario::SetUp();
    }
    void TearDown() override
    {
        Cenario::TearDown();
        if (outro)
            sqlite3_close(outro);
        Conexao::setEsperaOcupado(Conexao::kEsperaOcupadoPadrao);
    }

    // An item typed on order 10 and saved with the button.
    void salvarItem(const char *codigo)
    {
        dialogos->planejar(DialogosDoUsuario::ok());
        clicar(AcaoPedido::NovoItem);
        digitar(QString::fromUtf8(codigo));
        tecla(Qt::Key_Tab);
        digitar(QStringLiteral("2"));
        clicar(AcaoPedido::SalvarItem);
    }
    QString itensP2() const
    {
        return consultar(QStringLiteral("SELECT count(*) FROM tbpedido_item WHERE codigo='P2'"));
    }

    sqlite3 *outro = nullptr;
};

TEST_F(BancoOcupado, MensagemEmPortuguesENadaSePerde)
{
    ASSERT_EQ(sqlite3_open(pasta.bancoLocal().toUtf8().constData(), &outro), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(outro, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    abrir(VariantePedidoRegular());
    salvarItem("P2");
    ASSERT_FALSE(dialogos->textos.isEmpty());
    const QString emUso = dialogos->textos.back();
    EXPECT_TRUE(emUso.contains(QStringLiteral("está em uso por outro programa")) && emUso.contains(pasta.bancoLocal()))
        << emUso.toStdString();
    EXPECT_EQ(tela->logica().itens().estado(), EstadoConjunto::Insercao);
    EXPECT_EQ(tela->logica().itens().campo(QStringLiteral("codigo")).texto(), QStringLiteral("P2"));

    // The other program ends: the same item is stored.
    ASSERT_EQ(sqlite3_exec(outro, "ROLLBACK", nullptr, nullptr, nullptr), SQLITE_OK);
    clicar(AcaoPedido::SalvarItem);
    EXPECT_FALSE(tela->logica().itens().emEdicao());
    EXPECT_EQ(itensP2(), QStringLiteral("1"));
}

// A database that cannot be written (here: the connection held read-only,
// as a read-only file opens; a file mode would not stop the root user).
TEST_F(BancoOcupado, BancoSomenteLeitura)
{
    abrir(VariantePedidoRegular());
    DM->ADOConexao.executar(QStringLiteral("PRAGMA query_only = ON"));
    salvarItem("P2");
    ASSERT_FALSE(dialogos->textos.isEmpty());
    const QString somenteLeitura = dialogos->textos.back();
    EXPECT_TRUE(somenteLeitura.contains(QStringLiteral("não pode ser gravado")) &&
                somenteLeitura.contains(pasta.bancoLocal()))
        << somenteLeitura.toStdString();
    EXPECT_EQ(tela->logica().itens().estado(), EstadoConjunto::Insercao);

    DM->ADOConexao.executar(QStringLiteral("PRAGMA query_only = OFF"));
    clicar(AcaoPedido::SalvarItem);
    EXPECT_EQ(itensP2(), QStringLiteral("1"));
}
