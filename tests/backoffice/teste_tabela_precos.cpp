#include "relatorios.h"
#include "relatorios_teste.h"
#include "ufunc.h"

#include <QDateTime>
#include <QRegularExpression>

namespace
{

// Prices on the rounding and grouping edges.
class TabelaPrecos : public RelatoriosTeste
{
  protected:
    void SetUp() override
    {
        RelatoriosTeste::SetUp();
        pasta.executar(QStringLiteral("INSERT INTO tbproduto (CODIGO, PRODUTO, FABRICANTE, UNID, PRECOVENDA) VALUES"
                                      " ('B200', 'ARRUELA Ø 1/4', 'FIXAMAX', 'UN', 100),"
                                      " ('A100', 'PARAFUSO; SEXTAVADO', 'AÇOFORTE', 'PC', 1234.5),"
                                      " ('C300', 'PORCA', 'FIXAMAX', 'UN', 0.005),"
                                      " ('D400', 'CHAVE DE BOCA', 'FERRAMAX', 'PC', 1234567.891);"));
        abrir();
    }

    // The file's bytes after its header line; the header checked against
    // the time of the run.
    QByteArray corpoDoCsv(const char *tabela, const QDateTime &antes)
    {
        QFile arquivo(saida(QStringLiteral("todos-produtos-"), QStringLiteral(".csv")));
        EXPECT_TRUE(arquivo.open(QIODevice::ReadOnly));
        const QByteArray bytes = arquivo.readAll();
        const qsizetype fim = bytes.indexOf("\r\n");
        const QByteArray cabecalho = bytes.left(fim);
        const QByteArray esperado = QByteArray("CODIGO;PRODUTO;") + tabela + ";FABRICANTE;GERADO \xC0S: ";
        EXPECT_TRUE(cabecalho.startsWith(esperado)) << cabecalho.toStdString();
        const QDateTime gerado = QDateTime::fromString(QString::fromLatin1(cabecalho.mid(esperado.size())),
                                                       QStringLiteral("dd/MM/yyyy hh:mm:ss"));
        EXPECT_TRUE(gerado.isValid()) << cabecalho.toStdString();
        EXPECT_GE(gerado, antes.addMSecs(-antes.time().msec()));
        EXPECT_LE(gerado, QDateTime::currentDateTime());
        return bytes.mid(fim + 2);
    }
};

TEST_F(TabelaPrecos, CsvCif1EhOPrecoDeVendaComMilharEmWindows1252)
{
    const QDateTime antes = QDateTime::currentDateTime();
    dialogos.responder(Resposta::Sim).responder(Resposta::Sim);

    RelatorioTodosProdutos();

    EXPECT_EQ(corpoDoCsv("CIF1", antes), QByteArray("A100;PARAFUSO; SEXTAVADO;1.234,50;A\xC7OFORTE\r\n"
                                                    "B200;ARRUELA \xD8 1/4;100,00;FIXAMAX\r\n"
                                                    "C300;PORCA;0,01;FIXAMAX\r\n"
                                                    "D400;CHAVE DE BOCA;1.234.567,89;FERRAMAX\r\n"));
    EXPECT_EQ(abertos(), QStringList{saida(QStringLiteral("todos-produtos-"), QStringLiteral(".csv"))});
    const auto &perguntas = dialogos.registros();
    ASSERT_EQ(perguntas.size(), 3u);
    EXPECT_EQ(perguntas[0].texto, QStringLiteral("Clique em \"Sim\" para gerar em \"CSV\".\n"
                                                 "Clique em \"Não\" para gerar em \"PDF\"."));
    EXPECT_EQ(perguntas[1].texto, QStringLiteral("Clique em \"Sim\" para utilizar a tabela \"CIF1\".\n"
                                                 "Clique em \"Não\" para utilizar a tabela \"CIF2\"."));
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(perguntas[static_cast<std::size_t>(i)].titulo, QStringLiteral("Atenção"));
        EXPECT_EQ(perguntas[static_cast<std::size_t>(i)].padrao, Resposta::Nao);
    }
}

TEST_F(TabelaPrecos, CsvCif2EhOPrecoComFreteESubstituiOArquivo)
{
    pasta.escrever(QStringLiteral("relatórios/todos-produtos-") +
                       QDate::currentDate().toString(QStringLiteral("ddMMyyyy")) + QStringLiteral(".csv"),
                   QStringLiteral("antigo\nantigo\nantigo\nantigo\nantigo\nantigo\n"));
    const QDateTime antes = QDateTime::currentDateTime();
    dialogos.responder(Resposta::Sim).responder(Resposta::Nao);

    RelatorioTodosProdutos();

    EXPECT_EQ(corpoDoCsv("CIF2", antes), QByteArray("A100;PARAFUSO; SEXTAVADO;1.278,94;A\xC7OFORTE\r\n"
                                                    "B200;ARRUELA \xD8 1/4;103,60;FIXAMAX\r\n"
                                                    "C300;PORCA;0,01;FIXAMAX\r\n"
                                                    "D400;CHAVE DE BOCA;1.279.012,34;FERRAMAX\r\n"));
}

TEST_F(TabelaPrecos, CsvSemAPastaDeRelatoriosEhUmErroClaro)
{
    ASSERT_TRUE(QDir(pasta.arquivo(QStringLiteral("relatórios"))).removeRecursively());
    dialogos.responder(Resposta::Sim).responder(Resposta::Sim);
    ExecutarProtegido(RelatorioTodosProdutos);
    ASSERT_EQ(dialogos.textos(QStringLiteral("mensagem")).size(), 1);
    EXPECT_TRUE(dialogos.textos(QStringLiteral("mensagem"))
                    .first()
                    .startsWith(QStringLiteral("Não foi possível gravar o arquivo:")));
    EXPECT_TRUE(abertos().isEmpty());
}

struct CasoPdf {
    Resposta tabela;
    const char *titulo;
    const char *linha;
};

class TabelaPrecosPdf : public TabelaPrecos, public ::testing::WithParamInterface<CasoPdf>
{
};

TEST_P(TabelaPrecosPdf, PdfListaTodosOsProdutosNaTabelaEscolhida)
{
    dialogos.responder(Resposta::Nao).responder(GetParam().tabela);
    RelatorioTodosProdutos();
    const QString pdf = saida(QStringLiteral("todos-produtos-"));
    ASSERT_EQ(abertos(), QStringList{pdf});
    const QString t = texto(pdf);
    EXPECT_TRUE(t.contains(QString::fromUtf8(GetParam().titulo))) << t.toStdString();
    EXPECT_TRUE(t.contains(QString::fromUtf8(GetParam().linha))) << t.toStdString();
    EXPECT_TRUE(t.contains(QStringLiteral("Produtos listados 4"))) << t.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Relatorios, TabelaPrecosPdf,
    ::testing::Values(CasoPdf{Resposta::Sim, "TABELA DE PREÇOS CIF1", "B200 ARRUELA Ø 1/4 FIXAMAX UN 100,00"},
                      CasoPdf{Resposta::Nao, "TABELA DE PREÇOS CIF2", "B200 ARRUELA Ø 1/4 FIXAMAX UN 103,60"}));

TEST_F(TabelaPrecos, PdfComProdutoEmEdicaoNaoGeraNada)
{
    dm->QyProduto.editar();
    dialogos.responder(Resposta::Nao).responder(Resposta::Sim);
    RelatorioTodosProdutos();
    EXPECT_TRUE(abertos().isEmpty());
    EXPECT_TRUE(dialogos.roteiroEsgotado());
    dm->QyProduto.cancelar();
}

} // namespace
