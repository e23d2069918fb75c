#include "campos_esquema.h"
#include "erro.h"
#include "fonte_resumo.h"
#include "relatorio_comum.h"
#include "relatorios.h"
#include "udm.h"
#include "ufunc.h"
#include "valor_campo.h"

#include <QDateTime>
#include <QDir>
#include <QSaveFile>
#include <QStringEncoder>

namespace
{

const QString kAtencao = QStringLiteral("Atenção");
const QString kPrefixo = QStringLiteral("todos-produtos-");

bool sim(const char *pergunta)
{
    return MsgPergunta(QString::fromUtf8(pergunta), kAtencao, Resposta::Nao) == Resposta::Sim;
}

// CIF1 is the selling price, CIF2 the price with freight.
QString preco(const Registro &produto, bool cif1)
{
    const char *padrao = "###,##0.00";
    if (cif1)
        return ValorCampo::formatar(produto.campo(Campos::Produto::PRECOVENDA).dinheiro(), padrao);
    return ValorCampo::formatar(produto.campo(Campos::Produto::PRECOCOMFRETE).real(), padrao);
}

void gravarCsv(bool cif1)
{
    const ConjuntoDados &produtos = DM->QyProduto;
    QString texto = QStringLiteral("CODIGO;PRODUTO;%1;FABRICANTE;GERADO ÀS: %2\r\n")
                        .arg(cif1 ? QStringLiteral("CIF1") : QStringLiteral("CIF2"),
                             QDateTime::currentDateTime().toString(QStringLiteral("dd/MM/yyyy hh:mm:ss")));
    for (int i = 0; i < produtos.quantidade(); ++i) {
        const Registro p = produtos.registro(i);
        texto += p.campo(Campos::Produto::CODIGO).texto() + u';' + p.campo(Campos::Produto::PRODUTO).texto() + u';' +
                 preco(p, cif1) + u';' + p.campo(Campos::Produto::FABRICANTE).texto() + QStringLiteral("\r\n");
    }
    QStringEncoder codificador("windows-1252");
    const QByteArray bytes = codificador.encode(texto);
    const QString arquivo = CaminhoRelatorio(kPrefixo, QStringLiteral(".csv"));
    // Written whole or not at all: a half-written list must not pass for the
    // catalogue.
    QSaveFile saida(arquivo);
    if (!saida.open(QIODevice::WriteOnly) || saida.write(bytes) != bytes.size() || !saida.commit())
        throw Erro(QStringLiteral("Não foi possível gravar o arquivo: %1").arg(QDir::toNativeSeparators(arquivo)));
    Dialogos::atual().abrirArquivo(arquivo);
}

} // namespace

void RelatorioTodosProdutos()
{
    const bool csv = sim("Clique em \"Sim\" para gerar em \"CSV\".\nClique em \"Não\" para gerar em \"PDF\".");
    const bool cif1 =
        sim("Clique em \"Sim\" para utilizar a tabela \"CIF1\".\nClique em \"Não\" para utilizar a tabela "
            "\"CIF2\".");
    if (csv) {
        gravarCsv(cif1);
        return;
    }
    if (DM->QyProduto.emEdicao())
        return;
    // The PDF shows the prices exactly as the CSV writes them.
    const FonteResumo produtos(QStringLiteral("rvdsProdutos"), DM->QyProduto,
                               {{QStringLiteral("DATA_EMISSAO"), DataEmissao()}}, {},
                               [](const Registro &r, CamposRelatorio &campos) {
                                   campos.insert(QStringLiteral("CIF1"), preco(r, true));
                                   campos.insert(QStringLiteral("CIF2"), preco(r, false));
                               });
    GerarRelatorioPDF(cif1 ? QStringLiteral("todos-produtos-cif1.rav") : QStringLiteral("todos-produtos-cif2.rav"),
                      CaminhoRelatorio(kPrefixo, QStringLiteral(".pdf")), {&produtos});
}
