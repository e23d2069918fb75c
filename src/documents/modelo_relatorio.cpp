#include "modelo_relatorio.h"

#include "erro.h"

#include <QDir>
#include <QRegularExpression>

namespace
{

const auto kSemCaixa = QRegularExpression::CaseInsensitiveOption;

[[noreturn]] void invalido(const QString &arquivoModelo, const QString &motivo)
{
    throw Erro(
        QStringLiteral("Modelo de relatório inválido: %1\n%2").arg(QDir::toNativeSeparators(arquivoModelo), motivo));
}

// Where the body begins: after <body ...>, or after </head> in a template
// without a body tag, or at the start.
qsizetype inicioCorpo(const QString &modelo)
{
    static const QRegularExpression corpo(QStringLiteral(R"(<body\b[^>]*>)"), kSemCaixa);
    static const QRegularExpression fimCabeca(QStringLiteral(R"(</head\s*>)"), kSemCaixa);
    for (const QRegularExpression *re : {&corpo, &fimCabeca}) {
        const auto m = re->match(modelo);
        if (m.hasMatch())
            return m.capturedEnd();
    }
    return 0;
}

// The end of the table that opens at `inicio`, nested tables counted.
qsizetype fimTabela(const QString &modelo, qsizetype inicio)
{
    static const QRegularExpression marca(QStringLiteral(R"(<(/?)table\b[^>]*>)"), kSemCaixa);
    int nivel = 0;
    auto it = marca.globalMatch(modelo, inicio);
    while (it.hasNext()) {
        const auto m = it.next();
        nivel += m.captured(1).isEmpty() ? 1 : -1;
        if (nivel == 0)
            return m.capturedEnd();
    }
    return -1;
}

QStringList celulas(const QString &linha)
{
    static const QRegularExpression celula(QStringLiteral(R"(<t[dh]\b[^>]*>(.*?)</t[dh]\s*>)"),
                                           kSemCaixa | QRegularExpression::DotMatchesEverythingOption);
    QStringList resultado;
    auto it = celula.globalMatch(linha);
    while (it.hasNext())
        resultado << it.next().captured(1);
    return resultado;
}

FaixaModelo faixa(const QString &conexao, const QString &tabela, const QString &arquivoModelo)
{
    const QString nome = QRegularExpression::escape(conexao + QStringLiteral(".linhas"));
    const QRegularExpression abre(QStringLiteral(R"(\{\{\s*#\s*%1\s*\}\})").arg(nome));
    const QRegularExpression fecha(QStringLiteral(R"(\{\{\s*/\s*%1\s*\}\})").arg(nome));
    const auto a = abre.match(tabela);
    const auto f = fecha.match(tabela, a.hasMatch() ? a.capturedEnd() : 0);
    if (!a.hasMatch() || !f.hasMatch())
        invalido(
            arquivoModelo,
            QStringLiteral("a tabela banda=\"%1\" não tem a seção {{#%1.linhas}} ... {{/%1.linhas}}").arg(conexao));
    FaixaModelo resultado;
    resultado.conexao = conexao;
    resultado.antes = tabela.left(a.capturedStart());
    resultado.linha = tabela.mid(a.capturedEnd(), f.capturedStart() - a.capturedEnd());
    resultado.depois = tabela.mid(f.capturedEnd());
    resultado.celulas = celulas(resultado.linha);
    static const QRegularExpression linhaTabela(QStringLiteral(R"(<tr\b)"), kSemCaixa);
    if (resultado.linha.count(linhaTabela) != 1 || resultado.celulas.isEmpty())
        invalido(arquivoModelo,
                 QStringLiteral("a seção {{#%1.linhas}} da tabela banda=\"%1\" deve ter uma só linha (<tr>) com "
                                "suas células (<td>)")
                     .arg(conexao));
    return resultado;
}

} // namespace

ModeloDividido DividirModelo(const QString &modelo, const QString &arquivoModelo)
{
    static const QRegularExpression tabelaFaixa(QStringLiteral(R"re(<table\b[^>]*\bbanda\s*=\s*"([^"]*)"[^>]*>)re"),
                                                kSemCaixa);
    ModeloDividido dividido;
    qsizetype pos = inicioCorpo(modelo);
    dividido.cabeca = modelo.left(pos);
    auto it = tabelaFaixa.globalMatch(modelo, pos);
    while (it.hasNext()) {
        const auto m = it.next();
        if (m.capturedStart() < pos)
            continue; // a band inside a band's table
        const qsizetype fim = fimTabela(modelo, m.capturedStart());
        if (fim < 0)
            invalido(arquivoModelo,
                     QStringLiteral("a tabela banda=\"%1\" não é fechada com </table>").arg(m.captured(1)));
        dividido.textos << modelo.mid(pos, m.capturedStart() - pos);
        dividido.faixas << faixa(m.captured(1).trimmed(), modelo.mid(m.capturedStart(), fim - m.capturedStart()),
                                 arquivoModelo);
        pos = fim;
    }
    dividido.textos << modelo.mid(pos);
    return dividido;
}
