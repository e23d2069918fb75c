#include "telas_variantes.h"

#include "campos_esquema.h"
#include "conjunto_dados.h"

#include <QTimer>

std::unique_ptr<TfrmPedido> CriarTelaPedido(const VariantePedido &variante, QWidget *pai)
{
    if (&variante == &VariantePedidoPacote())
        return std::make_unique<TfrmPedidoPacote>(pai);
    if (&variante == &VariantePedidoVendaCasada())
        return std::make_unique<TfrmVendaCasada>(pai);
    if (&variante == &VariantePedidoTroca())
        return std::make_unique<TfrmPedidoTroca>(pai);
    return std::make_unique<TfrmPedido>(variante, pai);
}

void AbrirTelaPedido(const VariantePedido &variante, QWidget *pai, std::optional<qint64> clienteNovoPedido)
{
    const std::unique_ptr<TfrmPedido> tela = CriarTelaPedido(variante, pai);
    tela->setWindowState(Qt::WindowMaximized);
    if (clienteNovoPedido) {
        // Once the screen has opened its list: a new order, the customer
        // filled as if typed in its box.
        QTimer::singleShot(0, tela.get(), [logica = &tela->logica(), cliente = *clienteNovoPedido] {
            logica->clicar(AcaoPedido::Novo);
            if (logica->cabecalho().estado() != EstadoConjunto::Insercao)
                return;
            logica->cabecalho().campo(Campos::Pedido::idCliente).setInteiro(cliente);
            logica->saiuCodigoCliente();
        });
    }
    tela->exec();
}
