#include "faixa_tabela.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextTable>

namespace
{

Qt::Alignment horizontal(Qt::Alignment a)
{
    if (a & Qt::AlignHCenter)
        return Qt::AlignHCenter;
    if ((a & Qt::AlignRight) || ((a & Qt::AlignTrailing) && !(a & Qt::AlignAbsolute)))
        return Qt::AlignRight;
    return Qt::AlignLeft;
}

Qt::Alignment vertical(QTextCharFormat::VerticalAlignment v)
{
    switch (v) {
    case QTextCharFormat::AlignMiddle:
        return Qt::AlignVCenter;
    case QTextCharFormat::AlignBottom:
        return Qt::AlignBottom;
    default:
        return Qt::AlignTop;
    }
}

// The cell's text as the rich-text engine holds it: its paragraphs joined
// by line breaks, the bold and italic runs that differ from the cell's own
// font kept.
TextoCelula textoDaCelula(const QTextTableCell &celula, const QFont &base)
{
    TextoCelula t;
    const int fim = celula.lastCursorPosition().position();
    for (QTextBlock b = celula.firstCursorPosition().block(); b.isValid() && b.position() <= fim; b = b.next()) {
        if (!t.texto.isEmpty())
            t.texto += QChar::LineSeparator;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QFont fonte = f.charFormat().font();
            const bool negrito = fonte.bold() && !base.bold();
            const bool italico = fonte.italic() && !base.italic();
            if (negrito || italico)
                t.trechos.append({int(t.texto.size()), int(f.text().size()), negrito, italico});
            t.texto += f.text();
        }
    }
    return t;
}

QList<QTextLayout::FormatRange> formatos(const TextoCelula &t, const QFont &base)
{
    QList<QTextLayout::FormatRange> resultado;
    for (const TextoCelula::Trecho &trecho : t.trechos) {
        QTextLayout::FormatRange r;
        r.start = trecho.inicio;
        r.length = trecho.tamanho;
        QFont f = base;
        if (trecho.negrito)
            f.setBold(true);
        if (trecho.italico)
            f.setItalic(true);
        r.format.setFont(f);
        resultado.append(r);
    }
    return resultado;
}

// A cell of more lines than this is laid out once and kept.
constexpr int kLinhasLongo = 40;

bool simples(const TextoCelula &t)
{
    return t.trechos.isEmpty() && !t.texto.contains(QChar::LineSeparator);
}

// Lays the text out in lines of `largura`, as the rich-text engine wraps a
// cell: at word boundaries, or anywhere in a word longer than the line.
qreal disporLinhas(QTextLayout &layout, const EstiloCelula &e, qreal largura)
{
    QTextOption opcao(e.horizontal);
    opcao.setWrapMode(e.semQuebra ? QTextOption::NoWrap : QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(opcao);
    qreal y = 0;
    layout.beginLayout();
    for (QTextLine linha = layout.createLine(); linha.isValid(); linha = layout.createLine()) {
        linha.setLineWidth(largura);
        linha.setPosition(QPointF(0, y));
        y += linha.height();
    }
    layout.endLayout();
    return y;
}

} // namespace

FaixaTabela::FaixaTabela(const QTextDocument &prototipo, const QTextTable &tabela, int antes, bool comLinha,
                         const QPaintDevice *dispositivo)
    : m_dispositivo(dispositivo)
{
    const int cabecalhos = std::min(tabela.format().headerRowCount(), antes);
    for (int linha = 0; linha < tabela.rows(); ++linha) {
        if (linha < cabecalhos)
            cabecalho.push_back(lerLinha(prototipo, tabela, linha, true));
        else if (linha < antes)
            this->antes.push_back(lerLinha(prototipo, tabela, linha, true));
        else if (linha == antes && comLinha)
            modeloLinha = lerLinha(prototipo, tabela, linha, false);
        else
            depois.push_back(lerLinha(prototipo, tabela, linha, true));
    }

    // The columns' edges as the rich-text engine placed them: a cell's
    // first paragraph starts inside its left border and padding.
    const int colunas = tabela.columns();
    m_bordas.assign(colunas + 1, -1);
    const QAbstractTextDocumentLayout *layout = prototipo.documentLayout();
    for (int linha = 0; linha < tabela.rows(); ++linha)
        for (int coluna = 0; coluna < colunas; ++coluna) {
            const QTextTableCell celula = tabela.cellAt(linha, coluna);
            if (celula.row() != linha || celula.column() != coluna)
                continue;
            const EstiloCelula e = m_estilos[novoEstilo(prototipo, tabela, linha, coluna)];
            m_estilos.pop_back();
            const QRectF r = layout->blockBoundingRect(celula.firstCursorPosition().block());
            if (m_bordas[coluna] < 0)
                m_bordas[coluna] = r.left() - e.espacoEsquerda - e.bordaEsquerda;
            const int direita = coluna + celula.columnSpan();
            if (m_bordas[direita] < 0)
                m_bordas[direita] = r.right() + e.espacoDireita + e.bordaDireita;
        }
    // A column no single cell shows shares the room around it evenly.
    for (int c = 1; c < colunas; ++c)
        if (m_bordas[c] < 0) {
            int proxima = c + 1;
            while (m_bordas[proxima] < 0)
                ++proxima;
            m_bordas[c] = m_bordas[c - 1] + (m_bordas[proxima] - m_bordas[c - 1]) / (proxima - c + 1);
        }
    const qreal escala = dispositivo->logicalDpiY() / 96.0;
    m_margemTopo = tabela.format().topMargin() * escala;
    m_margemBase = tabela.format().bottomMargin() * escala;
}

int FaixaTabela::novoEstilo(const QTextDocument &doc, const QTextTable &tabela, int linha, int coluna)
{
    const QTextTableCell celula = tabela.cellAt(linha, coluna);
    const QTextTableCellFormat f = celula.format().toTableCellFormat();
    const QTextTableFormat t = tabela.format();
    // Lengths in the HTML are screen pixels; the engine scales them to the
    // PDF's resolution.
    const qreal escala = m_dispositivo->logicalDpiY() / 96.0;
    auto espaco = [&](QTextFormat::Property p) {
        return (f.hasProperty(p) ? f.doubleProperty(p) : t.cellPadding()) * escala;
    };
    auto borda = [&](QTextFormat::Property p) {
        return (f.hasProperty(p) ? f.doubleProperty(p) : t.border()) * escala;
    };
    auto cor = [&](QTextFormat::Property p) { return f.hasProperty(p) ? f.brushProperty(p) : t.borderBrush(); };

    EstiloCelula e;
    const QTextBlock bloco = celula.firstCursorPosition().block();
    QTextCharFormat caracteres = bloco.charFormat();
    if (bloco.begin() != bloco.end())
        caracteres = bloco.begin().fragment().charFormat();
    e.fonte = caracteres.font().resolve(doc.defaultFont());
    e.cor = caracteres.foreground().style() == Qt::NoBrush ? QColor(Qt::black) : caracteres.foreground().color();
    e.fundo = celula.format().background();
    e.horizontal = horizontal(bloco.blockFormat().alignment());
    e.vertical = vertical(f.verticalAlignment());
    e.semQuebra = bloco.blockFormat().nonBreakableLines();
    e.espacoEsquerda = espaco(QTextFormat::TableCellLeftPadding);
    e.espacoTopo = espaco(QTextFormat::TableCellTopPadding);
    e.espacoDireita = espaco(QTextFormat::TableCellRightPadding);
    e.espacoBase = espaco(QTextFormat::TableCellBottomPadding);
    e.bordaEsquerda = borda(QTextFormat::TableCellLeftBorder);
    e.bordaTopo = borda(QTextFormat::TableCellTopBorder);
    e.bordaDireita = borda(QTextFormat::TableCellRightBorder);
    e.bordaBase = borda(QTextFormat::TableCellBottomBorder);
    e.corEsquerda = cor(QTextFormat::TableCellLeftBorderBrush);
    e.corTopo = cor(QTextFormat::TableCellTopBorderBrush);
    e.corDireita = cor(QTextFormat::TableCellRightBorderBrush);
    e.corBase = cor(QTextFormat::TableCellBottomBorderBrush);
    QTextLayout medida(QStringLiteral("X"), e.fonte, const_cast<QPaintDevice *>(m_dispositivo));
    medida.beginLayout();
    QTextLine linhaMedida = medida.createLine();
    linhaMedida.setLineWidth(1e6);
    medida.endLayout();
    e.alturaLinha = linhaMedida.height();
    e.ascendente = linhaMedida.ascent();
    m_estilos.push_back(e);
    return int(m_estilos.size()) - 1;
}

LinhaFaixa FaixaTabela::lerLinha(const QTextDocument &doc, const QTextTable &tabela, int linha, bool comTexto)
{
    LinhaFaixa resultado;
    for (int coluna = 0; coluna < tabela.columns(); ++coluna) {
        const QTextTableCell celula = tabela.cellAt(linha, coluna);
        if (celula.row() != linha || celula.column() != coluna)
            continue;
        CelulaFaixa c;
        c.coluna = coluna;
        c.colunas = celula.columnSpan();
        c.estilo = novoEstilo(doc, tabela, linha, coluna);
        if (comTexto)
            c.conteudo = textoDaCelula(celula, m_estilos[c.estilo].fonte);
        resultado.push_back(std::move(c));
    }
    return resultado;
}

void FaixaTabela::fonteBase(const CelulaFaixa &modelo, const TextoCelula &exemplo)
{
    if (exemplo.trechos.isEmpty() || exemplo.trechos.front().inicio != 0)
        return;
    EstiloCelula &e = m_estilos[modelo.estilo];
    if (exemplo.trechos.front().negrito)
        e.fonte.setBold(false);
    if (exemplo.trechos.front().italico)
        e.fonte.setItalic(false);
}

qreal FaixaTabela::larguraConteudo(const CelulaFaixa &c, const EstiloCelula &e) const
{
    return m_bordas[c.coluna + c.colunas] - m_bordas[c.coluna] - e.bordaEsquerda - e.bordaDireita - e.espacoEsquerda -
           e.espacoDireita;
}

std::shared_ptr<QTextLayout> FaixaTabela::disposto(const CelulaFaixa &c, const EstiloCelula &e, qreal largura) const
{
    if (const auto it = m_longos.constFind(&c); it != m_longos.cend())
        return *it;
    auto layout = std::make_shared<QTextLayout>(c.conteudo.texto, e.fonte, const_cast<QPaintDevice *>(m_dispositivo));
    layout->setFormats(formatos(c.conteudo, e.fonte));
    disporLinhas(*layout, e, largura);
    if (layout->lineCount() > kLinhasLongo)
        m_longos.insert(&c, layout);
    return layout;
}

qreal FaixaTabela::alturaTexto(const CelulaFaixa &c, const EstiloCelula &e, qreal largura) const
{
    const TextoCelula &t = c.conteudo;
    if (simples(t) && (e.semQuebra || t.texto.isEmpty() ||
                       QFontMetricsF(e.fonte, m_dispositivo).horizontalAdvance(t.texto) <= largura))
        return e.alturaLinha;
    return disposto(c, e, largura)->boundingRect().height();
}

qreal FaixaTabela::altura(const LinhaFaixa &linha, bool comTopo) const
{
    qreal maior = 0;
    for (const CelulaFaixa &c : linha) {
        const EstiloCelula &e = m_estilos[c.estilo];
        const qreal topo = comTopo ? (e.bordaTopo > 0 ? e.bordaTopo : e.bordaBase) : 0;
        maior = std::max(maior,
                         topo + e.espacoTopo + alturaTexto(c, e, larguraConteudo(c, e)) + e.espacoBase + e.bordaBase);
    }
    return maior;
}

qreal FaixaTabela::alturaCabecalho() const
{
    qreal total = 0;
    for (size_t i = 0; i < cabecalho.size(); ++i)
        total += altura(cabecalho[i], i == 0);
    return total;
}

void FaixaTabela::desenhar(QPainter &p, const LinhaFaixa &linha, qreal y, qreal altura, bool comTopo, qreal de,
                           qreal ate) const
{
    for (const CelulaFaixa &c : linha) {
        const EstiloCelula &e = m_estilos[c.estilo];
        const qreal x0 = m_bordas[c.coluna];
        const QRectF celula(x0, y, m_bordas[c.coluna + c.colunas] - x0, altura);
        if (e.fundo.style() != Qt::NoBrush)
            p.fillRect(celula, e.fundo);
        const qreal topo = comTopo ? (e.bordaTopo > 0 ? e.bordaTopo : e.bordaBase) : 0;
        if (topo > 0)
            p.fillRect(QRectF(celula.left(), y, celula.width(), topo), e.bordaTopo > 0 ? e.corTopo : e.corBase);
        if (e.bordaBase > 0)
            p.fillRect(QRectF(celula.left(), celula.bottom() - e.bordaBase, celula.width(), e.bordaBase), e.corBase);
        if (e.bordaEsquerda > 0)
            p.fillRect(QRectF(celula.left(), y, e.bordaEsquerda, altura), e.corEsquerda);
        if (e.bordaDireita > 0)
            p.fillRect(QRectF(celula.right() - e.bordaDireita, y, e.bordaDireita, altura), e.corDireita);

        const TextoCelula &t = c.conteudo;
        if (t.texto.isEmpty())
            continue;
        const qreal largura = larguraConteudo(c, e);
        const QPointF origem(x0 + e.bordaEsquerda + e.espacoEsquerda, y + topo + e.espacoTopo);
        const qreal livre = altura - topo - e.espacoTopo - e.espacoBase - e.bordaBase;
        auto deslocar = [&](qreal alturaTexto) {
            if (e.vertical == Qt::AlignVCenter)
                return (livre - alturaTexto) / 2;
            return e.vertical == Qt::AlignBottom ? livre - alturaTexto : 0.0;
        };
        p.setPen(e.cor);
        if (simples(t)) {
            const qreal avanco = QFontMetricsF(e.fonte, m_dispositivo).horizontalAdvance(t.texto);
            if (e.semQuebra || avanco <= largura) {
                qreal x = origem.x();
                if (e.horizontal == Qt::AlignRight)
                    x += largura - avanco;
                else if (e.horizontal == Qt::AlignHCenter)
                    x += (largura - avanco) / 2;
                p.setFont(e.fonte);
                p.drawText(QPointF(x, origem.y() + deslocar(e.alturaLinha) + e.ascendente), t.texto);
                continue;
            }
        }
        const std::shared_ptr<QTextLayout> layout = disposto(c, e, largura);
        const QPointF posicao = origem + QPointF(0, deslocar(layout->boundingRect().height()));
        if (de <= 0 && ate >= altura) {
            layout->draw(&p, posicao);
            continue;
        }
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine l = layout->lineAt(i);
            const qreal topoLinha = posicao.y() + l.y() - y;
            if (topoLinha + l.height() > de && topoLinha < ate)
                l.draw(&p, posicao);
        }
    }
}
