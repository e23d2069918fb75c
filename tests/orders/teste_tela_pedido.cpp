#include "tela_pedido_teste.h"

#include "controles_vinculados.h"
#include "grade_itens.h"
#include "tela_pedido.h"

#include <algorithm>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

// The window over the same folder: keys, enabling and binding as a user
// meets them.
class JanelaPedidoTeste : public TelaPedidoTeste
{
  protected:
    void abrirJanela()
    {
        dm = std::make_unique<TDM>(pasta.caminho());
        tela = std::make_unique<TfrmPedido>(VariantePedidoRegular());
        tela->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(tela.get()));
        tela->activateWindow();
    }

    void tecla(int tecla, Qt::KeyboardModifiers modificadores)
    {
        tela->grade()->setFocus();
        QTest::keyClick(tela->grade(), static_cast<Qt::Key>(tecla), modificadores);
    }

    bool habilitado(AcaoPedido acao) const { return tela->botao(acao)->isEnabled(); }

    std::unique_ptr<TfrmPedido> tela;
};

TEST_F(JanelaPedidoTeste, BotoesSeguemAsRegrasAoClicar)
{
    abrirJanela();
    EXPECT_TRUE(habilitado(AcaoPedido::Editar));
    EXPECT_FALSE(habilitado(AcaoPedido::Salvar));
    EXPECT_FALSE(habilitado(AcaoPedido::Anterior));
    QTest::mouseClick(tela->botao(AcaoPedido::Editar), Qt::LeftButton);
    EXPECT_FALSE(habilitado(AcaoPedido::Editar));
    EXPECT_TRUE(habilitado(AcaoPedido::Salvar));
    EXPECT_TRUE(habilitado(AcaoPedido::Cancelar));
    QTest::mouseClick(tela->botao(AcaoPedido::Cancelar), Qt::LeftButton);
    QTest::mouseClick(tela->botao(AcaoPedido::Proximo), Qt::LeftButton);
    EXPECT_TRUE(habilitado(AcaoPedido::Anterior));
    EXPECT_EQ(pedidoAtual(), QStringLiteral("10"));
    EXPECT_EQ(tela->botao(AcaoPedido::Novo)->text(), QStringLiteral("&Inserir"));
    EXPECT_EQ(tela->botao(AcaoPedido::Novo)->statusTip(), QStringLiteral("Inserir pedido"));
}

TEST_F(JanelaPedidoTeste, CaixaVinculadaSoAceitaDigitacaoEmEdicao)
{
    abrirJanela();
    auto *detalhe = qobject_cast<CaixaVinculada *>(tela->caixa(CaixaPedido::FormaPagtoDetalhado));
    ASSERT_NE(detalhe, nullptr);
    detalhe->setFocus();
    QTest::keyClicks(detalhe, QStringLiteral("entrada"));
    EXPECT_EQ(detalhe->text(), QString());

    QTest::mouseClick(tela->botao(AcaoPedido::Editar), Qt::LeftButton);
    detalhe->setFocus();
    QTest::keyClicks(detalhe, QStringLiteral("entrada + 2x"));
    EXPECT_TRUE(dm->QyPedido.campo(QStringLiteral("nm_forma_pagamento")).nulo()); // not committed yet
    QTest::mouseClick(tela->botao(AcaoPedido::Salvar), Qt::LeftButton);
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT nm_forma_pagamento FROM tbpedido WHERE nr_pedido=12")),
              QStringLiteral("entrada + 2x"));

    // The product code is typed in capitals and priced on leaving the box.
    QTest::mouseClick(tela->botao(AcaoPedido::NovoItem), Qt::LeftButton);
    auto *codigo = qobject_cast<QLineEdit *>(tela->caixa(CaixaPedido::ItemCodigo));
    ASSERT_TRUE(codigo->hasFocus());
    QTest::keyClicks(codigo, QStringLiteral("m6"));
    QTest::keyClick(codigo, Qt::Key_Tab);
    EXPECT_EQ(item("codigo"), QStringLiteral("M6"));
    EXPECT_EQ(item("item_descricao"), QStringLiteral("Caixa com 6"));
    EXPECT_TRUE(tela->caixa(CaixaPedido::ItemQuantidade)->hasFocus());
}

TEST_F(JanelaPedidoTeste, TecladoDaGradeDigitosDaLinhaPrincipal)
{
    abrirJanela();
    tecla(Qt::Key_1, Qt::ControlModifier | Qt::KeypadModifier); // the keypad's 1: no entry
    EXPECT_FALSE(dm->QyPedidoItem.emEdicao());
    tecla(Qt::Key_9, Qt::AltModifier);
    EXPECT_EQ(pedidoAtual(), QStringLiteral("10"));
    tecla(Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(dm->QyPedidoItem.estado(), EstadoConjunto::Insercao);
    tecla(Qt::Key_4, Qt::ControlModifier);
    EXPECT_FALSE(dm->QyPedidoItem.emEdicao());

    // Alt+0 closes through the closing question.
    tecla(Qt::Key_4, Qt::AltModifier);
    ASSERT_TRUE(dm->QyPedido.emEdicao());
    dialogos.responder(Resposta::Nao);
    tecla(Qt::Key_0, Qt::AltModifier);
    EXPECT_TRUE(tela->isVisible());
    EXPECT_EQ(dialogos.textos().back(), QStringLiteral("O pedido (10) está em uso, deseja salvar e sair?"));
    tecla(Qt::Key_6, Qt::AltModifier);
    EXPECT_FALSE(dm->QyPedido.emEdicao());
    tecla(Qt::Key_0, Qt::AltModifier);
    EXPECT_FALSE(tela->isVisible());
    EXPECT_EQ(dm->QyPedido.filtro(), QStringLiteral("idFunc='12'"));
}

TEST_F(JanelaPedidoTeste, AceleradorAgeNaLinhaDeBotoesDoFoco)
{
    abrirJanela();
    QWidget *detalhe = tela->caixa(CaixaPedido::FormaPagtoDetalhado);
    detalhe->setFocus();
    QTest::keyClick(detalhe, Qt::Key_E, Qt::AltModifier); // "&Editar" of the order
    EXPECT_EQ(dm->QyPedido.estado(), EstadoConjunto::Edicao);
    EXPECT_FALSE(dm->QyPedidoItem.emEdicao());
    QTest::keyClick(detalhe, Qt::Key_C, Qt::AltModifier);
    EXPECT_FALSE(dm->QyPedido.emEdicao());

    // In the grid the letters are the item row's.
    tela->grade()->setFocus();
    QTest::keyClick(tela->grade(), Qt::Key_E, Qt::AltModifier);
    EXPECT_FALSE(dm->QyPedido.emEdicao());
    ASSERT_EQ(dm->QyPedidoItem.estado(), EstadoConjunto::Edicao);
    dm->QyPedidoItem.campo(QStringLiteral("quantidade")).setTexto(QStringLiteral("2"));
    QTest::keyClick(tela->grade(), Qt::Key_S, Qt::AltModifier);
    EXPECT_FALSE(dm->QyPedidoItem.emEdicao());
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT quantidade FROM tbpedido_item WHERE nr_pedido=12 AND "
                                             "codigo='P1'")),
              QStringLiteral("2"));
}

TEST_F(JanelaPedidoTeste, GradeEListaDeItensAndamJuntas)
{
    abrirJanela();
    GradeItens *grade = tela->grade();
    const QRect segunda = grade->visualRect(grade->model()->index(1, 0));
    QTest::mouseClick(grade->viewport(), Qt::LeftButton, {}, segunda.center());
    EXPECT_EQ(item("codigo"), QStringLiteral("E5"));
    // A new item abandoned: the list and the grid are back on the same row.
    tecla(Qt::Key_1, Qt::ControlModifier);
    tecla(Qt::Key_4, Qt::ControlModifier);
    EXPECT_EQ(item("codigo"), QStringLiteral("E5"));
    EXPECT_EQ(grade->currentIndex().row(), 1);
    QTest::keyClick(grade, Qt::Key_Up);
    EXPECT_EQ(item("codigo"), QStringLiteral("P1"));
}

// What is being typed reaches the row before a toolbar button acts, though
// the button takes no focus: the header's payment detail and an item's
// quantity survive "Próximo".
TEST_F(JanelaPedidoTeste, DigitadoNaoSePerdeAoNavegarSemSairDaCaixa)
{
    abrirJanela();
    QTest::mouseClick(tela->botao(AcaoPedido::EditarItem), Qt::LeftButton); // P1 of order 12
    auto *quantidade = qobject_cast<QLineEdit *>(tela->caixa(CaixaPedido::ItemQuantidade));
    quantidade->setFocus();
    quantidade->selectAll();
    QTest::keyClicks(quantidade, QStringLiteral("7"));
    QTest::mouseClick(tela->botao(AcaoPedido::ProximoItem), Qt::LeftButton);
    EXPECT_EQ(item("codigo"), QStringLiteral("E5"));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT quantidade FROM tbpedido_item WHERE nr_pedido=12 AND "
                                             "codigo='P1'")),
              QStringLiteral("7"));

    QTest::mouseClick(tela->botao(AcaoPedido::Editar), Qt::LeftButton);
    QWidget *detalhe = tela->caixa(CaixaPedido::FormaPagtoDetalhado);
    detalhe->setFocus();
    QTest::keyClicks(detalhe, QStringLiteral("entrada + 2x"));
    QTest::mouseClick(tela->botao(AcaoPedido::Proximo), Qt::LeftButton);
    EXPECT_EQ(pedidoAtual(), QStringLiteral("10"));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT nm_forma_pagamento FROM tbpedido WHERE nr_pedido=12")),
              QStringLiteral("entrada + 2x"));
}

// Inserting an item after typing an observation: leaving the observation
// must not take the focus from the code box the insert gave it to.
TEST_F(JanelaPedidoTeste, InserirItemDepoisDaObservacaoDeixaOFocoNoCodigo)
{
    abrirJanela();
    QTest::mouseClick(tela->botao(AcaoPedido::Editar), Qt::LeftButton);
    QWidget *observacao = tela->caixa(CaixaPedido::Observacao);
    observacao->setFocus();
    QTest::keyClicks(observacao, QStringLiteral("entregar cedo"));
    QTest::mouseClick(tela->botao(AcaoPedido::NovoItem), Qt::LeftButton);
    ASSERT_EQ(dm->QyPedidoItem.estado(), EstadoConjunto::Insercao);
    EXPECT_EQ(QApplication::focusWidget(), tela->caixa(CaixaPedido::ItemCodigo));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("p1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(item("item_descricao"), QStringLiteral("Parafuso"));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT observacao FROM tbpedido WHERE nr_pedido=12")),
              QStringLiteral("entregar cedo"));
}

// "Não" to the stock question sends the user back to the quantity, ready to
// be typed over.
TEST_F(JanelaPedidoTeste, NaoAoEstoqueSelecionaAQuantidadeParaRedigitar)
{
    abrirJanela();
    QTest::mouseClick(tela->botao(AcaoPedido::NovoItem), Qt::LeftButton);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("E5"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    auto *quantidade = qobject_cast<QLineEdit *>(tela->caixa(CaixaPedido::ItemQuantidade));
    ASSERT_TRUE(quantidade->hasFocus());
    QTest::keyClicks(quantidade, QStringLiteral("20"));
    dialogos.responder(Resposta::Nao);
    QTest::mouseClick(tela->botao(AcaoPedido::SalvarItem), Qt::LeftButton);
    ASSERT_TRUE(quantidade->hasFocus());
    QTest::keyClicks(quantidade, QStringLiteral("5"));
    EXPECT_EQ(quantidade->text(), QStringLiteral("5"));
}

// After printing, the summary boxes show the order's customer again, not
// whichever customer heads the list.
TEST_F(JanelaPedidoTeste, DepoisDeImprimirOResumoMostraOClienteDoPedido)
{
    const QDir fonte(QStringLiteral(PASTA_FONTES "/templates"));
    ASSERT_TRUE(QFile::copy(fonte.filePath(QStringLiteral("pedido.rav")), pasta.arquivo(QStringLiteral("pedido.rav"))));
    ASSERT_TRUE(QDir(pasta.caminho()).mkdir(QStringLiteral("relatórios")));
    pasta.executar(QStringLiteral("UPDATE tbcliente SET valmaiorcompra=900 WHERE IdCliente=2;"
                                  "UPDATE tbcliente SET valmaiorcompra=100 WHERE IdCliente=1;"
                                  "UPDATE tbpedido SET idCliente=2 WHERE nr_pedido=12;"
                                  "UPDATE tbproduto SET ESTOQUE=50 WHERE CODIGO='E5';"));
    abrirJanela(); // order 12, now of customer 2, not the list's first
    ASSERT_EQ(dm->QyCliente.campo(QStringLiteral("IdCliente")).texto(), QStringLiteral("2"));
    QTest::mouseClick(tela->botao(AcaoPedido::Imprimir), Qt::LeftButton);
    ASSERT_EQ(dialogos.textos(QStringLiteral("abrir")).size(), 1);
    EXPECT_EQ(dm->QyCliente.campo(QStringLiteral("IdCliente")).texto(), QStringLiteral("2"));
    const auto rotulos = tela->findChildren<QLabel *>();
    const bool mostraMaior =
        std::any_of(rotulos.begin(), rotulos.end(), [](QLabel *l) { return l->text() == QStringLiteral("900,00"); });
    EXPECT_TRUE(mostraMaior);
}
