#include "tela_pedido_teste.h"

#include "grade_itens.h"
#include "preferencias.h"
#include "tela_pedido.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

// The order screens by keyboard: Enter from box to box, the item's last box
// saving the item, the grid's Enter, the keys help.
class TecladoPedido : public TelaPedidoTeste
{
  protected:
    void abrirJanela(const VariantePedido &variante)
    {
        tela.reset();
        if (!dm)
            dm = std::make_unique<TDM>(pasta.caminho());
        tela = std::make_unique<TfrmPedido>(variante);
        tela->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(tela.get()));
        tela->activateWindow();
    }
    void clicar(AcaoPedido acao) { QTest::mouseClick(tela->botao(acao), Qt::LeftButton); }
    void enter() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }
    QWidget *foco() const { return QApplication::focusWidget(); }
    QString itensDoUltimoPedido() const
    {
        return pasta.consultar(QStringLiteral("SELECT group_concat(codigo || ':' || quantidade, ' ') FROM (SELECT "
                                              "codigo, quantidade FROM %1 WHERE nr_pedido = (SELECT max(nr_pedido) "
                                              "FROM tbpedido) ORDER BY codigo)")
                                   .arg(tela->logica().itens(0).tabela()));
    }

    std::unique_ptr<TfrmPedido> tela;
};

// An order of each one-list kind typed with Enter alone between the boxes:
// Enter in the item's last box saves it and starts the next.
TEST_F(TecladoPedido, PedidoDeCadaTipoSoComEnterEntreAsCaixas)
{
    DefinirEnterAvancaCaixa(true);
    for (const VariantePedido *variante :
         {&VariantePedidoRegular(), &VariantePedidoPacote(), &VariantePedidoVendaCasada()}) {
        SCOPED_TRACE(variante->titulo);
        abrirJanela(*variante);
        clicar(AcaoPedido::Novo);
        QWidget *cliente = tela->caixa(CaixaPedido::CodigoCliente);
        cliente->setFocus();
        QTest::keyClicks(cliente, QStringLiteral("1"));
        enter();
        // The list of customers offered has closed; offscreen, the window
        // does not get its activation back by itself.
        tela->activateWindow();
        QCoreApplication::processEvents();
        EXPECT_EQ(dm->QyPedido.campo(QStringLiteral("idCliente")).texto(), QStringLiteral("1"));

        clicar(AcaoPedido::NovoItem);
        // The tied sale's row ends at D3, whose exit goes back to the code.
        QWidget *ultima = tela->caixa(variante == &VariantePedidoVendaCasada() ? CaixaPedido::ItemDesconto3
                                                                               : CaixaPedido::ItemGordura);
        for (const auto &[codigo, quantidade] : {std::pair{"p1", "4"}, std::pair{"e5", "2"}}) {
            ASSERT_EQ(foco(), tela->caixa(CaixaPedido::ItemCodigo));
            QTest::keyClicks(foco(), QString::fromLatin1(codigo));
            // The package passes its manufacturer box on the way.
            for (int i = 0; i < 3 && (i == 0 || foco() != tela->caixa(CaixaPedido::ItemQuantidade)); ++i)
                enter();
            ASSERT_EQ(foco(), tela->caixa(CaixaPedido::ItemQuantidade)) << foco()->objectName().toStdString();
            QTest::keyClicks(foco(), QString::fromLatin1(quantidade));
            for (int i = 0; i < 10 && foco() != ultima; ++i)
                enter();
            ASSERT_EQ(foco(), ultima) << foco()->objectName().toStdString();
            enter();
            EXPECT_EQ(tela->logica().itens(0).estado(), EstadoConjunto::Insercao); // the next one
        }
        clicar(AcaoPedido::CancelarItem);
        if (dm->QyPedido.emEdicao())
            clicar(AcaoPedido::Salvar);
        EXPECT_EQ(itensDoUltimoPedido(), QStringLiteral("E5:2 P1:4"));
        EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT idCliente FROM tbpedido ORDER BY nr_pedido DESC LIMIT 1")),
                  QStringLiteral("1"));
        EXPECT_TRUE(dialogos.textos(QStringLiteral("pergunta")).isEmpty())
            << dialogos.textos().join(QLatin1Char('\n')).toStdString();
    }
}

// Enter in the observation keeps its line break; Ctrl+Enter moves on. With
// the preference off, Enter stays in the box.
TEST_F(TecladoPedido, ObservacaoCtrlEnterEPreferenciaDesligada)
{
    abrirJanela(VariantePedidoRegular());
    clicar(AcaoPedido::Editar);
    QWidget *observacao = tela->caixa(CaixaPedido::Observacao);
    observacao->setFocus();
    QTest::keyClicks(observacao, QStringLiteral("linha 1"));
    QTest::keyClick(observacao, Qt::Key_Return);
    QTest::keyClicks(observacao, QStringLiteral("linha 2"));
    EXPECT_EQ(foco(), observacao);
    QTest::keyClick(observacao, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_NE(foco(), observacao);
    clicar(AcaoPedido::Salvar);
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT observacao FROM tbpedido WHERE nr_pedido=12")),
              QStringLiteral("linha 1\nlinha 2"));

    DefinirEnterAvancaCaixa(false);
    clicar(AcaoPedido::Editar);
    QWidget *detalhe = tela->caixa(CaixaPedido::FormaPagtoDetalhado);
    detalhe->setFocus();
    QTest::keyClick(detalhe, Qt::Key_Return);
    EXPECT_EQ(foco(), detalhe);
    DefinirEnterAvancaCaixa(true);
}

// Enter in the item grid edits the item of the row; F1 lists the keys,
// the shared Alt letters on one line.
TEST_F(TecladoPedido, EnterNaGradeEditaOItemEF1ListaAsTeclas)
{
    abrirJanela(VariantePedidoRegular());
    GradeItens *grade = tela->grade();
    grade->setFocus();
    QTest::keyClick(grade, Qt::Key_Down);
    const QString codigo = item("codigo");
    QTest::keyClick(grade, Qt::Key_Return);
    EXPECT_EQ(dm->QyPedidoItem.estado(), EstadoConjunto::Edicao);
    EXPECT_EQ(item("codigo"), codigo);
    clicar(AcaoPedido::CancelarItem);
    if (dm->QyPedido.emEdicao())
        clicar(AcaoPedido::Cancelar);

    QTest::keyClick(tela.get(), Qt::Key_F1);
    ASSERT_EQ(dialogos.tabelas().size(), 1u);
    const TabelaDialogo &ajuda = dialogos.tabelas().front();
    EXPECT_EQ(ajuda.titulo, QStringLiteral("Atalhos"));
    QStringList linhas;
    for (const QStringList &l : ajuda.linhas)
        linhas << l.join(QStringLiteral(" = "));
    EXPECT_TRUE(linhas.contains(QStringLiteral("Alt+S = Salvar pedido / Salvar item")))
        << linhas.join('\n').toStdString();
    EXPECT_TRUE(linhas.contains(QStringLiteral("F2 = Como este preço foi calculado (F2)")))
        << linhas.join('\n').toStdString();
    EXPECT_TRUE(std::any_of(linhas.begin(), linhas.end(), [](const QString &l) { return l.startsWith("Alt+0"); }));
}

// "Repetir pedido": the same customer, items and quantities at today's
// prices, a product gone left out and named; the new order is at rest. An
// item short of stock asks as an item save does; "Não" leaves it out.
TEST_F(TecladoPedido, RepetirPedidoComPrecosDeHojeEProdutoExcluido)
{
    pasta.executar(QStringLiteral(
        "UPDATE tbproduto SET PRECOVENDA=12 WHERE CODIGO='P1'; UPDATE tbproduto SET ESTOQUE=50 WHERE CODIGO='E5';"
        "INSERT INTO tbpedido_item (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal, cd_desconto1,"
        " cd_desconto2, cd_desconto3) VALUES (12, '12', 'SUMIU', 2, 1, 2, '0', '0', '0');"
        "UPDATE tbpedido_item SET cd_desconto1='A' WHERE nr_pedido=12 AND codigo='E5';"));
    abrirJanela(VariantePedidoRegular());
    ASSERT_EQ(pedidoAtual(), QStringLiteral("12"));
    ASSERT_TRUE(tela->botaoRepetir()->isEnabled());
    QTest::keyClick(tela->grade(), Qt::Key_T, Qt::AltModifier);

    const QString novo = pasta.consultar(QStringLiteral("SELECT max(nr_pedido) FROM tbpedido"));
    ASSERT_EQ(novo, QStringLiteral("14")) << dialogos.textos().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(pedidoAtual(), novo);
    EXPECT_FALSE(dm->QyPedido.emEdicao());
    EXPECT_FALSE(dm->QyPedidoItem.emEdicao());
    const QString itens = QStringLiteral("SELECT group_concat(codigo || ':' || quantidade || ':' || cd_desconto1, ' ')"
                                         " FROM (SELECT * FROM tbpedido_item WHERE nr_pedido=%1 ORDER BY codigo)");
    EXPECT_EQ(pasta.consultar(itens.arg(novo)), QStringLiteral("E5:9:A P1:1:0"));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT valorUnitario FROM tbpedido_item WHERE nr_pedido=14 AND "
                                             "codigo='P1'")),
              QStringLiteral("12"));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT idCliente || ':' || ifnull(idforma, '') FROM tbpedido WHERE "
                                             "nr_pedido=14")),
              QStringLiteral("1:3"));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT vl_total_item FROM tbpedido WHERE nr_pedido=14")),
              pasta.consultar(QStringLiteral("SELECT sum(valorTotal) FROM tbpedido_item WHERE nr_pedido=14")));
    EXPECT_EQ(dialogos.textos(QStringLiteral("mensagem")),
              QStringList{QStringLiteral("Produtos que não existem mais e ficaram fora do pedido: SUMIU.")});
    EXPECT_EQ(pasta.consultar(itens.arg(12)), QStringLiteral("E5:9:A P1:1:0 SUMIU:2:0")); // the source untouched

    // Short of stock: asked per item; "Não" leaves it out.
    pasta.executar(QStringLiteral("UPDATE tbproduto SET ESTOQUE=5 WHERE CODIGO='E5'"));
    dm->QyProduto.reabrir();
    dialogos.responder(Resposta::Nao);
    QTest::mouseClick(tela->botaoRepetir(), Qt::LeftButton);
    EXPECT_EQ(pasta.consultar(itens.arg(15)), QStringLiteral("P1:1:0"));
    EXPECT_TRUE(
        dialogos.textos(QStringLiteral("pergunta")).last().startsWith(QStringLiteral("Quantidade não disponível")));
    EXPECT_EQ(dialogos.textos(QStringLiteral("mensagem")).last(), QStringLiteral("Itens que não foram repetidos: E5."));
    EXPECT_TRUE(dialogos.roteiroEsgotado());
}

// The customer box offers the customers as their name or code is typed, the
// most recently ordered first: "merc" finds Mercearia Vitória.
TEST_F(TecladoPedido, ClientesRecentesNaCaixaDoCliente)
{
    pasta.executar(QStringLiteral("INSERT INTO tbcliente (IdCliente, Nome, CliFPagto) VALUES (4, 'MERCEARIA VITÓRIA', "
                                  "'3'), (5, 'MERCADO CENTRAL', '');"
                                  "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido, vl_total_item, cif)"
                                  " VALUES (20, '12', 4, '2026-12-01 10:00:00', 0, 'Não');"));
    abrirJanela(VariantePedidoRegular());
    const QStringList recentes = tela->logica().clientesRecentes();
    ASSERT_GE(recentes.size(), 3);
    EXPECT_EQ(recentes.mid(0, 3),
              (QStringList{QStringLiteral("4 - MERCEARIA VITÓRIA"), QStringLiteral("1 - LOJA UM LTDA"),
                           QStringLiteral("2 - LOJA DOIS LTDA")}));

    clicar(AcaoPedido::Novo);
    auto *cliente = qobject_cast<QLineEdit *>(tela->caixa(CaixaPedido::CodigoCliente));
    cliente->setFocus();
    QTest::keyClicks(cliente, QStringLiteral("merc"));
    QAbstractItemView *lista = cliente->completer()->popup();
    ASSERT_TRUE(lista->isVisible());
    EXPECT_EQ(cliente->completer()->completionCount(), 2);
    EXPECT_EQ(cliente->completer()->currentCompletion(), QStringLiteral("4 - MERCEARIA VITÓRIA"));
    QTest::keyClick(lista, Qt::Key_Down);
    QTest::keyClick(lista, Qt::Key_Return);
    QCoreApplication::processEvents();
    // The offscreen platform does not give the window back its activation
    // when the list closes, as a desktop does.
    tela->activateWindow();
    QCoreApplication::processEvents();
    EXPECT_EQ(cliente->text(), QStringLiteral("4"));
    EXPECT_EQ(foco(), cliente);
    EXPECT_TRUE(cliente->isModified());
    enter();
    EXPECT_EQ(dm->QyPedido.campo(QStringLiteral("idCliente")).texto(), QStringLiteral("4"));
    clicar(AcaoPedido::Salvar);
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT idCliente || ':' || idforma FROM tbpedido WHERE nr_pedido > 20")),
              QStringLiteral("4:3"));
}
