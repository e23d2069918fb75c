#include "dialogos_roteiro.h"
#include "pasta_usuario.h"
#include "tela_pedido.h"
#include "udm.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCompleter>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

#include <sqlite3.h>

namespace
{

// The first column of the first row, "" when there is none.
QString consultar(const QString &banco, const QString &sql)
{
    sqlite3 *db = nullptr;
    QString valor;
    if (sqlite3_open_v2(banco.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt *q = nullptr;
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &q, nullptr) == SQLITE_OK &&
            sqlite3_step(q) == SQLITE_ROW && sqlite3_column_text(q, 0))
            valor = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(q, 0)));
        sqlite3_finalize(q);
    }
    sqlite3_close(db);
    return valor;
}

} // namespace

// Run by teste_pacote.sh inside the package extracted into CORLANDO_RAIZ,
// with HOME and the XDG folders in a temporary place: the program as a user
// who just installed it meets it.
TEST(PacoteInstalado, PrimeiroInicioCriaAPastaDoUsuarioEOPedidoEImpressoNela)
{
    const QString raiz = qEnvironmentVariable("CORLANDO_RAIZ");
    if (raiz.isEmpty())
        GTEST_SKIP() << "Só dentro de teste_pacote.sh.";
    // The real data folder, under the temporary HOME the script gives.
    QStandardPaths::setTestModeEnabled(false);
    QCoreApplication::setApplicationName(QStringLiteral("Corlando"));
    const QString esperada = QDir(qEnvironmentVariable("XDG_DATA_HOME")).filePath(QStringLiteral("Corlando")) + u'/';

    DialogosRoteiro dialogos;
    dialogos.responder(Resposta::Sim); // the demo data
    const PastasPrograma pastas = IniciarPastas(raiz + QStringLiteral("/usr/bin"));
    ASSERT_EQ(pastas.sistema, esperada);
    EXPECT_EQ(pastas.compartilhada, raiz + QStringLiteral("/usr/share/corlando/"));
    ASSERT_EQ(dialogos.textos(QStringLiteral("pergunta")).size(), 1);
    EXPECT_TRUE(dialogos.textos(QStringLiteral("pergunta"))[0].contains(QDir::toNativeSeparators(esperada)));
    for (const char *arquivo : {"Mirvale.ini", "local.udl", "central.udl", "corlando.db", "relatórios"})
        EXPECT_TRUE(QFileInfo::exists(esperada + QString::fromUtf8(arquivo))) << arquivo;
    // Templates and the logo stay shared until the company puts its own there.
    EXPECT_FALSE(QFileInfo::exists(esperada + QStringLiteral("pedido.rav")));

    TDM dm(pastas.sistema);
    dm.PathCompartilhado = pastas.compartilhada;
    ASSERT_EQ(dialogos.registros().size(), 1u) << dialogos.textos().join(u'\n').toStdString();
    EXPECT_EQ(dm.ArquivoModelo(QStringLiteral("pedido.rav")), pastas.compartilhada + QStringLiteral("pedido.rav"));

    const QString banco = esperada + QStringLiteral("corlando.db");
    const QString codigo = consultar(banco, QStringLiteral("SELECT CODIGO FROM tbproduto WHERE ESTOQUE >= 50 AND "
                                                           "coalesce(multiplo, 0) <= 1 ORDER BY CODIGO LIMIT 1"));
    ASSERT_FALSE(codigo.isEmpty());

    const QString cliente = consultar(banco, QStringLiteral("SELECT min(IdCliente) FROM tbcliente"));
    const QString ultimo = consultar(banco, QStringLiteral("SELECT max(nr_pedido) FROM tbpedido"));

    // A new order as a user types it: customer, one item, save, print.
    TfrmPedido tela(VariantePedidoRegular());
    tela.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tela));
    tela.activateWindow();
    QTest::mouseClick(tela.botao(AcaoPedido::Novo), Qt::LeftButton);
    QWidget *caixaCliente = tela.caixa(CaixaPedido::CodigoCliente);
    ASSERT_TRUE(caixaCliente->hasFocus());
    QTest::keyClicks(caixaCliente, cliente);
    // The list of customers offered is dismissed; offscreen, the window does
    // not get its activation back by itself.
    if (auto *caixa = qobject_cast<QLineEdit *>(caixaCliente);
        caixa->completer() && caixa->completer()->popup()->isVisible())
        QTest::keyClick(caixa->completer()->popup(), Qt::Key_Escape);
    tela.activateWindow();
    QCoreApplication::processEvents();
    QTest::keyClick(caixaCliente, Qt::Key_Tab);
    ASSERT_EQ(dm.QyPedido.campo(QStringLiteral("idCliente")).texto(), cliente);
    QTest::mouseClick(tela.botao(AcaoPedido::NovoItem), Qt::LeftButton);
    const QString pedido = dm.QyPedido.campo(QStringLiteral("nr_pedido")).texto();
    ASSERT_GT(pedido.toLongLong(), ultimo.toLongLong());
    auto *caixaCodigo = qobject_cast<QLineEdit *>(tela.caixa(CaixaPedido::ItemCodigo));
    ASSERT_NE(caixaCodigo, nullptr);
    QTest::keyClicks(caixaCodigo, codigo);
    QTest::keyClick(caixaCodigo, Qt::Key_Tab);
    QTest::keyClicks(tela.caixa(CaixaPedido::ItemQuantidade), QStringLiteral("3"));
    QTest::mouseClick(tela.botao(AcaoPedido::SalvarItem), Qt::LeftButton);
    QTest::mouseClick(tela.botao(AcaoPedido::Salvar), Qt::LeftButton);
    QTest::mouseClick(tela.botao(AcaoPedido::Imprimir), Qt::LeftButton);
    EXPECT_EQ(consultar(banco, QStringLiteral("SELECT idCliente FROM tbpedido WHERE nr_pedido=") + pedido), cliente);

    // Stored and priced in the user's database: three units at a unit price,
    // the item's total three times it, the header's total the items' sum.
    const QString item =
        QStringLiteral(" FROM tbpedido_item WHERE nr_pedido=%1 AND codigo='%2' AND quantidade=3").arg(pedido, codigo);
    const double unitario = consultar(banco, QStringLiteral("SELECT valorUnitario") + item).toDouble();
    EXPECT_GT(unitario, 0);
    EXPECT_NEAR(consultar(banco, QStringLiteral("SELECT valorTotal") + item).toDouble(), 3 * unitario, 0.00005);
    EXPECT_NEAR(
        consultar(banco, QStringLiteral("SELECT vl_total_item FROM tbpedido WHERE nr_pedido=") + pedido).toDouble(),
        consultar(banco, QStringLiteral("SELECT sum(valorTotal) FROM tbpedido_item WHERE nr_pedido=") + pedido)
            .toDouble(),
        0.00005);
    EXPECT_EQ(consultar(banco, QStringLiteral("SELECT impresso FROM tbpedido WHERE nr_pedido=") + pedido),
              QStringLiteral("1"));

    // The PDF is in the user's reports folder, rendered from the shared template.
    const QString pdf = esperada + QStringLiteral("relatórios/pedido-") + pedido + QStringLiteral(".pdf");
    ASSERT_TRUE(QFileInfo::exists(pdf)) << dialogos.textos().join(u'\n').toStdString();
    QProcess texto;
    texto.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(texto.waitForFinished());
    EXPECT_TRUE(QString::fromUtf8(texto.readAllStandardOutput()).contains(codigo));
}
