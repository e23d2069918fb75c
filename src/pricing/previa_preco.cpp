#include "previa_preco.h"

#include "campos_esquema.h"
#include "entrada_preco.h"
#include "estado_pedido.h"
#include "regras_tipo_pedido.h"
#include "udm.h"

#include <vector>

namespace
{

// One row of an item list as saving would see it: the row being edited from
// its buffer, with the typed quantity; the others as stored.
struct LinhaItem {
    Registro registro;
    bool editada; // the row being edited or inserted
    bool atual;   // the list's current row
};

std::vector<LinhaItem> linhasDe(const ConjuntoDados &itens)
{
    std::vector<LinhaItem> linhas;
    if (!itens.ativo())
        return linhas;
    const int atual = itens.numeroRegistro() - 1;
    for (int p = 0; p < itens.quantidade(); ++p) {
        const bool editada = p == atual && itens.emEdicao();
        linhas.push_back(
            {editada ? Registro(&itens, ConjuntoDados::kLinhaAtual) : itens.registro(p), editada, p == atual});
    }
    return linhas;
}

// The inputs of a row whose product exists; none otherwise.
std::optional<EntradaPreco> entradaDe(TipoPedido tipo, const LinhaItem &linha, std::optional<Dinheiro> quantidade)
{
    if (!LocalizarProdutoDoItem(linha.registro))
        return std::nullopt;
    EntradaPreco e = LerEntradaPreco(tipo, linha.registro);
    if (linha.editada && quantidade)
        e.quantidade = *quantidade;
    return e;
}

Dinheiro totalGravado(const LinhaItem &linha)
{
    return linha.registro.campo(Campos::Item::valorTotal).dinheiro();
}

// Saving the item prices it once; saving the order prices every item again,
// so the item being edited is priced twice, the second time with what the
// first left (codes cleared by the floor, its new total).
ResultadoPreco precificarComoNaGravacao(EntradaPreco e, bool editada)
{
    ResultadoPreco r = PrecificarItem(e);
    if (!editada)
        return r;
    if (r.limparCodigos)
        e.codigos = {};
    e.valorTotal = r.valorTotal;
    return PrecificarItem(e);
}

Dinheiro somaReprecificada(TipoPedido tipo, const ConjuntoDados &itens, std::optional<Dinheiro> quantidade)
{
    Dinheiro soma;
    for (const LinhaItem &linha : linhasDe(itens)) {
        const std::optional<EntradaPreco> e = entradaDe(tipo, linha, quantidade);
        soma += e ? precificarComoNaGravacao(*e, linha.editada).valorTotal : totalGravado(linha);
    }
    return soma;
}

// A package's common price: every item priced with the first item's codes,
// then the quantity-weighted average of those whose product exists.
struct MediaPacote {
    std::optional<double> media;
    // Each row's own pricing, none where its product is unknown.
    std::vector<std::optional<ResultadoPreco>> precos;
    // The steps of the current row's own pricing.
    PassosPreco passosDoAtual;
};

MediaPacote mediaPacote(TipoPedido tipo, const std::vector<LinhaItem> &linhas, std::optional<Dinheiro> quantidade)
{
    MediaPacote m;
    std::array<QString, 3> codigosDoPrimeiro;
    for (int c = 0; !linhas.empty() && c < 3; ++c)
        codigosDoPrimeiro[c] = linhas.front().registro.campo(Campos::Item::cd_desconto[c]).texto();
    SomaPacote soma;
    for (const LinhaItem &linha : linhas) {
        std::optional<EntradaPreco> e = entradaDe(tipo, linha, quantidade);
        if (!e) {
            m.precos.emplace_back();
            continue;
        }
        e->codigos = codigosDoPrimeiro;
        const ResultadoPreco r = PrecificarItem(*e, linha.atual ? &m.passosDoAtual : nullptr);
        soma.adicionar(e->quantidade, r.valorUnitario);
        m.precos.push_back(r);
    }
    m.media = soma.media();
    return m;
}

Dinheiro quantidadeDe(const LinhaItem &linha, std::optional<Dinheiro> quantidade)
{
    return linha.editada && quantidade ? *quantidade : linha.registro.campo(Campos::Item::quantidade).dinheiro();
}

std::optional<PreviaItem> previaPacote(TipoPedido tipo, ConjuntoDados &itens, std::optional<Dinheiro> quantidade)
{
    const std::vector<LinhaItem> linhas = linhasDe(itens);
    const MediaPacote m = mediaPacote(tipo, linhas, quantidade);
    for (std::size_t i = 0; i < linhas.size(); ++i) {
        if (!linhas[i].atual || !m.precos[i])
            continue;
        PreviaItem previa{m.precos[i]->valorUnitario, m.precos[i]->valorTotal, m.passosDoAtual};
        if (m.media) {
            PrecoMedio medio = PrecoPelaMedia(*m.media, quantidadeDe(linhas[i], quantidade));
            previa.valorUnitario = medio.valorUnitario;
            previa.valorTotal = medio.valorTotal;
            previa.passos.insert(previa.passos.end(), medio.passos.begin(), medio.passos.end());
        }
        return previa;
    }
    return std::nullopt;
}

Dinheiro saldoPacote(TipoPedido tipo, std::optional<Dinheiro> quantidade)
{
    const std::vector<LinhaItem> linhas = linhasDe(ItensDoPedido(tipo));
    const MediaPacote m = mediaPacote(tipo, linhas, quantidade);
    Dinheiro soma;
    for (std::size_t i = 0; i < linhas.size(); ++i) {
        if (m.media)
            soma += PrecoPelaMedia(*m.media, quantidadeDe(linhas[i], quantidade)).valorTotal;
        else
            soma += m.precos[i] ? m.precos[i]->valorTotal : totalGravado(linhas[i]);
    }
    return soma;
}

} // namespace

std::optional<PreviaItem> PreverPrecoItem(TipoPedido tipo, ConjuntoDados &itens, std::optional<Dinheiro> quantidade)
{
    if (!itens.ativo() || (itens.vazio() && !itens.emEdicao()))
        return std::nullopt;
    if (RegrasDoTipo(tipo).precos.precoMedio)
        return previaPacote(tipo, itens, quantidade);
    const LinhaItem atual{Registro(&itens, ConjuntoDados::kLinhaAtual), itens.emEdicao(), true};
    const std::optional<EntradaPreco> e = entradaDe(tipo, atual, quantidade);
    if (!e)
        return std::nullopt;
    PassosPreco passos;
    const ResultadoPreco r = PrecificarItem(*e, &passos);
    return PreviaItem{r.valorUnitario, r.valorTotal, std::move(passos)};
}

Dinheiro PreverSaldo(TipoPedido tipo, std::optional<Dinheiro> quantidade)
{
    const RegrasTipoPedido &regras = RegrasDoTipo(tipo);
    if (regras.precos.precoMedio)
        return saldoPacote(tipo, quantidade);
    if (regras.totais.totalEhDiferenca) {
        // Only the list being edited takes the typed quantity.
        const ConjuntoDados &soma = ItensDoPedido(tipo, 0);
        const ConjuntoDados &subtrai = ItensDoPedido(tipo, 1);
        return somaReprecificada(tipo, soma, soma.emEdicao() ? quantidade : std::nullopt) -
               somaReprecificada(tipo, subtrai, subtrai.emEdicao() ? quantidade : std::nullopt);
    }
    return somaReprecificada(tipo, ItensDoPedido(tipo), quantidade);
}
