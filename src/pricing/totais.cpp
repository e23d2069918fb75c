#include "totais.h"

#include "calculo_preco.h"
#include "campos_esquema.h"
#include "estado_pedido.h"
#include "regras_tipo_pedido.h"
#include "transacao.h"
#include "udm.h"

namespace
{

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

void recalcularItens(const RegrasTipoPedido &regras)
{
    const auto &totais = regras.totais;
    ConjuntoDados &itens = regras.guarda.listas.front().conjunto();
    ConjuntoDados &cabecalho = DM->QyPedido;
    editarCabecalho(cabecalho);

    const int valorTotal = itens.indiceCampoOuErro(Campos::Item::valorTotal);
    const int desconto = totais.colunaAcumulativo ? itens.indiceCampoOuErro(Campos::Item::desconto) : -1;
    const int vlGordura = itens.indiceCampoOuErro(Campos::Item::vl_gordura);
    Dinheiro total, acumulativo, gordura;
    for (itens.primeiro(); !itens.fim(); itens.proximo()) {
        total += itens.campo(valorTotal).dinheiro();
        if (totais.colunaAcumulativo)
            acumulativo += itens.campo(desconto).dinheiro();
        gordura += itens.campo(vlGordura).dinheiro();
    }
    if (totais.gorduraInteira)
        gordura = parteInteira(gordura);

    cabecalho.campo(regras.guarda.colunaTotal).setDinheiro(total);
    if (totais.colunaAcumulativo)
        cabecalho.campo(*totais.colunaAcumulativo).setDinheiro(acumulativo);
    cabecalho.campo(Campos::Pedido::vl_gordura).setDinheiro(gordura);
    cabecalho.gravar();
}

// The first list's sum less the second's (an exchange: replacements less returns).
void recalcularDiferenca(const RegrasTipoPedido &regras)
{
    const ListaDoTipo &soma = regras.guarda.listas[0];
    const ListaDoTipo &subtrai = regras.guarda.listas[1];
    if (soma.conjunto().emEdicao() || subtrai.conjunto().emEdicao())
        return;
    // The items and the header together, or nothing.
    Transacao transacao(DM->ADOConexao);
    const Dinheiro somado = PrecificarItensDaLista(regras.tipo, 0);
    const Dinheiro subtraido = PrecificarItensDaLista(regras.tipo, 1);

    ConjuntoDados &cabecalho = DM->QyPedido;
    editarCabecalho(cabecalho);
    cabecalho.campo(*subtrai.colunaSubtotal).setDinheiro(subtraido);
    cabecalho.campo(*soma.colunaSubtotal).setDinheiro(somado);
    cabecalho.campo(regras.guarda.colunaTotal).setDinheiro(somado - subtraido);
    cabecalho.gravar();
    transacao.confirmar();
}

} // namespace

void RecalcularTotais(TipoPedido tipo)
{
    const RegrasTipoPedido &regras = RegrasDoTipo(tipo);
    if (regras.totais.totalEhDiferenca)
        recalcularDiferenca(regras);
    else
        recalcularItens(regras);
}
