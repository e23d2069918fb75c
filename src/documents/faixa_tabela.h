#pragma once

#include "texto_celula.h"

#include <QBrush>
#include <QFont>
#include <QHash>
#include <limits>
#include <memory>
#include <vector>

class QPainter;
class QPaintDevice;
class QTextDocument;
class QTextTable;
class QTextLayout;

// How one cell of a band looks, as the template's HTML and style give it.
// Lengths are in the PDF's device units.
struct EstiloCelula {
    QFont fonte;
    QColor cor;
    QBrush fundo;
    Qt::Alignment horizontal = Qt::AlignLeft;
    Qt::Alignment vertical = Qt::AlignTop;
    bool semQuebra = false;
    qreal espacoEsquerda = 0, espacoTopo = 0, espacoDireita = 0, espacoBase = 0;
    qreal bordaEsquerda = 0, bordaTopo = 0, bordaDireita = 0, bordaBase = 0;
    QBrush corEsquerda, corTopo, corDireita, corBase;
    qreal alturaLinha = 0;
    qreal ascendente = 0;
};

struct CelulaFaixa {
    int coluna = 0;
    int colunas = 1;
    int estilo = 0;
    TextoCelula conteudo;
};

using LinhaFaixa = std::vector<CelulaFaixa>;

// A band's table: its columns, the looks of its cells, its header rows, the
// rows printed once before and after the repeated ones, and the repeated
// rows. Borders are drawn once per edge: each cell draws its right and
// bottom edges, the first column its left edge, and the first row of the
// table on a page its top edge.
class FaixaTabela
{
  public:
    // Reads the columns and looks from a sample of the table laid out by the
    // rich-text engine (header, rows printed once and, when `comLinha`, one
    // repeated row after the first `antes` rows).
    FaixaTabela(const QTextDocument &prototipo, const QTextTable &tabela, int antes, bool comLinha,
                const QPaintDevice *dispositivo);

    std::vector<LinhaFaixa> cabecalho, antes, depois;
    // The repeated row's cells, their texts left empty: the model every
    // repeated row copies.
    LinhaFaixa modeloLinha;
    std::vector<LinhaFaixa> linhas;

    // Space above the table's first row and below its last.
    qreal margemTopo() const { return m_margemTopo; }
    qreal margemBase() const { return m_margemBase; }

    // The sample row's cell began with a bold or italic run (<b>{{Nome}}</b>):
    // the cell's own font is the plain one.
    void fonteBase(const CelulaFaixa &modelo, const TextoCelula &exemplo);

    qreal altura(const LinhaFaixa &linha, bool comTopo) const;
    qreal alturaCabecalho() const;
    // Paints the row with its top edge at y; of a row taller than a page,
    // only the text lines between `de` and `ate` (from the row's top).
    void desenhar(QPainter &p, const LinhaFaixa &linha, qreal y, qreal altura, bool comTopo, qreal de = 0,
                  qreal ate = std::numeric_limits<qreal>::max()) const;

  private:
    int novoEstilo(const QTextDocument &doc, const QTextTable &tabela, int linha, int coluna);
    LinhaFaixa lerLinha(const QTextDocument &doc, const QTextTable &tabela, int linha, bool comTexto);
    qreal alturaTexto(const CelulaFaixa &c, const EstiloCelula &e, qreal largura) const;
    qreal larguraConteudo(const CelulaFaixa &c, const EstiloCelula &e) const;
    // The cell's text in lines; a long one is kept, as it is drawn again on
    // each page it spans.
    std::shared_ptr<QTextLayout> disposto(const CelulaFaixa &c, const EstiloCelula &e, qreal largura) const;

    const QPaintDevice *m_dispositivo;
    std::vector<EstiloCelula> m_estilos;
    std::vector<qreal> m_bordas; // the columns' left edges, then the table's right edge
    qreal m_margemTopo = 0;
    qreal m_margemBase = 0;
    mutable QHash<const CelulaFaixa *, std::shared_ptr<QTextLayout>> m_longos;
};
