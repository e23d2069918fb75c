#include "cenario.h"

#include <QApplication>
#include <QTest>
#include <QToolButton>

// Sequences of acts on the real order screens, through the keyboard and the
// mouse, each checked in the database afterwards.

namespace
{

struct Tipo {
    const char *nome;
    const VariantePedido &(*variante)();
    const char *tabela; // the kind's item table
    const char *total;  // the header column of its total
    int lista;          // the item list the scenario types in
};

const Tipo kRegular{"pedido", VariantePedidoRegular, "tbpedido_item", "vl_total_item", 0};
const Tipo kPacote{"pacote", VariantePedidoPacote, "tbpedido_pacote", "vl_total_pacote", 0};
const Tipo kVendaCasada{"venda casada", VariantePedidoVendaCasada, "tbpedido_venda_casada", "vl_total_venda_casada", 0};
const Tipo kTroca{"troca", VariantePedidoTroca, "tbpedido_troca2", "vl_diferenca_troca", 1};

QString S(const char *texto)
{
    return QString::fromUtf8(texto);
}

} // namespace

class CenariosPedido : public Cenario
{
  protected:
    void clicarEm(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton); }
    QString contarPedidos() const { return consultar(QStringLiteral("SELECT count(*) FROM tbpedido")); }
};

// "Editar" on the item row of an order not stored yet: the item never lands
// without its order, and the order's total always equals its items.
TEST_F(CenariosPedido, EditarItemDePedidoNovoGuardaOPedidoAntesDoItem)
{
    for (const Tipo &t : {kRegular, kPacote, kVendaCasada}) {
        SCOPED_TRACE(t.nome);
        abrir(t.variante());
        clicar(AcaoPedido::Novo);
        clicarEm(caixa(CaixaPedido::CodigoCliente));
        digitar(QStringLiteral("1"));
        tecla(Qt::Key_Tab);
        clicar(AcaoPedido::EditarItem);
        clicarEm(caixa(CaixaPedido::ItemCodigo));
        digitar(QStringLiteral("P2"));
        clicarEm(caixa(CaixaPedido::ItemQuantidade));
        digitar(QStringLiteral("2"));
        clicar(AcaoPedido::SalvarItem);
        fecharTela();

        const QString tabela = S(t.tabela);
        EXPECT_EQ(consultar(QStringLiteral("SELECT count(*) FROM %1 WHERE nr_pedido IS NULL").arg(tabela)),
                  QStringLiteral("0"));
        EXPECT_EQ(consultar(QStringLiteral("SELECT count(*) FROM %1 i JOIN tbpedido p ON p.nr_pedido=i.nr_pedido "
                                           "WHERE i.codigo='P2' AND i.quantidade=2 AND p.idCliente=1")
                                .arg(tabela)),
                  QStringLiteral("1"));
        EXPECT_EQ(consultar(QStringLiteral("SELECT count(*) FROM tbpedido p WHERE p.%2 IS NOT NULL AND "
                                           "abs(p.%2 - (SELECT coalesce(sum(valorTotal), 0) FROM %1 i "
                                           "WHERE i.nr_pedido=p.nr_pedido)) > 0.00001")
                                .arg(tabela, S(t.total))),
                  QStringLiteral("0"));
    }
}

// A code typed over and saved with the button, without leaving its box, is
// checked as leaving the box would check it: an unknown code is emptied and
// the user is asked, never moved to the pending list.
TEST_F(CenariosPedido, CodigoDesconhecidoSalvoSemSairDaCaixaEPerguntado)
{
    for (const Tipo &t : {kRegular, kPacote, kVendaCasada}) {
        SCOPED_TRACE(t.nome);
        abrir(t.variante());
        clicar(AcaoPedido::EditarItem);
        clicarEm(caixa(CaixaPedido::ItemCodigo));
        tecla(Qt::Key_A, Qt::ControlModifier);
        digitar(QStringLiteral("NAOEXISTE"));
        dialogos->planejar(DialogosDoUsuario::sim());
        clicar(AcaoPedido::SalvarItem);
        ASSERT_FALSE(dialogos->textos.isEmpty());
        EXPECT_EQ(dialogos->textos.back(),
                  QStringLiteral("O código está em branco ou inválido. Deseja cancelar a alteração do item?"));
        EXPECT_FALSE(tela->logica().itens().emEdicao());
        fecharTela();
        EXPECT_EQ(consultar(QStringLiteral("SELECT count(*) FROM tbpedido_pendente")), QStringLiteral("0"));
        EXPECT_EQ(consultar(QStringLiteral("SELECT group_concat(codigo) FROM %1").arg(S(t.tabela))),
                  QStringLiteral("P1"));
        dialogos->textos.clear();
    }
}

// An exchange the user did not change is neither stored nor re-priced when
// the screen closes; one that was changed is stored.
TEST_F(CenariosPedido, TrocaFechadaSemMudancaNaoEGravada)
{
    const QString antes = contarPedidos();
    abrir(VariantePedidoTroca());
    clicar(AcaoPedido::Novo);
    tela->close();
    EXPECT_FALSE(tela->isVisible());
    EXPECT_EQ(contarPedidos(), antes);

    abrir(VariantePedidoTroca()); // exchange 41, priced when P1 cost 7
    clicar(AcaoPedido::Editar);
    tela->close();
    EXPECT_EQ(consultar(QStringLiteral("SELECT valorUnitario || '/' || vl_total_troca1 FROM tbpedido_troca2 i JOIN "
                                       "tbpedido p ON p.nr_pedido=i.nr_pedido WHERE p.nr_pedido=41")),
              QStringLiteral("7/7"));

    abrir(VariantePedidoTroca());
    clicar(AcaoPedido::Editar);
    clicarEm(caixa(CaixaPedido::Observacao));
    digitar(QStringLiteral("conferida"));
    tela->close();
    EXPECT_EQ(consultar(QStringLiteral("SELECT observacao || '/' || vl_total_troca1 FROM tbpedido WHERE nr_pedido=41")),
              QStringLiteral("conferida/10"));
}

// "Inserir" puts the focus in the customer code on every kind; a header
// without a customer is refused with a message naming the box, which gets
// the focus, and what was typed stays.
TEST_F(CenariosPedido, PedidoSemClienteNaoEGuardado)
{
    for (const Tipo &t : {kRegular, kPacote, kVendaCasada, kTroca}) {
        SCOPED_TRACE(t.nome);
        const QString antes = contarPedidos();
        abrir(t.variante());
        clicar(AcaoPedido::Novo);
        EXPECT_EQ(foco(), caixa(CaixaPedido::CodigoCliente));
        digitar(QStringLiteral("1"));
        clicarEm(caixa(CaixaPedido::FormaPagtoDetalhado));
        digitar(QStringLiteral("entrada"));
        clicarEm(caixa(CaixaPedido::CodigoCliente)); // the customer typed is erased again
        tecla(Qt::Key_A, Qt::ControlModifier);
        tecla(Qt::Key_Delete);
        dialogos->planejar(DialogosDoUsuario::ok());
        clicar(AcaoPedido::Salvar);
        ASSERT_FALSE(dialogos->textos.isEmpty());
        EXPECT_TRUE(dialogos->textos.back().contains(QStringLiteral("Código do Cliente")))
            << dialogos->textos.back().toStdString();
        EXPECT_EQ(contarPedidos(), antes);
        EXPECT_EQ(foco(), caixa(CaixaPedido::CodigoCliente));
        EXPECT_TRUE(tela->logica().cabecalho().emEdicao());

        digitar(QStringLiteral("1"));
        clicar(AcaoPedido::Salvar);
        EXPECT_FALSE(tela->logica().cabecalho().emEdicao());
        EXPECT_EQ(consultar(QStringLiteral("SELECT idCliente || '/' || nm_forma_pagamento FROM tbpedido "
                                           "WHERE nr_pedido=(SELECT max(nr_pedido) FROM tbpedido)")),
                  QStringLiteral("1/entrada"));
        fecharTela();
        dialogos->textos.clear();
    }
}

// The order row and the item row share their Alt letters: typing an item,
// they act on the item's buttons; elsewhere on the order's.
TEST_F(CenariosPedido, AltNosItensAgeNosBotoesDoItem)
{
    for (const Tipo &t : {kRegular, kVendaCasada, kPacote}) {
        SCOPED_TRACE(t.nome);
        const QString antes = contarPedidos();
        abrir(t.variante());
        clicar(AcaoPedido::NovoItem);
        clicarEm(caixa(CaixaPedido::ItemCodigo));
        digitar(QStringLiteral("P2"));
        clicarEm(caixa(CaixaPedido::ItemQuantidade));
        digitar(QStringLiteral("2"));
        tecla(Qt::Key_C, Qt::AltModifier); // the item's Cancelar
        EXPECT_FALSE(tela->logica().itens().emEdicao());
        EXPECT_TRUE(tela->logica().cabecalho().emEdicao());

        clicar(AcaoPedido::NovoItem);
        clicarEm(caixa(CaixaPedido::ItemCodigo));
        digitar(QStringLiteral("P2"));
        clicarEm(caixa(CaixaPedido::ItemQuantidade));
        digitar(QStringLiteral("2"));
        tecla(Qt::Key_I, Qt::AltModifier); // the item's Inserir: this item is saved first
        EXPECT_EQ(tela->logica().itens().estado(), EstadoConjunto::Insercao);
        EXPECT_EQ(contarPedidos(), antes);
        EXPECT_EQ(
            consultar(QStringLiteral("SELECT count(*) FROM %1 WHERE codigo='P2' AND quantidade=2").arg(S(t.tabela))),
            QStringLiteral("1"));
        tecla(Qt::Key_C, Qt::AltModifier);

        // In the header's boxes the same letter saves the order.
        clicarEm(caixa(CaixaPedido::FormaPagtoDetalhado));
        tecla(Qt::Key_S, Qt::AltModifier);
        EXPECT_FALSE(tela->logica().cabecalho().emEdicao());
        fecharTela();
    }
}

// Tab from the product code goes to the quantity on every kind: what is
// typed next is the quantity.
TEST_F(CenariosPedido, TabDoCodigoVaiParaAQuantidade)
{
    for (const Tipo &t : {kRegular, kPacote, kVendaCasada, kTroca}) {
        SCOPED_TRACE(t.nome);
        abrir(t.variante());
        clicar(AcaoPedido::NovoItem, t.lista);
        clicarEm(caixa(CaixaPedido::ItemCodigo, t.lista));
        digitar(QStringLiteral("P2"));
        tecla(Qt::Key_Tab);
        EXPECT_EQ(foco(), caixa(CaixaPedido::ItemQuantidade, t.lista));
        digitar(QStringLiteral("3"));
        clicar(AcaoPedido::SalvarItem, t.lista);
        EXPECT_FALSE(tela->logica().itens(t.lista).emEdicao());
        fecharTela();
        EXPECT_EQ(
            consultar(QStringLiteral("SELECT count(*) FROM %1 WHERE codigo='P2' AND quantidade=3").arg(S(t.tabela))),
            QStringLiteral("1"));
    }
}

// The summary's customer figures are the current order's customer's, and
// empty while the order has none.
TEST_F(CenariosPedido, ResumoMostraOClienteDoProprioPedido)
{
    abrir(VariantePedidoRegular()); // order 10, of customer 2
    EXPECT_EQ(resumo(" Maior compra "), QStringLiteral("900,00"));
    clicar(AcaoPedido::Novo);
    EXPECT_EQ(resumo(" Maior compra "), QString());
    EXPECT_EQ(resumo(" Menor compra "), QString());
    digitar(QStringLiteral("1"));
    tecla(Qt::Key_Tab);
    EXPECT_EQ(resumo(" Maior compra "), QStringLiteral("100,00"));

    abrir(VariantePedidoTroca()); // exchange 41 of customer 2, then 40 of customer 1
    EXPECT_EQ(resumo(" Maior compra "), QStringLiteral("900,00"));
    clicar(AcaoPedido::Proximo);
    EXPECT_EQ(tela->logica().cabecalho().campo(QStringLiteral("nr_pedido")).texto(), QStringLiteral("40"));
    EXPECT_EQ(resumo(" Maior compra "), QStringLiteral("100,00"));
    EXPECT_EQ(resumo(" Menor compra "), QStringLiteral("10,00"));
}

// A product chosen in the search dialog, by typing its code or by Enter on
// its row, leaves the focus in "Qtde": the quantity typed next is the
// quantity, not more of the code.
TEST_F(CenariosPedido, ProdutoEscolhidoNaPesquisaLevaOFocoAQuantidade)
{
    abrir(VariantePedidoRegular());
    auto *pesquisar = tela->findChild<QToolButton *>(QStringLiteral("btnPesquisarItem"));
    clicar(AcaoPedido::NovoItem);
    dialogos->planejar(DialogosDoUsuario::pesquisar(QStringLiteral("P2")));
    clicarEm(pesquisar);
    EXPECT_EQ(foco(), caixa(CaixaPedido::ItemQuantidade));
    digitar(QStringLiteral("3"));
    clicar(AcaoPedido::SalvarItem);

    // Rows by description: Parafuso (P1), Prego (P2). Tab to the rows,
    // down one, Enter.
    clicar(AcaoPedido::NovoItem);
    dialogos->planejar([](QWidget *) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    clicarEm(pesquisar);
    EXPECT_EQ(foco(), caixa(CaixaPedido::ItemQuantidade));
    digitar(QStringLiteral("4"));
    clicar(AcaoPedido::SalvarItem);
    EXPECT_FALSE(tela->logica().itens().emEdicao());
    fecharTela();
    EXPECT_EQ(consultar(QStringLiteral("SELECT group_concat(c) FROM (SELECT codigo || 'x' || quantidade AS c "
                                       "FROM tbpedido_item WHERE nr_pedido=10 ORDER BY item, rowid)")),
              QStringLiteral("P1x3,P2x3,P2x4"));
}
