#include "codigos_desconto.h"
#include "erro.h"
#include "impressao_qt.h"
#include "precificacao.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>

namespace
{

Dinheiro D(const char *texto)
{
    return Dinheiro::deTexto(QString::fromUtf8(texto));
}

// A regular-order item with no surcharge, no discounts and no gordura code.
EntradaPreco item(const char *precoVenda, const char *quantidade, TipoPedido tipo = TipoPedido::Pedido)
{
    EntradaPreco e;
    e.tipo = tipo;
    e.precoVenda = D(precoVenda);
    e.quantidade = D(quantidade);
    e.cif = QStringLiteral("Não");
    e.codigos = {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")};
    e.gordura1 = QStringLiteral("0");
    return e;
}

TEST(CodigosDesconto, FatorEhODoubleMaisProximoDoDecimal)
{
    // Read from the decimal text, so a wrong literal or a factor computed as
    // 1.0 - p / 100.0 (a different last bit for G and R) shows up.
    char esperado = 'A';
    for (const CodigoDesconto &c : CodigosDesconto()) {
        EXPECT_EQ(c.codigo, esperado++);
        const long centesimos = std::lround(c.percentual * 100);
        const std::string decimal = "0." + std::to_string(10000 - centesimos);
        EXPECT_EQ(c.fator, std::strtod(decimal.c_str(), nullptr)) << c.codigo;
        EXPECT_EQ(FatorReducao(QString(QLatin1Char(c.codigo))), c.fator);
    }
    EXPECT_EQ(esperado, 'Z' + 1);
    EXPECT_NE(FatorReducao(QStringLiteral("G")), 1.0 - 7.0 / 100.0);
}

TEST(CodigosDesconto, SoALetraMaiusculaExataTemFator)
{
    for (const char *codigo : {"a", "0", "", " ", "AB", "A ", "[", "@", "z", "Á"})
        EXPECT_EQ(FatorReducao(QString::fromUtf8(codigo)), 1.0) << codigo;
    EXPECT_LT(FatorReducao(QStringLiteral("R")), FatorReducao(QStringLiteral("S")));
}

TEST(CodigosDesconto, FatoresDoCabecalho)
{
    struct Caso {
        TipoPedido tipo;
        int nivel;
        long double dv, avista;
    } casos[] = {
        {TipoPedido::Pedido, 0, 1.0L, 1.0L},      {TipoPedido::Pedido, 1, 0.99L, 0.99L},
        {TipoPedido::Pedido, 5, 0.95L, 0.95L},    {TipoPedido::Pedido, 6, 0.995L, 1.0L},
        {TipoPedido::VendaCasada, 6, 1.0L, 1.0L}, {TipoPedido::Pacote, 6, 1.0L, 1.0L},
        {TipoPedido::Troca, 6, 1.0L, 1.0L},       {TipoPedido::Troca, 3, 0.97L, 0.97L},
        {TipoPedido::Pedido, 7, 1.0L, 1.0L},      {TipoPedido::Pedido, -1, 1.0L, 1.0L},
    };
    for (const Caso &c : casos) {
        EXPECT_EQ(FatorDv(c.tipo, c.nivel), c.dv) << c.nivel;
        EXPECT_EQ(FatorAvista(c.nivel), c.avista) << c.nivel;
    }
}

// One row per step of the first worked example: each row adds one input.
TEST(PrecificarItem, PrimeiroExemploPassoAPasso)
{
    struct Caso {
        const char *cif;
        int dv;
        const char *codigo1;
        const char *unitario, *total;
    } casos[] = {
        {"Não", 0, "0", "10", "100"},
        {"Sim", 0, "0", "10,36", "103,6"},
        {"Sim", 1, "0", "10,2564", "102,564"},
        {"Sim", 1, "A", "10,1538", "101,538"}, // 10.153836
    };
    for (const Caso &c : casos) {
        EntradaPreco e = item("10", "10");
        e.cif = QString::fromUtf8(c.cif);
        e.dv = c.dv;
        e.codigos[0] = QString::fromUtf8(c.codigo1);
        const ResultadoPreco r = PrecificarItem(e);
        EXPECT_EQ(r.valorUnitario, D(c.unitario)) << c.unitario;
        EXPECT_EQ(r.valorTotal, D(c.total)) << c.unitario;
        EXPECT_EQ(r.vlGordura, D("0"));
        EXPECT_FALSE(r.limparCodigos);
        EXPECT_FALSE(r.desconto.has_value());
    }
}

TEST(PrecificarItem, GorduraUsaOTotalDaPrecificacaoAnterior)
{
    EntradaPreco e = item("10", "10");
    e.cif = QStringLiteral("Sim");
    e.dv = 1;
    e.codigos[0] = QStringLiteral("A");
    e.gordura1 = QStringLiteral("E");
    // A new item has no total yet: its first pricing gives 0 whatever the code.
    ResultadoPreco r = PrecificarItem(e);
    EXPECT_EQ(r.vlGordura, D("0"));
    EXPECT_EQ(r.valorTotal, D("101,538"));

    e.valorTotal = r.valorTotal; // T * 0.05 = 5.0769, * 0.74 = 3.756906
    r = PrecificarItem(e);
    EXPECT_EQ(r.vlGordura, D("3,7569"));
    EXPECT_EQ(r.valorTotal, D("101,538"));
    EXPECT_FALSE(r.desconto.has_value()); // only the package writes desconto

    // Rounded after T - T*g and again after * 0.74: 0.001 - 0.00095 is
    // 0.00005, a tie the factor's binary value pushes up to 0.0001, and
    // 0.0001 * 0.74 rounds back to 0.0001. One final rounding would give 0.
    e.valorTotal = D("0,001");
    EXPECT_EQ(PrecificarItem(e).vlGordura, D("0,0001"));
}

TEST(PrecificarItem, SegundoExemploEPisoPromocional)
{
    struct Caso {
        const char *codigo3;
        double promo;
        const char *unitario, *total;
        bool limpa;
    } casos[] = {
        {"0", 20.0, "22,2128", "66,6384", false}, // 25.382, 22.666126, 22.212778
        {"Z", 0.0, "16,4375", "49,3125", false},  // 16.437472
        {"Z", 20.0, "20", "60", true},
        {"Z", 16.4375, "16,4375", "49,3125", true}, // equal still applies
        {"Z", 16.4374, "16,4375", "49,3125", false},
    };
    for (const Caso &c : casos) {
        EntradaPreco e = item("25,9", "3");
        e.avista = 2;
        e.codigos = {QStringLiteral("K"), QStringLiteral("B"), QString::fromUtf8(c.codigo3)};
        e.precoPromo = c.promo;
        const ResultadoPreco r = PrecificarItem(e);
        EXPECT_EQ(r.valorUnitario, D(c.unitario)) << c.codigo3 << ' ' << c.promo;
        EXPECT_EQ(r.valorTotal, D(c.total)) << c.codigo3 << ' ' << c.promo;
        EXPECT_EQ(r.limparCodigos, c.limpa) << c.codigo3 << ' ' << c.promo;
    }
}

TEST(PrecificarItem, CasosLimite)
{
    struct Caso {
        const char *nome;
        TipoPedido tipo;
        const char *precoVenda;
        const char *cif;
        int dv;
        std::array<const char *, 3> codigos;
        const char *unitario;
        bool limpa;
    } casos[] = {
        {"cif minusculo", TipoPedido::Pedido, "10", "sim", 0, {"0", "0", "0"}, "10", false},
        {"cif vazio", TipoPedido::Pedido, "10", "", 0, {"0", "0", "0"}, "10", false},
        {"codigos sem desconto", TipoPedido::Pedido, "10", "Não", 0, {"a", "0", ""}, "10", false},
        {"A duas vezes", TipoPedido::Pedido, "10", "Não", 0, {"A", "A", "0"}, "9,801", false},
        {"A tres vezes", TipoPedido::Pedido, "10", "Não", 0, {"A", "A", "A"}, "9,703", false}, // 9.70299
        {"dv 6 no pedido", TipoPedido::Pedido, "10", "Não", 6, {"0", "0", "0"}, "9,95", false},
        {"dv 6 na venda casada", TipoPedido::VendaCasada, "10", "Não", 6, {"0", "0", "0"}, "10", false},
        {"dv 6 no pacote", TipoPedido::Pacote, "10", "Não", 6, {"0", "0", "0"}, "10", false},
        {"dv 6 na troca", TipoPedido::Troca, "10", "Não", 6, {"0", "0", "0"}, "10", false},
        {"preco zero sem promocao", TipoPedido::Pedido, "0", "Sim", 0, {"A", "0", "0"}, "0", true},
        {"preco zero na venda casada", TipoPedido::VendaCasada, "0", "Não", 0, {"0", "0", "0"}, "0", true},
        {"preco zero no pacote", TipoPedido::Pacote, "0", "Não", 0, {"0", "0", "0"}, "0", false},
        // G and R at a tie: their factors' binary values decide the side.
        {"G no empate", TipoPedido::Pedido, "0,005", "Não", 0, {"G", "0", "0"}, "0,0047", false},
        {"R no empate", TipoPedido::Pedido, "0,0075", "Não", 0, {"R", "0", "0"}, "0,0061", false},
    };
    for (const Caso &c : casos) {
        EntradaPreco e = item(c.precoVenda, "1", c.tipo);
        e.cif = QString::fromUtf8(c.cif);
        e.dv = c.dv;
        for (int i = 0; i < 3; ++i)
            e.codigos[i] = QString::fromUtf8(c.codigos[i]);
        const ResultadoPreco r = PrecificarItem(e);
        EXPECT_EQ(r.valorUnitario, D(c.unitario)) << c.nome;
        EXPECT_EQ(r.limparCodigos, c.limpa) << c.nome;
    }
}

TEST(PrecificarItem, DescontoDoPacoteSegueAGordura)
{
    struct Caso {
        const char *gordura;
        std::optional<Dinheiro> desconto;
    } casos[] = {
        {"0", D("0,16")}, {"", D("0,16")},     {"E", D("0,11")},    {"P", D("0,0083")},
        {"O", D("0,01")}, {"Q", std::nullopt}, {"S", std::nullopt}, {"Z", std::nullopt},
    };
    for (const Caso &c : casos) {
        EntradaPreco e = item("10", "2", TipoPedido::Pacote);
        e.gordura1 = QString::fromUtf8(c.gordura);
        e.desconto = D("7");
        EXPECT_EQ(PrecificarItem(e).desconto, c.desconto) << c.gordura;
    }
    for (char letra = 'Q'; letra <= 'Z'; ++letra) {
        EntradaPreco e = item("10", "2", TipoPedido::Pacote);
        e.gordura1 = QString(QLatin1Char(letra));
        EXPECT_FALSE(PrecificarItem(e).desconto.has_value()) << letra;
    }
}

TEST(PrecificarItem, PacoteSemPisoEQuantidadeDecimal)
{
    EntradaPreco e = item("10", "2,5", TipoPedido::Pacote);
    e.cif = QStringLiteral("Sim");
    e.codigos[0] = QStringLiteral("A");
    e.precoPromo = 1000;
    const ResultadoPreco r = PrecificarItem(e);
    EXPECT_EQ(r.valorUnitario, D("10,2564"));
    EXPECT_EQ(r.valorTotal, D("25,641"));
    EXPECT_FALSE(r.limparCodigos);
}

TEST(PrecificarItem, TrocaSoUsaDvEAvista)
{
    EntradaPreco e = item("10", "1,5", TipoPedido::Troca);
    e.cif = QStringLiteral("Sim");
    e.dv = 1;
    e.avista = 2;
    e.codigos = {QStringLiteral("K"), QStringLiteral("Z"), QStringLiteral("A")};
    e.gordura1 = QStringLiteral("E");
    e.valorTotal = D("100");
    e.precoPromo = 1000;
    const ResultadoPreco r = PrecificarItem(e);
    EXPECT_EQ(r.valorUnitario, D("9,702")); // 10 * 0.99 * 0.98
    EXPECT_EQ(r.valorTotal, D("14,553"));
    EXPECT_FALSE(r.vlGordura.has_value());
    EXPECT_FALSE(r.desconto.has_value());
    EXPECT_FALSE(r.limparCodigos);
}

TEST(MultiplicarExato, ArredondaOProdutoDecimalComEmpateParaPar)
{
    struct Caso {
        const char *a, *b, *esperado;
    } casos[] = {
        {"0,0001", "0,5", "0"},      {"0,0003", "0,5", "0,0002"},   {"0,0005", "0,1", "0,0000"},
        {"0,0015", "0,1", "0,0002"}, {"-0,0003", "0,5", "-0,0002"}, {"10,1538", "2,5", "25,3845"},
        {"16,36", "3", "49,08"},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(MultiplicarExato(D(c.a), D(c.b)), D(c.esperado)) << c.a << " * " << c.b;
    EXPECT_THROW(MultiplicarExato(D("100000000000"), D("100000000")), Erro);
}

TEST(ArredondarDuasCasas, ArredondaPeloTextoDecimal)
{
    struct Caso {
        double valor, esperado;
    } casos[] = {
        {2.675, 2.68},   {10.124999, 10.12}, {10.125, 10.13}, {10.1, 10.1},  {7, 7},
        {-1.235, -1.22}, {16.36152, 16.36},  {0.995, 1},      {1.005, 1.01}, {99.999, 100},
        {0.000001, 0},   {1e20, 1e20},       {0, 0},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(ArredondarDuasCasas(c.valor), c.esperado) << c.valor;
}

TEST(MediaPacote, ExemploDeDoisItens)
{
    SomaPacote soma;
    soma.adicionar(D("2"), D("10,1538"));
    soma.adicionar(D("3"), D("20,5"));
    const std::optional<double> media = soma.media();
    ASSERT_TRUE(media.has_value());
    EXPECT_DOUBLE_EQ(*media, 16.36152);
    const PrecoMedio primeiro = PrecoPelaMedia(*media, D("2"));
    const PrecoMedio segundo = PrecoPelaMedia(*media, D("3"));
    EXPECT_EQ(primeiro.valorUnitario, D("16,3615"));
    EXPECT_EQ(segundo.valorUnitario, D("16,3615"));
    EXPECT_EQ(primeiro.valorTotal, D("32,72"));
    EXPECT_EQ(segundo.valorTotal, D("49,08"));
}

// The total multiplies by the double nearest 40607.35, which lies just below
// it: the decimal product 589009.61175 would be a tie rounding to ...18.
TEST(MediaPacote, TotalPeloDoubleDaMediaEmCentavos)
{
    SomaPacote soma;
    soma.adicionar(D("14,505"), D("40356,4146"));
    soma.adicionar(D("58,162"), D("63716,61"));
    soma.adicionar(D("161,326"), D("32298,4542"));
    const std::optional<double> media = soma.media();
    ASSERT_TRUE(media.has_value());
    EXPECT_EQ(ArredondarDuasCasas(*media), 40607.35);
    const PrecoMedio primeiro = PrecoPelaMedia(*media, D("14,505"));
    EXPECT_EQ(primeiro.valorUnitario, D("40607,3502"));
    EXPECT_EQ(primeiro.valorTotal, D("589009,6117"));
    EXPECT_EQ(MultiplicarExato(D("14,505"), D("40607,35")), D("589009,6118"));
    EXPECT_EQ(PrecoPelaMedia(*media, D("58,162")).valorTotal, D("2361804,6907"));
    EXPECT_EQ(PrecoPelaMedia(*media, D("161,326")).valorTotal, D("6551021,3461"));
}

TEST(MediaPacote, SemQuantidadeNaoHaMedia)
{
    EXPECT_FALSE(SomaPacote().media().has_value());
    SomaPacote zeros;
    zeros.adicionar(D("0"), D("10"));
    EXPECT_FALSE(zeros.media().has_value());
    // 0.1 + 0.2 - 0.3 is not 0 in double; the exact sum is.
    SomaPacote anulada;
    anulada.adicionar(D("0,1"), D("10"));
    anulada.adicionar(D("0,2"), D("10"));
    anulada.adicionar(D("-0,3"), D("10"));
    EXPECT_FALSE(anulada.media().has_value());
}

// v / 2^bits rounded half to even (v not negative).
__int128 arredondarBits(__int128 v, int bits)
{
    if (bits <= 0)
        return v << -bits;
    __int128 quociente = v >> bits;
    const __int128 resto = v - (quociente << bits);
    const __int128 meio = static_cast<__int128>(1) << (bits - 1);
    if (resto > meio || (resto == meio && (quociente & 1)))
        ++quociente;
    return quociente;
}

// An independent reading of multiply-and-round in integers: the exact product
// of the scaled price and the factor's binary value, rounded to the 64
// significant bits of an 80-bit register, then to the unit, ties to even.
std::int64_t multiplicarReferencia(std::int64_t escalado, long double fator)
{
    int expoente = 0;
    const long double mantissa = std::frexp(fator, &expoente); // fator = mantissa * 2^expoente
    const __int128 produto = static_cast<__int128>(escalado) * static_cast<__int128>(std::ldexp(mantissa, 64));
    int tamanho = 0;
    while (tamanho < 127 && (produto >> tamanho) != 0)
        ++tamanho;
    const int excesso = std::max(tamanho - 64, 0);
    const __int128 registro = arredondarBits(produto, excesso) << excesso;
    return static_cast<std::int64_t>(arredondarBits(registro, 64 - expoente));
}

TEST(PrecificarItem, EmpateNoProdutoEstendidoVaiAoPar)
{
    // 5895.525 * 0.97 is 5718.65925: the binary excess of 0.97L is below half
    // a unit of the 80-bit product, so the product is an exact tie there and
    // goes to the even neighbour.
    EntradaPreco e = item("6205,8158", "1", TipoPedido::Troca);
    e.dv = 5;
    e.avista = 3;
    EXPECT_EQ(PrecificarItem(e).valorUnitario, D("5718,6592"));
}

TEST(PrecificarItem, ConfereComReferenciaEmEntradasAleatorias)
{
    std::mt19937_64 gerador(20240611);
    const char *codigos[] = {"0", "", "a", "A", "B", "G", "K", "P", "R", "S", "Z"};
    const TipoPedido tipos[] = {TipoPedido::Pedido, TipoPedido::VendaCasada, TipoPedido::Pacote, TipoPedido::Troca};
    auto sorteio = [&](std::int64_t n) { return static_cast<std::int64_t>(gerador() % n); };
    for (int i = 0; i < 20000; ++i) {
        EntradaPreco e;
        e.tipo = tipos[sorteio(4)];
        e.precoVenda = Dinheiro::deEscalado(sorteio(100000000));
        e.precoPromo = sorteio(3) == 0 ? 0 : static_cast<double>(sorteio(100000000)) / 10000;
        e.cif = sorteio(2) ? QStringLiteral("Sim") : QStringLiteral("Não");
        e.dv = static_cast<int>(sorteio(8));
        e.avista = static_cast<int>(sorteio(7));
        for (QString &c : e.codigos)
            c = QString::fromLatin1(codigos[sorteio(11)]);
        e.gordura1 = QString::fromLatin1(codigos[sorteio(11)]);
        e.valorTotal = Dinheiro::deEscalado(sorteio(1000000000));
        e.quantidade = Dinheiro::deEscalado(10000 * sorteio(50));

        const bool completo = e.tipo != TipoPedido::Troca;
        std::int64_t u = e.precoVenda.escalado();
        if (completo && e.cif == QLatin1String("Sim"))
            u = multiplicarReferencia(u, 1.036L);
        u = multiplicarReferencia(u, FatorDv(e.tipo, e.dv));
        u = multiplicarReferencia(u, FatorAvista(e.avista));
        std::int64_t gordura = 0;
        if (completo) {
            for (const QString &c : e.codigos)
                u = multiplicarReferencia(u, FatorReducao(c));
            const std::int64_t t = e.valorTotal.escalado();
            const std::int64_t parte = t - multiplicarReferencia(t, FatorReducao(e.gordura1));
            gordura = multiplicarReferencia(parte, 0.74L);
        }
        const std::int64_t promo = std::llrint(e.precoPromo * 10000);
        const bool piso = (e.tipo == TipoPedido::Pedido || e.tipo == TipoPedido::VendaCasada) && promo >= u;
        if (piso)
            u = promo;

        const ResultadoPreco r = PrecificarItem(e);
        ASSERT_EQ(r.valorUnitario.escalado(), u) << i;
        ASSERT_EQ(r.valorTotal.escalado(), u * (e.quantidade.escalado() / 10000)) << i;
        ASSERT_EQ(r.limparCodigos, piso) << i;
        if (completo) {
            ASSERT_EQ(r.vlGordura->escalado(), gordura) << i;
        }
    }
}

} // namespace
