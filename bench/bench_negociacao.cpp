// The price negotiation's search against its floor: one PrecificarItem call
// times the number of combinations it tries, on the same item, in the same run.

#include "banco_bench.h"
#include "negociacao_preco.h"

#include <cstdio>

namespace
{

EntradaPreco itemDeExemplo()
{
    EntradaPreco e;
    e.precoVenda = Dinheiro::deTexto(QStringLiteral("37,90"));
    e.precoPromo = 24.5;
    e.cif = QStringLiteral("Sim");
    e.dv = 2;
    e.avista = 1;
    e.codigos = {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")};
    e.gordura1 = QStringLiteral("0");
    e.valorTotal = Dinheiro::deTexto(QStringLiteral("379"));
    e.quantidade = Dinheiro::deTexto(QStringLiteral("12"));
    return e;
}

} // namespace

int main()
{
    constexpr int kRepeticoes = 7;
    const EntradaPreco item = itemDeExemplo();
    const std::size_t n = CodigosNegociaveis().size();
    const std::size_t combinacoes = n * n * n;
    std::size_t linhas = 0;

    // Targets above the list price, in the middle, at the floor and below it.
    const char *alvos[] = {"40", "33,33", "30", "27,1", "24,5", "10"};
    std::printf("Negociar preço: %zu combinações por busca, %d repetições\n", combinacoes, kRepeticoes);
    double busca = 0, piso = 0;
    for (const char *alvo : alvos) {
        const Dinheiro valor = Dinheiro::deTexto(QString::fromLatin1(alvo));
        const Amostras a = amostrar(kRepeticoes, [&] { linhas += NegociarPreco(item, valor).linhas.size(); });
        std::printf("  alvo %-6s busca:   %s\n", alvo, qPrintable(a.texto()));
        busca = std::max(busca, a.cpuMediana());
    }
    EntradaPreco e = item;
    const Amostras f = amostrar(kRepeticoes, [&] {
        for (std::size_t i = 0; i < combinacoes; ++i) {
            e.codigos[i % 3] = CodigosNegociaveis()[i % n];
            linhas += PrecificarItem(e).valorUnitario.escalado() & 1;
        }
    });
    piso = f.cpuMediana();
    std::printf("  piso: %zu x PrecificarItem: %s\n", combinacoes, qPrintable(f.texto()));
    std::printf("  razão (pior busca / piso, CPU mediana): %.2f\n", piso > 0 ? busca / piso : 0.0);
    std::printf("  (%zu linhas no total, só para o compilador não descartar o trabalho)\n", linhas);
    return 0;
}
