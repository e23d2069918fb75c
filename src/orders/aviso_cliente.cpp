#include "aviso_cliente.h"

#include "campos_esquema.h"
#include "logica_pedido.h"
#include "udm.h"

SituacaoCliente SituacaoClienteDoPedido(const LogicaPedido &logica, std::optional<Dinheiro> saldoPrevisto)
{
    // A warning is a hint: whatever fails here leaves the screen without one.
    try {
        const ConjuntoDados &pedidos = logica.cabecalho();
        ConjuntoDados &clientes = DM->QyCliente;
        if (!pedidos.ativo() || pedidos.vazio() || !clientes.ativo())
            return {};
        const QString cliente = pedidos.campo(Campos::Pedido::idCliente).texto();
        if (cliente.isEmpty())
            return {};
        if (clientes.vazio() || (clientes.campo(Campos::Cliente::IdCliente).texto() != cliente &&
                                 !clientes.localizar(Campos::Cliente::IdCliente, cliente)))
            return {};
        const Campo saldo = pedidos.campo(logica.variante().regras().guarda.colunaTotal);
        const Dinheiro total = saldoPrevisto ? *saldoPrevisto : saldo.nulo() ? Dinheiro() : saldo.dinheiro();
        return AvaliarCliente(total, clientes, LimiteAtraso(DM->QyConfiguracoes));
    } catch (const std::exception &) {
        return {};
    }
}
