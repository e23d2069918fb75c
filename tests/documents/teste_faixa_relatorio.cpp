#include "erro.h"
#include "motor_relatorio.h"
#include "pdf_teste.h"
#include "texto_celula.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

class FonteItens : public FonteRelatorio
{
  public:
    explicit FonteItens(QList<CamposRelatorio> linhas) : m_linhas(std::move(linhas)) {}
    QString nome() const override { return QStringLiteral("rvdsPedidoItem"); }
    CamposRelatorio registroAtual() const override { return {{QStringLiteral("nr_pedido"), QStringLiteral("77")}}; }
    QList<CamposRelatorio> linhas() const override { return m_linhas; }

  private:
    QList<CamposRelatorio> m_linhas;
};

// A list the way the shipped templates draw theirs; %1 is where the band
// attribute goes.
const char *const kModelo = R"(<html><head><style>
  body { font-family: Tahoma; font-size: 8.5pt; }
  table.itens { border-collapse: collapse; }
  table.itens th { background-color: #dde4ee; border: 1px solid #7a8699; padding: 3px; }
  table.itens td { border: 1px solid #b8c2cf; padding: 2px 3px; }
  .num { text-align: right; }
</style></head><body>
<h2>Pedido nº {{rvdsPedidoItem.nr_pedido}}</h2>
<table class="itens" width="100%" cellspacing="0" %1>
<thead><tr><th width="15%">Código</th><th width="60%">Descrição do produto</th><th width="25%" class="num">Qtde</th></tr></thead>
{{#rvdsPedidoItem.linhas}}
<tr><td>{{codigo}}</td><td>{{descricao}}{{#obs}}<br><b>Obs.:</b> {{obs}}{{/obs}}</td><td class="num">{{quantidade}}</td></tr>
{{/rvdsPedidoItem.linhas}}
{{^rvdsPedidoItem.linhas}}<tr><td colspan="3">Nenhum item.</td></tr>{{/rvdsPedidoItem.linhas}}
<tr><td colspan="2">Total de itens</td><td class="num">{{rvdsPedidoItem.nr_pedido}}</td></tr>
</table>
<p>Assinatura do cliente</p>
</body></html>
)";

class FaixaRelatorio : public ::testing::Test
{
  protected:
    void SetUp() override { ASSERT_TRUE(m_pasta.isValid()); }

    QString gerar(const QString &nome, bool comFaixa, const QList<CamposRelatorio> &linhas)
    {
        const QString modelo = m_pasta.filePath(nome + QStringLiteral(".rav"));
        QFile f(modelo);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(
            QString::fromUtf8(kModelo).arg(comFaixa ? QStringLiteral("banda=\"rvdsPedidoItem\"") : QString()).toUtf8());
        f.close();
        const FonteItens itens(linhas);
        const QString pdf = m_pasta.filePath(nome + QStringLiteral(".pdf"));
        GerarRelatorio(modelo, {&itens}, {}, pdf);
        return pdf;
    }

    static QList<CamposRelatorio> itens(int quantidade)
    {
        QList<CamposRelatorio> linhas;
        for (int i = 1; i <= quantidade; ++i)
            linhas.append({{QStringLiteral("codigo"), QStringLiteral("P%1").arg(i, 4, 10, QLatin1Char('0'))},
                           {QStringLiteral("descricao"), QStringLiteral("Açúcar São João & <Cia> nº %1").arg(i)},
                           {QStringLiteral("quantidade"), QString::number(i * 3)},
                           {QStringLiteral("obs"), i % 7 == 0 ? QStringLiteral("frágil") : QString()}});
        return linhas;
    }

    QTemporaryDir m_pasta;
};

QString semEspacos(QString texto)
{
    return texto.remove(QRegularExpression(QStringLiteral("\\s+")));
}

TEST_F(FaixaRelatorio, MesmoTextoEPaginasQueOTextoRico)
{
    for (const int quantidade : {0, 3, 150}) {
        const QString rico = gerar(QStringLiteral("rico-%1").arg(quantidade), false, itens(quantidade));
        const QString faixa = gerar(QStringLiteral("faixa-%1").arg(quantidade), true, itens(quantidade));
        ASSERT_EQ(PaginasPdf(faixa), PaginasPdf(rico)) << quantidade;
        // The closing paragraph is compared apart: the rich-text path can
        // leave it out when the table ends low on the page.
        const QString fecho = QStringLiteral("Assinaturadocliente");
        for (int pagina = 1; pagina <= PaginasPdf(faixa); ++pagina)
            EXPECT_EQ(semEspacos(TextoPdf(faixa, pagina)).remove(fecho).toStdString(),
                      semEspacos(TextoPdf(rico, pagina)).remove(fecho).toStdString())
                << quantidade << " itens, página " << pagina;
        EXPECT_TRUE(semEspacos(TextoPdf(faixa)).contains(fecho)) << quantidade;
    }
}

TEST_F(FaixaRelatorio, CabecalhoEmCadaPaginaELinhaInteiraNumaPagina)
{
    QList<CamposRelatorio> linhas = itens(120);
    // A long description wraps inside its column and keeps its row whole.
    const QString longa = QStringLiteral("INICIO ") + QStringLiteral("palavra comprida ").repeated(60) + "FIM";
    for (int i = 30; i < 120; i += 9)
        linhas[i][QStringLiteral("descricao")] = longa;
    const QString pdf = gerar(QStringLiteral("longo"), true, linhas);
    const int paginas = PaginasPdf(pdf);
    ASSERT_GE(paginas, 3);
    int inicios = 0;
    for (int pagina = 1; pagina <= paginas; ++pagina) {
        const QString texto = TextoPdf(pdf, pagina);
        EXPECT_TRUE(texto.contains(QStringLiteral("Descrição do produto"))) << pagina;
        EXPECT_TRUE(texto.contains(QStringLiteral("Página %1 de %2").arg(pagina).arg(paginas))) << pagina;
        EXPECT_EQ(texto.count(QStringLiteral("INICIO")), texto.count(QStringLiteral("FIM"))) << pagina;
        inicios += int(texto.count(QStringLiteral("INICIO")));
    }
    EXPECT_EQ(inicios, 10);
    EXPECT_TRUE(TextoPdf(pdf, paginas).contains(QStringLiteral("Assinatura do cliente")));
}

TEST_F(FaixaRelatorio, CelulaMaisAltaQueUmaPaginaAtravessaPaginas)
{
    QList<CamposRelatorio> linhas = itens(3);
    linhas[1][QStringLiteral("descricao")] =
        QStringLiteral("COMECO ") + QStringLiteral("observação muito longa ").repeated(64 * 1024 / 23) + "FINAL";
    const QString pdf = gerar(QStringLiteral("mega"), true, linhas);
    const QString texto = TextoPdf(pdf);
    EXPECT_GT(PaginasPdf(pdf), 3);
    for (const char *esperado : {"COMECO", "FINAL", "P0003", "Assinatura do cliente"})
        EXPECT_TRUE(texto.contains(QString::fromUtf8(esperado))) << esperado;
}

TEST_F(FaixaRelatorio, FaixaMalFormadaEhRecusadaComMotivo)
{
    const struct {
        const char *modelo;
        const char *motivo;
    } casos[] = {
        {R"(<table banda="rvdsPedidoItem"><tr><td>x</td></tr></table>)", "{{#rvdsPedidoItem.linhas}}"},
        {R"(<table banda="rvdsPedidoItem">{{#rvdsPedidoItem.linhas}}<tr><td>a</td></tr><tr><td>b</td></tr>{{/rvdsPedidoItem.linhas}}</table>)",
         "uma só linha"},
        {R"(<table banda="rvdsPedidoItem">{{#rvdsPedidoItem.linhas}}<tr><td>a</td></tr>{{/rvdsPedidoItem.linhas}})",
         "</table>"},
    };
    const FonteItens fonte(itens(2));
    for (const auto &c : casos) {
        const QString modelo = m_pasta.filePath(QStringLiteral("ruim.rav"));
        QFile f(modelo);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.modelo);
        f.close();
        const QString pdf = m_pasta.filePath(QStringLiteral("ruim.pdf"));
        try {
            GerarRelatorio(modelo, {&fonte}, {}, pdf);
            ADD_FAILURE() << c.modelo;
        } catch (const Erro &e) {
            EXPECT_TRUE(e.mensagem().startsWith(QStringLiteral("Modelo de relatório inválido: ")))
                << e.mensagem().toStdString();
            EXPECT_TRUE(e.mensagem().contains(QString::fromUtf8(c.motivo))) << e.mensagem().toStdString();
            EXPECT_FALSE(QFile::exists(pdf));
        }
    }
}

TEST(TextoCelula, HtmlDaCelulaViraTextoComNegrito)
{
    const struct {
        const char *html;
        const char *texto;
        int negritos;
    } casos[] = {
        {"  Bar &amp; Lanches &lt;Zé&gt;  ", "Bar & Lanches <Zé>", 0},
        {"<b>ACME</b><br>Fantasia", "ACME\u2028Fantasia", 1},
        {"linha 1<br/>\n  linha 2", "linha 1\u2028linha 2", 0},
        {"<span class=\"nw\">(11)   3333</span> <strong>x</strong>", "(11) 3333 x", 1},
        {"a&nbsp;b &#233; &#xE9;", "a\u00a0b é é", 0},
    };
    for (const auto &c : casos) {
        const TextoCelula t = ConverterCelula(QString::fromUtf8(c.html));
        EXPECT_EQ(t.texto.toStdString(), std::string(c.texto)) << c.html;
        EXPECT_EQ(t.trechos.size(), c.negritos) << c.html;
    }
}

} // namespace
