#include "uprincipal.h"

#include "ajuda_atalhos.h"
#include "atualizacao.h"
#include "configuracao.h"
#include "enter_avanca.h"
#include "icones.h"
#include "logica_principal.h"
#include "pendencia.h"
#include "progresso_principal.h"
#include "relatorios.h"
#include "tela_cliente.h"
#include "tela_painel.h"
#include "tela_produto.h"
#include "telas_variantes.h"
#include "udm.h"
#include "ufunc.h"
#include "ui_uprincipal.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QTimer>
#include <QToolButton>

namespace
{

const QString kDica = QStringLiteral("Corlando - pedidos, documentos e relatórios do representante comercial");

struct Decoracao {
    const char *botao;
    const char *simbolo;
    QRgb cor;
};

// Screens in blue, back office in green, reports in amber, the rest grey.
const Decoracao kDecoracoes[] = {
    {"BtnClientes", "☺", 0x1f5fa8},
    {"BtnProdutos", "▦", 0x1f5fa8},
    {"BtnConfiguracoes", "⚙", 0x2e7d32},
    {"BtnAtualizar", "⟳", 0x2e7d32},
    {"BtnAcessoRemoto", "⇆", 0x616161},
    {"BtnPedido", "✎", 0x1f5fa8},
    {"BtnPacote", "▣", 0x1f5fa8},
    {"BtnTrocaDevolucao", "⇄", 0x1f5fa8},
    {"BtnVendaCasada", "⊕", 0x1f5fa8},
    {"BtnChecarPendencia", "✔", 0x2e7d32},
    {"BtnPedidosEnviados", "✉", 0xc77800},
    {"BtnPedidosNaoEnviados", "✉", 0xb23b3b},
    {"BtnPedidosImpressos", "▤", 0xc77800},
    {"BtnPedidosNaoImpressos", "▤", 0xb23b3b},
    {"BtnPedidosPorPeriodo", "◷", 0xc77800},
    {"BtnTodosPedidos", "☰", 0xc77800},
    {"BtnTodosProdutos", "▥", 0xc77800},
    {"BtnVendasTotais", "∑", 0xc77800},
    {"BtnClientesPorCidades", "⌂", 0xc77800},
    {"BtnClientesSimples", "☺", 0xc77800},
    {"BtnClientesCompleto", "☻", 0xc77800},
    {"BtnSair", "✖", 0x616161},
    {"BtnPainel", "◔", 0x1f5fa8},
};

// The screens and back-office buttons by their underlined letter, the
// reports by F2 to F12 in the order they sit in the panel.
const std::pair<const char *, const char *> kLetras[] = {
    {"BtnClientes", "&Clientes"},
    {"BtnProdutos", "&Produtos"},
    {"BtnConfiguracoes", "C&onfigurações"},
    {"BtnAtualizar", "At&ualizar"},
    {"BtnAcessoRemoto", "Acesso &Remoto"},
    {"BtnPedido", "Gerar Pe&dido"},
    {"BtnPacote", "Gerar P&acote"},
    {"BtnTrocaDevolucao", "Gerar &Troca / Devolução"},
    {"BtnVendaCasada", "Gerar V&enda Casada"},
    {"BtnChecarPendencia", "C&hecar  Pendência"},
    {"BtnPainel", "Pa&inel"},
    {"BtnSair", "&Sair"},
};
const char *const kRelatoriosPorTecla[] = {
    "BtnPedidosEnviados",    "BtnPedidosNaoEnviados", "BtnPedidosImpressos", "BtnPedidosNaoImpressos",
    "BtnPedidosPorPeriodo",  "BtnTodosPedidos",       "BtnTodosProdutos",    "BtnVendasTotais",
    "BtnClientesPorCidades", "BtnClientesSimples",    "BtnClientesCompleto",
};

} // namespace

TfrmPrincipal::TfrmPrincipal(QWidget *pai) : QMainWindow(pai), ui(std::make_unique<Ui::TfrmPrincipal>())
{
    // Decimal comma and "DD/MM/YYYY" dates for the whole program, before the
    // data module exists.
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    ui->setupUi(this);
    ui->lblAguarde->setFixedHeight(18);
    ui->pbAtualizacao->setFixedHeight(20);
    // The percentage sits in the middle, in a colour readable on the navy
    // bar and on the empty part alike.
    ui->pbAtualizacao->setStyleSheet(QStringLiteral("QProgressBar { text-align: center; color: #e07000; "
                                                    "font-weight: bold; } QProgressBar::chunk { background: navy; }"));
    ui->lblAtualizandoBD->setFixedHeight(19);
    mostrarProgresso(false);

    QFont fonteRepresentante(QStringLiteral("Verdana"));
    fonteRepresentante.setPixelSize(20);
    fonteRepresentante.setBold(true);
    ui->lblRepresentante->setFont(fonteRepresentante);
    ui->lblRepresentante->setStyleSheet(QStringLiteral("background: white; color: silver;"));
    ui->Panel1->setStyleSheet(QStringLiteral("#Panel1 { background: white; }"));
    ui->StatusBar1->setSizeGripEnabled(false);
    ui->StatusBar1->setFixedHeight(19);

    decorarBotoes();
    ligarBotoes();
    ligarTeclado();
    setWindowState(Qt::WindowMaximized);
}

TfrmPrincipal::~TfrmPrincipal() = default;

void TfrmPrincipal::decorarBotoes()
{
    QFont fonte(QStringLiteral("Tahoma"));
    fonte.setPixelSize(20);
    setStatusTip(kDica);
    for (const Decoracao &d : kDecoracoes) {
        auto *botao = findChild<QToolButton *>(QString::fromLatin1(d.botao));
        botao->setFont(fonte);
        botao->setIcon(IconeDesenhado(QString::fromUtf8(d.simbolo), QColor(d.cor)));
        botao->setStatusTip(kDica);
        botao->setCursor(Qt::PointingHandCursor);
        botao->setStyleSheet(QStringLiteral("QToolButton { text-align: left; padding-left: 8px; }"
                                            "QToolButton:hover { background: #e8f0fb; border-radius: 6px; }"
                                            "QToolButton:focus { background: #e8f0fb; border: 2px solid #1f5fa8;"
                                            " border-radius: 6px; }"));
    }
}

void TfrmPrincipal::ligarBotoes()
{
    connect(ui->BtnConfiguracoes, &QToolButton::clicked, this,
            [] { ExecutarProtegido([] { ExecutarConfiguracao(); }); });
    connect(ui->BtnAtualizar, &QToolButton::clicked, this, [this] {
        ProgressoPrincipal progresso(*ui, [this] { MostrarRepresentante(); });
        ExecutarProtegido([&progresso] { LogicaAtualizacao(progresso).executar(); });
    });
    connect(ui->BtnChecarPendencia, &QToolButton::clicked, this, [] { ExecutarProtegido([] { ChecarPendencia(); }); });
    connect(ui->BtnAcessoRemoto, &QToolButton::clicked, this,
            [] { ExecutarProtegido([] { LogicaPrincipal::acessoRemoto(); }); });
    // A new customer or product screen each time, modal.
    connect(ui->BtnClientes, &QToolButton::clicked, this, [this] {
        TfrmCliente tela(this);
        tela.exec();
    });
    connect(ui->BtnProdutos, &QToolButton::clicked, this, [this] {
        TFrmProduto tela(this);
        tela.exec();
    });
    connect(ui->BtnPedido, &QToolButton::clicked, this, [this] { abrirTela(VariantePedidoRegular()); });
    connect(ui->BtnTrocaDevolucao, &QToolButton::clicked, this, [this] { abrirTela(VariantePedidoTroca()); });
    connect(ui->BtnPacote, &QToolButton::clicked, this, [this] { abrirTela(VariantePedidoPacote()); });
    connect(ui->BtnVendaCasada, &QToolButton::clicked, this, [this] { abrirTela(VariantePedidoVendaCasada()); });
    connect(ui->BtnPainel, &QToolButton::clicked, this, [this] {
        TfrmPainel tela(this);
        tela.setWindowState(Qt::WindowMaximized);
        tela.exec();
    });
    connect(ui->BtnSair, &QToolButton::clicked, this, &QWidget::close);
    ligarRelatorios();
}

// Every button by keyboard: Tab reaches each one (its frame shows which),
// Enter or Space presses it, and each has its letter or F-key, listed by F1.
void TfrmPrincipal::ligarTeclado()
{
    for (QToolButton *botao : ui->painelBotoes->findChildren<QToolButton *>())
        botao->setFocusPolicy(Qt::StrongFocus);
    for (const auto &[nome, texto] : kLetras)
        findChild<QToolButton *>(QString::fromLatin1(nome))->setText(QString::fromUtf8(texto));
    int tecla = Qt::Key_F2;
    for (const char *nome : kRelatoriosPorTecla)
        findChild<QToolButton *>(QString::fromLatin1(nome))->setShortcut(QKeySequence(tecla++));
    EnterAvanca::instalar(this);
    InstalarAjudaAtalhos(this, [] {
        return LinhasAtalhos{{QStringLiteral("Enter / Espaço"), QStringLiteral("Aciona o botão em foco")}};
    });
}

// The eleven management reports; their errors reach the standard error box.
void TfrmPrincipal::ligarRelatorios()
{
    const std::pair<QToolButton *, void (*)()> relatorios[] = {
        {ui->BtnPedidosEnviados, [] { RelatorioPedidosPorSituacao(SituacaoPedidos::Enviados); }},
        {ui->BtnPedidosNaoEnviados, [] { RelatorioPedidosPorSituacao(SituacaoPedidos::NaoEnviados); }},
        {ui->BtnPedidosImpressos, [] { RelatorioPedidosPorSituacao(SituacaoPedidos::Impressos); }},
        {ui->BtnPedidosNaoImpressos, [] { RelatorioPedidosPorSituacao(SituacaoPedidos::NaoImpressos); }},
        {ui->BtnPedidosPorPeriodo, RelatorioPedidosPorPeriodo},
        {ui->BtnTodosPedidos, RelatorioTodosPedidos},
        {ui->BtnTodosProdutos, RelatorioTodosProdutos},
        {ui->BtnVendasTotais, RelatorioVendasTotais},
        {ui->BtnClientesPorCidades, RelatorioClientesPorCidades},
        {ui->BtnClientesSimples, [] { RelatorioClientes(ListaClientes::Simples); }},
        {ui->BtnClientesCompleto, [] { RelatorioClientes(ListaClientes::Completa); }},
    };
    for (const auto &[botao, relatorio] : relatorios)
        connect(botao, &QToolButton::clicked, this, [relatorio = relatorio] { ExecutarProtegido(relatorio); });
}

// A new order screen each time, modal and maximised.
void TfrmPrincipal::abrirTela(const VariantePedido &variante)
{
    AbrirTelaPedido(variante, this);
}

void TfrmPrincipal::mostrarProgresso(bool visivel)
{
    ui->lblAguarde->setVisible(visivel);
    ui->pbAtualizacao->setVisible(visivel);
    ui->lblAtualizandoBD->setVisible(visivel);
}

void TfrmPrincipal::MostrarRepresentante()
{
    ExecutarProtegido([this] { ui->lblRepresentante->setText(LogicaPrincipal::textoRepresentante()); });
}

void TfrmPrincipal::carregarLogo()
{
    // The logo is read from the data folder (or the shared one), never the
    // working folder a launcher picks; without it the window keeps the
    // system's face colour and no representative line.
    if (!DM)
        return;
    const QString arquivo = DM->ArquivoModelo(QString::fromLatin1(LogicaPrincipal::kArquivoLogo));
    if (!QFileInfo::exists(arquivo))
        return;
    m_logo = QPixmap(arquivo);
    if (m_logo.isNull())
        return;
    ajustarLogo();
    setStyleSheet(QStringLiteral("TfrmPrincipal, #centralwidget { background: #FFFFFF; }"));
    MostrarRepresentante();
}

void TfrmPrincipal::showEvent(QShowEvent *evento)
{
    QMainWindow::showEvent(evento);
    if (m_mostrada)
        return;
    m_mostrada = true;
    carregarLogo();
    // Which folder holds this user's data: the program's own or the user's.
    ui->StatusBar1->addPermanentWidget(new QLabel(LogicaPrincipal::textoPastaDados(), ui->StatusBar1));
    m_configurarAoPintar = LogicaPrincipal::precisaConfigurar();
    setWindowTitle(LogicaPrincipal::tituloComVersao());
}

// After the first paint, once the event loop runs: the data the buttons work
// on is read with the window already on screen (a button clicked first reads
// what it needs itself), and the configuration of a new installation opens
// over the painted window, not over an empty screen.
void TfrmPrincipal::paintEvent(QPaintEvent *evento)
{
    QMainWindow::paintEvent(evento);
    if (m_pintada)
        return;
    m_pintada = true;
    QTimer::singleShot(0, this, [this] {
        if (DM && DM->HaPendentes()) {
            const Espera espera(QStringLiteral("Lendo os dados..."));
            ExecutarProtegido([] { DM->AbrirPendentes(); });
        }
        if (m_configurarAoPintar) {
            m_configurarAoPintar = false;
            ExecutarProtegido([] { ExecutarConfiguracao(); });
        }
    });
}

void TfrmPrincipal::closeEvent(QCloseEvent *evento)
{
    // The update finishes (or fails) as a whole; the window waits for it.
    if (LogicaAtualizacao::emAndamento())
        evento->ignore();
    else if (LogicaPrincipal::confirmarSaida())
        evento->accept();
    else
        evento->ignore();
}

void TfrmPrincipal::resizeEvent(QResizeEvent *evento)
{
    QMainWindow::resizeEvent(evento);
    centralizarBotoes();
    ajustarLogo();
}

void TfrmPrincipal::ajustarLogo()
{
    // The logo keeps its proportions in the space left above the buttons,
    // never drawn larger than it is.
    if (m_logo.isNull() || ui->Image1->size().isEmpty())
        return;
    const QSize espaco = ui->Image1->size().boundedTo(m_logo.size());
    ui->Image1->setPixmap(m_logo.scaled(espaco, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void TfrmPrincipal::centralizarBotoes()
{
    const int x = std::max(0, (ui->Panel1->width() - ui->painelBotoes->width()) / 2);
    ui->painelBotoes->move(x, 0);
}
