#include "calculo_preco.h"
#include "estado_pedido.h"
#include "explicacao_preco.h"
#include "pedidos_teste.h"
#include "previa_preco.h"
#include "totais.h"

namespace
{

// The preview works out in memory what the saves store: these tests compare
// it with what the real saves then write.
class PreviaPreco : public PedidosTeste
{
  protected:
    void SetUp() override
    {
        PedidosTeste::SetUp();
        // One order per case, each with its own header factors; 85 holds a
        // package item already stored, 88 two items stored with stale totals.
        pasta.executar(QStringLiteral(
            "INSERT INTO tbpedido (nr_pedido, idFunc, cif, dv, avista) VALUES"
            " (81, 'ABC', 'Sim', 6, 1), (82, 'ABC', 'Não', 0, 2), (83, 'ABC', 'Sim', 6, 1), (84, 'ABC', 'Sim', 0, 0),"
            " (85, 'ABC', 'Não', 0, 0), (86, 'ABC', 'Sim', 2, 1), (87, 'ABC', 'Sim', 0, 3), (88, 'ABC', 'Sim', 0, 0);"
            "INSERT INTO tbpedido_pacote (nr_pedido, idfunc, codigo, quantidade, cd_desconto1, cd_desconto2,"
            " cd_desconto3, gordura1) VALUES (85, 'ABC', 'P4', 2, '0', '0', '0', '0');"
            "INSERT INTO tbpedido_item (nr_pedido, idfunc, codigo, quantidade, valorTotal, cd_desconto1,"
            " cd_desconto2, cd_desconto3, gordura1) VALUES (88, 'ABC', 'P1', 10, 1, 'A', '0', '0', '0'),"
            " (88, 'ABC', 'P2', 3, 1, 'K', 'B', 'Z', '0');"
            "INSERT INTO tbpedido_troca1 (nr_pedido, idfunc, codigo, quantidade) VALUES (88, 'ABC', 'P3', 2);"
            "INSERT INTO tbpedido_troca2 (nr_pedido, idfunc, codigo, quantidade) VALUES (88, 'ABC', 'P1', 7.5);"));
        abrir(81);
    }

    // What the screens do when an item is saved.
    void salvarItem(TipoPedido tipo, ConjuntoDados &itens)
    {
        if (tipo == TipoPedido::Pacote) {
            itens.gravar();
            AplicarPrecoMedio(TipoPedido::Pacote);
        } else {
            if (&itens == &dm->QyTrocaDev)
                CalcularPrecoItem(TipoPedido::Troca, 1);
            else
                CalcularPrecoItem(tipo);
            itens.gravar();
        }
        if (tipo != TipoPedido::Troca)
            RecalcularTotais(tipo);
    }

    // What saving the order does to every item and the header's totals.
    void salvarPedido(TipoPedido tipo)
    {
        if (tipo == TipoPedido::Pacote) {
            AplicarPrecoMedio(TipoPedido::Pacote);
        } else if (tipo != TipoPedido::Troca) {
            ConjuntoDados &itens = ItensDoPedido(tipo);
            for (itens.primeiro(); !itens.fim(); itens.proximo()) {
                itens.editar();
                CalcularPrecoItem(tipo);
                itens.gravar();
            }
        }
        RecalcularTotais(tipo);
    }

    QString tabelas() const
    {
        return pasta.consultar(QStringLiteral(
            "SELECT (SELECT group_concat(nr_pedido || ':' || coalesce(vl_total_item, '-') || ':' || dv, ' ')"
            " FROM tbpedido) || ' / ' || (SELECT group_concat(codigo || ':' || coalesce(valorUnitario, '-') || ':'"
            " || coalesce(valorTotal, '-'), ' ') FROM tbpedido_item)"));
    }
};

TEST_F(PreviaPreco, PreviaDoItemIgualAoQueAGravacaoDoItemGuarda)
{
    struct Caso {
        const char *nome;
        int pedido;
        TipoPedido tipo;
        ConjuntoDados *itens;
        const char *codigo, *quantidade, *d1, *d2, *d3;
        const char *unitario, *total; // what the save stores
    } casos[] = {
        // 10 * 1.036 * 0.995 * 0.99 * 0.99
        {"fatores do cabeçalho", 81, TipoPedido::Pedido, &dm->QyPedidoItem, "p1", "10", "A", "0", "0", "10,103",
         "101,03"},
        // K, B and Z reach the promotional 20,00: the floor
        {"piso promocional", 82, TipoPedido::Pedido, &dm->QyPedidoItem, "P2", "3", "K", "B", "Z", "20", "60"},
        // no volume level 6 on a tied sale
        {"venda casada", 83, TipoPedido::VendaCasada, &dm->QyVendaCasada, "P1", "2", "A", "0", "0", "10,1538",
         "20,3076"},
        {"sem produto", 84, TipoPedido::Pedido, &dm->QyPedidoItem, "XX", "2", "0", "0", "0", nullptr, nullptr},
        // beside the stored P4 x 2 at 10,1538: the average 16,36152, the
        // total in whole cents; the first item's codes replace "B"
        {"pacote", 85, TipoPedido::Pacote, &dm->QyPacote, "P3", "3", "B", "0", "0", "16,3615", "49,08"},
        // 20,5 * 0.98 * 0.99, no freight, no codes
        {"troca, substituição", 86, TipoPedido::Troca, &dm->QyTrocaSub, "P3", "1,5", "A", "0", "0", "19,8891",
         "29,8336"}, // 29,83365: a tie, to the even neighbour
        {"troca, devolução", 87, TipoPedido::Troca, &dm->QyTrocaDev, "P1", "4", "A", "0", "0", "9,7", "38,8"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nome);
        irPara(c.pedido);
        ConjuntoDados &itens = *c.itens;
        itens.inserir();
        escrever(itens, {{"codigo", c.codigo}, {"quantidade", c.quantidade}});
        if (c.tipo != TipoPedido::Troca)
            escrever(itens, {{"cd_desconto1", c.d1}, {"cd_desconto2", c.d2}, {"cd_desconto3", c.d3}});

        const std::optional<PreviaItem> previa = PreverPrecoItem(c.tipo, itens);
        // Nothing written: the item keeps the codes typed and no price.
        EXPECT_TRUE(itens.campo(QStringLiteral("valorUnitario")).nulo());
        EXPECT_EQ(itens.campo(QStringLiteral("codigo")).texto(), QString::fromUtf8(c.codigo));
        if (!c.unitario) {
            EXPECT_FALSE(previa.has_value());
            itens.cancelar();
            continue;
        }
        ASSERT_TRUE(previa.has_value());
        EXPECT_EQ(previa->valorUnitario, D(c.unitario));
        EXPECT_EQ(previa->valorTotal, D(c.total));
        EXPECT_EQ(UnitarioDosPassos(previa->passos), D(c.unitario));

        salvarItem(c.tipo, itens);
        const Registro gravado = itens.registro(itens.quantidade() - 1);
        EXPECT_EQ(gravado.campo(QStringLiteral("valorUnitario")).dinheiro(), previa->valorUnitario);
        EXPECT_EQ(gravado.campo(QStringLiteral("valorTotal")).dinheiro(), previa->valorTotal);
    }
}

TEST_F(PreviaPreco, SaldoIgualAoQueAGravacaoDoPedidoGuarda)
{
    irPara(88);
    // A volume level chosen but not stored yet, an item being typed.
    dm->QyPedido.editar();
    escrever(dm->QyPedido, {{"dv", "3"}});
    struct Caso {
        TipoPedido tipo;
        ConjuntoDados *itens;
        const char *coluna;
    } casos[] = {
        {TipoPedido::Pedido, &dm->QyPedidoItem, "vl_total_item"},
        {TipoPedido::Troca, &dm->QyTrocaSub, "vl_diferenca_troca"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.coluna);
        ConjuntoDados &itens = *c.itens;
        itens.inserir();
        escrever(itens, {{"codigo", "P3"}, {"quantidade", "2"}});
        // The quantity box holds 5, not yet committed.
        const Dinheiro previsto = PreverSaldo(c.tipo, D("5"));
        escrever(itens, {{"quantidade", "5"}});
        salvarItem(c.tipo, itens);
        salvarPedido(c.tipo);
        EXPECT_EQ(dinheiro(dm->QyPedido, c.coluna), previsto);
        irPara(88);
        dm->QyPedido.editar();
    }
}

TEST_F(PreviaPreco, SaldoDoPacoteComAMediaDeTodosOsItens)
{
    pasta.executar(QStringLiteral(
        "INSERT INTO tbpedido_pacote (nr_pedido, idfunc, codigo, quantidade, valorUnitario, cd_desconto1,"
        " cd_desconto2, cd_desconto3, gordura1) VALUES (89, 'ABC', 'P4', 2, 0, '0', '0', '0', '0'),"
        " (89, 'ABC', 'P3', 3, 0, 'B', '0', '0', 'E'), (89, 'ABC', 'XX', 100, 1, '0', '', '0', '0');"
        "INSERT INTO tbpedido (nr_pedido, idFunc, cif, dv, avista) VALUES (89, 'ABC', 'Não', 0, 0);"));
    dm->QyPedido.reabrir();
    irPara(89);
    // 32,72 + 49,08 + 100 * 16,36
    EXPECT_EQ(PreverSaldo(TipoPedido::Pacote), D("1717,8"));
    salvarPedido(TipoPedido::Pacote);
    EXPECT_EQ(dinheiro(dm->QyPedido, "vl_total_pacote"), D("1717,8"));
}

TEST_F(PreviaPreco, CancelarDepoisDaPreviaNaoMudaOBanco)
{
    irPara(88);
    const QString antes = tabelas();
    dm->QyPedido.editar();
    escrever(dm->QyPedido, {{"dv", "4"}});
    ConjuntoDados &itens = dm->QyPedidoItem;
    itens.inserir();
    escrever(itens, {{"codigo", "P1"}, {"quantidade", "3"}});
    ASSERT_TRUE(PreverPrecoItem(TipoPedido::Pedido, itens, D("4")).has_value());
    PreverSaldo(TipoPedido::Pedido, D("4"));
    itens.cancelar();
    dm->QyPedido.cancelar();
    EXPECT_EQ(tabelas(), antes);
}

// The explanation is read from the same steps: the floor says it cleared the
// codes, and a package ends with its average and the cents of its total.
TEST_F(PreviaPreco, ExplicacaoDosPassos)
{
    irPara(82);
    ConjuntoDados &itens = dm->QyPedidoItem;
    itens.inserir();
    escrever(
        itens,
        {{"codigo", "P2"}, {"quantidade", "3"}, {"cd_desconto1", "K"}, {"cd_desconto2", "B"}, {"cd_desconto3", "Z"}});
    QStringList linhas;
    for (const QStringList &l : ExplicarPassos(PreverPrecoItem(TipoPedido::Pedido, itens)->passos))
        linhas << l.join(QStringLiteral(" | "));
    EXPECT_EQ(linhas, (QStringList{
                          QStringLiteral("Preço de venda do produto |  | 25,9000"),
                          QStringLiteral("DV 0 | × 1 | 25,9000"),
                          QStringLiteral("Avista 2 | × 0,98 | 25,3820"),
                          QStringLiteral("D1: K (10,7 %) | × 0,893 | 22,6661"),
                          QStringLiteral("D2: B (2 %) | × 0,98 | 22,2128"),
                          QStringLiteral("D3: Z (26 %) | × 0,74 | 16,4375"),
                          QStringLiteral("Volume (G sem código): (total anterior − total anterior × "
                                         "fator) × 0,74 | 1 | 0,0000"),
                          QStringLiteral("Preço promocional: o desconto chegou ao piso; o preço passa a ser o "
                                         "promocional e os códigos D1, D2 e D3 são limpos |  | 20,0000"),
                          QStringLiteral("Preço total: quantidade × preço unitário | × 3 | 60,0000"),
                      }));
    itens.cancelar();

    irPara(85);
    dm->QyPacote.inserir();
    escrever(dm->QyPacote, {{"codigo", "P3"}, {"quantidade", "3"}});
    const QList<QStringList> pacote = ExplicarPassos(PreverPrecoItem(TipoPedido::Pacote, dm->QyPacote)->passos);
    ASSERT_GE(pacote.size(), 3);
    EXPECT_TRUE(pacote[pacote.size() - 3][0].startsWith(QStringLiteral("Média do pacote")));
    EXPECT_EQ(pacote[pacote.size() - 3][2], QStringLiteral("16,3615"));
    EXPECT_EQ(pacote[pacote.size() - 2][2], QStringLiteral("16,3600"));
    EXPECT_EQ(pacote.back()[2], QStringLiteral("49,0800"));
}

} // namespace
