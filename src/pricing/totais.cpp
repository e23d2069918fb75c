#include "totais.h"

#include "calculo_preco.h"
#include "campos_esquema.h"
#include "estado_pedido.h"
#include "transacao.h"
#include "udm.h"

#include <optional>
#include <stdexcept>

namespace
{

// The header columns a kind owns; a null column is one it does not have.
struct ColunasTotais {
    NomeCampo total;
    std::optional<NomeCampo> acumulativo;
    bool gorduraInteira;
};

ColunasTotais colunasDe(TipoPedido tipo)
{
    switch (tipo) {
    case TipoPedido::Pacote:
        return {Campos::Pedido::vl_total_pacote, Campos::Pedido::vl_acumulativo_pacote, false};
    case TipoPedido::VendaCasada:
        return {Campos::Pedido::vl_total_venda_casada, std::nullopt, false};
    case TipoPedido::Pedido:
        return {Campos::Pedido::vl_total_item, Campos::Pedido::vl_acumulativo_pedido, true};
    case TipoPedido::Troca:
        break;
    }
    throw std::invalid_argument("an exchange totals both item lists");
}

Dinheiro parteInteira(Dinheiro valor)
{
    // Integer division cuts toward zero.
    return Dinheiro::deEscalado(valor.escalado() / Dinheiro::Escala * Dinheiro::Escala);
}

void editarCabecalho(ConjuntoDados &cabecalho)
{
    if (!cabecalho.emEdicao())
        cabecalho.editar();
}

void recalcularItens(TipoPedido tipo)
{
    const ColunasTotais colunas = colunasDe(tipo);
    ConjuntoDados &itens = ItensDoPedido(tipo);
    ConjuntoDados &cabecalho = DM->QyPedido;
    editarCabecalho(cabecalho);

    Dinheiro total, acumulativo, gordura;
    for (itens.primeiro(); !itens.fim(); itens.proximo()) {
        total += itens.campo(Campos::Item::valorTotal).dinheiro();
        if (colunas.acumulativo)
            acumulativo += itens.campo(Campos::Item::desconto).dinheiro();
        gordura += itens.campo(Campos::Item::vl_gordura).dinheiro();
    }
    if (colunas.gorduraInteira)
        gordura = parteInteira(gordura);

    cabecalho.campo(colunas.total).setDinheiro(total);
    if (colunas.acumulativo)
        cabecalho.campo(*colunas.acumulativo).setDinheiro(acumulativo);
    cabecalho.campo(Campos::Pedido::vl_gordura).setDinheiro(gordura);
    cabecalho.gravar();
}

// Edits, prices and stores every item of an exchange list; returns their total.
Dinheiro precificarLista(ConjuntoDados &itens, void (*precificar)())
{
    Dinheiro total;
    for (itens.primeiro(); !itens.fim(); itens.proximo()) {
        itens.editar();
        precificar();
        itens.gravar();
        total += itens.campo(Campos::Item::valorTotal).dinheiro();
    }
    return total;
}

void recalcularTroca()
{
    if (DM->QyTrocaSub.emEdicao() || DM->QyTrocaDev.emEdicao())
        return;
    // The items and the header together, or nothing.
    Transacao transacao(DM->ADOConexao);
    const Dinheiro substituicao = precificarLista(DM->QyTrocaSub, CalcularPrecoTrocaSub);
    const Dinheiro devolucao = precificarLista(DM->QyTrocaDev, CalcularPrecoTrocaDev);

    ConjuntoDados &cabecalho = DM->QyPedido;
    editarCabecalho(cabecalho);
    cabecalho.campo(Campos::Pedido::vl_total_troca1).setDinheiro(devolucao);
    cabecalho.campo(Campos::Pedido::vl_total_troca2).setDinheiro(substituicao);
    cabecalho.campo(Campos::Pedido::vl_diferenca_troca).setDinheiro(substituicao - devolucao);
    cabecalho.gravar();
    transacao.confirmar();
}

} // namespace

void RecalcularTotais(TipoPedido tipo)
{
    if (tipo == TipoPedido::Troca)
        recalcularTroca();
    else
        recalcularItens(tipo);
}
