#include "banco_bench.h"

#include "esquema.h"

#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>

void DialogosTerminal::mensagem(const QString &texto, const QString &, Icone)
{
    std::fprintf(stderr, "mensagem: %s\n", qPrintable(texto));
}

Tamanhos lerTamanhos(const QStringList &argumentos, QString &pasta)
{
    Tamanhos t;
    for (qsizetype i = 1; i < argumentos.size(); ++i) {
        const QString &a = argumentos[i];
        int *destino = a == QLatin1String("--produtos")   ? &t.produtos
                       : a == QLatin1String("--clientes") ? &t.clientes
                       : a == QLatin1String("--pedidos")  ? &t.pedidos
                                                          : nullptr;
        if (destino && i + 1 < argumentos.size())
            *destino = argumentos[++i].toInt();
        else if (!a.startsWith(QLatin1String("--")))
            pasta = a;
    }
    return t;
}

QByteArray codigoProduto(int n)
{
    return QStringLiteral("P%1").arg(n, 6, 10, QLatin1Char('0')).toUtf8();
}

namespace
{

QByteArray data(Aleatorio &a, int anoInicial)
{
    return QStringLiteral("%1-%2-%3 %4:%5:00")
        .arg(anoInicial + a.ate(8))
        .arg(1 + a.ate(12), 2, 10, QLatin1Char('0'))
        .arg(1 + a.ate(28), 2, 10, QLatin1Char('0'))
        .arg(8 + a.ate(10), 2, 10, QLatin1Char('0'))
        .arg(a.ate(60), 2, 10, QLatin1Char('0'))
        .toUtf8();
}

void preencherProdutos(sqlite3 *db, Aleatorio &a, const Tamanhos &t)
{
    static const char *const tipos[] = {
        "Parafuso sextavado", "Porca sextavada", "Arruela lisa",       "Bucha de nylon",    "Fita isolante",
        "Disjuntor bipolar",  "Cabo flexível",   "Tomada 2P+T",        "Detergente neutro", "Água sanitária",
        "Sabão em pó",        "Lâmpada LED",     "Torneira de parede", "Conexão soldável",  "Registro de gaveta"};
    static const char *const medidas[] = {"1/4 x 2\"", "3/8\"", "6 mm",  "10 A",  "2,5 mm²", "500 ml",
                                          "1 L",       "9 W",   "20 mm", "3/4\"", "5 kg",    "branca"};
    static const char *const fabricantes[] = {"Fixabem",     "Eletrosul", "Limpamais", "Hidroforte",
                                              "Luzdobrasil", "Metalpar",  "Conexflex"};
    static const char *const unidades[] = {"UN", "CX", "PC", "KG", "LT"};
    Insercao ins(db, "tbproduto",
                 {"idProduto",   "CODIGO",        "PRODUTO",      "ESTOQUE",   "PRECOVENDA",  "grupo",
                  "POSICAO",     "PRECOCUSTO",    "PRECOLISTA",   "MINIMO",    "FABRICANTE",  "MARGEM",
                  "UNID",        "ICMS",          "IPI",          "kit",       "promocao",    "PRECOPROMO",
                  "UltCompra",   "ValUltCompra",  "QtdUltCompra", "UltVenda",  "ValUltVenda", "QtdUltVenda",
                  "plista",      "dolar",         "tributacao",   "pesobruto", "pesoliquido", "class",
                  "inativo",     "serv",          "tabela",       "multiplo",  "sittribu",    "classfis",
                  "semcomissao", "fixarprevenda", "pesavel",      "piscofins", "reta",        "iss"});
    for (int p = 1; p <= t.produtos; ++p) {
        const double preco = a.centavos(300);
        ins.i(p)
            .t(codigoProduto(p))
            .t(QStringLiteral("%1 %2 %3")
                   .arg(QString::fromUtf8(a.de(tipos)), QString::fromUtf8(a.de(medidas)))
                   .arg(p)
                   .toUtf8())
            .r(a.ate(5) == 0 ? 0 : a.ate(2000) / 2.0)
            .r(preco)
            .t(QByteArray::number(1 + a.ate(40)))
            .t(QStringLiteral("Corredor %1").arg(1 + a.ate(30)).toUtf8())
            .r(preco * 0.6)
            .r(preco * 1.1)
            .r(a.ate(50))
            .t(a.de(fabricantes))
            .r(40)
            .t(a.de(unidades))
            .r(18)
            .r(a.ate(3) == 0 ? 5 : 0)
            .t("N")
            .t(a.ate(10) == 0 ? "S" : "N")
            .r(a.ate(10) == 0 ? preco * 0.9 : 0)
            .t(data(a, 2008))
            .r(preco * 0.6)
            .r(a.ate(500))
            .t(data(a, 2008))
            .r(preco)
            .r(a.ate(100))
            .i(1)
            .i(0)
            .t("T")
            .r(a.ate(1000) / 100.0)
            .r(a.ate(1000) / 100.0)
            .t("A")
            .i(a.ate(100) == 0)
            .i(0)
            .i(1)
            .r(a.ate(5) == 0 ? 12 : 0)
            .t("060")
            .t("8536.69.90")
            .i(0)
            .i(0)
            .i(0)
            .t("01")
            .i(0)
            .i(0)
            .gravar();
    }
}

void preencherClientes(sqlite3 *db, Aleatorio &a, const Tamanhos &t)
{
    static const char *const nomes[] = {"Comercial", "Distribuidora", "Mercado", "Ferragens", "Materiais", "Casa"};
    static const char *const sobrenomes[] = {"São Jorge", "Boa Esperança", "Irmãos Souza", "Paulista",
                                             "Mineira",   "do Vale",       "Santa Luzia",  "Aurora"};
    static const struct {
        const char *cidade, *uf;
    } cidades[] = {{"São Paulo", "SP"},      {"Campinas", "SP"}, {"Ribeirão Preto", "SP"},
                   {"Belo Horizonte", "MG"}, {"Curitiba", "PR"}, {"Goiânia", "GO"}};
    Insercao ins(db, "tbcliente", {"IdCliente",   "Nome",           "End",          "Tel",
                                   "Bairro",      "Cidade",         "UF",           "CEP",
                                   "Email",       "Contato",        "cnpj",         "Iest",
                                   "fantasia",    "cadastro",       "ultimacompra", "valultcompra",
                                   "maiorcompra", "valmaiorcompra", "menorcompra",  "valmenorcompra",
                                   "regiao",      "status",         "Cel",          "CliFPagto",
                                   "funcionario", "TipoCli",        "tolera"});
    for (int c = 1; c <= t.clientes; ++c) {
        const auto &cid = a.de(cidades);
        const QString fantasia =
            QStringLiteral("%1 %2").arg(QString::fromUtf8(a.de(nomes)), QString::fromUtf8(a.de(sobrenomes)));
        ins.i(c)
            .t((fantasia + QStringLiteral(" Ltda %1").arg(c)).toUtf8())
            .t(QStringLiteral("Rua das Flores, %1").arg(1 + a.ate(2000)).toUtf8())
            .t(QStringLiteral("(11) 3%1-%2")
                   .arg(a.ate(1000), 3, 10, QLatin1Char('0'))
                   .arg(a.ate(10000), 4, 10, QLatin1Char('0'))
                   .toUtf8())
            .t("Centro")
            .t(cid.cidade)
            .t(cid.uf)
            .t(QStringLiteral("%1-%2").arg(10000 + a.ate(89999)).arg(a.ate(1000), 3, 10, QLatin1Char('0')).toUtf8())
            .t(QStringLiteral("compras%1@exemplo.com.br").arg(c).toUtf8())
            .t("Sr. Gerente")
            .t(QStringLiteral("%1.%2.%3/0001-%4")
                   .arg(10 + a.ate(89))
                   .arg(a.ate(1000), 3, 10, QLatin1Char('0'))
                   .arg(a.ate(1000), 3, 10, QLatin1Char('0'))
                   .arg(a.ate(100), 2, 10, QLatin1Char('0'))
                   .toUtf8())
            .t("ISENTO")
            .t(fantasia.left(25).toUtf8())
            .t(data(a, 2005))
            .t(data(a, 2010))
            .r(a.centavos(5000))
            .t(data(a, 2009))
            .r(a.centavos(20000))
            .t(data(a, 2009))
            .r(a.centavos(500))
            .t(QStringLiteral("%1").arg(1 + a.ate(20), 2, 10, QLatin1Char('0')).toUtf8())
            .t("ATIVO")
            .t("(11) 99999-0000")
            .t(QByteArray::number(1 + a.ate(5)))
            .t("12")
            .t("Varejo")
            .i(30)
            .gravar();
    }
}

void preencherPedidos(sqlite3 *db, Aleatorio &a, const Tamanhos &t)
{
    Insercao cab(db, "tbpedido",
                 {"nr_pedido", "idFunc", "idCliente", "dt_pedido", "nm_forma_pagamento", "tp_localidade", "idforma",
                  "impresso", "enviado", "vl_total_item", "dv", "avista", "observacao", "cif", "vl_gordura"});
    Insercao item(db, "tbpedido_item",
                  {"nr_pedido", "idfunc", "codigo", "quantidade", "valorUnitario", "valorTotal", "cd_desconto1",
                   "cd_desconto2", "cd_desconto3", "desconto", "gordura1", "vl_gordura"});
    for (int p = 1; p <= t.pedidos; ++p) {
        double total = 0;
        for (int k = 0; k < t.itensPorPedido; ++k) {
            const int qtd = 1 + a.ate(24);
            const double unitario = a.centavos(300);
            total += qtd * unitario;
            item.i(p)
                .t("12")
                .t(codigoProduto(1 + a.ate(t.produtos)))
                .i(qtd)
                .r(unitario)
                .r(qtd * unitario)
                .t("0")
                .t(a.ate(4) == 0 ? "A" : "0")
                .t("0")
                .r(0)
                .t("0")
                .r(0)
                .gravar();
        }
        cab.i(p)
            .t("12")
            .i(1 + a.ate(t.clientes))
            .t(data(a, 2009))
            .t("28 dias")
            .t("N")
            .i(1 + a.ate(5))
            .i(a.ate(2))
            .i(a.ate(2))
            .r(total)
            .i(0)
            .i(0)
            .t("Entregar pela manhã")
            .t("Não")
            .r(0)
            .gravar();
    }
}

} // namespace

void exec(sqlite3 *db, const char *sql)
{
    char *erro = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &erro) != SQLITE_OK)
        std::fprintf(stderr, "erro: %s\n", erro);
    sqlite3_free(erro);
}

sqlite3 *abrirBancoNovo(const QString &pasta)
{
    const QString banco = pasta + QStringLiteral("corlando.db");
    QFile::remove(banco);
    Esquema::criarBancoLocal(banco);
    sqlite3 *db = nullptr;
    sqlite3_open_v2(banco.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    return db;
}

void escreverConfiguracao(const QString &pasta, bool comCentral)
{
    auto escrever = [&](const char *nome, const char *texto) {
        QFile f(pasta + QString::fromUtf8(nome));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(texto);
    };
    escrever("Mirvale.ini", "[CONEXAO]\nPATH=local.udl\nPATH-BKP=central.udl\n");
    escrever("local.udl", "[LINK]\nDRIVER=QSQLITE\nDATABASE=corlando.db\n");
    if (comCentral)
        escrever("central.udl", "[LINK]\nDRIVER=QSQLITE\nDATABASE=central.db\n");
}

void criarBanco(const QString &pasta, const Tamanhos &t)
{
    sqlite3 *db = abrirBancoNovo(pasta);
    exec(db, "BEGIN");
    Aleatorio a;
    preencherProdutos(db, a, t);
    preencherClientes(db, a, t);
    preencherPedidos(db, a, t);
    exec(db, "INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('12', 'JOÃO SILVA');"
             "INSERT INTO tbforma (idforma, codigo, Forma) VALUES (1, '001', 'Dinheiro'), (2, '002', 'Boleto 28 "
             "dias'), (3, '003', 'Boleto 28/56'), (4, '004', 'Cheque 30 dias'), (5, '005', 'Cartão');"
             "INSERT INTO tblocalidades VALUES ('P', 'Praça'), ('N', 'Normal'), ('S', 'Sede');"
             "INSERT INTO tbconfiguracoes (cod_funcionario) VALUES ('12');");
    exec(db, "COMMIT");
    sqlite3_close(db);
    escreverConfiguracao(pasta);
}

double mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double cpuMs()
{
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    auto ms = [](const timeval &t) {
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
    };
    return ms(uso.ru_utime) + ms(uso.ru_stime);
}

void Amostras::acrescentar(double msDecorrido, double msCpu)
{
    decorrido.push_back(msDecorrido);
    cpu.push_back(msCpu);
}

double Amostras::mediana() const
{
    return ::mediana(decorrido);
}

double Amostras::minimo() const
{
    return *std::min_element(decorrido.begin(), decorrido.end());
}

double Amostras::cpuMediana() const
{
    return ::mediana(cpu);
}

double Amostras::cpuMinimo() const
{
    return *std::min_element(cpu.begin(), cpu.end());
}

QString Amostras::texto() const
{
    return QStringLiteral("%1 ms (mín. %2; CPU %3, mín. %4)")
        .arg(mediana(), 0, 'f', 1)
        .arg(minimo(), 0, 'f', 1)
        .arg(cpuMediana(), 0, 'f', 1)
        .arg(cpuMinimo(), 0, 'f', 1);
}

void cronometrar(Amostras &amostras, const std::function<void()> &operacao)
{
    QElapsedTimer t;
    const double cpu = cpuMs();
    t.start();
    operacao();
    amostras.acrescentar(t.nsecsElapsed() / 1e6, cpuMs() - cpu);
}

Amostras amostrar(int repeticoes, const std::function<void()> &operacao, const std::function<void()> &desfazer)
{
    Amostras a;
    for (int i = 0; i < repeticoes; ++i) {
        cronometrar(a, operacao);
        if (desfazer)
            desfazer();
    }
    return a;
}

Medida medir(int repeticoes, const std::function<void()> &operacao, const std::function<void()> &desfazer)
{
    std::vector<double> tempos, cpus;
    for (int i = 0; i < repeticoes; ++i) {
        QElapsedTimer t;
        const double cpu = cpuMs();
        t.start();
        operacao();
        tempos.push_back(t.nsecsElapsed() / 1e6);
        cpus.push_back(cpuMs() - cpu);
        if (desfazer)
            desfazer();
    }
    return {mediana(tempos), *std::max_element(tempos.begin(), tempos.end()), mediana(cpus)};
}

namespace
{

double campoStatusMB(const char *nome)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &linha : f.readAll().split('\n'))
        if (linha.startsWith(nome))
            return linha.mid(static_cast<qsizetype>(qstrlen(nome))).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

} // namespace

double residenteMB()
{
    return campoStatusMB("VmRSS:");
}

double picoMB()
{
    return campoStatusMB("VmHWM:");
}

void zerarPico()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}
