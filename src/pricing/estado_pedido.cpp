#include "estado_pedido.h"

#include "campos_esquema.h"
#include "udm.h"

ConjuntoDados &ItensDoPedido(TipoPedido tipo)
{
    switch (tipo) {
    case TipoPedido::VendaCasada:
        return DM->QyVendaCasada;
    case TipoPedido::Pacote:
        return DM->QyPacote;
    case TipoPedido::Troca:
        return DM->QyTrocaSub;
    case TipoPedido::Pedido:
        break;
    }
    return DM->QyPedidoItem;
}

void ItensQueSeguemOCabecalho(std::optional<TipoPedido> tipo)
{
    for (ConjuntoDados *lista :
         {&DM->QyPedidoItem, &DM->QyPacote, &DM->QyTrocaSub, &DM->QyTrocaDev, &DM->QyVendaCasada})
        lista->setRelerAoGravarMestre(!tipo || lista == &ItensDoPedido(*tipo) ||
                                      (*tipo == TipoPedido::Troca && lista == &DM->QyTrocaDev));
}

bool PedidoEmRepouso(TipoPedido tipo)
{
    if (DM->QyPedido.emEdicao() || ItensDoPedido(tipo).emEdicao())
        return false;
    return tipo != TipoPedido::Troca || !DM->QyTrocaDev.emEdicao();
}

bool ItensEmEstoque(ConjuntoDados &itens, bool compararQuantidade)
{
    bool confere = true;
    for (itens.primeiro(); confere && !itens.fim(); itens.proximo()) {
        const double estoque = itens.campo(Campos::Item::estoque).real();
        confere = estoque > 0 && (!compararQuantidade || estoque >= itens.campo(Campos::Item::quantidade).real());
    }
    itens.primeiro();
    return confere;
}

QString MensagemSalvarAntes()
{
    return QStringLiteral("Clique em SALVAR o pedido/item antes de gerar o relatório.");
}
