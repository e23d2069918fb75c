#include "negociacao_preco.h"

#include "codigos_desconto.h"

#include <map>

namespace
{

int quantosCodigos(const std::array<QString, 3> &codigos)
{
    int n = 0;
    for (const QString &c : codigos)
        n += c != QLatin1String("0");
    return n;
}

// Fewer codes first, then the codes' text: "0 0 A" before "A 0 0" before "A A 0".
bool preferivel(const std::array<QString, 3> &a, const std::array<QString, 3> &b)
{
    const int na = quantosCodigos(a), nb = quantosCodigos(b);
    return na != nb ? na < nb : a < b;
}

void guardarPreferivel(std::map<Dinheiro, LinhaNegociacao> &linhas, const LinhaNegociacao &linha)
{
    auto [it, novo] = linhas.try_emplace(linha.valorUnitario, linha);
    if (!novo && preferivel(linha.codigos, it->second.codigos))
        it->second = linha;
}

QString textoCodigos(const std::array<QString, 3> &codigos)
{
    return codigos[0] + QLatin1Char(' ') + codigos[1] + QLatin1Char(' ') + codigos[2];
}

QString motivo(const ResultadoNegociacao &r, Dinheiro alvo, Dinheiro semDesconto)
{
    if (r.linhas.empty())
        return QStringLiteral("Sem desconto o item já custa R$ %1, abaixo do preço pedido.")
            .arg(semDesconto.exibicao());
    if (r.menor.valorUnitario <= alvo)
        return {};
    if (r.menor.piso)
        return QStringLiteral("O preço promocional de R$ %1 é o piso: abaixo dele os códigos são apagados.")
            .arg(r.menor.valorUnitario.exibicao());
    return QStringLiteral("O menor preço com três códigos é R$ %1 (%2).")
        .arg(r.menor.valorUnitario.exibicao(), textoCodigos(r.menor.codigos));
}

} // namespace

const std::vector<QString> &CodigosNegociaveis()
{
    static const std::vector<QString> codigos = [] {
        std::vector<QString> v{QStringLiteral("0")};
        for (const CodigoDesconto &c : CodigosDesconto())
            v.push_back(QString(QLatin1Char(c.codigo)));
        return v;
    }();
    return codigos;
}

ResultadoNegociacao NegociarPreco(const EntradaPreco &item, Dinheiro alvo)
{
    const std::vector<QString> &codigos = CodigosNegociaveis();
    EntradaPreco entrada = item;
    std::map<Dinheiro, LinhaNegociacao> acima; // only the closest few are kept
    ResultadoNegociacao r;
    bool primeiro = true;
    Dinheiro semDesconto;
    for (const QString &c1 : codigos)
        for (const QString &c2 : codigos)
            for (const QString &c3 : codigos) {
                entrada.codigos = {c1, c2, c3};
                const ResultadoPreco preco = PrecificarItem(entrada);
                const LinhaNegociacao linha{entrada.codigos, preco.valorUnitario, preco.valorTotal,
                                            item.precoVenda - preco.valorUnitario, preco.limparCodigos};
                if (primeiro)
                    semDesconto = linha.valorUnitario; // "0 0 0" comes first
                if (primeiro || linha.valorUnitario < r.menor.valorUnitario ||
                    (linha.valorUnitario == r.menor.valorUnitario && preferivel(linha.codigos, r.menor.codigos)))
                    r.menor = linha;
                primeiro = false;
                if (linha.valorUnitario < alvo)
                    continue;
                guardarPreferivel(acima, linha);
                if (acima.size() > kLinhasNegociacao)
                    acima.erase(std::prev(acima.end()));
            }
    for (const auto &[preco, linha] : acima)
        r.linhas.push_back(linha);
    r.motivo = motivo(r, alvo, semDesconto);
    return r;
}
