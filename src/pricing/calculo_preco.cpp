#include "calculo_preco.h"

#include "campos_esquema.h"
#include "entrada_preco.h"
#include "estado_pedido.h"
#include "precificacao.h"
#include "transacao.h"
#include "udm.h"

namespace
{

// Locates the current item's product; false when the item has no code or the
// code is unknown.
bool localizarProduto(ConjuntoDados &itens)
{
    return LocalizarProdutoDoItem(Registro(&itens, ConjuntoDados::kLinhaAtual));
}

EntradaPreco lerEntrada(ConjuntoDados &itens, TipoPedido tipo)
{
    return LerEntradaPreco(tipo, Registro(&itens, ConjuntoDados::kLinhaAtual));
}

void gravarResultado(ConjuntoDados &itens, const ResultadoPreco &r)
{
    itens.campo(Campos::Item::valorUnitario).setDinheiro(r.valorUnitario);
    if (r.vlGordura)
        itens.campo(Campos::Item::vl_gordura).setDinheiro(*r.vlGordura);
    if (r.desconto)
        itens.campo(Campos::Item::desconto).setDinheiro(*r.desconto);
    if (r.limparCodigos) {
        for (const NomeCampo &codigo : Campos::Item::cd_desconto)
            itens.campo(codigo).limpar();
    }
    itens.campo(Campos::Item::valorTotal).setDinheiro(r.valorTotal);
}

void precificarAtual(ConjuntoDados &itens, TipoPedido tipo)
{
    if (!itens.emEdicao() || !localizarProduto(itens))
        return;
    gravarResultado(itens, PrecificarItem(lerEntrada(itens, tipo)));
}

} // namespace

void CalcularPrecoItem(TipoPedido tipo, int lista)
{
    precificarAtual(ItensDoPedido(tipo, lista), tipo);
}

namespace
{

void igualarCodigos(ConjuntoDados &itens, const std::array<QString, 3> &codigos)
{
    for (int i = 0; i < 3; ++i) {
        Campo campo = itens.campo(Campos::Item::cd_desconto[i]);
        if (campo.texto() == codigos[i])
            continue;
        if (codigos[i].isEmpty())
            campo.limpar();
        else
            campo.setTexto(codigos[i]);
    }
}

void reprecificarComCodigosDoPrimeiro(ConjuntoDados &itens, TipoPedido tipo)
{
    itens.primeiro();
    std::array<QString, 3> codigos;
    for (int i = 0; i < 3; ++i)
        codigos[i] = itens.campo(Campos::Item::cd_desconto[i]).texto();
    for (; !itens.fim(); itens.proximo()) {
        itens.editar();
        igualarCodigos(itens, codigos);
        if (localizarProduto(itens))
            itens.campo(Campos::Item::valorUnitario)
                .setDinheiro(DM->QyProduto.campo(Campos::Produto::PRECOVENDA).dinheiro());
        precificarAtual(itens, tipo);
        itens.gravar();
    }
}

std::optional<double> mediaDosItens(ConjuntoDados &itens)
{
    SomaPacote soma;
    for (itens.primeiro(); !itens.fim(); itens.proximo()) {
        if (localizarProduto(itens))
            soma.adicionar(itens.campo(Campos::Item::quantidade).dinheiro(),
                           itens.campo(Campos::Item::valorUnitario).dinheiro());
    }
    return soma.media();
}

void aplicarMedia(ConjuntoDados &itens, double media)
{
    for (itens.primeiro(); !itens.fim(); itens.proximo()) {
        itens.editar();
        const PrecoMedio preco = PrecoPelaMedia(media, itens.campo(Campos::Item::quantidade).dinheiro());
        itens.campo(Campos::Item::valorUnitario).setDinheiro(preco.valorUnitario);
        itens.campo(Campos::Item::valorTotal).setDinheiro(preco.valorTotal);
        itens.gravar();
    }
}

} // namespace

void AplicarPrecoMedio(TipoPedido tipo)
{
    ConjuntoDados &itens = ItensDoPedido(tipo);
    // All items or none: a failure halfway would leave an order priced two ways.
    Transacao transacao(DM->ADOConexao);
    reprecificarComCodigosDoPrimeiro(itens, tipo);
    if (const std::optional<double> media = mediaDosItens(itens))
        aplicarMedia(itens, *media);
    transacao.confirmar();
}
