#include "variante_pedido.h"

const VariantePedido &VariantePedidoRegular()
{
    static const VariantePedido variante{
        .tipo = TipoPedido::Pedido,
        .titulo = "Corlando - Pedido",
        .campoSaldo = "vl_total_item",
        .cifNaoAoInserir = true,
        .verificaMultiplo = true,
        .verificaEstoque = true,
        .importaPendencia = true,
        .colorePainel = true,
        .cores = CoresGrade::PorEstoque,
        .fimPerguntaExcluir = " ?",
        .inicioPerguntaFechar = "O pedido (",
        .pesquisaPedido = {"tbpedido LEFT JOIN tbcliente ON tbpedido.idcliente=tbcliente.idcliente where "
                           "tbpedido.vl_total_item >= 0 order by tbpedido.nr_pedido desc",
                           "fantasia, nr_pedido, dt_pedido, vl_total_item", "nr_pedido"},
        .pesquisaCliente = {"tbcliente order by idcliente", "nome, cnpj, idcliente", "idcliente"},
        .pesquisaProduto = {"tbproduto order by produto", "codigo, produto, precovenda, estoque", "codigo"},
    };
    return variante;
}
