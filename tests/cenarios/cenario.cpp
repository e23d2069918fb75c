#include "cenario.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

DialogosDoUsuario::DialogosDoUsuario()
{
    Dialogos::definir(this);
    // A modal window runs its own event loop: the clock ticks inside it.
    m_relogio.setInterval(5);
    QObject::connect(&m_relogio, &QTimer::timeout, [this] { verificar(); });
    m_relogio.start();
}

DialogosDoUsuario::~DialogosDoUsuario()
{
    Dialogos::definir(nullptr);
}

void DialogosDoUsuario::verificar()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    QString texto = modal->windowTitle();
    if (auto *caixa = qobject_cast<QMessageBox *>(modal))
        texto = caixa->text();
    if (qobject_cast<QMessageBox *>(modal))
        textos << texto;
    if (m_atos.empty()) {
        inesperadas << texto;
        QApplication::setActiveWindow(modal);
        QTest::keyClick(modal, Qt::Key_Escape);
        return;
    }
    const Ato ato = std::move(m_atos.front());
    m_atos.pop_front();
    // The window on top is the active one, as a window manager makes it.
    QApplication::setActiveWindow(modal);
    ato(modal);
}

namespace
{

// Tab to the box's button with that caption, and Space.
DialogosDoUsuario::Ato apertarBotao(const QString &rotulo)
{
    return [rotulo](QWidget *w) {
        auto *caixa = qobject_cast<QMessageBox *>(w);
        ASSERT_NE(caixa, nullptr);
        for (QAbstractButton *b : caixa->buttons())
            if (b->text() == rotulo) {
                for (int i = 0; i < 4 && QApplication::focusWidget() != b; ++i)
                    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : w, Qt::Key_Tab);
                ASSERT_EQ(QApplication::focusWidget(), b);
                QTest::keyClick(b, Qt::Key_Space);
                return;
            }
        ADD_FAILURE() << "no button " << rotulo.toStdString();
    };
}

} // namespace

DialogosDoUsuario::Ato DialogosDoUsuario::sim()
{
    return apertarBotao(QStringLiteral("&Sim"));
}

DialogosDoUsuario::Ato DialogosDoUsuario::nao()
{
    return apertarBotao(QStringLiteral("&Não"));
}

DialogosDoUsuario::Ato DialogosDoUsuario::ok()
{
    return [](QWidget *w) { QTest::keyClick(w, Qt::Key_Return); };
}

DialogosDoUsuario::Ato DialogosDoUsuario::pesquisar(const QString &texto)
{
    return [texto](QWidget *w) {
        QWidget *caixa = QApplication::focusWidget() ? QApplication::focusWidget() : w;
        QTest::keyClick(caixa, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(caixa, texto);
        QTest::keyClick(caixa, Qt::Key_Return);
    };
}

void Cenario::SetUp()
{
    pasta.executar(QStringLiteral(
        "INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('12', 'JOÃO SILVA');"
        "INSERT INTO tbforma (idforma, Forma) VALUES (3, 'BOLETO 30 DIAS');"
        "INSERT INTO tblocalidades (tp_localidade, nm_localidade) VALUES ('0', 'PNS');"
        "INSERT INTO tbproduto (CODIGO, PRODUTO, PRECOVENDA, ESTOQUE, multiplo, FABRICANTE) VALUES"
        " ('P1', 'Parafuso', 10, 100, 0, 'ACME'), ('P2', 'Prego', 4, 100, 0, 'ACME');"
        "INSERT INTO tbcliente (IdCliente, Nome, fantasia, CliFPagto, valmenorcompra, valmaiorcompra) VALUES"
        " (1, 'LOJA UM LTDA', 'LOJA UM', '3', 10, 100), (2, 'LOJA DOIS LTDA', 'LOJA DOIS', '3', 90, 900);"
        // A regular order, a package, a tied sale and two exchanges.
        "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido, cif, vl_total_item) VALUES"
        " (10, '12', 2, '2026-11-02 10:00:00', 'Não', 30);"
        "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido, cif, vl_total_pacote) VALUES"
        " (20, '12', 1, '2026-11-03 10:00:00', 'Não', 20);"
        "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido, cif, vl_total_venda_casada) VALUES"
        " (30, '12', 2, '2026-11-04 10:00:00', 'Não', 10);"
        "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido, cif, vl_total_troca1, vl_total_troca2,"
        " vl_diferenca_troca) VALUES (40, '12', 1, '2026-11-05 10:00:00', 'Não', 7, 0, -7),"
        " (41, '12', 2, '2026-11-06 10:00:00', 'Não', 7, 0, -7);"
        "INSERT INTO tbpedido_item (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal,"
        " cd_desconto1, cd_desconto2, cd_desconto3) VALUES (10, '12', 'P1', 3, 10, 30, '0', '0', '0');"
        "INSERT INTO tbpedido_pacote (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal,"
        " cd_desconto1, cd_desconto2, cd_desconto3) VALUES (20, '12', 'P1', 2, 10, 20, '0', '0', '0');"
        "INSERT INTO tbpedido_venda_casada (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal,"
        " cd_desconto1, cd_desconto2, cd_desconto3) VALUES (30, '12', 'P1', 1, 10, 10, '0', '0', '0');"
        // Returned items priced when the product cost 7.
        "INSERT INTO tbpedido_troca2 (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal) VALUES"
        " (40, '12', 'P1', 1, 7, 7), (41, '12', 'P1', 1, 7, 7);"));
    dialogos = std::make_unique<DialogosDoUsuario>();
    dm = std::make_unique<TDM>(pasta.caminho());
}

void Cenario::TearDown()
{
    fecharTela();
    EXPECT_TRUE(dialogos->inesperadas.isEmpty()) << dialogos->inesperadas.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(dialogos->atosEsgotados()) << "a planned answer found no window";
    dm.reset();
    dialogos.reset();
}

void Cenario::abrir(const VariantePedido &variante)
{
    fecharTela();
    tela = std::make_unique<TfrmPedido>(variante);
    tela->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(tela.get()));
    tela->activateWindow();
    QApplication::setActiveWindow(tela.get());
}

// Whatever is still being typed is abandoned, not stored by the closing.
void Cenario::fecharTela()
{
    if (!tela)
        return;
    for (int l = 0; l < tela->logica().quantidadeListas(); ++l)
        tela->logica().itens(l).cancelar();
    tela->logica().cabecalho().cancelar();
    tela->close();
    tela.reset();
}

// A closed modal window gives the activation back to the screen, as the
// window manager does (the offscreen platform does not).
QWidget *Cenario::foco()
{
    QWidget *janela = QApplication::activeModalWidget();
    if (!janela && !QApplication::activeWindow())
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible() && qobject_cast<TfrmPedido *>(w))
                QApplication::setActiveWindow(w);
    return QApplication::focusWidget();
}

void Cenario::digitar(const QString &texto)
{
    QWidget *w = foco();
    ASSERT_NE(w, nullptr);
    QTest::keyClicks(w, texto);
}

// Tab while the customer box's completion list is open: a window manager
// leaves the screen active under the list, so Tab leaves the box as the list
// closes; the offscreen platform activates the list itself, so it is closed
// first and the activation given back.
void Cenario::fecharListaDeCompletar()
{
    if (QWidget *lista = QApplication::activePopupWidget()) {
        lista->hide();
        foco();
    }
}

void Cenario::tecla(Qt::Key t, Qt::KeyboardModifiers modificadores)
{
    if (t == Qt::Key_Tab || t == Qt::Key_Backtab)
        fecharListaDeCompletar();
    QWidget *w = foco();
    ASSERT_NE(w, nullptr);
    QTest::keyClick(w, t, modificadores);
}

bool Cenario::tabAte(QWidget *alvo, bool paraTras)
{
    QStringList caminho;
    for (int i = 0; i < 200 && foco() && foco() != alvo; ++i) {
        fecharListaDeCompletar();
        caminho << foco()->objectName();
        QTest::keyClick(foco(), paraTras ? Qt::Key_Backtab : Qt::Key_Tab,
                        paraTras ? Qt::ShiftModifier : Qt::NoModifier);
    }
    if (foco() != alvo)
        ADD_FAILURE() << "Tab never reached " << alvo->objectName().toStdString() << ": "
                      << caminho.join(QLatin1Char(' ')).toStdString();
    return foco() == alvo;
}

void Cenario::apertar(AcaoPedido acao, int lista)
{
    QToolButton *botao = tela->botao(acao, lista);
    ASSERT_TRUE(botao->isEnabled()) << botao->objectName().toStdString();
    ASSERT_TRUE(tabAte(botao)) << botao->objectName().toStdString();
    tecla(Qt::Key_Space);
}

void Cenario::clicar(AcaoPedido acao, int lista)
{
    QTest::mouseClick(tela->botao(acao, lista), Qt::LeftButton);
}

QString Cenario::resumo(const char *titulo) const
{
    for (QGroupBox *quadro : tela->findChildren<QGroupBox *>())
        if (quadro->title() == QString::fromUtf8(titulo))
            return quadro->findChild<QLabel *>()->text();
    ADD_FAILURE() << "no summary box " << titulo;
    return {};
}
