#include "indicador_caixa_saida.h"

#include "caixa_saida.h"
#include "erro.h"
#include "janela_caixa_saida.h"
#include "remessa_caixa_saida.h"
#include "udm.h"

#include <QEvent>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include <chrono>

namespace
{

constexpr std::chrono::minutes kIntervalo{5};

} // namespace

IndicadorCaixaSaida::IndicadorCaixaSaida(QMainWindow &janela, RemessaCaixaSaida &remessa)
    : QObject(&janela), m_janela(janela), m_remessa(remessa), m_botao(new QPushButton(janela.statusBar()))
{
    m_botao->setObjectName(QStringLiteral("btnCaixaSaida"));
    m_botao->setFlat(true);
    m_botao->setCursor(Qt::PointingHandCursor);
    m_botao->setToolTip(QStringLiteral("Abre a caixa de saída: mensagens aguardando, enviadas e recusadas"));
    m_botao->hide();
    janela.statusBar()->addPermanentWidget(m_botao);
    connect(m_botao, &QPushButton::clicked, this, &IndicadorCaixaSaida::abrirLista);
    connect(&m_remessa, &RemessaCaixaSaida::mudou, this, &IndicadorCaixaSaida::atualizar);
    connect(&m_remessa, &RemessaCaixaSaida::naoGravado, this, &IndicadorCaixaSaida::avisarNaoGravado);
    janela.installEventFilter(this);
}

QString IndicadorCaixaSaida::texto(int quantidade)
{
    if (quantidade == 0)
        return QStringLiteral("Nenhuma mensagem na caixa de saída");
    if (quantidade == 1)
        return QStringLiteral("1 mensagem na caixa de saída");
    return QStringLiteral("%1 mensagens na caixa de saída").arg(quantidade);
}

bool IndicadorCaixaSaida::eventFilter(QObject *objeto, QEvent *evento)
{
    if (!m_iniciado && objeto == &m_janela && evento->type() == QEvent::Paint) {
        m_iniciado = true;
        // After this paint, once the event loop runs again.
        QTimer::singleShot(0, this, &IndicadorCaixaSaida::iniciar);
    }
    return QObject::eventFilter(objeto, evento);
}

void IndicadorCaixaSaida::iniciar()
{
    atualizar();
    m_remessa.enviarPendentes();
    m_remessa.enviarACada(kIntervalo);
}

void IndicadorCaixaSaida::atualizar()
{
    if (!DM || !DM->ADOConexao.aberta())
        return;
    try {
        m_botao->setText(texto(CaixaSaidaBanco::quantidadeNaoEnviada(DM->ADOConexao)));
        m_botao->show();
    } catch (const Erro &) {
        // A database that cannot take the table (read-only): no outbox to show.
        m_botao->hide();
    }
}

// Until the outcome is written (the next change of the outbox), the line says
// why the count may be behind.
void IndicadorCaixaSaida::avisarNaoGravado(const QString &motivo)
{
    m_botao->setText(QStringLiteral("Caixa de saída: o resultado do envio não foi gravado (%1)").arg(motivo));
    m_botao->show();
}

void IndicadorCaixaSaida::abrirLista()
{
    JanelaCaixaSaida lista(m_remessa, &m_janela);
    lista.exec();
}
