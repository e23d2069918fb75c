#include "previa_pedido.h"

#include "campos_esquema.h"
#include "erro.h"
#include "explicacao_preco.h"
#include "previa_preco.h"
#include "udm.h"

namespace
{

QString S(const char *texto)
{
    return QString::fromUtf8(texto);
}

QString observacao(const ConjuntoDados &itens, const PreviaItem &previa)
{
    if (itens.emEdicao())
        return S("O item ainda não foi salvo: estes são os valores que a gravação do item vai guardar.");
    const Dinheiro gravado = itens.campo(Campos::Item::valorUnitario).dinheiro();
    if (gravado == previa.valorUnitario)
        return {};
    return S("O preço unitário gravado é %1; salvar o pedido agora o levaria a %2, porque o produto, o "
             "cabeçalho ou os códigos do item mudaram desde que ele foi gravado.")
        .arg(QuatroCasas(gravado), QuatroCasas(previa.valorUnitario));
}

} // namespace

std::optional<Dinheiro> QuantidadeDigitada(const std::optional<QString> &texto)
{
    if (!texto || texto->trimmed().isEmpty())
        return std::nullopt;
    try {
        return Dinheiro::deTexto(*texto);
    } catch (const Erro &) {
        return std::nullopt;
    }
}

PreviaTela CalcularPreviaTela(const VariantePedido &variante, ConjuntoDados &itens, std::optional<Dinheiro> quantidade)
{
    PreviaTela previa;
    if (itens.emEdicao())
        if (const std::optional<PreviaItem> item = PreverPrecoItem(variante.tipo, itens, quantidade)) {
            previa.valorUnitario = item->valorUnitario;
            previa.valorTotal = item->valorTotal;
        }
    if (itens.emEdicao() || DM->QyPedido.emEdicao())
        previa.saldo = PreverSaldo(variante.tipo, quantidade);
    return previa;
}

std::optional<TabelaDialogo> ExplicacaoDoItem(const VariantePedido &variante, ConjuntoDados &itens,
                                              std::optional<Dinheiro> quantidade)
{
    const std::optional<PreviaItem> previa = PreverPrecoItem(variante.tipo, itens, quantidade);
    if (!previa)
        return std::nullopt;
    TabelaDialogo t;
    t.titulo = S("Como o preço foi calculado");
    t.introducao =
        S("Item %1 – %2. Cada etapa multiplica pelo fator e arredonda o resultado a quatro casas "
          "decimais (a metade exata vai para o número par). Preço unitário: %3.")
            .arg(itens.campo(Campos::Item::codigo).texto(), itens.campo(Campos::Item::item_descricao).texto(),
                 QuatroCasas(UnitarioDosPassos(previa->passos)));
    t.colunas = QStringList{S("Etapa"), S("Fator"), S("Resultado")};
    t.linhas = ExplicarPassos(previa->passos);
    t.observacao = observacao(itens, *previa);
    return t;
}
