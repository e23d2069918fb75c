#include "negociacao_preco.h"

#include <gtest/gtest.h>

#include <set>

namespace
{

Dinheiro D(const char *texto)
{
    return Dinheiro::deTexto(QString::fromUtf8(texto));
}

std::array<QString, 3> codigos(const char *a, const char *b, const char *c)
{
    return {QString::fromLatin1(a), QString::fromLatin1(b), QString::fromLatin1(c)};
}

struct Caso {
    const char *nome;
    const char *alvo;
    double precoPromo;
    bool frete;
    const char *primeiroPreco; // "" when no line is expected
    std::array<QString, 3> primeirosCodigos;
    bool primeiroPiso;
    bool comMotivo;
};

EntradaPreco entrada(const Caso &caso)
{
    EntradaPreco e;
    e.precoVenda = D("10");
    e.precoPromo = caso.precoPromo;
    e.quantidade = D("3");
    e.cif = caso.frete ? QStringLiteral("Sim") : QStringLiteral("Não");
    e.dv = caso.frete ? 2 : 0;
    e.avista = caso.frete ? 1 : 0;
    e.codigos = codigos("0", "0", "0");
    e.gordura1 = QStringLiteral("0");
    return e;
}

// Every unit price some combination gives: the oracle the search must agree with.
std::set<Dinheiro> todosOsPrecos(EntradaPreco e)
{
    std::set<Dinheiro> precos;
    for (const QString &a : CodigosNegociaveis())
        for (const QString &b : CodigosNegociaveis())
            for (const QString &c : CodigosNegociaveis()) {
                e.codigos = {a, b, c};
                precos.insert(PrecificarItem(e).valorUnitario);
            }
    return precos;
}

TEST(NegociacaoPreco, AsLinhasSaoAsMaisProximasAcimaDoAlvoEBatemComAPrecificacao)
{
    const Caso casos[] = {
        {"alvo acima do preço", "12", 0, false, "", {}, false, true},
        {"alvo exato", "9", 0, false, "9", codigos("0", "0", "J"), false, false},
        {"alvo exato com frete, dv e à vista", "9,0462", 0, true, "9,0462", codigos("0", "0", "J"), false, false},
        {"entre dois preços", "8,95", 0, false, "", {}, false, false},
        {"abaixo de tudo", "1", 0, false, "4,0522", codigos("Z", "Z", "Z"), false, true},
        {"piso igual a um preço alcançável", "8", 9, false, "9", codigos("0", "0", "J"), true, true},
        {"alvo no piso", "9", 9, false, "9", codigos("0", "0", "J"), true, false},
        {"alvo logo abaixo do piso", "8,9999", 9, false, "9", codigos("0", "0", "J"), true, true},
        {"alvo logo acima do piso", "9,0001", 9, false, "", {}, false, false},
        {"piso vazio ou 0", "1", 0, true, "", {}, false, true},
        {"piso acima do preço de lista", "5", 11, false, "11", codigos("0", "0", "0"), true, true},
    };
    for (const Caso &caso : casos) {
        SCOPED_TRACE(caso.nome);
        const EntradaPreco e = entrada(caso);
        const Dinheiro alvo = D(caso.alvo);
        const ResultadoNegociacao r = NegociarPreco(e, alvo);

        const std::set<Dinheiro> precos = todosOsPrecos(e);
        std::vector<Dinheiro> esperados;
        for (auto it = precos.lower_bound(alvo); it != precos.end() && esperados.size() < kLinhasNegociacao; ++it)
            esperados.push_back(*it);
        std::vector<Dinheiro> obtidos;
        for (const LinhaNegociacao &linha : r.linhas)
            obtidos.push_back(linha.valorUnitario);
        EXPECT_EQ(obtidos, esperados);
        EXPECT_EQ(r.menor.valorUnitario, *precos.begin());
        EXPECT_EQ(r.motivo.isEmpty(), !caso.comMotivo) << r.motivo.toStdString();

        const Dinheiro piso = Dinheiro::deDouble(caso.precoPromo);
        for (const LinhaNegociacao &linha : r.linhas) {
            EntradaPreco comCodigos = e;
            comCodigos.codigos = linha.codigos;
            const ResultadoPreco preco = PrecificarItem(comCodigos);
            EXPECT_EQ(preco.valorUnitario, linha.valorUnitario);
            EXPECT_EQ(preco.valorTotal, linha.valorTotal);
            EXPECT_EQ(preco.limparCodigos, linha.piso);
            EXPECT_EQ(linha.reducao, e.precoVenda - linha.valorUnitario);
            EXPECT_GE(linha.valorUnitario, alvo);
            if (caso.precoPromo > 0) {
                EXPECT_GE(linha.valorUnitario, piso);
                EXPECT_EQ(linha.piso, linha.valorUnitario == piso);
            }
        }
        if (*caso.primeiroPreco) {
            ASSERT_FALSE(r.linhas.empty());
            EXPECT_EQ(r.linhas[0].valorUnitario, D(caso.primeiroPreco));
            EXPECT_EQ(r.linhas[0].codigos, caso.primeirosCodigos);
            EXPECT_EQ(r.linhas[0].piso, caso.primeiroPiso);
        }
    }
}

TEST(NegociacaoPreco, SemLinhasQuandoOPrecoSemDescontoJaEstaAbaixo)
{
    const Caso caso{"", "12", 0, false, "", {}, false, true};
    const ResultadoNegociacao r = NegociarPreco(entrada(caso), D("12"));
    EXPECT_TRUE(r.linhas.empty());
    EXPECT_TRUE(r.motivo.contains(QStringLiteral("10,00"))) << r.motivo.toStdString();
}

} // namespace
