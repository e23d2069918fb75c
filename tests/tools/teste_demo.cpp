#include "conexao.h"
#include "dinheiro.h"
#include "erro.h"
#include "esquema.h"
#include "formatos.h"
#include "impressao_qt.h"
#include "instrucao_sql.h"
#include "ufunc.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <cmath>
#include <map>
#include <memory>

#include <gtest/gtest.h>

// Money in failure messages as the user reads it.
static void PrintTo(const Dinheiro &d, std::ostream *os)
{
    *os << d.texto().toStdString();
}

namespace
{

const QStringList kArquivos = {QStringLiteral("corlando.db"), QStringLiteral("central.db"), QStringLiteral("logo.bmp")};

void gerar(const QString &pasta)
{
    const QStringList tipos = {QStringLiteral("local"), QStringLiteral("central"), QStringLiteral("logo")};
    for (int i = 0; i < tipos.size(); ++i) {
        QProcess p;
        p.start(QStringLiteral(GERAR_DEMO), {tipos[i], QDir(pasta).filePath(kArquivos[i])});
        ASSERT_TRUE(p.waitForFinished(-1));
        ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    }
}

// A read-only connection to a generated database.
class Banco
{
  public:
    explicit Banco(const QString &arquivo) : m_conexao(std::make_unique<Conexao>(arquivo))
    {
        try {
            m_conexao->abrirBanco(arquivo);
            m_conexao->executar(QStringLiteral("PRAGMA query_only = ON"));
        } catch (const Erro &e) {
            ADD_FAILURE() << e.mensagem().toStdString();
        }
    }

    std::vector<QVariantList> linhas(const QString &sql) const
    {
        std::vector<QVariantList> resultado;
        try {
            InstrucaoSql q(*m_conexao, sql);
            while (q.proxima()) {
                QVariantList linha;
                for (int i = 0; i < q.colunas(); ++i)
                    linha << q.valor(i);
                resultado.push_back(linha);
            }
        } catch (const Erro &e) {
            ADD_FAILURE() << sql.toStdString() << ": " << e.mensagem().toStdString();
        }
        return resultado;
    }
    void anexar(const QString &arquivo, const char *apelido) const
    {
        try {
            InstrucaoSql q(*m_conexao,
                           QStringLiteral("ATTACH DATABASE '%1' AS %2").arg(arquivo, QString::fromUtf8(apelido)));
            q.proxima();
        } catch (const Erro &e) {
            FAIL() << e.mensagem().toStdString();
        }
    }
    QVariant valor(const QString &sql) const
    {
        const auto l = linhas(sql);
        return l.empty() ? QVariant() : l.front().value(0);
    }

  private:
    std::unique_ptr<Conexao> m_conexao;
};

Dinheiro dinheiro(const QVariant &v)
{
    return Dinheiro::deDouble(v.toDouble());
}

// The official check: weights 5..2,9..2 then 6..2,9..2, remainder below 2 gives 0.
bool cnpjValido(const QString &cnpj)
{
    static const QRegularExpression forma(QStringLiteral("^\\d{2}\\.\\d{3}\\.\\d{3}/\\d{4}-\\d{2}$"));
    if (!forma.match(cnpj).hasMatch())
        return false;
    QString d = cnpj;
    d.remove(QRegularExpression(QStringLiteral("\\D")));
    auto dv = [&d](int n) {
        static const int pesos[] = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
        int soma = 0;
        for (int i = 0; i < n; ++i)
            soma += d[i].digitValue() * pesos[i + 13 - n];
        return soma % 11 < 2 ? 0 : 11 - soma % 11;
    };
    return dv(12) == d[12].digitValue() && dv(13) == d[13].digitValue();
}

class Demo : public ::testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        s_primeira = std::make_unique<QTemporaryDir>();
        s_segunda = std::make_unique<QTemporaryDir>();
        gerar(s_primeira->path());
        gerar(s_segunda->path());
    }
    static void TearDownTestSuite()
    {
        s_primeira.reset();
        s_segunda.reset();
    }
    static QString arquivo(const QString &nome) { return QDir(s_primeira->path()).filePath(nome); }

    Banco local{arquivo(QStringLiteral("corlando.db"))};
    Banco central{arquivo(QStringLiteral("central.db"))};

    static std::unique_ptr<QTemporaryDir> s_primeira;
    static std::unique_ptr<QTemporaryDir> s_segunda;
};

std::unique_ptr<QTemporaryDir> Demo::s_primeira;
std::unique_ptr<QTemporaryDir> Demo::s_segunda;

TEST_F(Demo, DuasExecucoesGeramOsMesmosBytes)
{
    for (const QString &nome : kArquivos) {
        QFile a(arquivo(nome));
        QFile b(QDir(s_segunda->path()).filePath(nome));
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly)) << nome.toStdString();
        const QByteArray bytes = a.readAll();
        EXPECT_FALSE(bytes.isEmpty()) << nome.toStdString();
        EXPECT_TRUE(bytes == b.readAll()) << nome.toStdString();
    }
}

TEST_F(Demo, QuantidadesDeLinhas)
{
    struct Caso {
        bool central;
        const char *tabela;
        int minimo;
        int maximo;
    } casos[] = {
        {false, "tbproduto", 200, 300}, {false, "tbcliente", 50, 50},       {false, "tbfuncionario", 1, 1},
        {false, "tbforma", 5, 10},      {false, "tblocalidades", 3, 5},     {false, "tbconfiguracoes", 1, 1},
        {false, "tbpedido", 50, 100},   {false, "tbpedido_item", 150, 700}, {true, "tbproduto", 400, 450},
        {true, "tbcliente", 150, 150},  {true, "tbfuncionario", 3, 10},     {true, "tbforma", 5, 10},
    };
    for (const Caso &c : casos) {
        const int n = (c.central ? central : local)
                          .valor(QStringLiteral("SELECT count(*) FROM %1").arg(QString::fromUtf8(c.tabela)))
                          .toInt();
        EXPECT_GE(n, c.minimo) << c.tabela << (c.central ? " central" : " local");
        EXPECT_LE(n, c.maximo) << c.tabela << (c.central ? " central" : " local");
    }
}

TEST_F(Demo, TextosCabemNasLargurasDasColunas)
{
    const std::pair<const Banco *, const std::vector<DefConjunto> *> bancos[] = {
        {&local, &Esquema::tabelasLocais()}, {&central, &Esquema::tabelasCentrais()}};
    for (const auto &[banco, tabelas] : bancos)
        for (const DefConjunto &t : *tabelas)
            for (const DefCampo &c : t.campos) {
                const bool texto = c.tipo == TipoCampo::Texto || c.tipo == TipoCampo::TextoAnsi;
                if (!texto || c.origem != Origem::Coluna || c.largura == 0)
                    continue;
                const int maior =
                    banco->valor(QStringLiteral("SELECT max(length(\"%1\")) FROM %2").arg(c.nome, t.tabela)).toInt();
                EXPECT_LE(maior, c.largura) << t.tabela << "." << c.nome;
            }
}

TEST_F(Demo, ClientesComFormaDePagamentoExistenteECnpjValido)
{
    ASSERT_TRUE(cnpjValido(QStringLiteral("11.222.333/0001-81")));
    ASSERT_FALSE(cnpjValido(QStringLiteral("11.222.333/0001-82")));
    for (const Banco *banco : {&local, &central}) {
        EXPECT_EQ(banco
                      ->valor(QStringLiteral("SELECT count(*) FROM tbcliente WHERE CliFPagto IS NULL OR CliFPagto "
                                             "NOT IN (SELECT CAST(idforma AS TEXT) FROM tbforma)"))
                      .toInt(),
                  0);
        QSet<QString> vistos;
        for (const auto &l : banco->linhas(QStringLiteral("SELECT cnpj FROM tbcliente"))) {
            const QString cnpj = l[0].toString();
            EXPECT_TRUE(cnpjValido(cnpj)) << cnpj.toStdString();
            EXPECT_FALSE(vistos.contains(cnpj)) << cnpj.toStdString();
            vistos.insert(cnpj);
        }
    }
}

// The sample orders must look as the order screen leaves them: no freight or
// discount, so re-pricing keeps every value, and totals that add up.
TEST_F(Demo, PedidosBatemComSeusItensEProdutos)
{
    std::map<int, Dinheiro> somas;
    for (const auto &l : local.linhas(QStringLiteral(
             "SELECT i.nr_pedido, i.quantidade, i.valorUnitario, i.valorTotal, p.PRECOVENDA, p.multiplo, i.codigo "
             "FROM tbpedido_item i LEFT JOIN tbproduto p ON p.CODIGO = i.codigo"))) {
        const QString codigo = l[6].toString();
        ASSERT_FALSE(l[4].isNull()) << "produto " << codigo.toStdString();
        const int quantidade = l[1].toInt();
        EXPECT_EQ(dinheiro(l[2]), dinheiro(l[4])) << codigo.toStdString();
        EXPECT_EQ(dinheiro(l[3]), dinheiro(l[2]).multiplicar(quantidade)) << codigo.toStdString();
        const long multiplo = std::lrint(l[5].toDouble());
        if (multiplo > 0) {
            EXPECT_EQ(quantidade % multiplo, 0) << codigo.toStdString();
        }
        somas[l[0].toInt()] += dinheiro(l[3]);
    }
    const auto pedidos = local.linhas(QStringLiteral(
        "SELECT p.nr_pedido, p.vl_total_item, p.idforma, c.CliFPagto, p.vl_total_pacote, p.vl_diferenca_troca, "
        "p.vl_total_venda_casada, p.cif, p.idFunc FROM tbpedido p LEFT JOIN tbcliente c ON c.IdCliente = p.idCliente"));
    QSet<bool> enviados;
    for (const auto &l : pedidos) {
        const int nr = l[0].toInt();
        EXPECT_EQ(dinheiro(l[1]), somas[nr]) << "pedido " << nr;
        EXPECT_EQ(l[2].toString(), l[3].toString()) << "pedido " << nr;
        EXPECT_TRUE(l[4].isNull() && l[5].isNull() && l[6].isNull()) << "pedido " << nr;
        EXPECT_EQ(l[7].toString(), QStringLiteral("Não"));
        EXPECT_EQ(l[8].toString(), QStringLiteral("12"));
        EXPECT_TRUE(somas.count(nr)) << "pedido sem itens " << nr;
    }
    EXPECT_EQ(local.valor(QStringLiteral("SELECT count(DISTINCT enviado) FROM tbpedido")).toInt(), 2);
}

// The local database is what an earlier update from the central one left:
// its active products, the representative's own row, his region's customers.
TEST_F(Demo, BancoLocalEhCopiaAnteriorDoCentral)
{
    local.anexar(arquivo(QStringLiteral("central.db")), "c");
    struct Caso {
        const char *descricao;
        const char *sql;
        int esperado;
    } casos[] = {
        {"produto local fora do central ativo",
         "SELECT count(*) FROM tbproduto l LEFT JOIN c.tbproduto p ON p.idProduto = l.idProduto AND p.CODIGO = "
         "l.CODIGO AND p.PRODUTO = l.PRODUTO AND p.inativo = 0 WHERE p.idProduto IS NULL",
         0},
        {"produto inativo no local", "SELECT count(*) FROM tbproduto WHERE inativo <> 0", 0},
        {"cliente local diferente do central",
         "SELECT count(*) FROM tbcliente l LEFT JOIN c.tbcliente p ON p.IdCliente = l.IdCliente AND p.Nome = l.Nome "
         "AND p.regiao = '12' WHERE p.IdCliente IS NULL",
         0},
        {"cliente da região fora do local",
         "SELECT count(*) FROM c.tbcliente WHERE regiao = '12' AND IdCliente NOT IN (SELECT IdCliente FROM "
         "tbcliente)",
         0},
        {"representante ausente do central",
         "SELECT count(*) FROM tbfuncionario l JOIN c.tbfuncionario p ON p.idfunc = CAST(l.idfunc AS INTEGER) AND "
         "p.Nome = l.Nome WHERE l.idfunc = (SELECT cod_funcionario FROM tbconfiguracoes)",
         1},
        {"configuração que não baixa central.db",
         "SELECT count(*) FROM tbconfiguracoes WHERE ftp_arquivo = 'central.db'", 1},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(local.valor(QString::fromUtf8(c.sql)).toInt(), c.esperado) << c.descricao;
    EXPECT_GT(central.valor(QStringLiteral("SELECT count(*) FROM tbproduto WHERE inativo <> 0")).toInt(), 0);
    EXPECT_GT(central.valor(QStringLiteral("SELECT count(DISTINCT regiao) FROM tbcliente")).toInt(), 2);
}

// The order screen colours a customer by the days since his last purchase:
// below 20, 20 to 39, 40 to 59, 60 or more. Each band has customers.
TEST_F(Demo, UltimasComprasCobremTodasAsFaixasDeDias)
{
    const QDateTime referencia(QDate(2026, 11, 30), QTime(0, 0));
    QSet<int> faixas;
    for (const auto &l : local.linhas(QStringLiteral("SELECT ultimacompra FROM tbcliente"))) {
        const qint64 dias = Formatos::lerDataHoraBanco(l[0].toString()).daysTo(referencia);
        ASSERT_GE(dias, 0);
        faixas.insert(static_cast<int>(std::min<qint64>(dias / 20, 3)));
    }
    EXPECT_EQ(faixas, (QSet<int>{0, 1, 2, 3}));
}

TEST_F(Demo, LogoEhUmBitmapDesenhado)
{
    const QImage logo(arquivo(QStringLiteral("logo.bmp")), "BMP");
    ASSERT_FALSE(logo.isNull());
    EXPECT_EQ(logo.size(), QSize(600, 200));
    QSet<QRgb> cores;
    for (int y = 0; y < logo.height(); y += 4)
        for (int x = 0; x < logo.width(); x += 4)
            cores.insert(logo.pixel(x, y));
    EXPECT_GT(cores.size(), 3);
}

TEST(DemoArquivosDeLigacao, ApontamParaOsBancosDaPasta)
{
    const QDir pasta(QStringLiteral(PASTA_DEMO));
    const QString ini = pasta.filePath(QStringLiteral("Mirvale.ini"));
    EXPECT_EQ(LerIni(QStringLiteral("CONEXAO"), QStringLiteral("PATH"), ini), QStringLiteral("local.udl"));
    EXPECT_EQ(LerIni(QStringLiteral("CONEXAO"), QStringLiteral("PATH-BKP"), ini), QStringLiteral("central.udl"));
    const std::pair<const char *, const char *> ligacoes[] = {{"local.udl", "corlando.db"},
                                                              {"central.udl", "central.db"}};
    for (const auto &[udl, banco] : ligacoes) {
        const QString arquivo = pasta.filePath(QString::fromUtf8(udl));
        EXPECT_EQ(LerIni(QStringLiteral("LINK"), QStringLiteral("DRIVER"), arquivo), QStringLiteral("QSQLITE")) << udl;
        EXPECT_EQ(LerIni(QStringLiteral("LINK"), QStringLiteral("DATABASE"), arquivo), QString::fromUtf8(banco)) << udl;
    }
}

} // namespace
