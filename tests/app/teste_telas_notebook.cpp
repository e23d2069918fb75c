#include "dialogos_qt.h"
#include "dialogos_roteiro.h"
#include "grade_itens.h"
#include "pasta_programa.h"
#include "tela_cliente.h"
#include "tela_pedido.h"
#include "tela_produto.h"
#include "telas_variantes.h"
#include "udm.h"
#include "uprincipal.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <gtest/gtest.h>

namespace
{

// The room a maximised window has on the common laptop screens, once the
// title bar and the task bar have taken theirs.
struct Tela {
    const char *nome;
    QSize area;
};
const Tela kTelas[] = {{"1366x768", {1366, 700}}, {"1280x720", {1280, 652}}};

// Every screen fits the laptop's room with nothing squeezed below the size
// it needs, and on the common 1366x768 every item grid (the exchange's two
// included) shows at least five rows; the rows are printed. With
// CORLANDO_CAPTURAS naming a folder, each screen is saved there as a picture
// (and CORLANDO_DEMO may name the demo installation to show its data).
TEST(TelasNotebook, CadaTelaCabeNaTelaDoNotebook)
{
    DialogosRoteiro dialogos;
    PastaProgramaTeste pasta;
    pasta.executar(QStringLiteral("INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('12', 'JOÃO SILVA');"
                                  "INSERT INTO tbconfiguracoes (cod_funcionario) VALUES ('12');"));
    const QString demo = qEnvironmentVariable("CORLANDO_DEMO");
    const QString capturas = qEnvironmentVariable("CORLANDO_CAPTURAS");
    TDM dm(demo.isEmpty() ? pasta.caminho() : QDir(demo).absolutePath() + QLatin1Char('/'));

    struct Caso {
        const char *arquivo;
        std::function<std::unique_ptr<QWidget>()> criar;
    };
    const Caso casos[] = {
        {"principal", [] { return std::make_unique<TfrmPrincipal>(); }},
        {"clientes", [] { return std::make_unique<TfrmCliente>(); }},
        {"produtos", [] { return std::make_unique<TFrmProduto>(); }},
        {"pedido", [] { return CriarTelaPedido(VariantePedidoRegular()); }},
        {"pacote", [] { return CriarTelaPedido(VariantePedidoPacote()); }},
        {"troca", [] { return CriarTelaPedido(VariantePedidoTroca()); }},
        {"venda-casada", [] { return CriarTelaPedido(VariantePedidoVendaCasada()); }},
    };
    for (const Tela &t : kTelas) {
        for (const Caso &c : casos) {
            SCOPED_TRACE(std::string(c.arquivo) + " " + t.nome);
            std::unique_ptr<QWidget> janela = c.criar();
            janela->setWindowState(Qt::WindowNoState);
            janela->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(janela.get()));
            // A fixed-size window must fit; one that grows takes the room.
            if (janela->minimumSize() == janela->maximumSize()) {
                EXPECT_LE(janela->width(), t.area.width());
                EXPECT_LE(janela->height(), t.area.height());
            } else {
                const QSize minimo = janela->minimumSizeHint();
                EXPECT_LE(minimo.width(), t.area.width());
                EXPECT_LE(minimo.height(), t.area.height());
                janela->resize(t.area);
                QApplication::processEvents();
                EXPECT_EQ(janela->size(), t.area);
            }
            for (GradeItens *grade : janela->findChildren<GradeItens *>()) {
                const int linhas = grade->viewport()->height() / grade->verticalHeader()->defaultSectionSize();
                std::printf("%s %s %s: %d linhas\n", t.nome, c.arquivo, qPrintable(grade->objectName()), linhas);
                if (t.area.width() == 1366) {
                    EXPECT_GE(linhas, 5) << qPrintable(grade->objectName());
                }
            }
            if (!capturas.isEmpty() && t.area.width() == 1366)
                janela->grab().save(QDir(capturas).filePath(QString::fromUtf8(c.arquivo) + QStringLiteral(".png")));
            // The main window would ask before closing the program.
            if (qobject_cast<TfrmPrincipal *>(janela.get()))
                janela->hide();
            else
                janela->close();
        }
    }
}

// With CORLANDO_CAPTURAS set: the search dialog narrowed by a typed word,
// and the keys help of the order screen, as pictures.
TEST(TelasNotebook, CapturasDaPesquisaEDosAtalhos)
{
    const QString capturas = qEnvironmentVariable("CORLANDO_CAPTURAS");
    const QString demo = qEnvironmentVariable("CORLANDO_DEMO");
    if (capturas.isEmpty() || demo.isEmpty())
        GTEST_SKIP() << "sem CORLANDO_CAPTURAS e CORLANDO_DEMO";
    DialogosQt qt;
    Dialogos::definir(&qt);
    TDM dm(QDir(demo).absolutePath() + QLatin1Char('/'));
    auto capturarModal = [&](const QString &arquivo) {
        QTimer::singleShot(300, [arquivo, capturas] {
            QWidget *janela = QApplication::activeModalWidget();
            ASSERT_NE(janela, nullptr);
            janela->grab().save(QDir(capturas).filePath(arquivo));
            janela->close();
        });
    };
    QTimer::singleShot(0, [] {
        auto *caixa = QApplication::activeModalWidget()->findChild<QLineEdit *>(QStringLiteral("edpesquisa"));
        QTest::keyClicks(caixa, QStringLiteral("parafuso"));
    });
    capturarModal(QStringLiteral("pesquisa.png"));
    DM->Pesquisar(QStringLiteral("tbproduto order by produto"), QStringLiteral("codigo, produto, precovenda, estoque"),
                  QStringLiteral("codigo"));

    std::unique_ptr<TfrmPedido> pedido = CriarTelaPedido(VariantePedidoRegular());
    pedido->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(pedido.get()));
    pedido->activateWindow();
    capturarModal(QStringLiteral("atalhos.png"));
    QTest::keyClick(pedido.get(), Qt::Key_F1);
    pedido->close();
    Dialogos::definir(nullptr);
}

} // namespace
