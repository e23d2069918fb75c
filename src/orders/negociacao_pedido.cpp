#include "negociacao_pedido.h"

#include "explicacao_preco.h"

namespace
{

QString S(const char *texto)
{
    return QString::fromUtf8(texto);
}

} // namespace

TabelaDialogo TabelaNegociacao(const ResultadoNegociacao &r, Dinheiro alvo, Dinheiro precoProduto)
{
    TabelaDialogo t;
    t.titulo = S("Negociar preço");
    t.introducao = S("Preço pedido: R$ %1. Preço do produto: R$ %2. As combinações de códigos de desconto mais "
                     "próximas do preço pedido, sem ficar abaixo dele:")
                       .arg(alvo.exibicao(), precoProduto.exibicao());
    t.colunas = QStringList{S("Códigos"), S("Unitário"), S("Total"), S("Redução"), S("Observação")};
    for (const LinhaNegociacao &l : r.linhas)
        t.linhas << QStringList{l.codigos[0] + S(" ") + l.codigos[1] + S(" ") + l.codigos[2],
                                QuatroCasas(l.valorUnitario), l.valorTotal.exibicao(), QuatroCasas(l.reducao),
                                l.piso ? S("Piso promocional: os códigos são apagados") : QString()};
    t.observacao = r.motivo;
    return t;
}
