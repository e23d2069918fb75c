#include "calculo_preco.h"

#include "campos_esquema.h"
#include "entrada_preco.h"
#include "estado_pedido.h"
#include "precificacao.h"
#include "regras_tipo_pedido.h"
#include "transacao.h"
#include "udm.h"

#include <optional>
#include <vector>

namespace
{

// Locates the current item's product; false when the item has no code or the
// code is unknown.
bool localizarProduto(ConjuntoDados &itens)
{
    return LocalizarProdutoDoItem(Registro(&itens, ConjuntoDados::kLinhaAtual));
}

// Where the pricing writes in an item list, found once for the list.
class EscritorPreco
{
  public:
    EscritorPreco(TipoPedido tipo, const ConjuntoDados &itens)
        : m_valorUnitario(itens.indiceCampoOuErro(Campos::Item::valorUnitario)),
          m_valorTotal(itens.indiceCampoOuErro(Campos::Item::valorTotal))
    {
        const auto &regras = RegrasDoTipo(tipo).precos;
        if (regras.freteECodigos)
            m_vlGordura = itens.indiceCampoOuErro(Campos::Item::vl_gordura);
        if (regras.descontoPelaGordura)
            m_desconto = itens.indiceCampoOuErro(Campos::Item::desconto);
        if (regras.pisoPromocional)
            for (int i = 0; i < 3; ++i)
                m_codigos[i] = itens.indiceCampoOuErro(Campos::Item::cd_desconto[i]);
    }

    // Into the row being edited.
    void gravar(ConjuntoDados &itens, const ResultadoPreco &r) const
    {
        itens.campo(m_valorUnitario).setDinheiro(r.valorUnitario);
        if (r.vlGordura)
            itens.campo(m_vlGordura).setDinheiro(*r.vlGordura);
        if (r.desconto)
            itens.campo(m_desconto).setDinheiro(*r.desconto);
        if (r.limparCodigos)
            for (const int codigo : m_codigos)
                itens.campo(codigo).limpar();
        itens.campo(m_valorTotal).setDinheiro(r.valorTotal);
    }

  private:
    int m_valorUnitario, m_valorTotal, m_vlGordura = -1, m_desconto = -1;
    std::array<int, 3> m_codigos{-1, -1, -1};
};

void precificarAtual(ConjuntoDados &itens, TipoPedido tipo)
{
    if (!itens.emEdicao() || !localizarProduto(itens))
        return;
    const EntradaPreco entrada = LerEntradaPreco(tipo, Registro(&itens, ConjuntoDados::kLinhaAtual));
    EscritorPreco(tipo, itens).gravar(itens, PrecificarItem(entrada));
}

// The prices of each item's product, in the list's order; none where the
// item has no code or the code is unknown. The products are found all at
// once, and their prices read in one pass, rather than item by item between
// the writes: on a large catalogue each is a wait on memory, and together
// they overlap. Also the position of the last item's product found.
std::vector<std::optional<PrecosProduto>> precosDosProdutos(const LeitorEntradaPreco &leitor, int &ultimo)
{
    const ConjuntoDados &produtos = DM->QyProduto;
    const std::vector<int> posicoes = produtos.posicoes(Campos::Produto::CODIGO, leitor.codigos());
    std::vector<std::optional<PrecosProduto>> precos(posicoes.size());
    for (std::size_t i = 0; i < posicoes.size(); ++i)
        if (posicoes[i] >= 0) {
            precos[i] = leitor.precos(produtos.registro(posicoes[i]));
            ultimo = posicoes[i];
        }
    return precos;
}

} // namespace

void CalcularPrecoItem(TipoPedido tipo, int lista)
{
    precificarAtual(ItensDoPedido(tipo, lista), tipo);
}

Dinheiro PrecificarItensDaLista(TipoPedido tipo, int lista)
{
    ConjuntoDados &itens = ItensDoPedido(tipo, lista);
    const LeitorEntradaPreco leitor(tipo, itens);
    const EscritorPreco escritor(tipo, itens);
    const int valorTotal = itens.indiceCampoOuErro(Campos::Item::valorTotal);
    int ultimo = -1;
    const std::vector<std::optional<PrecosProduto>> precos = precosDosProdutos(leitor, ultimo);
    Dinheiro total;
    for (itens.primeiro(); !itens.fim(); itens.proximo()) {
        const std::optional<PrecosProduto> &produto = precos[static_cast<std::size_t>(itens.numeroRegistro() - 1)];
        itens.editar();
        if (produto)
            escritor.gravar(itens, PrecificarItem(leitor.ler(Registro(&itens, ConjuntoDados::kLinhaAtual), *produto)));
        itens.gravar();
        total += itens.campo(valorTotal).dinheiro();
    }
    // Where pricing item by item leaves the product list.
    if (ultimo >= 0)
        DM->QyProduto.irParaRegistro(ultimo + 1);
    return total;
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
