#include "exportacao_painel.h"

#include "erro.h"
#include "formatos.h"
#include "pagina_relatorio.h"

#include <QChartView>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPixmap>
#include <QTextDocumentFragment>

namespace
{

[[noreturn]] void falhaAoGravar(const QString &arquivo)
{
    throw Erro(QStringLiteral("Não foi possível gravar o arquivo %1.\nVerifique se a pasta \"relatórios\" existe e se "
                              "o arquivo não está aberto em outro programa.")
                   .arg(QDir::toNativeSeparators(arquivo)));
}

// A line of the lists' pages: a heading or a row of cells.
struct LinhaLista {
    bool titulo = false;
    QStringList celulas;
};

std::vector<LinhaLista> linhasDasListas(const Painel &painel)
{
    std::vector<LinhaLista> linhas;
    const auto cliente = [](qint64 id, const QString &nome) { return QStringLiteral("%1 - %2").arg(id).arg(nome); };
    linhas.push_back({true, {QStringLiteral("Clientes esfriando (40 dias ou mais sem comprar)")}});
    linhas.push_back({false,
                      {QStringLiteral("Cliente"), QStringLiteral("Dias"), QStringLiteral("Última compra"),
                       QStringLiteral("Valor")}});
    for (const ClienteEsfriando &c : painel.esfriando)
        linhas.push_back({false,
                          {cliente(c.idCliente, c.nome), QString::number(c.dias), Formatos::data(c.ultimaCompra.date()),
                           TextoReais(c.valorUltimaCompra)}});
    linhas.push_back({true, {QStringLiteral("Clientes que nunca compraram")}});
    for (const ClienteSemCompra &c : painel.semCompra)
        linhas.push_back({false, {cliente(c.idCliente, c.nome), c.cidade}});
    linhas.push_back({true, {QStringLiteral("Clientes com pedido acima do crédito ou atraso médio acima do limite")}});
    linhas.push_back({false,
                      {QStringLiteral("Cliente"), QStringLiteral("Crédito"), QStringLiteral("Pedido aberto"),
                       QStringLiteral("Atraso médio")}});
    for (const ClienteEmAlerta &c : painel.emAlerta)
        linhas.push_back({false,
                          {cliente(c.idCliente, c.nome), c.pedidoAcimaDoCredito ? TextoReais(*c.credito) : QString(),
                           c.pedidoAcimaDoCredito ? TextoReais(*c.pedidoAcimaDoCredito) : QString(),
                           c.mediaAtraso ? QStringLiteral("%1 dias").arg(*c.mediaAtraso) : QString()}});
    return linhas;
}

void desenharGrafico(QPainter &p, QChartView *grafico, const QRectF &area)
{
    grafico->render(&p, area, grafico->viewport()->rect(), Qt::KeepAspectRatio);
}

void desenharLinha(QPainter &p, const LinhaLista &linha, qreal y, qreal largura, qreal altura)
{
    p.save();
    QFont f = p.font();
    f.setBold(linha.titulo);
    p.setFont(f);
    if (linha.titulo) {
        p.drawText(QRectF(0, y, largura, altura), Qt::AlignLeft | Qt::AlignBottom, linha.celulas.value(0));
    } else {
        // The customer takes half the width, the other columns share the rest.
        const qreal primeira = largura * 0.5;
        const qreal resto = (largura - primeira) / 3;
        for (int c = 0; c < linha.celulas.size(); ++c) {
            const QRectF r =
                c == 0 ? QRectF(0, y, primeira, altura) : QRectF(primeira + (c - 1) * resto, y, resto, altura);
            p.drawText(r, (c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter,
                       p.fontMetrics().elidedText(linha.celulas[c], Qt::ElideRight, int(r.width())));
        }
    }
    p.restore();
}

} // namespace

void GravarGraficoPng(QChartView *grafico, const QString &arquivo)
{
    if (!grafico->grab().save(arquivo, "PNG"))
        falhaAoGravar(arquivo);
}

void GravarPainelPdf(const QString &arquivo, const std::vector<QChartView *> &graficos, const Painel &painel,
                     const QString &resumo)
{
    if (!QFileInfo(QFileInfo(arquivo).path()).isDir())
        falhaAoGravar(arquivo);
    QPdfWriter writer(arquivo);
    writer.setResolution(300);
    PaginaRelatorio::Configurar(writer, true, QFileInfo(arquivo).completeBaseName());
    const QSizeF corpo = PaginaRelatorio::Corpo(writer);
    const std::vector<LinhaLista> linhas = linhasDasListas(painel);

    QPainter p;
    if (!p.begin(&writer))
        falhaAoGravar(arquivo);
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    const qreal altura = p.fontMetrics().height() * 1.35;
    const int porPagina = std::max(1, int(corpo.height() / altura) - 1);
    const int paginas = 1 + int((linhas.size() + std::size_t(porPagina) - 1) / std::size_t(porPagina));
    const QString cabecalho = QStringLiteral("Painel do representante - ") + Formatos::data(QDate::currentDate());

    // First page: the title, this month against last year's, the charts.
    QFont titulo = p.font();
    titulo.setPointSize(14);
    titulo.setBold(true);
    p.save();
    p.setFont(titulo);
    const qreal alturaTitulo = p.fontMetrics().height() * 1.3;
    p.drawText(QRectF(0, 0, corpo.width(), alturaTitulo), Qt::AlignLeft | Qt::AlignVCenter, cabecalho);
    p.restore();
    p.drawText(QRectF(0, alturaTitulo, corpo.width(), altura), Qt::AlignLeft | Qt::AlignVCenter,
               QTextDocumentFragment::fromHtml(resumo).toPlainText());
    const qreal topo = alturaTitulo + altura * 1.5;
    const qreal livre = corpo.height() - topo;
    desenharGrafico(p, graficos.at(0), QRectF(0, topo, corpo.width(), livre * 0.45));
    const qreal baixo = topo + livre * 0.47;
    desenharGrafico(p, graficos.at(1), QRectF(0, baixo, corpo.width() / 2 - 20, livre * 0.53));
    desenharGrafico(p, graficos.at(2), QRectF(corpo.width() / 2 + 20, baixo, corpo.width() / 2 - 20, livre * 0.53));
    PaginaRelatorio::DesenharMoldura(p, writer, cabecalho, 1, paginas);

    // Then the lists, as many lines as a page holds.
    for (int pagina = 2; pagina <= paginas; ++pagina) {
        writer.newPage();
        const std::size_t primeira = std::size_t(pagina - 2) * std::size_t(porPagina);
        for (std::size_t i = primeira; i < std::min(linhas.size(), primeira + std::size_t(porPagina)); ++i)
            desenharLinha(p, linhas[i], qreal(i - primeira) * altura, corpo.width(), altura);
        PaginaRelatorio::DesenharMoldura(p, writer, cabecalho, pagina, paginas);
    }
    if (!p.end())
        falhaAoGravar(arquivo);
}
