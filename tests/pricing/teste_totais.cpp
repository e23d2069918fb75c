#include "erro.h"
#include "pedidos_teste.h"
#include "totais.h"

namespace
{

const char *const kColunasTotais[] = {
    "vl_total_item",         "vl_acumulativo_pedido", "vl_total_pacote",
    "vl_acumulativo_pacote", "vl_total_venda_casada", "vl_total_troca1",
    "vl_total_troca2",       "vl_diferenca_troca",    "vl_gordura",
};

class Totais : public PedidosTeste
{
  protected:
    // The header's total columns as stored, "-" for NULL.
    QString totaisGravados(int nr)
    {
        QStringList l;
        for (const char *coluna : kColunasTotais) {
            const QString sql = QStringLiteral("SELECT coalesce(%1, '-') FROM tbpedido WHERE nr_pedido = %2");
            l << pasta.consultar(sql.arg(QString::fromUtf8(coluna)).arg(nr));
        }
        return l.join(QLatin1Char(' '));
    }

    // The same columns read back through the data set.
    QString totaisLidos()
    {
        QStringList l;
        for (const char *coluna : kColunasTotais) {
            const Campo c = dm->QyPedido.campo(QString::fromUtf8(coluna));
            l << (c.nulo() ? QStringLiteral("-") : c.texto());
        }
        return l.join(QLatin1Char(' '));
    }
};

// Order 83 has two items on each list, 84 none. The vl_gordura sums to
// 12.9876, which only the regular order cuts to its integer part.
TEST_F(Totais, CadaTipoEscreveSoAsSuasColunas)
{
    pasta.executar(QStringLiteral("INSERT INTO tbpedido (nr_pedido, idFunc) VALUES (83, 'ABC'), (84, 'ABC');"));
    for (const char *tabela : {"tbpedido_item", "tbpedido_pacote", "tbpedido_venda_casada"}) {
        pasta.executar(QStringLiteral("INSERT INTO %1 (nr_pedido, idfunc, codigo, quantidade, valorTotal, desconto,"
                                      " vl_gordura) VALUES (83, 'ABC', 'P1', 1, 10.5, 1.25, 5.5),"
                                      " (83, 'ABC', 'P1', 2, 20.25, NULL, 7.4876);")
                           .arg(QString::fromUtf8(tabela)));
    }
    struct Caso {
        TipoPedido tipo;
        int nr;
        const char *esperado; // in the order of kColunasTotais
    } casos[] = {
        {TipoPedido::Pedido, 83, "30,75 1,25 - - - - - - 12"},
        {TipoPedido::Pacote, 83, "- - 30,75 1,25 - - - - 12,9876"},
        {TipoPedido::VendaCasada, 83, "- - - - 30,75 - - - 12,9876"},
        {TipoPedido::Pedido, 84, "0 0 - - - - - - 0"},
        {TipoPedido::Pacote, 84, "- - 0 0 - - - - 0"},
        {TipoPedido::VendaCasada, 84, "- - - - 0 - - - 0"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.esperado);
        pasta.executar(QStringLiteral("UPDATE tbpedido SET vl_total_item = NULL, vl_acumulativo_pedido = NULL,"
                                      " vl_total_pacote = NULL, vl_acumulativo_pacote = NULL,"
                                      " vl_total_venda_casada = NULL, vl_gordura = NULL"));
        abrir(c.nr);
        RecalcularTotais(c.tipo);
        EXPECT_EQ(dm->QyPedido.estado(), EstadoConjunto::Navegacao);
        EXPECT_EQ(totaisLidos(), QString::fromUtf8(c.esperado));
        dm->QyPedido.reabrir();
        irPara(c.nr);
        EXPECT_EQ(totaisLidos(), QString::fromUtf8(c.esperado));
        dm.reset();
    }
}

TEST_F(Totais, CabecalhoEmEdicaoGuardaOQueFoiDigitado)
{
    pasta.executar(QStringLiteral("INSERT INTO tbpedido (nr_pedido, idFunc) VALUES (83, 'ABC');"
                                  "INSERT INTO tbpedido_item (nr_pedido, idfunc, codigo, quantidade, valorTotal)"
                                  " VALUES (83, 'ABC', 'P1', 1, 4);"));
    abrir(83);
    dm->QyPedido.editar();
    escrever(dm->QyPedido, {{"observacao", "entregar cedo"}});
    RecalcularTotais(TipoPedido::Pedido);
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT observacao || ' ' || vl_total_item FROM tbpedido")),
              QStringLiteral("entregar cedo 4"));
}

TEST_F(Totais, TrocaPrecificaAsDuasListasEGravaADiferenca)
{
    // Freight, codes and gordura never touch an exchange.
    pasta.executar(QStringLiteral("INSERT INTO tbpedido (nr_pedido, idFunc, cif, dv, avista) VALUES"
                                  " (85, 'ABC', 'Sim', 0, 0);"
                                  "INSERT INTO tbpedido_troca2 (nr_pedido, idfunc, codigo, quantidade) VALUES"
                                  " (85, 'ABC', 'P1', 0.9), (85, 'ABC', 'P3', 2);"));
    abrir(85);
    dm->QyPedido.editar();
    RecalcularTotais(TipoPedido::Troca);
    EXPECT_EQ(dm->QyPedido.estado(), EstadoConjunto::Navegacao);
    EXPECT_EQ(totaisGravados(85), QStringLiteral("- - - - - 50 0 -50 -"));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT group_concat(valorUnitario || '*' || quantidade || '='"
                                             " || valorTotal, ' ') FROM tbpedido_troca2")),
              QStringLiteral("10*0.9=9 20.5*2=41"));

    // Replacement items added: the difference turns positive.
    irPara(85);
    dm->QyTrocaSub.inserir();
    escrever(dm->QyTrocaSub, {{"codigo", "P1"}, {"quantidade", "8"}});
    dm->QyTrocaSub.gravar();
    dm->QyPedido.editar();
    RecalcularTotais(TipoPedido::Troca);
    EXPECT_EQ(totaisGravados(85), QStringLiteral("- - - - - 50 80 30 -"));
}

TEST_F(Totais, TrocaComListaEmEdicaoNaoMudaNada)
{
    pasta.executar(QStringLiteral("INSERT INTO tbpedido (nr_pedido, idFunc, vl_diferenca_troca) VALUES"
                                  " (85, 'ABC', 3);"
                                  "INSERT INTO tbpedido_troca1 (nr_pedido, idfunc, codigo, quantidade, valorTotal)"
                                  " VALUES (85, 'ABC', 'P1', 2, 1);"));
    abrir(85);
    for (ConjuntoDados *lista : {&dm->QyTrocaSub, &dm->QyTrocaDev}) {
        SCOPED_TRACE(lista->objectName().toStdString());
        dm->QyPedido.editar();
        lista->inserir();
        RecalcularTotais(TipoPedido::Troca);
        EXPECT_EQ(dm->QyPedido.estado(), EstadoConjunto::Edicao);
        EXPECT_EQ(dinheiro(dm->QyPedido, "vl_diferenca_troca"), D("3"));
        lista->cancelar();
        dm->QyPedido.cancelar();
    }
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT valorTotal FROM tbpedido_troca1")), QStringLiteral("1"));
}

TEST_F(Totais, TrocaQueFalhaNoMeioNaoGravaNada)
{
    // The returned item's total is beyond the money range: the replacement
    // item priced before it must not stay stored.
    pasta.executar(
        QStringLiteral("INSERT INTO tbproduto (idProduto, CODIGO, PRECOVENDA) VALUES (9, 'P9', 900000000000000);"
                       "INSERT INTO tbpedido (nr_pedido, idFunc) VALUES (85, 'ABC');"
                       "INSERT INTO tbpedido_troca1 (nr_pedido, idfunc, codigo, quantidade) VALUES"
                       " (85, 'ABC', 'P1', 2);"
                       "INSERT INTO tbpedido_troca2 (nr_pedido, idfunc, codigo, quantidade) VALUES"
                       " (85, 'ABC', 'P9', 1000);"));
    abrir(85);
    dm->QyPedido.editar();
    EXPECT_THROW(RecalcularTotais(TipoPedido::Troca), Erro);
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT coalesce(valorTotal, '-') FROM tbpedido_troca1")),
              QStringLiteral("-"));
    EXPECT_EQ(totaisGravados(85), QStringLiteral("- - - - - - - - -"));
}

} // namespace
