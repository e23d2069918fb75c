#include "tela_produto.h"

#include "ajuda_atalhos.h"
#include "campos_esquema.h"
#include "conjunto_dados.h"
#include "icones.h"
#include "modelo_tabela.h"
#include "ufunc.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTableView>
#include <QToolButton>
#include <algorithm>

namespace
{

struct ColunaProduto {
    NomeCampo campo;
    const char *titulo;
    int largura;
};

const ColunaProduto kColunas[] = {
    {Campos::Produto::CODIGO, "Código(s)", 80},          {Campos::Produto::PRODUTO, "Descrição(ões)", 321},
    {Campos::Produto::ESTOQUE, "Qtde no Estoque", 95},   {Campos::Produto::PRECOVENDA, "Preço de venda", 100},
    {Campos::Produto::FABRICANTE, "Fabricante(s)", 150},
};
constexpr int kColunaDescricao = 1;
constexpr int kColunaPreco = 3;

QFont fonteTahoma(int pontos)
{
    QFont f(QStringLiteral("Tahoma"));
    f.setPointSize(pontos);
    return f;
}

} // namespace

// The product list as the grid shows it: banded rows, cells centred but the
// price, and the row indicator on the current product.
class ModeloProdutos : public ModeloTabela
{
  public:
    using ModeloTabela::ModeloTabela;

    QVariant data(const QModelIndex &indice, int papel) const override
    {
        switch (papel) {
        case Qt::BackgroundRole:
            return LogicaProduto::fundoDaLinha(indice.row());
        case Qt::ForegroundRole:
            return QColor(Qt::black);
        case Qt::TextAlignmentRole:
            if (indice.column() != kColunaPreco)
                return QVariant::fromValue(Qt::AlignCenter);
            break;
        case Qt::DisplayRole:
            if (indice.column() == kColunaPreco) {
                const Campo preco = conjunto()->registro(indice.row()).campo(Campos::Produto::PRECOVENDA);
                return preco.nulo() ? QString() : LogicaProduto::textoPreco(preco.dinheiro());
            }
            break;
        default:
            break;
        }
        return ModeloTabela::data(indice, papel);
    }

    QVariant headerData(int secao, Qt::Orientation orientacao, int papel) const override
    {
        if (orientacao == Qt::Vertical && papel == Qt::DisplayRole)
            return secao + 1 == conjunto()->numeroRegistro() ? QStringLiteral("▶") : QString();
        if (orientacao == Qt::Horizontal && papel == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::AlignCenter);
        return ModeloTabela::headerData(secao, orientacao, papel);
    }
};

TFrmProduto::TFrmProduto(QWidget *pai) : QDialog(pai)
{
    setObjectName(QStringLiteral("TFrmProduto"));
    setWindowTitle(QStringLiteral("Corlando - Produto(s)"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(fonteTahoma(8));
    setFixedSize(804, 537);

    m_pesquisar = new QToolButton(this);
    m_pesquisar->setObjectName(QStringLiteral("btnPesquisarCliente"));
    m_pesquisar->setText(QStringLiteral("&Procurar"));
    m_pesquisar->setToolTip(QStringLiteral("Pesquisar produto(s)"));
    m_pesquisar->setStatusTip(QStringLiteral("Pesquisar produto(s)"));
    m_pesquisar->setIcon(IconeDesenhado(QStringLiteral("⌕"), QColor(0x1f5fa8)));
    m_pesquisar->setIconSize(QSize(20, 20));
    m_pesquisar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_pesquisar->setAutoRaise(true);
    m_pesquisar->setFocusPolicy(Qt::NoFocus);
    QFont f = m_pesquisar->font();
    f.setPixelSize(10);
    m_pesquisar->setFont(f);
    // 45 by 45 at 751, 8: wider to the left only where the caption needs it.
    const int largura = std::max(45, m_pesquisar->sizeHint().width());
    m_pesquisar->setGeometry(796 - largura, 8, largura, 45);
    connect(m_pesquisar, &QToolButton::clicked, this, [this] { m_logica.pesquisar(); });

    ConjuntoDados &produtos = m_logica.produtos();
    m_modelo = new ModeloProdutos(&produtos, this);
    QStringList campos, titulos;
    for (const ColunaProduto &c : kColunas) {
        campos << c.campo;
        titulos << QString::fromUtf8(c.titulo);
    }
    m_modelo->setColunas(campos, titulos);

    m_grade = new QTableView(this);
    m_grade->setObjectName(QStringLiteral("DBGrid1"));
    m_grade->setFont(fonteTahoma(10));
    m_grade->setGeometry(10, 63, 786, 437);
    m_grade->setModel(m_modelo);
    m_grade->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grade->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grade->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Fixed row heights keep a list of any length quick to scroll.
    QHeaderView *linhas = m_grade->verticalHeader();
    linhas->setSectionResizeMode(QHeaderView::Fixed);
    linhas->setDefaultSectionSize(m_grade->fontMetrics().height() + 6);
    linhas->setFixedWidth(14);
    QHeaderView *titulosGrade = m_grade->horizontalHeader();
    titulosGrade->setSectionResizeMode(QHeaderView::Interactive);
    titulosGrade->setSectionsClickable(true);
    titulosGrade->setHighlightSections(false);
    titulosGrade->setSortIndicatorShown(true);
    titulosGrade->setSortIndicator(-1, Qt::AscendingOrder);
    // A title wider than its column (the fonts differ from one machine to
    // another) takes what it needs from the description's column.
    int sobra = 0;
    for (int i = 0; i < static_cast<int>(std::size(kColunas)); ++i) {
        const int largura = std::max(kColunas[i].largura, titulosGrade->sectionSizeHint(i));
        sobra += largura - kColunas[i].largura;
        m_grade->setColumnWidth(i, largura);
    }
    m_grade->setColumnWidth(kColunaDescricao, m_grade->columnWidth(kColunaDescricao) - sobra);
    connect(titulosGrade, &QHeaderView::sectionClicked, this, &TFrmProduto::tituloClicado);
    connect(m_grade->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &atual) { linhaEscolhida(atual.row()); });
    for (auto sinal : {&ConjuntoDados::registroMudou, &ConjuntoDados::recarregado})
        connect(&produtos, sinal, this, &TFrmProduto::seguirLista);

    m_contador = new QLabel(this);
    m_contador->setObjectName(QStringLiteral("lblProduto"));
    m_contador->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_contador->setGeometry(10, 503, 786, 13);

    m_status = new QStatusBar(this);
    m_status->setObjectName(QStringLiteral("StatusBar1"));
    m_status->setSizeGripEnabled(false);
    m_status->setGeometry(0, 537 - 19, 804, 19);
    InstalarAjudaAtalhos(this, [] {
        return LinhasAtalhos{{QStringLiteral("Clique no título"), QStringLiteral("Ordena a lista pela coluna")}};
    });
}

TFrmProduto::~TFrmProduto() = default;

// The grid's current row is the list's, whichever of the two moved.
void TFrmProduto::seguirLista()
{
    m_seguindo = true;
    const int linha = m_logica.produtos().numeroRegistro() - 1;
    if (linha >= 0 && linha < m_modelo->rowCount())
        m_grade->setCurrentIndex(m_modelo->index(linha, std::max(m_grade->currentIndex().column(), 0)));
    m_seguindo = false;
    m_grade->verticalHeader()->viewport()->update();
}

void TFrmProduto::linhaEscolhida(int linha)
{
    if (m_seguindo || linha < 0 || linha + 1 == m_logica.produtos().numeroRegistro())
        return;
    ExecutarProtegido([&] { m_logica.produtos().irParaRegistro(linha + 1); });
    m_grade->verticalHeader()->viewport()->update();
}

void TFrmProduto::tituloClicado(int coluna)
{
    if (coluna < 0 || coluna >= static_cast<int>(std::size(kColunas)))
        return;
    m_logica.ordenar(kColunas[coluna].campo);
    mostrarOrdem();
    m_grade->scrollToTop();
}

// The title's arrow tells the order the list is in, whatever the header
// made of the click.
void TFrmProduto::mostrarOrdem()
{
    int coluna = -1;
    for (int i = 0; i < static_cast<int>(std::size(kColunas)); ++i)
        if (m_logica.colunaOrdenada() == QString(kColunas[i].campo))
            coluna = i;
    m_grade->horizontalHeader()->setSortIndicator(coluna,
                                                  m_logica.decrescente() ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void TFrmProduto::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    if (m_aberta)
        return;
    m_aberta = true;
    m_contador->setText(m_logica.abrir());
    seguirLista();
    m_grade->setFocus();
}

void TFrmProduto::closeEvent(QCloseEvent *evento)
{
    m_logica.aoFechar();
    mostrarOrdem();
    evento->accept();
}

// Escape closes the window the same way as its close box.
void TFrmProduto::reject()
{
    close();
}

bool TFrmProduto::event(QEvent *evento)
{
    if (evento->type() == QEvent::StatusTip) {
        m_status->showMessage(static_cast<QStatusTipEvent *>(evento)->tip());
        return true;
    }
    return QDialog::event(evento);
}
