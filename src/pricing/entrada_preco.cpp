#include "entrada_preco.h"

#include "udm.h"

namespace
{

const char *const kCodigos[] = {"cd_desconto1", "cd_desconto2", "cd_desconto3"};

} // namespace

bool LocalizarProdutoDoItem(const Registro &item)
{
    const QString codigo = item.campo(QStringLiteral("codigo")).texto();
    return !codigo.isEmpty() && DM->QyProduto.localizar(QStringLiteral("CODIGO"), codigo);
}

EntradaPreco LerEntradaPreco(TipoPedido tipo, const Registro &item)
{
    ConjuntoDados &produto = DM->QyProduto;
    ConjuntoDados &cabecalho = DM->QyPedido;
    EntradaPreco e;
    e.tipo = tipo;
    e.precoVenda = produto.campo(QStringLiteral("PRECOVENDA")).dinheiro();
    e.precoPromo = produto.campo(QStringLiteral("PRECOPROMO")).real();
    e.cif = cabecalho.campo(QStringLiteral("cif")).texto();
    e.dv = static_cast<int>(cabecalho.campo(QStringLiteral("dv")).inteiro());
    e.avista = static_cast<int>(cabecalho.campo(QStringLiteral("avista")).inteiro());
    e.valorTotal = item.campo(QStringLiteral("valorTotal")).dinheiro();
    e.quantidade = item.campo(QStringLiteral("quantidade")).dinheiro();
    if (tipo != TipoPedido::Troca) {
        for (int i = 0; i < 3; ++i)
            e.codigos[i] = item.campo(QLatin1String(kCodigos[i])).texto();
        e.gordura1 = item.campo(QStringLiteral("gordura1")).texto();
    }
    return e;
}
