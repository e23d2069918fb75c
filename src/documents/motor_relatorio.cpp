#include "motor_relatorio.h"

#include "erro.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

#include <mustache.hpp>

namespace mus = kainjow::mustache;

namespace
{

const QMarginsF kMargensMm(15, 15, 15, 12);
const qreal kRodapeMm = 8;
// The running header sits in the top margin (kMargensMm.top()).
const qreal kCabecalhoMm = 7;

QString lerModelo(const QString &arquivoModelo)
{
    if (!QFileInfo(arquivoModelo).isFile())
        throw Erro(
            QStringLiteral("Modelo de relatório não encontrado: %1").arg(QDir::toNativeSeparators(arquivoModelo)));
    QFile arquivo(arquivoModelo);
    if (!arquivo.open(QIODevice::ReadOnly))
        throw Erro(QStringLiteral("Não foi possível ler o modelo de relatório: %1")
                       .arg(QDir::toNativeSeparators(arquivoModelo)));
    return QString::fromUtf8(arquivo.readAll());
}

// An empty text is left out, so that a section on it ({{#obs}}) stays hidden:
// to Mustache an empty string is a true value.
void definir(mus::data &obj, const QString &nome, const QString &valor)
{
    if (!valor.isEmpty())
        obj.set(nome.toStdString(), valor.toStdString());
}

mus::data objeto(const CamposRelatorio &campos)
{
    mus::data obj{mus::data::type::object};
    for (auto it = campos.cbegin(); it != campos.cend(); ++it)
        definir(obj, it.key(), it.value());
    return obj;
}

mus::data conexao(const FonteRelatorio &fonte)
{
    mus::data obj = objeto(fonte.registroAtual());
    mus::data linhas{mus::data::type::list};
    for (const CamposRelatorio &linha : fonte.linhas())
        linhas.push_back(objeto(linha));
    obj.set("linhas", linhas);
    return obj;
}

mus::data contexto(const std::vector<const FonteRelatorio *> &fontes, const QMap<QString, QString> &parametros,
                   const QString &pastaModelo)
{
    mus::data ctx{mus::data::type::object};
    for (const FonteRelatorio *fonte : fontes)
        ctx.set(fonte->nome().toStdString(), conexao(*fonte));
    const QString logo = QDir(pastaModelo).filePath(QStringLiteral("logo.bmp"));
    if (QFileInfo(logo).isFile())
        ctx.set("logo", QUrl::fromLocalFile(logo).toString().toStdString());
    for (auto it = parametros.cbegin(); it != parametros.cend(); ++it)
        definir(ctx, it.key(), it.value());
    return ctx;
}

// HTML escaping that also keeps the line breaks of multi-line fields.
std::string escaparHtml(const std::string &texto)
{
    std::string saida = mus::html_escape(texto);
    std::string::size_type pos = 0;
    while ((pos = saida.find('\n', pos)) != std::string::npos) {
        saida.replace(pos, 1, "<br/>");
        pos += 5;
    }
    return saida;
}

QString renderizarHtml(const QString &modelo, const mus::data &ctx, const QString &arquivoModelo)
{
    mus::mustache tmpl{modelo.toStdString()};
    tmpl.set_custom_escape(escaparHtml);
    std::string html;
    if (tmpl.is_valid())
        html = tmpl.render(ctx);
    if (!tmpl.is_valid())
        throw Erro(QStringLiteral("Modelo de relatório inválido: %1\n%2")
                       .arg(QDir::toNativeSeparators(arquivoModelo), QString::fromStdString(tmpl.error_message())));
    return QString::fromStdString(html);
}

bool paisagem(const QString &html)
{
    static const QRegularExpression meta(
        QStringLiteral(R"(<meta\s+name\s*=\s*"orientacao"\s+content\s*=\s*"paisagem")"),
        QRegularExpression::CaseInsensitiveOption);
    return meta.match(html).hasMatch();
}

// The running header a template declares for the pages after the first:
// <meta name="cabecalho" content="Pedido Nº 1234 - CLIENTE">.
QString cabecalhoCorrido(const QString &html)
{
    static const QRegularExpression meta(
        QStringLiteral(R"re(<meta\s+name\s*=\s*"cabecalho"\s+content\s*=\s*"([^"]*)")re"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = meta.match(html);
    return m.hasMatch() ? QTextDocumentFragment::fromHtml(m.captured(1)).toPlainText().simplified() : QString();
}

// In the top margin, above the page's body: the header text, the page
// number and a rule beneath them.
void desenharCabecalho(QPainter &p, const QRectF &area, const QString &texto, int pagina, int paginas)
{
    p.save();
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
    p.setPen(Qt::black);
    const QString numero = QStringLiteral("Página %1 de %2").arg(pagina).arg(paginas);
    const qreal largura = p.fontMetrics().horizontalAdvance(numero);
    const QRectF esquerda(area.left(), area.top(), area.width() - largura - area.height(), area.height());
    p.drawText(esquerda, Qt::AlignLeft | Qt::AlignVCenter,
               p.fontMetrics().elidedText(texto, Qt::ElideRight, int(esquerda.width())));
    p.drawText(area, Qt::AlignRight | Qt::AlignVCenter, numero);
    p.drawLine(area.bottomLeft(), area.bottomRight());
    p.restore();
}

void desenharRodape(QPainter &p, const QRectF &area, int pagina, int paginas)
{
    p.save();
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
    p.setPen(Qt::black);
    p.drawText(area, Qt::AlignRight | Qt::AlignBottom, QStringLiteral("Página %1 de %2").arg(pagina).arg(paginas));
    p.restore();
}

// Qt lays out and draws tables with collapsed borders at several times the
// cost of separate ones. Separate borders with no spacing, each inner edge
// drawn once by the cell above or to its left (the cell that wins a conflict
// between equal borders), look the same. Tables with a border of their own
// keep Qt's collapsing.
void separarBordas(QTextFrame *quadro)
{
    for (QTextFrame *filho : quadro->childFrames()) {
        separarBordas(filho);
        auto *tabela = qobject_cast<QTextTable *>(filho);
        if (!tabela)
            continue;
        QTextTableFormat formato = tabela->format();
        if (!formato.borderCollapse() || formato.border() != 0)
            continue;
        for (int linha = 0; linha < tabela->rows(); ++linha)
            for (int coluna = 0; coluna < tabela->columns(); ++coluna) {
                QTextTableCell celula = tabela->cellAt(linha, coluna);
                if (celula.row() != linha || celula.column() != coluna || (linha == 0 && coluna == 0))
                    continue;
                QTextTableCellFormat f = celula.format().toTableCellFormat();
                if (linha > 0)
                    f.setTopBorder(0);
                if (coluna > 0)
                    f.setLeftBorder(0);
                celula.setFormat(f);
            }
        formato.setBorderCollapse(false);
        formato.setCellSpacing(0);
        tabela->setFormat(formato);
    }
}

// QTextDocument::print numbers pages with the bare number only, so each page
// is drawn here and the footer painted beside it. False when the PDF could
// not take another page.
bool imprimir(QTextDocument &doc, const QString &cabecalho, QPdfWriter &writer, QPainter &p, const QSizeF &corpo)
{
    const qreal rodape = kRodapeMm / 25.4 * writer.resolution();
    const qreal faixa = kCabecalhoMm / 25.4 * writer.resolution();
    const int paginas = doc.pageCount();

    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.palette.setColor(QPalette::Text, Qt::black);
    for (int i = 0; i < paginas; ++i) {
        if (i > 0 && !writer.newPage())
            return false;
        const QRectF vista(QPointF(0, i * corpo.height()), corpo);
        p.save();
        p.translate(0, -vista.top());
        p.setClipRect(vista);
        ctx.clip = vista;
        doc.documentLayout()->draw(&p, ctx);
        p.restore();
        if (i > 0 && !cabecalho.isEmpty())
            desenharCabecalho(p, QRectF(0, -faixa - faixa / 4, corpo.width(), faixa), cabecalho, i + 1, paginas);
        desenharRodape(p, QRectF(0, corpo.height(), corpo.width(), rodape), i + 1, paginas);
    }
    return true;
}

void gravarPdf(const QString &html, const QString &pastaModelo, const QString &arquivoPdf)
{
    const QString erroGravar =
        QStringLiteral("Não foi possível gravar o arquivo: %1").arg(QDir::toNativeSeparators(arquivoPdf));
    QPdfWriter writer(arquivoPdf);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                     paisagem(html) ? QPageLayout::Landscape : QPageLayout::Portrait, kMargensMm,
                                     QPageLayout::Millimeter));
    writer.setTitle(QFileInfo(arquivoPdf).completeBaseName());
    QPainter p;
    if (!p.begin(&writer))
        throw Erro(erroGravar);

    QTextDocument doc;
    // Laid out against the PDF itself, so point sizes come out true.
    doc.documentLayout()->setPaintDevice(&writer);
    doc.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    doc.setBaseUrl(QUrl::fromLocalFile(pastaModelo + QLatin1Char('/')));
    // The page size first, so the text is laid out once; the border change
    // in one edit, so the tables are laid out once more, not once per cell.
    const QRectF area = writer.pageLayout().paintRectPixels(writer.resolution());
    const QSizeF corpo(area.width(), area.height() - kRodapeMm / 25.4 * writer.resolution());
    doc.setPageSize(corpo);
    doc.setHtml(html);
    QTextCursor edicao(&doc);
    edicao.beginEditBlock();
    separarBordas(doc.rootFrame());
    edicao.endEditBlock();
    const bool impresso = imprimir(doc, cabecalhoCorrido(html), writer, p, corpo);
    if (!p.end() || !impresso) {
        // A truncated PDF must not pass for a finished one.
        QFile::remove(arquivoPdf);
        throw Erro(erroGravar);
    }
}

} // namespace

void GerarRelatorio(const QString &arquivoModelo, const std::vector<const FonteRelatorio *> &fontes,
                    const QMap<QString, QString> &parametros, const QString &arquivoPdf)
{
    const QString modelo = lerModelo(arquivoModelo);
    const QString pasta = QFileInfo(arquivoModelo).absolutePath();
    const QString html = renderizarHtml(modelo, contexto(fontes, parametros, pasta), arquivoModelo);
    gravarPdf(html, pasta, arquivoPdf);
}
