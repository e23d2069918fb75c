#include "upesquisa.h"

#include "conjunto_dados.h"
#include "logica_pesquisa.h"
#include "modelo_tabela.h"
#include "ui_upesquisa.h"

#include <QKeyEvent>
#include <QStyle>

TfrmPesquisa::TfrmPesquisa(LogicaPesquisa &logica, QWidget *pai)
    : QDialog(pai, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                       Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      ui(std::make_unique<Ui::TfrmPesquisa>()), m_logica(logica),
      m_modelo(new ModeloTabela(&logica.dados(), this))
{
    ui->setupUi(this);
    setFixedSize(size());
    ui->btnPesquisar->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    ui->gdPesquisa->setModel(m_modelo);
    ui->gdPesquisa->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    ui->gdPesquisa->verticalHeader()->setDefaultSectionSize(20);
    ui->edpesquisa->installEventFilter(this);
    ui->gdPesquisa->installEventFilter(this);

    m_logica.iniciar();
    ui->optCampo1->setText(m_logica.opcao1());
    ui->optCampo2->setText(m_logica.opcao2());
    ui->edpesquisa->setText(m_logica.texto());

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
    connect(ui->gdPesquisa, &QTableView::doubleClicked, this, [this] {
        m_logica.escolherLinhaAtual();
        aposAcao();
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
    mostrarLinhaAtual();
    ui->edpesquisa->setFocus();
}

bool TfrmPesquisa::eventFilter(QObject *objeto, QEvent *evento)
{
    // The search runs when Enter is released in the search box.
    if (objeto == ui->edpesquisa && evento->type() == QEvent::KeyRelease) {
        const int tecla = static_cast<QKeyEvent *>(evento)->key();
        if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
            pesquisar();
            return true;
        }
    }
    // Enter on a row of the grid picks it, as a double click does.
    if (objeto == ui->gdPesquisa && evento->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent *>(evento)->key();
        const QModelIndex atual = ui->gdPesquisa->currentIndex();
        if ((tecla == Qt::Key_Return || tecla == Qt::Key_Enter) && atual.isValid()) {
            m_logica.clicarLinha(atual.row() + 1);
            m_logica.escolherLinhaAtual();
            aposAcao();
            return true;
        }
    }
    // Enter must not close the dialog as a default button would.
    if (objeto == ui->edpesquisa && evento->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent *>(evento)->key();
        if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter)
            return true;
    }
    return QDialog::eventFilter(objeto, evento);
}

void TfrmPesquisa::pesquisar()
{
    m_logica.setTexto(ui->edpesquisa->text());
    m_logica.pesquisar();
    ajustarColunas();
    aposAcao();
}

// Columns as wide as what they show (the rows in view), the last one taking
// the room left: names are not cut while space is free.
void TfrmPesquisa::ajustarColunas()
{
    QHeaderView *cabecalho = ui->gdPesquisa->horizontalHeader();
    cabecalho->setStretchLastSection(false);
    ui->gdPesquisa->resizeColumnsToContents();
    cabecalho->setStretchLastSection(true);
}

void TfrmPesquisa::aposAcao()
{
    ui->edpesquisa->setText(m_logica.texto());
    mostrarLinhaAtual();
    ui->edpesquisa->setFocus();
    if (m_logica.concluido())
        accept();
}

void TfrmPesquisa::mostrarLinhaAtual()
{
    const ConjuntoDados &dados = m_logica.dados();
    if (dados.vazio())
        return;
    ui->gdPesquisa->selectRow(dados.numeroRegistro() - 1);
}
