#include "graficos_painel.h"

#include "formatos.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QGraphicsSimpleTextItem>
#include <QHorizontalBarSeries>
#include <QLocale>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace
{

const QColor kCorBarra(0x1f, 0x5f, 0xa8);
const int kLimiteNome = 24;

QFont fonteRotulo()
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(10);
    return f;
}

QChart *novoGrafico(const QString &titulo)
{
    auto *grafico = new QChart;
    grafico->setTitle(titulo);
    QFont f = fonteRotulo();
    f.setPixelSize(14);
    f.setBold(true);
    grafico->setTitleFont(f);
    grafico->legend()->hide();
    grafico->setMargins(QMargins(4, 4, 4, 4));
    grafico->setBackgroundRoundness(4);
    return grafico;
}

QChartView *novaVista(QChart *grafico, QWidget *pai)
{
    auto *vista = new QChartView(grafico, pai);
    vista->setRenderHint(QPainter::Antialiasing);
    vista->setMinimumSize(200, 160);
    return vista;
}

// The value axis with room past the longest bar for its written value.
QValueAxis *eixoValores(double menor, double maior, double folga)
{
    auto *eixo = new QValueAxis;
    eixo->setRange(std::min(0.0, menor), maior > 0 ? maior * folga : 1.0);
    eixo->setLabelsVisible(false);
    eixo->setGridLineVisible(false);
    eixo->setLineVisible(false);
    return eixo;
}

// The money texts drawn at the end of each bar, placed again whenever the
// plot area changes (resizing, first layout).
void escreverValores(QChart *grafico, QAbstractSeries *serie, const std::vector<double> &valores,
                     const QStringList &textos, bool horizontal)
{
    std::vector<QGraphicsSimpleTextItem *> itens;
    for (const QString &t : textos) {
        auto *item = new QGraphicsSimpleTextItem(t, grafico);
        item->setFont(fonteRotulo());
        item->setZValue(10);
        itens.push_back(item);
    }
    auto posicionar = [grafico, serie, valores, itens, horizontal] {
        for (std::size_t i = 0; i < itens.size(); ++i) {
            const QRectF r = itens[i]->boundingRect();
            const double pos = double(i);
            if (horizontal) {
                const QPointF fim = grafico->mapToPosition(QPointF(std::max(valores[i], 0.0), pos), serie);
                itens[i]->setPos(fim.x() + 4, fim.y() - r.height() / 2);
            } else {
                const QPointF topo = grafico->mapToPosition(QPointF(pos, std::max(valores[i], 0.0)), serie);
                itens[i]->setPos(topo.x() - r.width() / 2, topo.y() - r.height() - 2);
            }
        }
    };
    QObject::connect(grafico, &QChart::plotAreaChanged, grafico, posicionar);
    posicionar();
}

double emReais(Dinheiro v)
{
    return v.paraDouble();
}

QString quantidade(double q)
{
    return QLocale().toString(q, 'f', q == std::floor(q) ? 0 : 2);
}

} // namespace

QString NomeMes(const QDate &mes)
{
    static const char *const kMeses[] = {"jan", "fev", "mar", "abr", "mai", "jun",
                                         "jul", "ago", "set", "out", "nov", "dez"};
    return QStringLiteral("%1/%2")
        .arg(QString::fromLatin1(kMeses[mes.month() - 1]))
        .arg(mes.year() % 100, 2, 10, QLatin1Char('0'));
}

QChartView *GraficoVendasMes(const QString &titulo, const std::vector<VendaMes> &vendas, QWidget *pai)
{
    QChart *grafico = novoGrafico(titulo);
    auto *barras = new QBarSet(QStringLiteral("Vendas"));
    barras->setColor(kCorBarra);
    QStringList meses;
    QStringList textos;
    std::vector<double> valores;
    double menor = 0;
    double maior = 0;
    for (const VendaMes &v : vendas) {
        *barras << emReais(v.total);
        valores.push_back(emReais(v.total));
        menor = std::min(menor, emReais(v.total));
        maior = std::max(maior, emReais(v.total));
        meses << NomeMes(v.mes);
        textos << TextoReais(v.total);
    }
    auto *serie = new QBarSeries;
    serie->append(barras);
    serie->setBarWidth(0.7);
    grafico->addSeries(serie);
    auto *eixoMeses = new QBarCategoryAxis;
    eixoMeses->append(meses);
    eixoMeses->setLabelsFont(fonteRotulo());
    eixoMeses->setGridLineVisible(false);
    grafico->addAxis(eixoMeses, Qt::AlignBottom);
    serie->attachAxis(eixoMeses);
    QValueAxis *eixo = eixoValores(menor, maior, 1.15);
    grafico->addAxis(eixo, Qt::AlignLeft);
    serie->attachAxis(eixo);
    escreverValores(grafico, serie, valores, textos, false);
    return novaVista(grafico, pai);
}

QChartView *GraficoRanking(const QString &titulo, const std::vector<ItemRanking> &ranking, const QString &unidade,
                           QWidget *pai)
{
    QChart *grafico = novoGrafico(titulo);
    auto *barras = new QBarSet(titulo);
    barras->setColor(kCorBarra);
    QStringList nomes;
    QStringList textos;
    std::vector<double> valores;
    double menor = 0;
    double maior = 0;
    // The category axis draws its first entry at the bottom.
    for (auto it = ranking.rbegin(); it != ranking.rend(); ++it) {
        *barras << emReais(it->valor);
        valores.push_back(emReais(it->valor));
        menor = std::min(menor, emReais(it->valor));
        maior = std::max(maior, emReais(it->valor));
        QString nome = it->nome.isEmpty() ? it->codigo : it->nome;
        if (nome.size() > kLimiteNome)
            nome = nome.left(kLimiteNome - 1) + QStringLiteral("…");
        // Two entries may share a name once cut: the axis needs them apart.
        QString rotulo = QStringLiteral("%1 (%2 %3)").arg(nome, quantidade(it->quantidade), unidade);
        while (nomes.contains(rotulo))
            rotulo += QChar(u' ');
        nomes << rotulo;
        textos << TextoReais(it->valor);
    }
    auto *serie = new QHorizontalBarSeries;
    serie->append(barras);
    serie->setBarWidth(0.7);
    grafico->addSeries(serie);
    auto *eixoNomes = new QBarCategoryAxis;
    eixoNomes->append(nomes);
    eixoNomes->setLabelsFont(fonteRotulo());
    eixoNomes->setGridLineVisible(false);
    grafico->addAxis(eixoNomes, Qt::AlignLeft);
    serie->attachAxis(eixoNomes);
    QValueAxis *eixo = eixoValores(menor, maior, 1.45);
    grafico->addAxis(eixo, Qt::AlignBottom);
    serie->attachAxis(eixo);
    escreverValores(grafico, serie, valores, textos, true);
    return novaVista(grafico, pai);
}
