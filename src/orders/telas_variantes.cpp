#include "telas_variantes.h"

std::unique_ptr<TfrmPedido> CriarTelaPedido(const VariantePedido &variante, QWidget *pai)
{
    switch (variante.tipo) {
    case TipoPedido::Pacote:
        return std::make_unique<TfrmPedidoPacote>(pai);
    case TipoPedido::VendaCasada:
        return std::make_unique<TfrmVendaCasada>(pai);
    case TipoPedido::Troca:
        return std::make_unique<TfrmPedidoTroca>(pai);
    case TipoPedido::Pedido:
        break;
    }
    return std::make_unique<TfrmPedido>(variante, pai);
}
