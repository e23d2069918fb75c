#include "demo_modelo.h"
#include "demo_sorteio.h"

namespace Demo
{

namespace
{

// A product line: the unit, the description pattern with up to two variant
// lists, the price of its cheapest and dearest variant in cents, and the sale
// multiple.
struct Linha {
    const char *unidade;
    const char *modelo;
    std::vector<const char *> variantes1;
    std::vector<const char *> variantes2;
    int centavosMin;
    int centavosMax;
    double multiplo = 0;
};

// A product group: its code, the first digit of its product codes, its
// makers and its lines.
struct Grupo {
    const char *codigo;
    char prefixo;
    std::vector<const char *> fabricantes;
    std::vector<Linha> linhas;
};

const std::vector<Grupo> &catalogo()
{
    // clang-format off
    static const std::vector<Grupo> grupos = {
        // Hardware
        {"FERRAG", '1', {"Metalfix", "Ferrovale", "Aço Norte", "Fixapar", "Serralux"}, {
             {"UN", "Parafuso sextavado %1 x %2\" zincado",
              {"1/4", "5/16", "3/8", "1/2"}, {"1", "1.1/2", "2", "2.1/2", "3", "4"}, 35, 420},
             {"CX", "Parafuso chipboard cabeça chata %1 x %2 mm (cx 500)",
              {"3,5", "4,0", "4,5", "5,0"}, {"25", "30", "40", "50"}, 1890, 5490},
             {"UN", "Porca sextavada %1\" zincada", {"1/4", "5/16", "3/8", "1/2"}, {}, 12, 65},
             {"UN", "Arruela lisa %1\" zincada", {"1/4", "5/16", "3/8", "1/2"}, {}, 8, 39},
             {"PC", "Bucha de nylon S%1 com anel (pct 100)", {"4", "5", "6", "8", "10", "12"}, {}, 790, 3290},
             {"KG", "Prego com cabeça %1",
              {"12 x 12", "15 x 15", "17 x 21", "17 x 27", "18 x 30", "19 x 36"}, {}, 1490, 1890},
             {"UN", "Dobradiça de aço %1 cromada", {"3\" x 2.1/2\"", "3.1/2\" x 3\"", "4\" x 3\""}, {}, 690, 1590},
             {"UN", "Cadeado de latão %1 mm", {"20", "25", "30", "35", "40", "50"}, {}, 1290, 5990},
             {"UN", "Fechadura %1 %2",
              {"externa", "interna", "para banheiro"}, {"cromada", "bronze oxidado"}, 4590, 12990},
             {"UN", "Broca aço rápido %1 mm", {"2", "3", "4", "5", "6", "7", "8", "10", "12"}, {}, 390, 3490},
             {"UN", "Broca para concreto %1 mm", {"4", "5", "6", "8", "10", "12"}, {}, 590, 2790},
             {"UN", "Disco de corte %1 para %2", {"4.1/2\"", "7\""}, {"aço", "inox", "alvenaria"}, 490, 1890},
             {"UN", "Lixa d'água grão %1",
              {"80", "100", "120", "150", "180", "220", "320", "400", "600", "1200"}, {}, 189, 249},
             {"UN", "Trena de aço %1 m", {"3", "5", "8", "10"}, {}, 1490, 4590},
             {"UN", "Fita veda-rosca 18 mm x %1 m", {"10", "25", "50"}, {}, 290, 990},
             {"PC", "Abraçadeira de nylon %1 mm (pct 100)",
              {"2,5 x 100", "3,6 x 150", "4,8 x 200", "4,8 x 300"}, {}, 690, 2890},
             {"MT", "Corrente galvanizada elo curto %1 mm", {"3", "4", "5", "6"}, {}, 590, 1690, 2.5},
             {"KG", "Arame galvanizado nº %1", {"18", "16", "14", "12"}, {}, 2190, 2690},
             {"UN", "Martelo de unha %1 mm cabo de madeira", {"23", "25", "27"}, {}, 2890, 4990},
             {"UN", "Chave de fenda %1", {"1/8 x 4\"", "3/16 x 5\"", "1/4 x 6\"", "5/16 x 8\""}, {}, 690, 1890},
             {"UN", "Chave Phillips %1", {"1/8 x 4\"", "3/16 x 5\"", "1/4 x 6\"", "5/16 x 8\""}, {}, 690, 1890},
             {"UN", "Alicate %1 %2\"", {"universal", "de corte diagonal", "de bico meia-cana"}, {"6", "8"}, 2490, 5890},
             {"UN", "Silicone acético %1 280 g", {"incolor", "branco", "preto"}, {}, 1390, 1590, 12},
             {"UN", "Cola de contato %1", {"75 g", "195 g", "750 g"}, {}, 890, 3990},
             {"UN", "Espuma expansiva de poliuretano %1", {"300 ml", "500 ml"}, {}, 2290, 3490},
        }},
        // Electrical
        {"ELETRIC", '2', {"Eletrovale", "Lumivale", "Condufio", "Voltaris"}, {
             {"RL", "Fio flexível %1 mm² 750 V %2 (rolo 100 m)",
              {"1,5", "2,5", "4,0", "6,0", "10,0"},
              {"preto", "azul", "vermelho", "verde", "branco", "amarelo"}, 12990, 79990},
             {"MT", "Cabo PP %1 mm² 500 V",
              {"2 x 1,0", "2 x 1,5", "2 x 2,5", "3 x 1,5", "3 x 2,5", "4 x 2,5"}, {}, 349, 1290},
             {"UN", "Disjuntor %1 %2 A curva C",
              {"unipolar", "bipolar", "tripolar"}, {"10", "16", "20", "25", "32", "40", "50"}, 1190, 8990},
             {"UN", "Tomada 2P+T %1 A %2", {"10", "20"}, {"branca", "preta", "cinza"}, 890, 1690},
             {"UN", "Interruptor %1 10 A %2",
              {"simples", "duplo", "triplo", "paralelo"}, {"branco", "preto"}, 790, 2190},
             {"UN", "Lâmpada LED bulbo %1 W %2",
              {"6", "9", "12", "15", "20", "30"}, {"luz branca 6500 K", "luz amarela 3000 K"}, 690, 3490, 6},
             {"UN", "Lâmpada LED tubular T8 %1", {"9 W 60 cm", "18 W 120 cm", "36 W 240 cm"}, {}, 1190, 3990},
             {"UN", "Plafon LED de sobrepor %1 %2 W", {"redondo", "quadrado"}, {"12", "18", "24"}, 2490, 5990},
             {"UN", "Refletor LED %1 W IP66", {"10", "20", "30", "50", "100", "150", "200"}, {}, 2990, 24990},
             {"UN", "Extensão elétrica %1 tomadas %2 m", {"3", "4", "5"}, {"2", "3", "5", "10"}, 1990, 6990},
             {"UN", "Adaptador de tomada %1", {"T 3 saídas", "universal", "2P+T para 2P"}, {}, 390, 1290},
             {"UN", "Fita isolante %1 19 mm x %2 m", {"preta", "azul", "vermelha"}, {"5", "10", "20"}, 290, 1190},
             {"RL", "Eletroduto corrugado %1 amarelo (rolo 50 m)", {"3/4\"", "1\""}, {}, 5990, 8990},
             {"UN", "Caixa de luz 4 x 2 para %1", {"embutir", "sobrepor"}, {}, 129, 590},
             {"UN", "Pilha alcalina %1 (cartela com 2)", {"AAA", "AA", "C", "D"}, {}, 890, 2490, 6},
             {"UN", "Bateria alcalina 9 V", {}, {}, 1590, 1590},
             {"UN", "Chuveiro elétrico %1 W %2 V", {"5500", "6800", "7500"}, {"127", "220"}, 5990, 11990},
             {"UN", "Resistência para chuveiro %1 W %2 V", {"5500", "6800", "7500"}, {"127", "220"}, 1490, 2990},
             {"UN", "Sensor de presença %1", {"de teto", "de parede"}, {}, 3490, 4290},
        }},
        // Cleaning
        {"LIMPEZA", '3', {"Limpamais", "Clarimax", "Bonalar"}, {
             {"UN", "Detergente líquido %1 500 ml", {"neutro", "limão", "coco", "maçã", "clear"}, {}, 219, 249},
             {"UN", "Água sanitária %1", {"1 L", "2 L", "5 L"}, {}, 349, 1290},
             {"UN", "Desinfetante %2 %1",
              {"500 ml", "2 L", "5 L"}, {"lavanda", "eucalipto", "pinho", "floral", "talco"}, 390, 1890},
             {"UN", "Sabão em pó %2 %1", {"500 g", "1 kg", "2 kg"}, {"multiação", "de coco"}, 690, 2790},
             {"PC", "Sabão em barra %1 (pct 5 x 200 g)", {"neutro", "glicerinado", "de coco"}, {}, 1090, 1390},
             {"UN", "Amaciante de roupas %2 %1", {"500 ml", "2 L", "5 L"}, {"tradicional", "concentrado"}, 590, 3290},
             {"UN", "Limpador multiuso %1 500 ml", {"original", "limão", "lavanda"}, {}, 459, 529},
             {"UN", "Álcool etílico %1", {"70% 500 ml", "70% 1 L", "46,2° INPM 1 L", "70% 5 L"}, {}, 590, 3290},
             {"LT", "Detergente neutro concentrado a granel", {}, {}, 690, 690},
             {"PC", "Esponja de limpeza dupla face %1", {"(pct 3)", "(pct 10)"}, {}, 390, 1190},
             {"PC", "Saco para lixo %1 L %2 (pct 10)", {"15", "30", "50", "100", "200"}, {"preto", "azul"}, 290, 2490},
             {"UN", "Pano de chão %1", {"alvejado", "xadrez"}, {}, 450, 690},
             {"UN", "Flanela %1", {"laranja 30 x 40 cm", "amarela 40 x 60 cm"}, {}, 249, 490},
             {"UN", "Vassoura %1", {"de pelo sintético", "de palha", "de piaçava"}, {}, 1290, 2490},
             {"UN", "Rodo de %1 cm com cabo", {"30", "40", "60"}, {}, 990, 2190},
             {"PC", "Luva de látex %1 tamanho %2", {"multiuso", "nitrílica"}, {"P", "M", "G", "XG"}, 490, 890},
             {"UN", "Balde plástico %1 L", {"8", "12", "20"}, {}, 790, 1990},
        }},
        // Hygiene
        {"HIGIENE", '4', {"Higivale", "Suavitá", "Bonalar"}, {
             {"PC", "Papel higiênico folha %2 30 m (pct %1)", {"4", "12", "16"}, {"simples", "dupla"}, 490, 2990},
             {"CX", "Papel toalha interfolhado %1 (cx 1000 fl)",
              {"natural", "branco 2 dobras", "branco 3 dobras"}, {}, 1890, 3290},
             {"UN", "Sabonete em barra %1 90 g",
              {"erva-doce", "aveia", "glicerina", "lavanda", "morango"}, {}, 219, 289, 12},
             {"UN", "Sabonete líquido %1",
              {"antisséptico 500 ml", "perolado 1 L", "erva-doce 5 L", "neutro 5 L"}, {}, 890, 3990},
             {"UN", "Creme dental %1 90 g", {"menta", "hortelã", "tripla ação"}, {}, 349, 549, 12},
             {"UN", "Escova dental %1", {"macia", "média"}, {}, 390, 490, 12},
             {"PC", "Fralda descartável infantil %1 (pct %2)", {"P", "M", "G", "XG"}, {"30", "20"}, 2490, 4990},
             {"PC", "Absorvente %1 (pct 8)", {"com abas", "sem abas", "noturno"}, {}, 390, 790},
             {"PC", "Copo plástico descartável %1 ml (pct 100)", {"50", "180", "200", "300"}, {}, 390, 1290},
             {"PC", "Guardanapo de papel %1 (pct 50)", {"24 x 24 cm", "30 x 30 cm"}, {}, 290, 490},
             {"UN", "Desodorante aerossol %1 150 ml", {"masculino", "feminino", "sem perfume"}, {}, 1290, 1590},
             {"UN", "Xampu %1 350 ml", {"neutro", "anticaspa", "para cabelos cacheados"}, {}, 1190, 1790},
        }},
    };
    // clang-format on
    return grupos;
}

bool vendidoFracionado(const QString &unidade)
{
    return unidade == QLatin1String("KG") || unidade == QLatin1String("MT") || unidade == QLatin1String("LT");
}

double sortearEstoque(Sorteio &s, const QString &unidade)
{
    if (s.chance(10))
        return 0;
    if (vendidoFracionado(unidade))
        return s.entre(4, 480) / 4.0; // quarters: 12,25 kg, 5,5 m
    return s.entre(1, 60) * s.entre(1, 8);
}

// Cents that end like shop prices: 12,90, 7,49, 3,99.
Dinheiro precoDeLoja(int centavos)
{
    static const int finais[] = {90, 49, 99, 50, 89, 29};
    const int reais = centavos / 100;
    const int final = finais[(centavos / 7) % 6];
    const int resultado = reais == 0 ? std::max(centavos, 9) : reais * 100 + final;
    return Dinheiro::deEscalado(static_cast<std::int64_t>(resultado) * 100);
}

// 100 + percent of a price, back to whole cents.
Dinheiro reajustar(Dinheiro preco, int porcento)
{
    const std::int64_t centavos = preco.escalado() / 100;
    return Dinheiro::deEscalado((centavos * (100 + porcento) + 50) / 100 * 100);
}

Produto criarProduto(Sorteio &s, const Grupo &grupo, const Linha &linha, const QString &descricao, int posicao,
                     int variantes)
{
    Produto p;
    p.descricao = descricao;
    p.grupo = QString::fromUtf8(grupo.codigo);
    p.unidade = QString::fromUtf8(linha.unidade);
    p.fabricante = QString::fromUtf8(s.escolher(grupo.fabricantes));
    p.multiplo = linha.multiplo;
    p.estoque = sortearEstoque(s, p.unidade);
    const int faixa = linha.centavosMax - linha.centavosMin;
    const int base = linha.centavosMin + (variantes > 1 ? faixa * posicao / (variantes - 1) : 0);
    p.preco = precoDeLoja(base * s.entre(94, 106) / 100);
    p.precoCentral = p.preco;
    if (s.chance(15)) {
        const Dinheiro promocao = reajustar(p.preco, -s.entre(5, 15));
        if (promocao < p.preco && promocao > Dinheiro()) {
            p.precoPromocional = promocao;
            p.fimPromocao = diaReferencia().addDays(s.entre(10, 45));
        }
    }
    p.ultimaCompra = diaReferencia().addDays(-s.entre(5, 200)).addSecs(s.entre(8, 17) * 3600);
    return p;
}

// The descriptions of a line: its pattern filled with every variant pair.
QStringList descricoes(const Linha &linha)
{
    const QString modelo = QString::fromUtf8(linha.modelo);
    if (linha.variantes1.empty())
        return {modelo};
    QStringList lista;
    for (const char *a : linha.variantes1) {
        if (linha.variantes2.empty())
            lista << modelo.arg(QString::fromUtf8(a));
        for (const char *b : linha.variantes2)
            lista << modelo.arg(QString::fromUtf8(a), QString::fromUtf8(b));
    }
    return lista;
}

} // namespace

std::vector<Produto> gerarProdutos()
{
    Sorteio s(20261130);
    std::vector<Produto> produtos;
    for (const Grupo &grupo : catalogo()) {
        int sequencia = 0;
        for (const Linha &linha : grupo.linhas) {
            const QStringList lista = descricoes(linha);
            for (int i = 0; i < lista.size(); ++i) {
                Produto p = criarProduto(s, grupo, linha, lista[i], i, static_cast<int>(lista.size()));
                sequencia += s.entre(1, 3);
                p.codigo =
                    QStringLiteral("%1%2").arg(QLatin1Char(grupo.prefixo)).arg(sequencia, 4, 10, QLatin1Char('0'));
                produtos.push_back(std::move(p));
            }
        }
    }
    // Three products in five were already on the representative's last
    // update; of the newer ones a few are discontinued, and some prices went
    // up in the central database since.
    for (std::size_t i = 0; i < produtos.size(); ++i) {
        Produto &p = produtos[i];
        p.id = static_cast<int>(i) + 1;
        p.local = i % 5 != 1 && i % 5 != 3;
        p.inativo = !p.local && i % 40 == 3;
        if (p.local && i % 7 == 0)
            p.precoCentral = reajustar(p.preco, 5);
    }
    return produtos;
}

} // namespace Demo
