#include "campos_esquema.h"
#include "fonte_resumo.h"
#include "formatos.h"
#include "relatorio_comum.h"
#include "relatorios.h"
#include "udm.h"

#include <QDate>
#include <QHash>
#include <QSet>
#include <algorithm>

namespace
{

// The sums the sales query names.
const QString kQuantidade = QStringLiteral("Quantidade");
const QString kTotais = QStringLiteral("Totais");

// Quantity and value of each product in each order of the period, the value
// in ten-thousandths so that the sums stay exact.
QString sqlVendas(const QDate &inicio, const QDate &fim)
{
    return QStringLiteral("SELECT i.nr_pedido AS nr_pedido, i.codigo AS codigo, SUM(i.quantidade) AS %3,"
                          " CAST(round(SUM(i.valorTotal) * 10000) AS INTEGER) AS %4"
                          " FROM tbpedido_item i JOIN tbpedido p ON p.nr_pedido = i.nr_pedido"
                          " WHERE date(p.dt_pedido) BETWEEN '%1' AND '%2'"
                          " GROUP BY i.nr_pedido, i.codigo")
        .arg(inicio.toString(Qt::ISODate), fim.toString(Qt::ISODate), kQuantidade, kTotais);
}

// The orders of the current order view: a representative's own, every
// order for the supervisor.
QSet<qint64> pedidosDaVista()
{
    const ConjuntoDados &pedidos = DM->QyPedido;
    const int campo = pedidos.indiceCampoOuErro(Campos::Pedido::nr_pedido);
    QSet<qint64> numeros;
    numeros.reserve(pedidos.quantidade());
    for (int i = 0; i < pedidos.quantidade(); ++i)
        numeros.insert(pedidos.registro(i).campo(campo).inteiro());
    return numeros;
}

// Products by code, letter case ignored: position in QyProduto's view.
QHash<QString, int> produtosPorCodigo()
{
    const ConjuntoDados &produtos = DM->QyProduto;
    const int campo = produtos.indiceCampoOuErro(Campos::Produto::CODIGO);
    QHash<QString, int> posicoes;
    posicoes.reserve(produtos.quantidade());
    for (int i = 0; i < produtos.quantidade(); ++i) {
        const QString codigo = produtos.registro(i).campo(campo).texto().toCaseFolded();
        if (!posicoes.contains(codigo))
            posicoes.insert(codigo, i);
    }
    return posicoes;
}

struct Venda {
    int produto = -1;
    qint64 quantidade = 0;
    Dinheiro total;
};

// One line per product sold in the period, least sold first; items whose
// product is no longer on file are left out.
std::vector<Venda> somarVendas(const QDate &inicio, const QDate &fim)
{
    ConjuntoDados &pesquisa = DM->QyPesquisa;
    pesquisa.fechar();
    pesquisa.setFiltro(QString());
    pesquisa.setFiltrado(false);
    pesquisa.setSql(sqlVendas(inicio, fim));
    pesquisa.abrir();
    const QSet<qint64> vista = pedidosDaVista();
    const QHash<QString, int> produtos = produtosPorCodigo();
    QHash<int, std::size_t> linhaDoProduto;
    std::vector<Venda> vendas;
    for (int i = 0; i < pesquisa.quantidade(); ++i) {
        const Registro r = pesquisa.registro(i);
        if (!vista.contains(r.campo(Campos::Item::nr_pedido).texto().toLongLong()))
            continue;
        const auto produto = produtos.constFind(r.campo(Campos::Item::codigo).texto().toCaseFolded());
        if (produto == produtos.cend())
            continue;
        auto linha = linhaDoProduto.constFind(produto.value());
        if (linha == linhaDoProduto.cend()) {
            linha = linhaDoProduto.insert(produto.value(), vendas.size());
            vendas.push_back({produto.value(), 0, {}});
        }
        Venda &v = vendas[linha.value()];
        v.quantidade += r.campo(kQuantidade).texto().toLongLong();
        v.total += Dinheiro::deEscalado(r.campo(kTotais).texto().toLongLong());
    }
    pesquisa.fechar();
    const ConjuntoDados &cadastro = DM->QyProduto;
    std::stable_sort(vendas.begin(), vendas.end(), [&cadastro](const Venda &a, const Venda &b) {
        if (a.quantidade != b.quantidade)
            return a.quantidade < b.quantidade;
        return cadastro.registro(a.produto).campo(Campos::Produto::CODIGO).texto() <
               cadastro.registro(b.produto).campo(Campos::Produto::CODIGO).texto();
    });
    return vendas;
}

void preencher(ConjuntoDados &tabela, const std::vector<Venda> &vendas)
{
    const ConjuntoDados &produtos = DM->QyProduto;
    for (const Venda &v : vendas) {
        const Registro produto = produtos.registro(v.produto);
        tabela.inserir();
        tabela.campo(Campos::VendaTotais::CODIGO).setTexto(produto.campo(Campos::Produto::CODIGO).texto());
        tabela.campo(Campos::VendaTotais::DESCRICAO).setTexto(produto.campo(Campos::Produto::PRODUTO).texto());
        tabela.campo(Campos::VendaTotais::QUANTIDADE).setInteiro(v.quantidade);
        tabela.campo(Campos::VendaTotais::VALORTOTAL).setReal(v.total.paraDouble());
        tabela.gravar();
    }
    tabela.primeiro();
}

} // namespace

void RelatorioVendasTotais()
{
    const QDate inicio = Formatos::lerData(CaixaEntrada(QStringLiteral("Data Inicial"), QStringLiteral("Data"), {}));
    const QDate fim = Formatos::lerData(CaixaEntrada(QStringLiteral("Data Final"), QStringLiteral("Data"), {}));
    const TabelaTemporaria tabela(DM->cdsVendaTotais);
    preencher(DM->cdsVendaTotais, somarVendas(inicio, fim));
    const FonteResumo vendas(QStringLiteral("rvdsVendas"), DM->cdsVendaTotais,
                             {{QStringLiteral("DATA_EMISSAO"), DataEmissao()},
                              {QStringLiteral("DATA_INICIAL"), Formatos::data(inicio)},
                              {QStringLiteral("DATA_FINAL"), Formatos::data(fim)}},
                             {Campos::VendaTotais::QUANTIDADE, Campos::VendaTotais::VALORTOTAL});
    GerarRelatorioPDF(QStringLiteral("vendas_totais.rav"),
                      CaminhoRelatorio(QStringLiteral("vendas-totais"), QStringLiteral(".pdf")), {&vendas});
}
