#include "erro.h"
#include "impressao_qt.h"
#include "motor_relatorio.h"
#include "pdf_teste.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

class FonteFixa : public FonteRelatorio
{
  public:
    FonteFixa(QString nome, CamposRelatorio atual, QList<CamposRelatorio> linhas = {})
        : m_nome(std::move(nome)), m_atual(std::move(atual)), m_linhas(std::move(linhas))
    {
    }
    QString nome() const override { return m_nome; }
    CamposRelatorio registroAtual() const override { return m_atual; }
    QList<CamposRelatorio> linhas() const override { return m_linhas; }

  private:
    QString m_nome;
    CamposRelatorio m_atual;
    QList<CamposRelatorio> m_linhas;
};

const char *const kModeloPedido = R"(<html><body>
{{#logo}}<img src="{{logo}}" width="80">{{/logo}}
<h2>Pedido nº {{rvdsPedido.nr_pedido}}</h2>
<p>Cliente: {{rvdsCliente.Nome}}</p>
<p>Forma padrão: {{pFormaPgtoPadrao}}</p>
<p>Observação: {{rvdsPedido.obs}}</p>
<table border="1" cellspacing="0" cellpadding="2" width="100%">
<thead><tr><th>Código</th><th>Descrição do produto</th><th>Qtde</th></tr></thead>
{{#rvdsPedidoItem.linhas}}
<tr><td>{{codigo}}</td><td>{{descricao}}</td><td>{{quantidade}}</td></tr>
{{/rvdsPedidoItem.linhas}}
</table>
</body></html>
)";

class MotorRelatorio : public ::testing::Test
{
  protected:
    void SetUp() override { ASSERT_TRUE(m_pasta.isValid()); }

    QString caminho(const QString &nome) const { return m_pasta.filePath(nome); }

    QString escreverModelo(const QString &nome, const QByteArray &conteudo) const
    {
        QFile f(caminho(nome));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(conteudo);
        return f.fileName();
    }

    static QList<CamposRelatorio> itens(int quantidade)
    {
        QList<CamposRelatorio> linhas;
        for (int i = 1; i <= quantidade; ++i)
            linhas.append({{QStringLiteral("codigo"), QStringLiteral("P%1").arg(i, 3, 10, QLatin1Char('0'))},
                           {QStringLiteral("descricao"), QStringLiteral("Açúcar cristal São João nº %1").arg(i)},
                           {QStringLiteral("quantidade"), QString::number(i * 2)}});
        return linhas;
    }

    // Renders the order template over a header, a customer and `quantidade` items.
    QString gerarPedido(int quantidade, const QString &nomePdf)
    {
        const QString modelo = escreverModelo(QStringLiteral("pedido.rav"), kModeloPedido);
        const FonteFixa pedido(QStringLiteral("rvdsPedido"),
                               {{QStringLiteral("nr_pedido"), QStringLiteral("1234")},
                                {QStringLiteral("obs"), QStringLiteral("Entregar após 14h\nPortão azul")}});
        const FonteFixa cliente(QStringLiteral("rvdsCliente"),
                                {{QStringLiteral("Nome"), QStringLiteral("Bar & Lanches <Zé>")}});
        const FonteFixa item(QStringLiteral("rvdsPedidoItem"), {}, itens(quantidade));
        const QString pdf = caminho(nomePdf);
        GerarRelatorio(modelo, {&pedido, &cliente, &item},
                       {{QStringLiteral("pFormaPgtoPadrao"), QStringLiteral("003 - À vista")}}, pdf);
        return pdf;
    }

    QTemporaryDir m_pasta;
};

TEST_F(MotorRelatorio, PdfTrazRegistroAtualLinhasEParametros)
{
    // A previous file of the same name is replaced.
    QFile antigo(caminho(QStringLiteral("pedido-1234.pdf")));
    ASSERT_TRUE(antigo.open(QIODevice::WriteOnly));
    antigo.write("lixo");
    antigo.close();

    const QString pdf = gerarPedido(3, QStringLiteral("pedido-1234.pdf"));
    ASSERT_EQ(PaginasPdf(pdf), 1);
    const QString texto = TextoPdf(pdf);
    for (const char *esperado : {"Pedido nº 1234", "Cliente: Bar & Lanches <Zé>", "Forma padrão: 003 - À vista",
                                 "Açúcar cristal São João nº 1", "Açúcar cristal São João nº 3", "Página 1 de 1"})
        EXPECT_TRUE(texto.contains(QString::fromUtf8(esperado))) << esperado << "\n" << texto.toStdString();
    EXPECT_FALSE(texto.contains(QStringLiteral("nº 4")));

    // A multi-line field keeps its line break.
    const QStringList linhas = texto.split('\n');
    EXPECT_TRUE(std::any_of(linhas.begin(), linhas.end(), [](const QString &l) {
        return l.trimmed() == QStringLiteral("Portão azul");
    })) << texto.toStdString();
}

TEST_F(MotorRelatorio, ValorVazioContaComoAusente)
{
    const QString modelo = escreverModelo(QStringLiteral("cliente.rav"), R"(
<p>{{#rvdsCliente.Email}}E-mail: {{rvdsCliente.Email}}{{/rvdsCliente.Email}}{{^rvdsCliente.Email}}Sem e-mail{{/rvdsCliente.Email}}</p>
<p>{{^pUltimaCompraData}}Nunca comprou{{/pUltimaCompraData}}</p>
{{#rvdsCliente.linhas}}<p>{{Nome}}{{#Cel}}, celular {{Cel}}{{/Cel}}</p>{{/rvdsCliente.linhas}}
)");
    const FonteFixa cliente(
        QStringLiteral("rvdsCliente"),
        {{QStringLiteral("Nome"), QStringLiteral("Zé")}, {QStringLiteral("Email"), QString()}},
        {{{QStringLiteral("Nome"), QStringLiteral("Zé")}, {QStringLiteral("Cel"), QString()}},
         {{QStringLiteral("Nome"), QStringLiteral("Ana")}, {QStringLiteral("Cel"), QStringLiteral("9999-0000")}}});
    const QString pdf = caminho(QStringLiteral("cliente.pdf"));
    GerarRelatorio(modelo, {&cliente}, {{QStringLiteral("pUltimaCompraData"), QString()}}, pdf);
    const QString texto = TextoPdf(pdf);
    for (const char *esperado : {"Sem e-mail", "Nunca comprou", "Ana, celular 9999-0000"})
        EXPECT_TRUE(texto.contains(QString::fromUtf8(esperado))) << esperado << "\n" << texto.toStdString();
    EXPECT_FALSE(texto.contains(QStringLiteral("E-mail:")));
    EXPECT_FALSE(texto.contains(QStringLiteral("Zé, celular")));
}

TEST_F(MotorRelatorio, PaginasCrescemComAsLinhasRepetindoCabecalhoENumerando)
{
    const int poucas = PaginasPdf(gerarPedido(5, QStringLiteral("5.pdf")));
    const int medias = PaginasPdf(gerarPedido(60, QStringLiteral("60.pdf")));
    const QString pdf = gerarPedido(200, QStringLiteral("200.pdf"));
    const int muitas = PaginasPdf(pdf);
    EXPECT_EQ(poucas, 1);
    EXPECT_GE(medias, 2);
    EXPECT_GT(muitas, medias);

    EXPECT_TRUE(TextoPdf(pdf).contains(QStringLiteral("Açúcar cristal São João nº 200")));
    for (int pagina = 1; pagina <= muitas; ++pagina) {
        const QString texto = TextoPdf(pdf, pagina);
        EXPECT_TRUE(texto.contains(QStringLiteral("Página %1 de %2").arg(pagina).arg(muitas))) << pagina;
        EXPECT_TRUE(texto.contains(QStringLiteral("Descrição do produto"))) << pagina;
    }
    // The page heading is the template's, not repeated; only the table header is.
    EXPECT_FALSE(TextoPdf(pdf, 2).contains(QStringLiteral("Pedido nº")));
}

TEST_F(MotorRelatorio, ErrosClaros)
{
    const QString valido = escreverModelo(QStringLiteral("valido.rav"), "<p>{{pX}}</p>");
    const QString malformado =
        escreverModelo(QStringLiteral("malformado.rav"), "<table>{{#rvdsPedidoItem.linhas}}<tr></tr></table>");
    struct Caso {
        QString modelo, pdf, inicio;
    } casos[] = {
        {caminho(QStringLiteral("nao-existe.rav")), caminho(QStringLiteral("a.pdf")),
         QStringLiteral("Modelo de relatório não encontrado: ")},
        {malformado, caminho(QStringLiteral("b.pdf")), QStringLiteral("Modelo de relatório inválido: ")},
        {valido, caminho(QStringLiteral("sem-pasta/c.pdf")), QStringLiteral("Não foi possível gravar o arquivo: ")},
    };
    for (const Caso &c : casos) {
        try {
            GerarRelatorio(c.modelo, {}, {}, c.pdf);
            ADD_FAILURE() << "sem erro: " << c.inicio.toStdString();
        } catch (const Erro &e) {
            EXPECT_TRUE(e.mensagem().startsWith(c.inicio)) << e.mensagem().toStdString();
            EXPECT_FALSE(QFile::exists(c.pdf));
        }
    }
}

TEST_F(MotorRelatorio, LogoAoLadoDoModeloQuandoExiste)
{
    EXPECT_EQ(ImagensPdf(gerarPedido(1, QStringLiteral("sem-logo.pdf"))), 0);

    QImage logo(60, 30, QImage::Format_RGB32);
    logo.fill(Qt::darkBlue);
    ASSERT_TRUE(logo.save(caminho(QStringLiteral("logo.bmp"))));
    EXPECT_EQ(ImagensPdf(gerarPedido(1, QStringLiteral("com-logo.pdf"))), 1);
}

TEST_F(MotorRelatorio, ModeloEscolhePaginaPaisagem)
{
    const QString retrato = escreverModelo(QStringLiteral("r.rav"), "<p>x</p>");
    const QString paisagem = escreverModelo(
        QStringLiteral("p.rav"), R"(<html><head><meta name="orientacao" content="paisagem"></head><p>x</p>)");
    GerarRelatorio(retrato, {}, {}, caminho(QStringLiteral("r.pdf")));
    GerarRelatorio(paisagem, {}, {}, caminho(QStringLiteral("p.pdf")));
    // A4: 595 x 842 points.
    EXPECT_NEAR(TamanhoPaginaPdf(caminho(QStringLiteral("r.pdf"))).width(), 595, 1);
    EXPECT_NEAR(TamanhoPaginaPdf(caminho(QStringLiteral("p.pdf"))).width(), 842, 1);
}

} // namespace
