#include "tela_painel.h"

#include "exportacao_painel.h"
#include "formatos.h"
#include "graficos_painel.h"
#include "painel_programa.h"
#include "telas_variantes.h"
#include "ufunc.h"

#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace
{

constexpr int kColunaCliente = Qt::UserRole;

QTableWidget *novaTabela(const QStringList &colunas, const char *nome)
{
    auto *t = new QTableWidget(0, int(colunas.size()));
    t->setObjectName(QString::fromLatin1(nome));
    t->setHorizontalHeaderLabels(colunas);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->verticalHeader()->hide();
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 6);
    t->setWordWrap(false);
    t->setTextElideMode(Qt::ElideRight);
    t->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int c = 1; c < colunas.size(); ++c)
        t->horizontalHeader()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    t->setCursor(Qt::PointingHandCursor);
    return t;
}

// One row; the customer's number rides on the first cell for the click.
void adicionarLinha(QTableWidget *t, qint64 cliente, const QStringList &celulas, const QColor &cor = Qt::black)
{
    const int linha = t->rowCount();
    t->insertRow(linha);
    for (int c = 0; c < celulas.size(); ++c) {
        auto *item = new QTableWidgetItem(celulas[c]);
        item->setForeground(cor);
        if (c > 0)
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        t->setItem(linha, c, item);
    }
    t->item(linha, 0)->setData(kColunaCliente, cliente);
    t->item(linha, 0)->setToolTip(celulas.value(0));
}

QString nomeCliente(qint64 id, const QString &nome)
{
    return QStringLiteral("%1 - %2").arg(id).arg(nome);
}

} // namespace

TfrmPainel::TfrmPainel(QWidget *pai) : QDialog(pai), m_periodo(PeriodoPadrao(QDateTime::currentDateTime()))
{
    setObjectName(QStringLiteral("TfrmPainel"));
    setWindowTitle(QStringLiteral("Corlando - Painel"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(montarCabecalho());
    m_comparativo = new QLabel;
    m_comparativo->setObjectName(QStringLiteral("lblComparativo"));
    m_comparativo->setStyleSheet(QStringLiteral("font-size: 14px; padding: 2px 4px;"));
    layout->addWidget(m_comparativo);
    // The months across the top, the two rankings under them, the customer
    // lists down the right side.
    m_grade = new QGridLayout;
    m_grade->setRowStretch(0, 1);
    m_grade->setRowStretch(1, 1);
    m_grade->setColumnStretch(0, 3);
    m_grade->setColumnStretch(1, 3);
    m_grade->setColumnStretch(2, 2);
    m_grade->addWidget(montarListas(), 0, 2, 2, 1);
    layout->addLayout(m_grade, 1);
    atualizar();
}

QWidget *TfrmPainel::montarCabecalho()
{
    auto *linha = new QWidget;
    auto *h = new QHBoxLayout(linha);
    h->setContentsMargins(0, 0, 0, 0);
    m_inicio = new QDateEdit(m_periodo.inicio);
    m_fim = new QDateEdit(m_periodo.fim);
    for (QDateEdit *d : {m_inicio, m_fim}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    }
    m_inicio->setObjectName(QStringLiteral("dtInicio"));
    m_fim->setObjectName(QStringLiteral("dtFim"));
    m_anos = new QComboBox;
    m_anos->setObjectName(QStringLiteral("cbVendas"));
    m_anos->addItem(QStringLiteral("Últimos 12 meses"), 0);
    for (int ano = m_periodo.agora.date().year(); ano > m_periodo.agora.date().year() - 5; --ano)
        m_anos->addItem(QStringLiteral("Ano de %1").arg(ano), ano);
    auto *atualizar = new QPushButton(QStringLiteral("&Atualizar"));
    atualizar->setObjectName(QStringLiteral("btnAtualizar"));
    auto *imagens = new QPushButton(QStringLiteral("Exportar &gráficos (PNG)"));
    imagens->setObjectName(QStringLiteral("btnExportarPng"));
    auto *pdf = new QPushButton(QStringLiteral("Exportar &PDF"));
    pdf->setObjectName(QStringLiteral("btnExportarPdf"));
    auto *fechar = new QPushButton(QStringLiteral("&Fechar"));
    h->addWidget(new QLabel(QStringLiteral("Vendas:")));
    h->addWidget(m_anos);
    h->addSpacing(16);
    h->addWidget(new QLabel(QStringLiteral("Produtos e clientes de")));
    h->addWidget(m_inicio);
    h->addWidget(new QLabel(QStringLiteral("a")));
    h->addWidget(m_fim);
    h->addWidget(atualizar);
    h->addStretch(1);
    h->addWidget(imagens);
    h->addWidget(pdf);
    h->addWidget(fechar);
    connect(atualizar, &QPushButton::clicked, this, &TfrmPainel::atualizar);
    connect(m_anos, &QComboBox::activated, this, &TfrmPainel::atualizar);
    connect(imagens, &QPushButton::clicked, this, [this] { ExecutarProtegido([this] { exportarImagens(); }); });
    connect(pdf, &QPushButton::clicked, this, [this] { ExecutarProtegido([this] { exportarPdf(); }); });
    connect(fechar, &QPushButton::clicked, this, &QDialog::accept);
    return linha;
}

QWidget *TfrmPainel::montarListas()
{
    m_abas = new QTabWidget;
    m_abas->setObjectName(QStringLiteral("abasClientes"));
    m_esfriando = novaTabela(
        {QStringLiteral("Cliente"), QStringLiteral("Dias"), QStringLiteral("Última compra"), QStringLiteral("Valor")},
        "tbEsfriando");
    m_semCompra = novaTabela({QStringLiteral("Cliente"), QStringLiteral("Cidade")}, "tbSemCompra");
    m_emAlerta = novaTabela(
        {QStringLiteral("Cliente"), QStringLiteral("Crédito"), QStringLiteral("Pedido"), QStringLiteral("Atraso")},
        "tbEmAlerta");
    for (QTableWidget *t : {m_esfriando, m_semCompra, m_emAlerta}) {
        m_abas->addTab(t, QString());
        connect(t, &QTableWidget::cellClicked, this,
                [this, t](int linha) { novoPedido(t->item(linha, 0)->data(kColunaCliente).toLongLong()); });
    }
    return m_abas;
}

void TfrmPainel::atualizar()
{
    ExecutarProtegido([this] {
        m_periodo.inicio = std::min(m_inicio->date(), m_fim->date());
        m_periodo.fim = std::max(m_inicio->date(), m_fim->date());
        m_periodo.ano = m_anos->currentData().toInt() ? m_anos->currentData().toInt() : m_periodo.agora.date().year();
        m_painel = CalcularPainel(FigurasDoPrograma(), m_periodo);
        mostrarGraficos();
        mostrarListas();
        mostrarComparativo();
    });
}

// Qt Charts has no way to swap a chart's data in place that keeps the
// written values right: each refresh builds the chart anew.
void TfrmPainel::trocarGrafico(QChartView *&atual, QChartView *novo, int linha, int coluna, int colunas)
{
    if (atual)
        atual->deleteLater();
    atual = novo;
    m_grade->addWidget(novo, linha, coluna, 1, colunas);
}

void TfrmPainel::mostrarGraficos()
{
    const int ano = m_anos->currentData().toInt();
    const std::vector<VendaMes> &vendas = ano ? m_painel.ano : m_painel.ultimos12Meses;
    const QString titulo =
        ano ? QStringLiteral("Vendas de %1 por mês").arg(ano) : QStringLiteral("Vendas dos últimos 12 meses");
    trocarGrafico(m_vendas, GraficoVendasMes(titulo, vendas), 0, 0, 2);
    m_vendas->setObjectName(QStringLiteral("graficoVendas"));
    // The period is in the boxes above; the titles stay short.
    const QString vazio = QStringLiteral(" - nenhuma venda no período");
    trocarGrafico(
        m_produtos,
        GraficoRanking(QStringLiteral("Produtos mais vendidos") + (m_painel.produtos.empty() ? vazio : QString()),
                       m_painel.produtos, QStringLiteral("un.")),
        1, 0, 1);
    m_produtos->setObjectName(QStringLiteral("graficoProdutos"));
    trocarGrafico(m_clientes,
                  GraficoRanking(QStringLiteral("Maiores clientes") + (m_painel.clientes.empty() ? vazio : QString()),
                                 m_painel.clientes, QStringLiteral("ped.")),
                  1, 1, 1);
    m_clientes->setObjectName(QStringLiteral("graficoClientes"));
    m_clientes->setToolTip(QStringLiteral("Clique num cliente para fazer um novo pedido para ele"));
    ligarCliques(m_clientes);
}

// A click on a customer's bar: a new order for that customer.
void TfrmPainel::ligarCliques(QChartView *clientes)
{
    const auto series = clientes->chart()->series();
    auto *serie = qobject_cast<QHorizontalBarSeries *>(series.value(0));
    if (!serie || serie->barSets().isEmpty())
        return;
    connect(serie->barSets().first(), &QBarSet::clicked, this, [this](int indice) {
        // The bars run from the smallest at the bottom.
        const auto &clientes = m_painel.clientes;
        const int posicao = int(clientes.size()) - 1 - indice;
        if (posicao >= 0 && posicao < int(clientes.size()))
            novoPedido(clientes[std::size_t(posicao)].codigo.toLongLong());
    });
    serie->barSets().first()->setSelectedColor(QColor(0xc7, 0x78, 0x00));
}

void TfrmPainel::mostrarListas()
{
    for (QTableWidget *t : {m_esfriando, m_semCompra, m_emAlerta})
        t->setRowCount(0);
    // The order screen's red from 40 days, its black from 60.
    for (const ClienteEsfriando &c : m_painel.esfriando)
        adicionarLinha(m_esfriando, c.idCliente,
                       {nomeCliente(c.idCliente, c.nome), QString::number(c.dias),
                        Formatos::data(c.ultimaCompra.date()), TextoReais(c.valorUltimaCompra)},
                       c.dias >= kDiasFrio ? QColor(Qt::black) : QColor(0xd0, 0, 0));
    for (const ClienteSemCompra &c : m_painel.semCompra)
        adicionarLinha(m_semCompra, c.idCliente, {nomeCliente(c.idCliente, c.nome), c.cidade});
    for (const ClienteEmAlerta &c : m_painel.emAlerta)
        adicionarLinha(m_emAlerta, c.idCliente,
                       {nomeCliente(c.idCliente, c.nome), c.pedidoAcimaDoCredito ? TextoReais(*c.credito) : QString(),
                        c.pedidoAcimaDoCredito ? TextoReais(*c.pedidoAcimaDoCredito) : QString(),
                        c.mediaAtraso ? QStringLiteral("%1 dias").arg(*c.mediaAtraso) : QString()},
                       QColor(0xb3, 0x5c, 0x00));
    m_abas->setTabText(0, QStringLiteral("Esfriando (%1)").arg(m_painel.esfriando.size()));
    m_abas->setTabText(1, QStringLiteral("Sem compra (%1)").arg(m_painel.semCompra.size()));
    m_abas->setTabText(2, QStringLiteral("Alertas (%1)").arg(m_painel.emAlerta.size()));
}

void TfrmPainel::mostrarComparativo()
{
    const VendaMes &atual = m_painel.mesAtual;
    const VendaMes &anterior = m_painel.mesmoMesAnoAnterior;
    QString texto =
        QStringLiteral("<b>Este mês (%1):</b> %2 &nbsp;&nbsp; <b>Mesmo mês do ano passado (%3):</b> %4")
            .arg(NomeMes(atual.mes), TextoReais(atual.total), NomeMes(anterior.mes), TextoReais(anterior.total));
    if (anterior.total > Dinheiro()) {
        const double variacao = (atual.total.paraDouble() / anterior.total.paraDouble() - 1.0) * 100.0;
        texto += QStringLiteral(" &nbsp;(%1%2%)")
                     .arg(variacao >= 0 ? QStringLiteral("+") : QString(), QLocale().toString(variacao, 'f', 1));
    }
    m_comparativo->setText(texto);
}

void TfrmPainel::novoPedido(qint64 cliente)
{
    AbrirTelaPedido(VariantePedidoRegular(), this, cliente);
    atualizar();
}

void TfrmPainel::exportarImagens()
{
    const QStringList nomes = {QStringLiteral("vendas"), QStringLiteral("produtos"), QStringLiteral("clientes")};
    QStringList gravados;
    const std::vector<QChartView *> vistas = graficos();
    for (std::size_t i = 0; i < vistas.size(); ++i) {
        const QString arquivo = ArquivoPainel(nomes[int(i)], QStringLiteral(".png"));
        if (!PodeGravarArquivo(arquivo))
            continue;
        GravarGraficoPng(vistas[i], arquivo);
        gravados << arquivo;
    }
    if (!gravados.isEmpty())
        MsgInformacao(QStringLiteral("Gráficos gravados:\n") + gravados.join(u'\n'), QStringLiteral("Atenção"));
}

void TfrmPainel::exportarPdf()
{
    const QString arquivo = ArquivoPainel(QString(), QStringLiteral(".pdf"));
    if (!PodeGravarArquivo(arquivo))
        return;
    GravarPainelPdf(arquivo, graficos(), m_painel, m_comparativo->text());
    Dialogos::atual().abrirArquivo(arquivo);
}
