#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class Conexao;

// What an item of the outbox is. Mail only, for now; another kind of work
// that must survive being offline would be another kind, carried out its own
// way by the sender.
enum class TipoItemCaixa { Email };

enum class SituacaoCaixa { Aguardando, Enviado, Recusado };

// "aguardando", "enviado" or "recusado", as the user reads it.
QString TextoSituacao(SituacaoCaixa situacao);

// A message to keep until the server takes it: composed once, sent as
// composed however often it is tried (its Message-ID with it).
struct ItemCaixa {
    TipoItemCaixa tipo = TipoItemCaixa::Email;
    QString nrPedido;          // the order it belongs to, or empty
    QString destino;           // how the user knows it: "Cliente", "Central 1", ...
    bool marcaEnviado = false; // its delivery marks the order sent
    QString remetente;         // envelope sender
    QStringList destinatarios; // envelope recipients
    QString para;              // the recipients as written, for the list
    QString assunto;
    QString idMensagem;
    QByteArray conteudo;
};

// A row of the outbox as the list shows it.
struct LinhaCaixa {
    qint64 id = 0;
    TipoItemCaixa tipo = TipoItemCaixa::Email;
    QString nrPedido;
    QString destino;
    bool marcaEnviado = false;
    QString para;
    QString assunto;
    QString idMensagem;
    SituacaoCaixa situacao = SituacaoCaixa::Aguardando;
    int tentativas = 0;
    QDateTime criado;
    QDateTime ultimaTentativa;
    QString resposta; // the server's last reply, or why it could not be reached
};

// The outbox table in the local database (created when first needed). Every
// function works on the connection given, on its thread, and throws Erro on
// a database error.
namespace CaixaSaidaBanco
{

void criarTabela(Conexao &conexao);
// Stores a waiting message and returns its number. Runs in the caller's
// transaction, so the message exists exactly when what it belongs to does.
qint64 guardar(Conexao &conexao, const ItemCaixa &item);
// Every message, newest first.
QList<LinhaCaixa> linhas(Conexao &conexao);
// One message; its id is 0 when it no longer exists.
LinhaCaixa linha(Conexao &conexao, qint64 id);
// How many are not delivered yet (waiting or refused).
int quantidadeNaoEnviada(Conexao &conexao);
// A message the user gives up; it is not sent again.
void descartar(Conexao &conexao, qint64 id);
// A refused message back to waiting, for the next attempt.
void voltarAAguardar(Conexao &conexao, qint64 id);

// What a waiting mail needs to go out.
struct Envio {
    qint64 id = 0;
    QString remetente;
    QStringList destinatarios;
    QByteArray conteudo;
};
// The waiting messages, oldest first.
QList<Envio> aguardando(Conexao &conexao);
// The outcome of one attempt: delivered (the content is dropped, it will
// not be needed again), refused, or still waiting. `resposta` says why.
void registrarTentativa(Conexao &conexao, qint64 id, SituacaoCaixa situacao, const QString &resposta);

} // namespace CaixaSaidaBanco
