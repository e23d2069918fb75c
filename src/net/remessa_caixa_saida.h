#pragma once

#include "caixa_saida.h"
#include "cliente_smtp.h"

#include <QList>
#include <QObject>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

class Conexao;

// Sends the outbox's waiting messages in the background: the network work
// runs on a thread of its own, every database write on the thread that
// created this object (the window's), so the screen never waits on a server.
//
// A round sends the waiting messages oldest first. A message the server
// takes becomes "enviado" and, in the same transaction, marks what it
// belongs to (through aoEntregar); a 5xx or a refused login or certificate
// makes it "recusado" with the server's reply; an unreachable server, a
// time-out or a 4xx leaves it waiting and ends the round (the rest would
// fail the same way). A kill at any moment leaves each message waiting or
// delivered: one the server took just before may go once more.
class RemessaCaixaSaida : public QObject
{
    Q_OBJECT
  public:
    struct Ligacao {
        // The local database; null while it is closed.
        std::function<Conexao *()> conexao;
        // The server and login, read at the start of each round; may throw Erro.
        std::function<ClienteSmtp()> servidor;
        // Runs in the transaction that records a delivery that marks.
        std::function<void(Conexao &, const LinhaCaixa &)> aoEntregar;
    };

    explicit RemessaCaixaSaida(Ligacao ligacao, QObject *pai = nullptr);
    // Waits for a message on the wire to finish (bounded by the transport's
    // time-outs); the others stay waiting.
    ~RemessaCaixaSaida() override;
    RemessaCaixaSaida(const RemessaCaixaSaida &) = delete;
    RemessaCaixaSaida &operator=(const RemessaCaixaSaida &) = delete;

    // The program's sender, while one exists.
    static RemessaCaixaSaida *atual();

    // Starts a round now; during a round, another follows it.
    void enviarPendentes();
    // Also a round every `intervalo`.
    void enviarACada(std::chrono::milliseconds intervalo);
    // A refused message back to waiting, and a round.
    void tentarDeNovo(qint64 id);
    void descartar(qint64 id);
    // Until the rounds asked for so far are over: the window repaints, the
    // user's clicks wait.
    void aguardar();
    bool ocupada() const { return m_trabalho.joinable() || m_deNovo; }

  Q_SIGNALS:
    // Something in the outbox changed: a new state, count or reply.
    void mudou();
    // A message was delivered and recorded (marks included).
    void entregue(const LinhaCaixa &linha);
    // No round is running or asked for.
    void ociosa();

  private:
    struct Resultado {
        qint64 id = 0;
        SituacaoCaixa situacao = SituacaoCaixa::Aguardando;
        QString resposta;
    };
    void iniciarRodada();
    void executar(ClienteSmtp cliente, QList<CaixaSaidaBanco::Envio> envios);
    void registrar(const Resultado &resultado);
    void registrarAdiados();
    void fimDaRodada();
    void parar();

    Ligacao m_ligacao;
    std::thread m_trabalho;
    std::atomic<bool> m_parar{false};
    bool m_deNovo = false;
    QList<Resultado> m_adiados;
    QTimer m_periodico;
    RemessaCaixaSaida *m_anterior = nullptr;
};
