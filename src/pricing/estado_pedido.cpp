#include "estado_pedido.h"

#include "campos_esquema.h"
#include "regras_tipo_pedido.h"
#include "udm.h"

ConjuntoDados &ItensDoPedido(TipoPedido tipo, int lista)
{
    return RegrasDoTipo(tipo).guarda.listas[static_cast<std::size_t>(lista)].conjunto();
}

void ItensQueSeguemOCabecalho(std::optional<TipoPedido> tipo)
{
    for (const RegrasTipoPedido &regras : TiposDePedido())
        for (const ListaDoTipo &lista : regras.guarda.listas)
            lista.conjunto().setRelerAoGravarMestre(!tipo || regras.tipo == *tipo);
}

bool PedidoEmRepouso(TipoPedido tipo)
{
    if (DM->QyPedido.emEdicao())
        return false;
    for (const ListaDoTipo &lista : RegrasDoTipo(tipo).guarda.listas)
        if (lista.conjunto().emEdicao())
            return false;
    return true;
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
