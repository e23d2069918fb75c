#include "conjunto_dados.h"
#include "dialogos_roteiro.h"
#include "logica_pesquisa.h"
#include "pasta_programa.h"
#include "udm.h"
#include "upesquisa.h"

#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class Pesquisa : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char *nome : {"SILVA", "SILVEIRA", "SOUZA"})
            pasta.executar(QStringLiteral("INSERT INTO tbcliente (Nome, cnpj) VALUES ('%1', 'c-%1')")
                               .arg(QString::fromLatin1(nome)));
        dm = std::make_unique<TDM>(pasta.caminho());
    }
    QString pesquisarClientes()
    {
        return DM->Pesquisar(QStringLiteral("tbcliente order by idcliente"), QStringLiteral("nome, cnpj, idcliente"),
                             QStringLiteral("idcliente"));
    }

    DialogosRoteiro dialogos;
    PastaProgramaTeste pasta;
    std::unique_ptr<TDM> dm;
};

TEST_F(Pesquisa, BuscaExataOuParcialIgnorandoCaixa)
{
    struct Caso {
        const char *texto;
        const char *resultado; // "" when the dialog stays open
        int restantes;
    } casos[] = {{"SILVA", "1", 1}, {"silva", "1", 1}, {"SIL", "", 2}, {"XYZ", "", 3}};
    for (const Caso &c : casos) {
        bool aberto = true;
        dialogos.pesquisa([&](LogicaPesquisa &l) {
            // The names as the result reports them (SQLite gives the table's spelling).
            EXPECT_EQ(l.opcao1(), QStringLiteral("Nome"));
            EXPECT_EQ(l.opcao2(), QStringLiteral("cnpj"));
            l.setTexto(QString::fromLatin1(c.texto));
            l.pesquisar();
            aberto = !l.concluido();
            EXPECT_EQ(l.dados().quantidade(), c.restantes) << c.texto;
            if (c.restantes == 3) {
                EXPECT_TRUE(l.texto().isEmpty());
            }
        });
        EXPECT_EQ(pesquisarClientes(), QString::fromLatin1(c.resultado)) << c.texto;
        EXPECT_EQ(aberto, QString::fromLatin1(c.resultado).isEmpty());
    }
    EXPECT_EQ(DM->QyPesquisa.filtro(), QString()); // the last search matched nothing
}

TEST_F(Pesquisa, OkLogoAoAbrirCliqueComSegundaOpcaoEFecharSemConfirmar)
{
    dialogos.pesquisa([](LogicaPesquisa &l) {
        EXPECT_EQ(l.texto(), QStringLiteral("SILVA"));
        l.pesquisar();
    });
    EXPECT_EQ(pesquisarClientes(), QStringLiteral("1"));
    EXPECT_TRUE(DM->Confirmado);

    dialogos.pesquisa([](LogicaPesquisa &l) {
        l.selecionarOpcao(2);
        EXPECT_EQ(l.texto(), QStringLiteral("c-SILVA"));
        l.clicarLinha(3);
        EXPECT_EQ(l.texto(), QStringLiteral("SOUZA"));
        l.escolherLinhaAtual();
    });
    EXPECT_EQ(pesquisarClientes(), QStringLiteral("3"));

    dialogos.pesquisa([](LogicaPesquisa &) {}); // closed by its close box
    EXPECT_EQ(pesquisarClientes(), QString());
    EXPECT_FALSE(DM->Confirmado);
}

TEST_F(Pesquisa, CaixaVaziaComUmaLinhaDevolveEssaLinhaEErroDeSqlChegaAoChamador)
{
    dialogos.pesquisa([](LogicaPesquisa &l) {
        l.setTexto(QString());
        l.pesquisar();
    });
    EXPECT_EQ(DM->Pesquisar(QStringLiteral("tbcliente where nome = 'SOUZA'"), QStringLiteral("nome, idcliente"),
                            QStringLiteral("IDCLIENTE")),
              QStringLiteral("3"));
    EXPECT_ANY_THROW(DM->Pesquisar(QStringLiteral("tabela_inexistente"), QStringLiteral("a, b"), QStringLiteral("a")));
    EXPECT_FALSE(DM->Confirmado);
}

TEST_F(Pesquisa, DialogoDigitarEnterEDuploClique)
{
    DM->QyPesquisa.fechar();
    DM->QyPesquisa.setSql(QStringLiteral("SELECT nome, cnpj, idcliente FROM tbcliente order by idcliente"));
    DM->QyPesquisa.abrir();
    LogicaPesquisa logica(DM->QyPesquisa);
    TfrmPesquisa dialogo(logica);
    auto *caixa = dialogo.findChild<QLineEdit *>(QStringLiteral("edpesquisa"));
    EXPECT_EQ(caixa->text(), QStringLiteral("SILVA"));
    caixa->clear();
    QTest::keyClicks(caixa, QStringLiteral("SIL"));
    QTest::keyClick(caixa, Qt::Key_Return);
    EXPECT_EQ(DM->QyPesquisa.quantidade(), 2);
    EXPECT_FALSE(logica.concluido());

    auto *grade = dialogo.findChild<QTableView *>(QStringLiteral("gdPesquisa"));
    QTimer::singleShot(0, &dialogo, [&] {
        const QModelIndex indice = grade->model()->index(1, 0);
        QTest::mouseClick(grade->viewport(), Qt::LeftButton, {}, grade->visualRect(indice).center());
        QTest::mouseDClick(grade->viewport(), Qt::LeftButton, {}, grade->visualRect(indice).center());
    });
    dialogo.exec();
    EXPECT_TRUE(logica.confirmado());
    EXPECT_EQ(DM->QyPesquisa.campo(QStringLiteral("Nome")).texto(), QStringLiteral("SILVEIRA"));
}

// Columns as wide as their contents, money as money: a long name is shown
// whole and a price reads 1.940,44, not 1940,4422.
TEST_F(Pesquisa, ColunasPeloConteudoEDinheiroComoDinheiro)
{
    const QString longo = QStringLiteral("PARAFUSO SEXTAVADO ZINCADO 1/4 X 2 POLEGADAS CAIXA COM 100 UNIDADES");
    pasta.executar(QStringLiteral("INSERT INTO tbproduto (CODIGO, PRODUTO, PRECOVENDA, ESTOQUE) VALUES"
                                  " ('P1', '%1', 1940.4422, 12), ('P2', 'PORCA', 48.5, 3)")
                       .arg(longo));
    DM->QyProduto.reabrir();
    DM->QyPesquisa.fechar();
    DM->QyPesquisa.setSql(QStringLiteral("SELECT codigo, produto, precovenda, estoque FROM tbproduto order by produto"));
    DM->QyPesquisa.abrir();
    LogicaPesquisa logica(DM->QyPesquisa);
    TfrmPesquisa dialogo(logica);
    auto *grade = dialogo.findChild<QTableView *>(QStringLiteral("gdPesquisa"));
    QTimer::singleShot(0, &dialogo, [&] {
        const QAbstractItemModel *m = grade->model();
        EXPECT_EQ(m->data(m->index(0, 2)).toString(), QStringLiteral("1.940,44"));
        EXPECT_EQ(m->data(m->index(1, 2)).toString(), QStringLiteral("48,50"));
        EXPECT_GE(grade->columnWidth(1), grade->fontMetrics().horizontalAdvance(longo));
        dialogo.reject();
    });
    dialogo.exec();
}

} // namespace
