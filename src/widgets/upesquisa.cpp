#include "upesquisa.h"

#include "ajuda_atalhos.h"
#include "conjunto_dados.h"
#include "logica_pesquisa.h"
#include "modelo_tabela.h"
#include "ui_upesquisa.h"

#include <QKeyEvent>
#include <QLocale>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QStyle>

namespace
{

const QString kChaveTamanho = QStringLiteral("pesquisa/tamanho");
constexpr int kAlturaLinha = 20;
constexpr int kLinhasVisiveis = 15;

bool ehEnter(const QKeyEvent *tecla)
{
    return tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter;
}

} // namespace

TfrmPesquisa::TfrmPesquisa(LogicaPesquisa &logica, QWidget *pai)
    : QDialog(pai), ui(std::make_unique<Ui::TfrmPesquisa>()), m_logica(logica),
      m_modelo(new ModeloTabela(&logica.dados(), this))
{
    ui->setupUi(this);
    ui->btnPesquisar->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    ui->gdPesquisa->setModel(m_modelo);
    ui->gdPesquisa->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    ui->gdPesquisa->verticalHeader()->setDefaultSectionSize(kAlturaLinha);
    ui->gdPesquisa->setMinimumHeight(
        kLinhasVisiveis * kAlturaLinha + ui->gdPesquisa->horizontalHeader()->sizeHint().height() +
        ui->gdPesquisa->horizontalScrollBar()->sizeHint().height() + 2 * ui->gdPesquisa->frameWidth());
    ui->edpesquisa->installEventFilter(this);
    ui->gdPesquisa->installEventFilter(this);
    const QSize lembrado = QSettings().value(kChaveTamanho).toSize();
    m_ajustado = lembrado.isValid();
    if (m_ajustado)
        resize(lembrado);

    m_logica.iniciar();
    ui->optCampo1->setText(LogicaPesquisa::titulo(m_logica.opcao1()));
    ui->optCampo2->setText(LogicaPesquisa::titulo(m_logica.opcao2()));
    ui->edpesquisa->setText(m_logica.texto());
    ui->edpesquisa->selectAll();
    QStringList campos, titulos;
    for (int i = 0; i < m_logica.dados().quantidadeCampos(); ++i) {
        campos << m_logica.dados().campo(i).nome();
        titulos << LogicaPesquisa::titulo(campos.last());
    }
    m_modelo->setColunas(campos, titulos);

    m_espera.setSingleShot(true);
    m_espera.setInterval(kEsperaDigitacao);
    connect(&m_espera, &QTimer::timeout, this, &TfrmPesquisa::estreitar);
    connect(ui->edpesquisa, &QLineEdit::textEdited, this, [this] { m_espera.start(); });
    connect(ui->btnPesquisar, &QToolButton::clicked, this, &TfrmPesquisa::pesquisar);
    connect(ui->optCampo1, &QRadioButton::clicked, this, [this] {
        m_logica.selecionarOpcao(1);
        aposAcao();
    });
    connect(ui->optCampo2, &QRadioButton::clicked, this, [this] {
        m_logica.selecionarOpcao(2);
        aposAcao();
    });
    connect(ui->gdPesquisa, &QTableView::clicked, this, [this](const QModelIndex &indice) {
        m_logica.clicarLinha(indice.row() + 1);
        aposAcao();
    });
    connect(ui->gdPesquisa, &QTableView::doubleClicked, this, &TfrmPesquisa::escolher);
    InstalarAjudaAtalhos(
        this,
        [] {
            return LinhasAtalhos{
                {QStringLiteral("Digitar"),
                 QStringLiteral("Mostra só as linhas com o texto (números: código; letras: nome)")},
                {QStringLiteral("↑ / ↓, PgUp / PgDn"), QStringLiteral("Muda a linha destacada sem sair da caixa")},
                {QStringLiteral("Enter ou duplo clique"), QStringLiteral("Escolhe a linha destacada")},
            };
        },
        false);
    // Keys moving the grid's own selection move the data set with it, so
    // Enter picks the row the user sees.
    connect(ui->gdPesquisa->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &atual) {
                if (atual.isValid() && atual.row() + 1 != m_logica.dados().numeroRegistro())
                    m_logica.dados().irParaRegistro(atual.row() + 1);
            });
}

TfrmPesquisa::~TfrmPesquisa() = default;

void TfrmPesquisa::executar(LogicaPesquisa &logica, QWidget *pai)
{
    TfrmPesquisa dialogo(logica, pai);
    dialogo.exec();
}

void TfrmPesquisa::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    ajustarColunas();
    if (!m_ajustado) {
        m_ajustado = true;
        ajustarTamanho();
    }
    mostrarLinhaAtual();
    ui->edpesquisa->setFocus();
}

void TfrmPesquisa::done(int resultado)
{
    QSettings().setValue(kChaveTamanho, size());
    QDialog::done(resultado);
}

bool TfrmPesquisa::eventFilter(QObject *objeto, QEvent *evento)
{
    if (evento->type() != QEvent::KeyPress || (objeto != ui->edpesquisa && objeto != ui->gdPesquisa))
        return QDialog::eventFilter(objeto, evento);
    const auto *tecla = static_cast<QKeyEvent *>(evento);
    if (ehEnter(tecla)) {
        escolher();
        return true;
    }
    if (objeto != ui->edpesquisa)
        return false;
    // The box keeps the focus: the typing goes on while the arrows move.
    const int pagina = std::max(1, ui->gdPesquisa->viewport()->height() / kAlturaLinha - 1);
    switch (tecla->key()) {
    case Qt::Key_Down:
        mover(1);
        return true;
    case Qt::Key_Up:
        mover(-1);
        return true;
    case Qt::Key_PageDown:
        mover(pagina);
        return true;
    case Qt::Key_PageUp:
        mover(-pagina);
        return true;
    default:
        return false;
    }
}

void TfrmPesquisa::pesquisar()
{
    m_espera.stop();
    m_logica.setTexto(ui->edpesquisa->text());
    m_logica.pesquisar();
    aposAcao();
}

void TfrmPesquisa::estreitar()
{
    m_espera.stop();
    m_logica.estreitar(ui->edpesquisa->text());
    mostrarLinhaAtual();
    mostrarOpcao();
}

// What was typed and not yet narrowed narrows first: Enter right after the
// last letter picks from the rows that letter leaves.
void TfrmPesquisa::escolher()
{
    if (m_espera.isActive())
        estreitar();
    m_logica.escolherLinhaAtual();
    if (m_logica.concluido())
        accept();
}

void TfrmPesquisa::mover(int passos)
{
    if (m_espera.isActive())
        estreitar();
    m_logica.moverLinha(passos);
    mostrarLinhaAtual();
}

// Columns as wide as what they show, the last one taking the room left, and
// the window wide enough for all of them (within the screen), unless the
// user has given it a size before.
void TfrmPesquisa::ajustarColunas()
{
    QHeaderView *cabecalho = ui->gdPesquisa->horizontalHeader();
    cabecalho->setStretchLastSection(false);
    cabecalho->setResizeContentsPrecision(200);
    ui->gdPesquisa->resizeColumnsToContents();
    cabecalho->setStretchLastSection(true);
}

void TfrmPesquisa::ajustarTamanho()
{
    QHeaderView *cabecalho = ui->gdPesquisa->horizontalHeader();
    int largura = ui->gdPesquisa->verticalHeader()->width() + 2 * ui->gdPesquisa->frameWidth() +
                  ui->gdPesquisa->verticalScrollBar()->sizeHint().width();
    for (int i = 0; i < cabecalho->count(); ++i)
        largura += cabecalho->sectionSize(i);
    const int folga = width() - ui->gdPesquisa->width();
    int desejada = std::max(width(), largura + folga);
    if (const QScreen *tela = screen())
        desejada = std::min(desejada, tela->availableGeometry().width() - 40);
    if (desejada > width())
        resize(desejada, height());
}

void TfrmPesquisa::aposAcao()
{
    ui->edpesquisa->setText(m_logica.texto());
    ui->edpesquisa->selectAll();
    mostrarLinhaAtual();
    mostrarOpcao();
    ui->edpesquisa->setFocus();
    if (m_logica.concluido())
        accept();
}

void TfrmPesquisa::mostrarLinhaAtual()
{
    const ConjuntoDados &dados = m_logica.dados();
    const int total = dados.quantidade();
    ui->StatusBar1->showMessage(total == 1 ? QStringLiteral("1 registro")
                                           : QStringLiteral("%1 registros").arg(QLocale().toString(total)));
    if (dados.vazio())
        return;
    ui->gdPesquisa->selectRow(dados.numeroRegistro() - 1);
    ui->gdPesquisa->scrollTo(m_modelo->index(dados.numeroRegistro() - 1, 0));
}

void TfrmPesquisa::mostrarOpcao()
{
    (m_logica.opcaoSelecionada() == 2 ? ui->optCampo2 : ui->optCampo1)->setChecked(true);
}
