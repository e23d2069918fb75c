#include "demo_modelo.h"
#include "demo_sorteio.h"

#include <QSet>

namespace Demo
{

namespace
{

struct Cidade {
    const char *nome;
    const char *uf;
    const char *ddd;
    int cepMin; // first five digits
    int cepMax;
    std::vector<const char *> bairros;
};

const std::vector<Cidade> &cidades()
{
    static const std::vector<Cidade> lista = {
        {"São Paulo", "SP", "11", 1000, 5999, {"Mooca", "Santana", "Lapa", "Ipiranga", "Tatuapé", "Vila Mariana"}},
        {"Campinas", "SP", "19", 13010, 13099, {"Centro", "Cambuí", "Taquaral", "Barão Geraldo"}},
        {"Ribeirão Preto", "SP", "16", 14010, 14099, {"Centro", "Jardim Paulista", "Ipiranga", "Vila Tibério"}},
        {"Belo Horizonte", "MG", "31", 30110, 31999, {"Savassi", "Barro Preto", "Pampulha", "Santa Efigênia"}},
        {"Curitiba", "PR", "41", 80010, 82999, {"Centro", "Batel", "Água Verde", "Portão", "Boqueirão"}},
        {"Goiânia", "GO", "62", 74000, 74899, {"Setor Central", "Setor Bueno", "Setor Oeste", "Setor Marista"}},
        {"Contagem", "MG", "31", 32000, 32399, {"Eldorado", "Industrial", "Riacho"}},
        {"Juiz de Fora", "MG", "32", 36010, 36099, {"Centro", "São Mateus", "Benfica"}},
        {"Uberlândia", "MG", "34", 38400, 38499, {"Centro", "Santa Mônica", "Tibery"}},
        {"Londrina", "PR", "43", 86010, 86099, {"Centro", "Gleba Palhano", "Vila Nova"}},
        {"Maringá", "PR", "44", 87010, 87099, {"Zona 01", "Zona 07", "Jardim Alvorada"}},
        {"Ponta Grossa", "PR", "42", 84010, 84099, {"Centro", "Uvaranas", "Oficinas"}},
        {"Anápolis", "GO", "62", 75020, 75150, {"Centro", "Jundiaí", "Vila Jaiara"}},
        {"Brasília", "DF", "61", 70000, 72999, {"Asa Sul", "Asa Norte", "Taguatinga", "Guará"}},
        {"Rio Verde", "GO", "64", 75900, 75909, {"Centro", "Setor Morada do Sol"}},
        {"Santos", "SP", "13", 11010, 11099, {"Gonzaga", "Boqueirão", "Vila Mathias"}},
        {"São José dos Campos", "SP", "12", 12210, 12249, {"Centro", "Jardim Aquarius", "Vila Industrial"}},
        {"Sorocaba", "SP", "15", 18010, 18099, {"Centro", "Éden", "Vila Hortência"}},
        {"Jundiaí", "SP", "11", 13200, 13219, {"Centro", "Anhangabaú", "Vila Arens"}},
    };
    return lista;
}

// Each region with the cities its representative visits (indexes into cidades()).
struct Regiao {
    const char *codigo;
    std::vector<int> cidades;
};

const std::vector<Regiao> &outrasRegioes()
{
    static const std::vector<Regiao> lista = {
        {"03", {4, 9, 10, 11}},
        {"07", {3, 6, 7, 8}},
        {"15", {5, 12, 13, 14}},
        {"21", {15, 16, 17, 18}},
    };
    return lista;
}

const std::vector<int> kCidadesRepresentante = {0, 1, 2, 3, 4, 5};

// Kind of business: the start of the company name and its short form.
struct Ramo {
    const char *nome;
    const char *curto;
};

const std::vector<Ramo> kRamos = {
    {"Materiais de Construção", "Materiais"},
    {"Depósito de Materiais", "Depósito"},
    {"Casa das Ferragens", "Ferragens"},
    {"Comercial Elétrica", "Elétrica"},
    {"Supermercado", "Supermercado"},
    {"Mercearia", "Mercearia"},
    {"Distribuidora", "Dist."},
    {"Empório", "Empório"},
    {"Hotel", "Hotel"},
    {"Padaria e Confeitaria", "Padaria"},
    {"Lavanderia", "Lavanderia"},
    {"Clínica Odontológica", "Clínica"},
};

const std::vector<const char *> kNomes = {
    "Santa Luzia", "Ouro Verde", "São Jorge",   "Boa Vista",    "Primavera",    "Nova Era",
    "Três Irmãos", "Bom Jesus",  "Estrela",     "Aliança",      "Progresso",    "Planalto",
    "Bela Vista",  "Santa Rita", "Vitória",     "Paraíso",      "Ipê",          "Aparecida",
    "Horizonte",   "Líder",      "Cruzeiro",    "Fênix",        "Sol Nascente", "Pioneiro",
    "Itapuã",      "Esperança",  "Santa Clara", "Monte Alegre", "Jequitibá",    "Bandeirantes",
};

const std::vector<const char *> kSufixos = {"Ltda", "Ltda ME", "Eireli", "ME", "Ltda EPP"};

const std::vector<const char *> kRuas = {
    "Rua XV de Novembro", "Rua Sete de Setembro",   "Avenida Getúlio Vargas", "Rua Tiradentes",
    "Rua Dom Pedro II",   "Avenida Independência",  "Rua Marechal Deodoro",   "Rua José Bonifácio",
    "Rua Santos Dumont",  "Avenida das Indústrias", "Rua dos Andradas",       "Rua Barão do Rio Branco",
    "Rua São Bento",      "Avenida Brasil",         "Rua das Palmeiras",      "Rua Duque de Caxias",
};

const std::vector<const char *> kPrenomes = {"Carlos",  "Ana",     "José",    "Márcia",  "Luiz",   "Patrícia",
                                             "Roberto", "Juliana", "Antônio", "Cláudia", "Marcos", "Fernanda",
                                             "Sérgio",  "Renata",  "Paulo",   "Adriana"};
const std::vector<const char *> kSobrenomes = {"Pereira", "Souza", "Oliveira",  "Santos", "Lima",    "Ferreira",
                                               "Almeida", "Costa", "Rodrigues", "Gomes",  "Barbosa", "Ribeiro"};

// Positions in the payment-form list: the forward-dated forms are the usual ones.
const std::vector<std::size_t> kFormasUsuais = {1, 1, 1, 2, 2, 3, 0, 4, 5, 6};

QString semAcentos(const QString &texto)
{
    QString resultado;
    for (const QChar c : texto.normalized(QString::NormalizationForm_D))
        if (c.isLetterOrNumber() && c.unicode() < 128)
            resultado += c.toLower();
    return resultado;
}

QString digitos(Sorteio &s, int quantos)
{
    QString texto;
    for (int i = 0; i < quantos; ++i)
        texto += QChar(u'0' + s.entre(0, 9));
    return texto;
}

QString cnpjNovo(Sorteio &s, QSet<QString> &usados)
{
    QString base;
    do
        base = digitos(s, 8);
    while (usados.contains(base));
    usados.insert(base);
    const QString doze = base + QStringLiteral("0001");
    const QString dv = digitosCnpj(doze);
    return QStringLiteral("%1.%2.%3/%4-%5").arg(doze.mid(0, 2), doze.mid(2, 3), doze.mid(5, 3), doze.mid(8, 4), dv);
}

Dinheiro reais(int centavos)
{
    return Dinheiro::deEscalado(static_cast<std::int64_t>(centavos) * 100);
}

QDateTime momento(Sorteio &s, int diasAtras)
{
    return Demo::diaReferencia().addDays(-diasAtras).addSecs(s.entre(8 * 60, 18 * 60) * 60);
}

Cliente criarCliente(Sorteio &s, int id, const Cidade &cidade, const QString &empresa, const Ramo &ramo,
                     const std::vector<FormaPagamento> &formas, QSet<QString> &cnpjs)
{
    Cliente c;
    c.id = id;
    c.nome =
        QStringLiteral("%1 %2 %3").arg(QString::fromUtf8(ramo.nome), empresa, QString::fromUtf8(s.escolher(kSufixos)));
    c.fantasia = QStringLiteral("%1 %2").arg(QString::fromUtf8(ramo.curto), empresa);
    c.endereco = QStringLiteral("%1, %2").arg(QString::fromUtf8(s.escolher(kRuas))).arg(s.entre(12, 3200));
    c.bairro = QString::fromUtf8(s.escolher(cidade.bairros));
    c.cidade = QString::fromUtf8(cidade.nome);
    c.uf = QString::fromUtf8(cidade.uf);
    c.cep = QStringLiteral("%1-%2")
                .arg(s.entre(cidade.cepMin, cidade.cepMax), 5, 10, QLatin1Char('0'))
                .arg(s.entre(0, 999), 3, 10, QLatin1Char('0'));
    const QString ddd = QString::fromUtf8(cidade.ddd);
    c.telefone = QStringLiteral("(%1) 3%2-%3").arg(ddd, digitos(s, 3), digitos(s, 4));
    c.celular = QStringLiteral("(%1) 9%2-%3").arg(ddd, digitos(s, 4), digitos(s, 4));
    c.email = QStringLiteral("compras.%1@example.com").arg(semAcentos(c.fantasia));
    c.contato = QStringLiteral("%1 %2").arg(QString::fromUtf8(s.escolher(kPrenomes)),
                                            QString::fromUtf8(s.escolher(kSobrenomes)));
    c.cnpj = cnpjNovo(s, cnpjs);
    c.inscricaoEstadual = s.chance(10) ? QStringLiteral("ISENTO") : digitos(s, 12);
    c.formaPagamento = QString::number(formas[s.escolher(kFormasUsuais) % formas.size()].id);
    c.cadastro = momento(s, s.entre(200, 3000));
    c.valorMenorCompra = reais(s.entre(8000, 40000));
    c.valorMaiorCompra = reais(s.entre(250000, 980000));
    c.valorUltimaCompra = reais(s.entre(static_cast<int>(c.valorMenorCompra.escalado() / 100),
                                        static_cast<int>(c.valorMaiorCompra.escalado() / 100)));
    c.credito = reais(s.entre(5, 50) * 100000);
    // A few pay late; taken from the number, so the draws of the other
    // figures stay as they were.
    c.mediaAtraso = id % 7 == 0 ? 31 + id % 40 : id % 20;
    return c;
}

} // namespace

std::vector<Cliente> gerarClientes(const std::vector<FormaPagamento> &formas)
{
    Sorteio s(1130);
    // Distinct company names: every kind with every name, shuffled.
    std::vector<std::pair<int, int>> empresas;
    for (int r = 0; r < static_cast<int>(kRamos.size()); ++r)
        for (int n = 0; n < static_cast<int>(kNomes.size()); ++n)
            empresas.emplace_back(r, n);
    s.embaralhar(empresas);

    QSet<QString> cnpjs;
    std::vector<Cliente> clientes;
    int doRepresentante = 0;
    int outros = 0;
    for (int i = 0; i < 150; ++i) {
        const bool regiaoRepresentante = i % 3 == 0;
        const Regiao *outra = regiaoRepresentante ? nullptr : &outrasRegioes()[outros++ % outrasRegioes().size()];
        const int cidade = regiaoRepresentante ? kCidadesRepresentante[doRepresentante % kCidadesRepresentante.size()]
                                               : s.escolher(outra->cidades);
        const auto [ramo, nome] = empresas[static_cast<std::size_t>(i)];
        Cliente c = criarCliente(s, i + 1, cidades()[static_cast<std::size_t>(cidade)],
                                 QString::fromUtf8(kNomes[static_cast<std::size_t>(nome)]),
                                 kRamos[static_cast<std::size_t>(ramo)], formas, cnpjs);
        // The representative's customers bought at steadily spread dates over
        // the last three months, so every recency colour shows.
        const int dias = regiaoRepresentante ? (doRepresentante * 37) % 91 : s.entre(0, 150);
        c.regiao = regiaoRepresentante ? QString::fromLatin1(kRegiaoRepresentante) : QString::fromUtf8(outra->codigo);
        if (regiaoRepresentante)
            ++doRepresentante;
        c.ultimaCompra = momento(s, dias);
        c.maiorCompra = momento(s, dias + s.entre(20, 300));
        c.menorCompra = momento(s, dias + s.entre(20, 300));
        clientes.push_back(std::move(c));
    }
    return clientes;
}

} // namespace Demo
