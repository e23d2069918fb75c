#include "remessa_caixa_saida.h"

#include "conexao.h"
#include "erro.h"
#include "transacao.h"

#include <QEventLoop>

namespace
{

RemessaCaixaSaida *g_atual = nullptr;

// A write that would join a transaction the window has open (the database
// update lets the window breathe inside one) waits until it is over: a
// rollback there must not take a delivery with it.
constexpr int kMsAdiamento = 250;

} // namespace

RemessaCaixaSaida::RemessaCaixaSaida(Ligacao ligacao, QObject *pai)
    : QObject(pai), m_ligacao(std::move(ligacao)), m_anterior(g_atual)
{
    g_atual = this;
    connect(&m_periodico, &QTimer::timeout, this, &RemessaCaixaSaida::enviarPendentes);
}

RemessaCaixaSaida::~RemessaCaixaSaida()
{
    parar();
    if (g_atual == this)
        g_atual = m_anterior;
}

RemessaCaixaSaida *RemessaCaixaSaida::atual()
{
    return g_atual;
}

void RemessaCaixaSaida::parar()
{
    m_parar = true;
    if (m_trabalho.joinable())
        m_trabalho.join();
}

void RemessaCaixaSaida::enviarACada(std::chrono::milliseconds intervalo)
{
    m_periodico.start(intervalo);
}

void RemessaCaixaSaida::enviarPendentes()
{
    if (m_trabalho.joinable()) {
        m_deNovo = true;
        return;
    }
    iniciarRodada();
}

void RemessaCaixaSaida::tentarDeNovo(qint64 id)
{
    if (Conexao *c = m_ligacao.conexao()) {
        CaixaSaidaBanco::voltarAAguardar(*c, id);
        Q_EMIT mudou();
    }
    enviarPendentes();
}

void RemessaCaixaSaida::descartar(qint64 id)
{
    if (Conexao *c = m_ligacao.conexao()) {
        CaixaSaidaBanco::descartar(*c, id);
        Q_EMIT mudou();
    }
}

void RemessaCaixaSaida::aguardar()
{
    if (!ocupada())
        return;
    QEventLoop laco;
    connect(this, &RemessaCaixaSaida::ociosa, &laco, &QEventLoop::quit);
    laco.exec(QEventLoop::ExcludeUserInputEvents);
}

void RemessaCaixaSaida::iniciarRodada()
{
    m_deNovo = false;
    Conexao *c = m_ligacao.conexao();
    QList<CaixaSaidaBanco::Envio> envios;
    if (c && c->aberta() && !c->emTransacao()) {
        try {
            envios = CaixaSaidaBanco::aguardando(*c);
            if (!envios.isEmpty()) {
                ClienteSmtp cliente = m_ligacao.servidor();
                m_parar = false;
                m_trabalho = std::thread(&RemessaCaixaSaida::executar, this, std::move(cliente), envios);
                return;
            }
        } catch (const Erro &erro) {
            // Settings that cannot be read: every message waits, saying why.
            for (const CaixaSaidaBanco::Envio &e : envios)
                registrar({e.id, SituacaoCaixa::Aguardando, erro.mensagem()});
        }
    }
    Q_EMIT ociosa();
}

// On the sending thread: nothing here touches the database or a widget.
void RemessaCaixaSaida::executar(ClienteSmtp cliente, QList<CaixaSaidaBanco::Envio> envios)
{
    for (const CaixaSaidaBanco::Envio &envio : envios) {
        if (m_parar)
            break;
        Resultado r{envio.id, SituacaoCaixa::Enviado, {}};
        try {
            cliente.enviarConteudo(envio.remetente, envio.destinatarios, envio.conteudo);
        } catch (const ErroSmtp &erro) {
            r.situacao = erro.temporaria() ? SituacaoCaixa::Aguardando : SituacaoCaixa::Recusado;
            r.resposta = erro.resposta();
        } catch (const Erro &erro) {
            r.situacao = SituacaoCaixa::Recusado;
            r.resposta = erro.mensagem();
        }
        QMetaObject::invokeMethod(
            this, [this, r] { registrar(r); }, Qt::QueuedConnection);
        if (r.situacao == SituacaoCaixa::Aguardando)
            break;
    }
    QMetaObject::invokeMethod(this, &RemessaCaixaSaida::fimDaRodada, Qt::QueuedConnection);
}

void RemessaCaixaSaida::fimDaRodada()
{
    if (m_trabalho.joinable())
        m_trabalho.join();
    if (m_deNovo)
        iniciarRodada();
    else if (m_adiados.isEmpty())
        Q_EMIT ociosa();
}

void RemessaCaixaSaida::registrar(const Resultado &r)
{
    Conexao *c = m_ligacao.conexao();
    if (!c || !c->aberta())
        return; // the message stays waiting
    if (c->emTransacao() || !m_adiados.isEmpty()) {
        m_adiados << r;
        if (m_adiados.size() == 1)
            QTimer::singleShot(kMsAdiamento, this, &RemessaCaixaSaida::registrarAdiados);
        return;
    }
    LinhaCaixa linha;
    try {
        Transacao t(*c);
        CaixaSaidaBanco::registrarTentativa(*c, r.id, r.situacao, r.resposta);
        linha = CaixaSaidaBanco::linha(*c, r.id);
        if (r.situacao == SituacaoCaixa::Enviado && linha.marcaEnviado && m_ligacao.aoEntregar)
            m_ligacao.aoEntregar(*c, linha);
        t.confirmar();
    } catch (const Erro &) {
        // Not recorded: the message stays waiting and goes again.
        return;
    }
    Q_EMIT mudou();
    if (linha.id && linha.situacao == SituacaoCaixa::Enviado)
        Q_EMIT entregue(linha);
}

void RemessaCaixaSaida::registrarAdiados()
{
    Conexao *c = m_ligacao.conexao();
    if (c && c->emTransacao()) {
        QTimer::singleShot(kMsAdiamento, this, &RemessaCaixaSaida::registrarAdiados);
        return;
    }
    const QList<Resultado> adiados = std::exchange(m_adiados, {});
    for (const Resultado &r : adiados)
        registrar(r);
    if (!ocupada())
        Q_EMIT ociosa();
}
