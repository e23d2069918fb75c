#include "totais.h"

#include "calculo_preco.h"
#include "estado_pedido.h"
#include "transacao.h"
#include "udm.h"

#include <stdexcept>

namespace
{

// The header columns a kind owns; a null column is one it does not have.
struct ColunasTotais {
    const char *total;
    const char *acumulativo;
    bool gorduraInteira;
};

ColunasTotais colunasDe(TipoPedido tipo)
{
    switch (tipo) {
    case TipoPedido::Pacote:
        return {"vl_total_pacote", "vl_acumulativo_pacote", false};
    case TipoPedido::VendaCasada:
        return {"vl_total_venda_casada", nullptr, false};
    case TipoPedido::Pedido:
        return {"vl_total_item", "vl_acumulativo_pedido", true};
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
        total += itens.campo(QStringLiteral("valorTotal")).dinheiro();
        if (colunas.acumulativo)
            acumulativo += itens.campo(QStringLiteral("desconto")).dinheiro();
        gordura += itens.campo(QStringLiteral("vl_gordura")).dinheiro();
    }
    if (colunas.gorduraInteira)
        gordura = parteInteira(gordura);

    cabecalho.campo(QLatin1String(colunas.total)).setDinheiro(total);
    if (colunas.acumulativo)
        cabecalho.campo(QLatin1String(colunas.acumulativo)).setDinheiro(acumulativo);
    cabecalho.campo(QStringLiteral("vl_gordura")).setDinheiro(gordura);
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
        total += itens.campo(QStringLiteral("valorTotal")).dinheiro();
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
    cabecalho.campo(QStringLiteral("vl_total_troca1")).setDinheiro(devolucao);
    cabecalho.campo(QStringLiteral("vl_total_troca2")).setDinheiro(substituicao);
    cabecalho.campo(QStringLiteral("vl_diferenca_troca")).setDinheiro(substituicao - devolucao);
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
