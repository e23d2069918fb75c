#include "grade_itens.h"

#include "conjunto_dados.h"
#include "modelo_tabela.h"
#include "ufunc.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyledItemDelegate>

namespace
{

// Paints every cell in the colours the screen gives its row; the grid's own
// selection look is replaced by them.
class DelegadoCores : public QStyledItemDelegate
{
  public:
    DelegadoCores(GradeItens::Cores cores, QHash<int, Qt::Alignment> alinhamentos, QObject *pai)
        : QStyledItemDelegate(pai), m_cores(std::move(cores)), m_alinhamentos(std::move(alinhamentos))
    {
    }

    void paint(QPainter *pintor, const QStyleOptionViewItem &opcao, const QModelIndex &indice) const override
    {
        QStyleOptionViewItem o(opcao);
        initStyleOption(&o, indice);
        const CoresCelula cores = m_cores(indice.row());
        o.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        o.backgroundBrush = cores.fundo;
        o.palette.setColor(QPalette::Text, cores.texto);
        if (m_alinhamentos.contains(indice.column()))
            o.displayAlignment = m_alinhamentos.value(indice.column());
        const QWidget *w = o.widget;
        (w ? w->style() : QApplication::style())->drawControl(QStyle::CE_ItemViewItem, &o, pintor, w);
    }

  private:
    GradeItens::Cores m_cores;
    QHash<int, Qt::Alignment> m_alinhamentos;
};

} // namespace

GradeItens::GradeItens(ConjuntoDados &itens, const std::vector<ColunaGrade> &colunas, Cores cores, Teclas teclas,
                       QWidget *pai)
    : QTableView(pai), m_itens(itens), m_modelo(new ModeloTabela(&itens, this)), m_teclas(std::move(teclas))
{
    QStringList campos, titulos;
    QHash<int, Qt::Alignment> alinhamentos;
    for (const ColunaGrade &c : colunas) {
        if (c.alinhamento)
            alinhamentos.insert(static_cast<int>(campos.size()), c.alinhamento);
        campos << c.campo;
        titulos << QString::fromUtf8(c.titulo);
    }
    // A declared column stays in its place (and width) even where the item
    // list lacks its field: the tied sale's stock column is empty.
    m_modelo->setColunas(campos, titulos, true);
    setModel(m_modelo);
    setItemDelegate(new DelegadoCores(std::move(cores), alinhamentos, this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the grid for the next box instead of going round its cells:
    // the rows are moved with the arrows.
    setTabKeyNavigation(false);
    setShowGrid(true);
    verticalHeader()->setVisible(false);
    // Low rows: on a laptop screen the exchange's two grids show five each.
    verticalHeader()->setMinimumSectionSize(18);
    verticalHeader()->setDefaultSectionSize(22);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    for (std::size_t i = 0; i < colunas.size(); ++i)
        setColumnWidth(static_cast<int>(i), colunas[i].largura);

    for (auto sinal : {&ConjuntoDados::registroMudou, &ConjuntoDados::dadosAlterados, &ConjuntoDados::estadoMudou,
                       &ConjuntoDados::recarregado})
        connect(&itens, sinal, this, &GradeItens::seguirLista);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, &GradeItens::linhaEscolhida);
    seguirLista();
}

void GradeItens::seguirLista()
{
    m_seguindo = true;
    const int linha = m_itens.numeroRegistro() - 1;
    if (linha >= 0 && linha < m_modelo->rowCount())
        setCurrentIndex(m_modelo->index(linha, std::max(currentIndex().column(), 0)));
    m_seguindo = false;
    viewport()->update();
}

void GradeItens::linhaEscolhida(const QModelIndex &atual)
{
    // Only a click or a key moves the list; rows coming and going in the
    // view shift the grid's own current row, which must not move the list.
    if (!m_pelaMao || m_seguindo || !atual.isValid() || atual.row() + 1 == m_itens.numeroRegistro())
        return;
    ExecutarProtegido([&] { m_itens.irParaRegistro(atual.row() + 1); });
    seguirLista();
}

void GradeItens::keyPressEvent(QKeyEvent *evento)
{
    const Qt::KeyboardModifiers m = evento->modifiers();
    if (!(m & Qt::KeypadModifier) &&
        m_teclas(evento->key(), m.testFlag(Qt::AltModifier), m.testFlag(Qt::ControlModifier))) {
        evento->accept();
        return;
    }
    m_pelaMao = true;
    QTableView::keyPressEvent(evento);
    m_pelaMao = false;
}

void GradeItens::mousePressEvent(QMouseEvent *evento)
{
    m_pelaMao = true;
    QTableView::mousePressEvent(evento);
    m_pelaMao = false;
}
