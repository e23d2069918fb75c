#include "calculo_preco.h"
#include "erro.h"
#include "pedidos_teste.h"

namespace
{

class CalculoPreco : public PedidosTeste
{
  protected:
    // Order 83, with freight, volume level 1 and no cash discount.
    void SetUp() override
    {
        PedidosTeste::SetUp();
        pasta.executar(QStringLiteral("INSERT INTO tbpedido (nr_pedido, idFunc, cif, dv, avista) VALUES"
                                      " (83, 'ABC', 'Sim', 1, 0);"));
        abrir(83);
    }
};

TEST_F(CalculoPreco, PrimeiroExemploNoItemDoPedidoComGorduraAtrasada)
{
    ConjuntoDados &itens = dm->QyPedidoItem;
    itens.inserir();
    escrever(itens, {{"codigo", "p1"}, {"quantidade", "10"}, {"cd_desconto1", "A"}, {"gordura1", "E"}});
    CalcularPrecoItem(TipoPedido::Pedido);
    EXPECT_EQ(itens.estado(), EstadoConjunto::Insercao);
    EXPECT_EQ(dm->QyProduto.campo(QStringLiteral("CODIGO")).texto(), QStringLiteral("P1"));
    EXPECT_EQ(dinheiro(itens, "valorUnitario"), D("10,1538"));
    EXPECT_EQ(dinheiro(itens, "valorTotal"), D("101,538"));
    EXPECT_EQ(dinheiro(itens, "vl_gordura"), D("0"));
    EXPECT_TRUE(itens.campo(QStringLiteral("desconto")).nulo());

    // Priced again (as on saving the item): vl_gordura catches up.
    CalcularPrecoItem(TipoPedido::Pedido);
    EXPECT_EQ(dinheiro(itens, "vl_gordura"), D("3,7569"));
    EXPECT_EQ(dinheiro(itens, "valorTotal"), D("101,538"));
    EXPECT_EQ(itens.campo(QStringLiteral("cd_desconto1")).texto(), QStringLiteral("A"));
}

TEST_F(CalculoPreco, PisoPromocionalEsvaziaOsCodigos)
{
    dm->QyPedido.editar();
    escrever(dm->QyPedido, {{"cif", "Não"}, {"dv", "0"}, {"avista", "2"}});
    dm->QyPedido.gravar();
    irPara(83);
    ConjuntoDados &itens = dm->QyPedidoItem;
    itens.inserir();
    escrever(itens, {{"codigo", "P2"}, {"quantidade", "3"}, {"cd_desconto1", "K"}, {"cd_desconto2", "B"}});
    CalcularPrecoItem(TipoPedido::Pedido);
    EXPECT_EQ(dinheiro(itens, "valorUnitario"), D("22,2128"));
    EXPECT_EQ(dinheiro(itens, "valorTotal"), D("66,6384"));
    EXPECT_EQ(itens.campo(QStringLiteral("cd_desconto3")).texto(), QStringLiteral("0"));

    escrever(itens, {{"cd_desconto3", "Z"}});
    CalcularPrecoItem(TipoPedido::Pedido);
    EXPECT_EQ(dinheiro(itens, "valorUnitario"), D("20"));
    EXPECT_EQ(dinheiro(itens, "valorTotal"), D("60"));
    for (const char *codigo : {"cd_desconto1", "cd_desconto2", "cd_desconto3"})
        EXPECT_TRUE(itens.campo(QString::fromUtf8(codigo)).nulo()) << codigo;
}

// Discount levels as stored by other programs: 2,5 is no level (no factor,
// not level 3) and an empty text reads as level 0 instead of stopping the
// pricing, and with it every save of the order.
TEST_F(CalculoPreco, NivelQueNaoEhInteiroNaoAplicaFatorEVazioEhZero)
{
    const struct {
        const char *dv;
        const char *avista;
        const char *unitario; // 10 with freight (10,36), then the levels' factors
    } casos[] = {
        {"2.5", "0", "10,36"},    {"3", "''", "10,0492"},  {"NULL", "NULL", "10,36"},
        {"'  '", "'x'", "10,36"}, {"1", "2.0", "10,0513"},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(std::string(c.dv) + " / " + c.avista);
        pasta.executar(QStringLiteral("UPDATE tbpedido SET dv = %1, avista = %2 WHERE nr_pedido = 83")
                           .arg(QString::fromUtf8(c.dv), QString::fromUtf8(c.avista)));
        dm->QyPedido.reabrir();
        irPara(83);
        ConjuntoDados &itens = dm->QyPedidoItem;
        itens.inserir();
        escrever(itens, {{"codigo", "P1"}, {"quantidade", "1"}});
        EXPECT_NO_THROW(CalcularPrecoItem(TipoPedido::Pedido));
        EXPECT_EQ(dinheiro(itens, "valorUnitario"), D(c.unitario));
        itens.cancelar();
    }
}

// The same item on every list: each kind applies its own steps and writes
// only its own fields.
TEST_F(CalculoPreco, CadaTipoComSeusPassos)
{
    dm->QyPedido.editar();
    escrever(dm->QyPedido, {{"dv", "6"}, {"avista", "1"}});
    dm->QyPedido.gravar();
    irPara(83);
    struct Caso {
        ConjuntoDados *itens;
        void (*precificar)();
        const char *unitario, *total;
        const char *gordura, *desconto; // nullptr: no such field
    } casos[] = {
        // 10 * 1.036 * 0.995 * 0.99 * 0.99; gordura (100 - 95) * 0.74
        {&dm->QyPedidoItem, [] { CalcularPrecoItem(TipoPedido::Pedido); }, "10,103", "20,206", "3,7", "7"},
        // no level 6 here: 10 * 1.036 * 0.99 * 0.99
        {&dm->QyVendaCasada, [] { CalcularPrecoItem(TipoPedido::VendaCasada); }, "10,1538", "20,3076", "3,7", "7"},
        {&dm->QyPacote, [] { CalcularPrecoItem(TipoPedido::Pacote); }, "10,1538", "20,3076", "3,7", "0,11"},
        // neither freight nor codes: 10 * 0.99
        {&dm->QyTrocaSub, [] { CalcularPrecoItem(TipoPedido::Troca, 0); }, "9,9", "19,8", nullptr, nullptr},
        {&dm->QyTrocaDev, [] { CalcularPrecoItem(TipoPedido::Troca, 1); }, "9,9", "19,8", nullptr, nullptr},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.itens->objectName().toStdString());
        c.itens->inserir();
        escrever(*c.itens, {{"codigo", "P1"}, {"quantidade", "2"}, {"valorTotal", "100"}});
        if (c.gordura)
            escrever(*c.itens, {{"cd_desconto1", "A"}, {"gordura1", "E"}, {"desconto", "7"}});
        c.precificar();
        EXPECT_EQ(dinheiro(*c.itens, "valorUnitario"), D(c.unitario));
        EXPECT_EQ(dinheiro(*c.itens, "valorTotal"), D(c.total));
        if (c.gordura) {
            EXPECT_EQ(dinheiro(*c.itens, "vl_gordura"), D(c.gordura));
            EXPECT_EQ(dinheiro(*c.itens, "desconto"), D(c.desconto));
        }
        c.itens->gravar();
    }
}

TEST_F(CalculoPreco, ItemSemProdutoSemCodigoOuParadoFicaComoEstava)
{
    ConjuntoDados &itens = dm->QyPedidoItem;
    for (const char *codigo : {"XX", ""}) {
        itens.inserir();
        escrever(itens, {{"codigo", codigo},
                         {"quantidade", "2"},
                         {"valorUnitario", "5"},
                         {"valorTotal", "7"},
                         {"vl_gordura", "1"}});
        CalcularPrecoItem(TipoPedido::Pedido);
        EXPECT_EQ(dinheiro(itens, "valorUnitario"), D("5")) << codigo;
        EXPECT_EQ(dinheiro(itens, "valorTotal"), D("7")) << codigo;
        EXPECT_EQ(dinheiro(itens, "vl_gordura"), D("1")) << codigo;
        EXPECT_EQ(itens.campo(QStringLiteral("cd_desconto1")).texto(), QStringLiteral("0")) << codigo;
        itens.gravar();
    }
    // At rest: nothing is priced, even with a known product.
    itens.inserir();
    escrever(itens, {{"codigo", "P1"}, {"quantidade", "1"}, {"valorUnitario", "5"}});
    itens.gravar();
    CalcularPrecoItem(TipoPedido::Pedido);
    EXPECT_EQ(itens.estado(), EstadoConjunto::Navegacao);
    EXPECT_EQ(dinheiro(itens, "valorUnitario"), D("5"));
}

// A save prices a whole list at once (its products found together in the
// product list's index); each item must come out as pricing it alone gives,
// and the product list where pricing item by item leaves it.
TEST_F(CalculoPreco, ListaInteiraComoItemAItem)
{
    QString produtos, itens;
    for (int i = 10; i < 50; ++i)
        produtos += QStringLiteral(",(%1, 'Q%1', %2, NULL)").arg(i).arg(i * 1.25);
    for (const int nr : {83, 84})
        itens += QStringLiteral(
                     ",(%1, 'ABC', 'P1', 10, 100, 'A', '0', '0', 'E'), (%1, 'ABC', 'p2', 3, 0, 'K', 'B', 'Z', '0'),"
                     " (%1, 'ABC', 'XX', 2, 7, '0', '0', '0', '0'), (%1, 'ABC', '', 1, 5, 'A', '0', '0', '0'),"
                     " (%1, 'ABC', 'q33', 4, 0, 'C', 'C', '0', 'J'), (%1, 'ABC', 'YY', 1, 1, '0', '0', '0', '0')")
                     .arg(nr);
    pasta.executar(
        QStringLiteral("INSERT INTO tbproduto (idProduto, CODIGO, PRECOVENDA, PRECOPROMO) VALUES ") + produtos.mid(1) +
        QStringLiteral(";INSERT INTO tbpedido (nr_pedido, idFunc, cif, dv, avista) VALUES (84, 'ABC', 'Sim', 1, 0);"
                       "INSERT INTO tbpedido_item (nr_pedido, idfunc, codigo, quantidade, valorTotal,"
                       " cd_desconto1, cd_desconto2, cd_desconto3, gordura1) VALUES ") +
        itens.mid(1));
    abrir(83);
    ConjuntoDados &lista = dm->QyPedidoItem;
    auto linhas = [&] {
        QStringList l;
        for (int i = 0; i < lista.quantidade(); ++i) {
            QStringList campos;
            for (const char *c : {"codigo", "valorUnitario", "valorTotal", "vl_gordura", "cd_desconto1", "cd_desconto2",
                                  "cd_desconto3"})
                campos << lista.registro(i).campo(QString::fromUtf8(c)).texto();
            l << campos.join(QLatin1Char(' '));
        }
        return l;
    };
    Dinheiro somaItemAItem;
    for (lista.primeiro(); !lista.fim(); lista.proximo()) {
        lista.editar();
        CalcularPrecoItem(TipoPedido::Pedido);
        lista.gravar();
        somaItemAItem += dinheiro(lista, "valorTotal");
    }
    const QStringList esperadas = linhas();
    ASSERT_EQ(esperadas.size(), 6);
    EXPECT_EQ(esperadas[1], QStringLiteral("p2 20 60 0   ")); // the promotional floor, the codes emptied
    EXPECT_EQ(esperadas[2], QStringLiteral("XX  7  0 0 0"));  // unknown: as it was

    irPara(84);
    EXPECT_EQ(PrecificarItensDaLista(TipoPedido::Pedido, 0), somaItemAItem);
    EXPECT_EQ(linhas(), esperadas);
    EXPECT_EQ(lista.estado(), EstadoConjunto::Navegacao);
    EXPECT_EQ(dm->QyProduto.campo(QStringLiteral("CODIGO")).texto(), QStringLiteral("Q33"));
    lista.reabrir();
    EXPECT_EQ(linhas(), esperadas) << "as stored";
}

class PrecoMedioPacote : public PedidosTeste
{
  protected:
    void abrirPacote(const char *itens)
    {
        pasta.executar(
            QStringLiteral("INSERT INTO tbpedido (nr_pedido, idFunc, cif, dv, avista) VALUES"
                           " (90, 'ABC', 'Não', 0, 0);"
                           "INSERT INTO tbpedido_pacote (nr_pedido, idfunc, codigo, quantidade, valorUnitario,"
                           " cd_desconto1, cd_desconto2, cd_desconto3, gordura1) VALUES ") +
            QString::fromUtf8(itens));
        abrir(90);
    }

    QString linhas()
    {
        QStringList l;
        ConjuntoDados &p = dm->QyPacote;
        for (int i = 0; i < p.quantidade(); ++i) {
            const Registro r = p.registro(i);
            QStringList campos;
            for (const char *c : {"valorUnitario", "valorTotal", "cd_desconto1", "cd_desconto2", "desconto"})
                campos << r.campo(QString::fromUtf8(c)).texto();
            l << campos.join(QLatin1Char(' '));
        }
        return l.join(QStringLiteral(" | "));
    }
};

TEST_F(PrecoMedioPacote, ExemploComOsCodigosDoPrimeiroItem)
{
    // The third item's product is unknown: it joins neither sum but takes
    // the average. The second's "B" gives way to the first item's code.
    abrirPacote("(90, 'ABC', 'P4', 2, 0, '0', '0', '0', '0'), (90, 'ABC', 'P3', 3, 0, 'B', '0', '0', 'E'),"
                " (90, 'ABC', 'XX', 100, 1, '0', '', '0', '0');");
    AplicarPrecoMedio(TipoPedido::Pacote);
    EXPECT_TRUE(dm->QyPacote.fim());
    EXPECT_EQ(dm->QyPacote.estado(), EstadoConjunto::Navegacao);
    const QString esperado = QStringLiteral("16,3615 32,72 0 0 0,16 | 16,3615 49,08 0 0 0,11 | 16,3615 1636 0 0 ");
    EXPECT_EQ(linhas(), esperado);
    dm->QyPacote.reabrir();
    EXPECT_EQ(linhas(), esperado);
}

TEST_F(PrecoMedioPacote, SemQuantidadeCadaItemFicaComSeuPreco)
{
    abrirPacote("(90, 'ABC', 'P4', 0, 0, 'A', '0', '0', '0'), (90, 'ABC', 'P3', 0, 0, '0', '0', '0', '0'),"
                " (90, 'ABC', 'XX', 5, 1, '0', '0', '0', '0');");
    AplicarPrecoMedio(TipoPedido::Pacote);
    EXPECT_TRUE(dialogos.registros().empty());
    dm->QyPacote.reabrir();
    EXPECT_EQ(linhas(), QStringLiteral("10,0523 0 A 0 0,16 | 20,295 0 A 0 0,16 | 1  A 0 "));
}

TEST_F(PrecoMedioPacote, FalhaNoMeioNaoGravaNenhumItem)
{
    pasta.executar(
        QStringLiteral("INSERT INTO tbproduto (idProduto, CODIGO, PRECOVENDA) VALUES (9, 'P9', 900000000000000);"));
    abrirPacote("(90, 'ABC', 'P4', 2, 0, '0', '0', '0', '0'), (90, 'ABC', 'P9', 1000, 0, '0', '0', '0', '0');");
    EXPECT_THROW(AplicarPrecoMedio(TipoPedido::Pacote), Erro);
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT group_concat(coalesce(valorTotal, '-')) FROM tbpedido_pacote")),
              QStringLiteral("-,-"));
}

} // namespace
