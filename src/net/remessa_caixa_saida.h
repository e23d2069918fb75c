#pragma once

#include "caixa_saida.h"
#include "cliente_smtp.h"

#include <QList>
#include <QObject>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
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
// fail the same way).
//
// The next message goes only once the outcome of the one before is written:
// a kill at any moment leaves each message waiting or delivered, and only
// the one the server took just before may go once more. An outcome that
// cannot be written ends the round, is reported (naoGravado) and is written
// again later; until it is, nothing more is sent, so a delivered message is
// never sent again for want of its record.
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
    // The outcome of a message known here but not yet written to the
    // database (its situation, and why it is not written), if any.
    std::optional<LinhaCaixa> naoGravada(qint64 id) const;

  Q_SIGNALS:
    // Something in the outbox changed: a new state, count or reply.
    void mudou();
    // A message was delivered and recorded (marks included).
    void entregue(const LinhaCaixa &linha);
    // No round is running or asked for.
    void ociosa();
    // The outcome of an attempt could not be written; it is tried again.
    void naoGravado(const QString &motivo);

  private:
    struct Resultado {
        qint64 id = 0;
        SituacaoCaixa situacao = SituacaoCaixa::Aguardando;
        QString resposta;
    };
    // What the sending thread hears back about the outcome it handed over.
    enum class Gravacao { Esperando, Feita, Falhou };

    void iniciarRodada();
    void executar(ClienteSmtp cliente, QList<CaixaSaidaBanco::Envio> envios);
    void receber();
    void gravarPendentes();
    void gravarDeNovo();
    void gravar(Conexao &conexao, const Resultado &resultado);
    void responder(Gravacao gravacao);
    void fimDaRodada();
    void parar();

    Ligacao m_ligacao;
    std::thread m_trabalho;
    std::atomic<bool> m_parar{false};
    bool m_deNovo = false;
    // Between the threads: the outcome handed over and the answer to it.
    std::mutex m_trava;
    std::condition_variable m_sinal;
    std::optional<Resultado> m_entregue;
    Gravacao m_gravacao = Gravacao::Esperando;
    // Outcomes not written yet, oldest first, with why.
    QList<Resultado> m_pendentes;
    QString m_motivo;
    QTimer m_novaGravacao;
    QTimer m_periodico;
    RemessaCaixaSaida *m_anterior = nullptr;
};
