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
// A write that failed (a full disk, a file made read-only) is tried again
// this often.
constexpr int kMsNovaGravacao = 5000;

} // namespace

RemessaCaixaSaida::RemessaCaixaSaida(Ligacao ligacao, QObject *pai)
    : QObject(pai), m_ligacao(std::move(ligacao)), m_anterior(g_atual)
{
    g_atual = this;
    m_novaGravacao.setSingleShot(true);
    connect(&m_novaGravacao, &QTimer::timeout, this, &RemessaCaixaSaida::gravarDeNovo);
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
    {
        const std::lock_guard trava(m_trava);
        m_parar = true;
    }
    m_sinal.notify_all();
    if (m_trabalho.joinable())
        m_trabalho.join();
    // A delivery the window had no time to write is written now, if it can
    // be; otherwise that message may go once more.
    if (m_entregue)
        m_pendentes << *std::exchange(m_entregue, std::nullopt);
    Conexao *c = m_ligacao.conexao();
    if (!c || !c->aberta() || c->emTransacao())
        return;
    for (const Resultado &r : std::exchange(m_pendentes, {})) {
        try {
            gravar(*c, r);
        } catch (const Erro &) {
            return; // already reported, or too late to
        }
    }
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

std::optional<LinhaCaixa> RemessaCaixaSaida::naoGravada(qint64 id) const
{
    for (const Resultado &r : m_pendentes)
        if (r.id == id) {
            LinhaCaixa linha;
            linha.id = id;
            linha.situacao = r.situacao;
            linha.resposta = m_motivo;
            return linha;
        }
    return std::nullopt;
}

void RemessaCaixaSaida::iniciarRodada()
{
    m_deNovo = false;
    // Outcomes not written yet come first: until they are, a round would
    // send their messages again.
    if (!m_pendentes.isEmpty())
        gravarPendentes();
    Conexao *c = m_ligacao.conexao();
    QList<CaixaSaidaBanco::Envio> envios;
    if (m_pendentes.isEmpty() && c && c->aberta() && !c->emTransacao()) {
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
            m_motivo = erro.mensagem();
            for (const CaixaSaidaBanco::Envio &e : envios)
                m_pendentes << Resultado{e.id, SituacaoCaixa::Aguardando, erro.mensagem()};
            gravarPendentes();
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
        // The outcome is written before the next message goes, so a kill
        // finds at most this one delivered and not recorded.
        std::unique_lock trava(m_trava);
        m_entregue = r;
        m_gravacao = Gravacao::Esperando;
        QMetaObject::invokeMethod(this, &RemessaCaixaSaida::receber, Qt::QueuedConnection);
        m_sinal.wait(trava, [this] { return m_gravacao != Gravacao::Esperando || m_parar; });
        if (m_gravacao != Gravacao::Feita || r.situacao == SituacaoCaixa::Aguardando)
            break;
    }
    QMetaObject::invokeMethod(this, &RemessaCaixaSaida::fimDaRodada, Qt::QueuedConnection);
}

void RemessaCaixaSaida::receber()
{
    {
        const std::lock_guard trava(m_trava);
        if (!m_entregue)
            return;
        m_pendentes << *std::exchange(m_entregue, std::nullopt);
    }
    gravarPendentes();
}

void RemessaCaixaSaida::gravarDeNovo()
{
    gravarPendentes();
    // Written at last after a round that stopped for it: the rest goes now.
    if (m_pendentes.isEmpty() && !ocupada())
        enviarPendentes();
}

void RemessaCaixaSaida::responder(Gravacao gravacao)
{
    {
        const std::lock_guard trava(m_trava);
        m_gravacao = gravacao;
    }
    m_sinal.notify_all();
}

void RemessaCaixaSaida::gravarPendentes()
{
    if (m_pendentes.isEmpty())
        return;
    Conexao *c = m_ligacao.conexao();
    if (c && c->aberta() && c->emTransacao()) {
        // The sending thread waits meanwhile; the window does not.
        m_novaGravacao.start(kMsAdiamento);
        return;
    }
    try {
        if (!c || !c->aberta())
            throw Erro(QStringLiteral("A conexão com o banco de dados não está aberta."));
        while (!m_pendentes.isEmpty()) {
            gravar(*c, m_pendentes.first());
            m_pendentes.removeFirst();
        }
    } catch (const Erro &erro) {
        m_motivo = erro.mensagem();
        m_novaGravacao.start(kMsNovaGravacao);
        responder(Gravacao::Falhou);
        Q_EMIT naoGravado(erro.mensagem());
        return;
    }
    m_motivo.clear();
    responder(Gravacao::Feita);
}

void RemessaCaixaSaida::gravar(Conexao &c, const Resultado &r)
{
    LinhaCaixa linha;
    {
        Transacao t(c);
        CaixaSaidaBanco::registrarTentativa(c, r.id, r.situacao, r.resposta);
        linha = CaixaSaidaBanco::linha(c, r.id);
        if (r.situacao == SituacaoCaixa::Enviado && linha.marcaEnviado && m_ligacao.aoEntregar)
            m_ligacao.aoEntregar(c, linha);
        t.confirmar();
    }
    Q_EMIT mudou();
    if (linha.id && linha.situacao == SituacaoCaixa::Enviado)
        Q_EMIT entregue(linha);
}

void RemessaCaixaSaida::fimDaRodada()
{
    if (m_trabalho.joinable())
        m_trabalho.join();
    if (m_deNovo)
        iniciarRodada();
    else
        Q_EMIT ociosa();
}
