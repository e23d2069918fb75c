#include "conjunto_dados.h"
#include "dialogos_qt.h"
#include "dialogos_roteiro.h"
#include "logica_pesquisa.h"
#include "pasta_programa.h"
#include "udm.h"
#include "upesquisa.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QSettings>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <functional>
#include <gtest/gtest.h>

namespace
{

class Pesquisa : public ::testing::Test
{
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

// Waits, handling events, until the dialog's narrowing has run.
bool aguardar(const std::function<bool()> &condicao)
{
    QDeadlineTimer prazo(5000);
    while (!condicao() && !prazo.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return condicao();
}

// Typing narrows the rows with no Enter; Down moves the row while the box
// keeps the focus; Enter picks the highlighted row.
TEST_F(Pesquisa, DigitarEstreitaSetasMovemEnterEscolhe)
{
    DM->QyPesquisa.fechar();
    DM->QyPesquisa.setSql(QStringLiteral("SELECT nome, cnpj, idcliente FROM tbcliente order by idcliente"));
    DM->QyPesquisa.abrir();
    LogicaPesquisa logica(DM->QyPesquisa);
    TfrmPesquisa dialogo(logica);
    auto *caixa = dialogo.findChild<QLineEdit *>(QStringLiteral("edpesquisa"));
    QTimer::singleShot(0, &dialogo, [&] {
        EXPECT_EQ(caixa->text(), QStringLiteral("SILVA"));
        // The first row's value is selected: typing replaces it.
        QTest::keyClicks(caixa, QStringLiteral("sil"));
        EXPECT_TRUE(aguardar([&] { return DM->QyPesquisa.quantidade() == 2; }));
        EXPECT_FALSE(logica.concluido());
        QTest::keyClick(caixa, Qt::Key_Down);
        EXPECT_TRUE(caixa->hasFocus());
        QTest::keyClick(caixa, Qt::Key_Return);
    });
    EXPECT_EQ(dialogo.exec(), QDialog::Accepted);
    EXPECT_TRUE(logica.confirmado());
    EXPECT_EQ(DM->QyPesquisa.campo(QStringLiteral("Nome")).texto(), QStringLiteral("SILVEIRA"));
}

// Enter right after the last letter picks from the rows that letter leaves,
// without waiting for the pause; a text matching nothing picks nothing; Esc
// closes with nothing chosen.
TEST_F(Pesquisa, EnterSemEsperarNadaEncontradoEEsc)
{
    EXPECT_EQ(DM->QyPesquisa.quantidade(), 0);
    DialogosQt qt;
    Dialogos::definir(&qt);
    auto digitar = [](const QString &texto, bool esc) {
        QTimer::singleShot(0, [texto, esc] {
            auto *caixa = QApplication::activeModalWidget()->findChild<QLineEdit *>(QStringLiteral("edpesquisa"));
            QTest::keyClicks(caixa, texto);
            QTest::keyClick(caixa, Qt::Key_Return);
            if (esc) {
                EXPECT_NE(QApplication::activeModalWidget(), nullptr); // nothing to pick: still open
                QTest::keyClick(caixa, Qt::Key_Escape);
            }
        });
    };
    digitar(QStringLiteral("souz"), false);
    EXPECT_EQ(pesquisarClientes(), QStringLiteral("3"));
    digitar(QStringLiteral("zzz"), true);
    EXPECT_EQ(pesquisarClientes(), QString());
    EXPECT_FALSE(DM->Confirmado);
    Dialogos::definir(&dialogos);
}

// Double-clicking a row picks it.
TEST_F(Pesquisa, DuploCliqueEscolhe)
{
    DM->QyPesquisa.fechar();
    DM->QyPesquisa.setSql(QStringLiteral("SELECT nome, cnpj, idcliente FROM tbcliente order by idcliente"));
    DM->QyPesquisa.abrir();
    LogicaPesquisa logica(DM->QyPesquisa);
    TfrmPesquisa dialogo(logica);
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

// The column searched follows what is typed until the user picks an option:
// a code-like text the codes, words the descriptions; a text one column
// lacks is tried in the other; a chosen option keeps its column.
TEST_F(Pesquisa, ColunaPeloQueSeDigita)
{
    pasta.executar(QStringLiteral("INSERT INTO tbproduto (CODIGO, PRODUTO, PRECOVENDA, ESTOQUE) VALUES"
                                  " ('T100', 'TRENA 5M', 10, 1), ('T200', 'TRENA 8M', 12, 1),"
                                  " ('M300', 'MARTELO 27MM', 30, 1), ('C5', 'CHAVE T100 MULTIUSO', 5, 1)"));
    DM->QyPesquisa.fechar();
    DM->QyPesquisa.setSql(
        QStringLiteral("SELECT codigo, produto, precovenda, estoque FROM tbproduto order by produto"));
    DM->QyPesquisa.abrir();
    LogicaPesquisa logica(DM->QyPesquisa);
    logica.iniciar();
    struct Caso {
        const char *texto;
        int opcao;
        int restantes;
    } casos[] = {
        {"trena", 2, 2}, {"T100", 1, 1}, {"t1", 1, 1}, {"27mm", 2, 1}, {"MULTI", 2, 1}, {"", 2, 4}, {"xyz", 2, 0},
    };
    for (const Caso &c : casos) {
        logica.estreitar(QString::fromUtf8(c.texto));
        EXPECT_EQ(logica.opcaoSelecionada(), c.opcao) << c.texto;
        EXPECT_EQ(DM->QyPesquisa.quantidade(), c.restantes) << c.texto;
        EXPECT_FALSE(logica.concluido()) << c.texto;
    }
    logica.selecionarOpcao(2);
    logica.estreitar(QStringLiteral("T100"));
    EXPECT_EQ(logica.opcaoSelecionada(), 2);
    EXPECT_EQ(DM->QyPesquisa.campo(QStringLiteral("PRODUTO")).texto(), QStringLiteral("CHAVE T100 MULTIUSO"));
    logica.moverLinha(5);
    EXPECT_EQ(DM->QyPesquisa.numeroRegistro(), 1);
}

// A product found by typing part of its description, picked with Enter,
// through the data module's service as the order screens call it.
TEST_F(Pesquisa, ProdutoPorParteDaDescricaoComEnter)
{
    pasta.executar(QStringLiteral("INSERT INTO tbproduto (CODIGO, PRODUTO, PRECOVENDA, ESTOQUE) VALUES"
                                  " ('00012', 'MARTELO UNHA', 30, 1), ('00345', 'TRENA EMBORRACHADA 5M', 12, 1),"
                                  " ('00346', 'TRENA 8M', 15, 1)"));
    DialogosQt qt;
    Dialogos::definir(&qt);
    QTimer::singleShot(0, [] {
        auto *dialogo = QApplication::activeModalWidget();
        auto *caixa = dialogo->findChild<QLineEdit *>(QStringLiteral("edpesquisa"));
        QTest::keyClicks(caixa, QStringLiteral("emborr"));
        auto *grade = dialogo->findChild<QTableView *>(QStringLiteral("gdPesquisa"));
        EXPECT_TRUE(aguardar([&] { return grade->model()->rowCount() == 1; }));
        QTest::keyClick(caixa, Qt::Key_Enter);
    });
    EXPECT_EQ(DM->Pesquisar(QStringLiteral("tbproduto order by produto"),
                            QStringLiteral("codigo, produto, precovenda, estoque"), QStringLiteral("codigo")),
              QStringLiteral("00345"));
    Dialogos::definir(&dialogos);
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
    DM->QyPesquisa.setSql(
        QStringLiteral("SELECT codigo, produto, precovenda, estoque FROM tbproduto order by produto"));
    DM->QyPesquisa.abrir();
    LogicaPesquisa logica(DM->QyPesquisa);
    TfrmPesquisa dialogo(logica);
    auto *grade = dialogo.findChild<QTableView *>(QStringLiteral("gdPesquisa"));
    QTimer::singleShot(0, &dialogo, [&] {
        const QAbstractItemModel *m = grade->model();
        EXPECT_EQ(m->data(m->index(0, 2)).toString(), QStringLiteral("1.940,44"));
        EXPECT_EQ(m->data(m->index(1, 2)).toString(), QStringLiteral("48,50"));
        EXPECT_GE(grade->columnWidth(1), grade->fontMetrics().horizontalAdvance(longo));
        QStringList titulos;
        for (int i = 0; i < m->columnCount(); ++i)
            titulos << m->headerData(i, Qt::Horizontal).toString();
        EXPECT_EQ(titulos, (QStringList{"Código", "Descrição", "Preço", "Estoque"}));
        EXPECT_GE(grade->viewport()->height(), 15 * grade->verticalHeader()->defaultSectionSize());
        dialogo.resize(dialogo.width() + 50, dialogo.height() + 40);
        dialogo.reject();
    });
    dialogo.exec();
    // The next dialog opens at the size the user left.
    const QSize deixado = dialogo.size();
    TfrmPesquisa outro(logica);
    EXPECT_EQ(outro.size(), deixado);
}

} // namespace
