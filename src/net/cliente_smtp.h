#pragma once

#include "caractere_controle.h"
#include "erro.h"
#include "mensagem_email.h"

#include <QString>

// How the connection is protected. Unless TLS is off, the session must go
// over STARTTLS before the login: a server that does not offer it (or a
// man in the middle who strips the offer) fails the send before the password
// leaves. The choice is what the certificate must prove, or no TLS at all.
enum class SegurancaSmtp {
    VerificarCertificado, // the default: a certificate the system does not trust fails the send
    AceitarCertificado,   // still encrypted, any certificate (company-internal, self-signed)
    SemTls,               // plain text throughout, password included
};

// The "TLS" key of section "EMAIL" in the settings file: "verificar" (also
// when absent), "aceitar" or "desligado". Throws Erro for any other value.
SegurancaSmtp LerSegurancaSmtp(const QString &arquivoIni);

// A send that did not complete. `temporaria`: the server could not be
// reached, did not answer in time or answered 4xx, so the same message may
// simply go later; otherwise (5xx, a refused login or certificate) it needs
// the user. `resposta`: the server's last reply as it wrote it, or the
// transport's reason when the server said nothing.
class ErroSmtp : public Erro
{
  public:
    ErroSmtp(const QString &mensagem, bool temporaria, const QString &resposta)
        : Erro(mensagem), m_temporaria(temporaria), m_resposta(resposta)
    {
    }
    bool temporaria() const { return m_temporaria; }
    const QString &resposta() const { return m_resposta; }

  private:
    bool m_temporaria;
    QString m_resposta;
};

// Sends mail through an SMTP server with a login. Each send opens its own
// connection and closes it, whatever the outcome.
struct ClienteSmtp {
    QString host;
    QString usuario;
    QString senha;
    int porta = 587;
    SegurancaSmtp seguranca = SegurancaSmtp::VerificarCertificado;
    // Reaching the server (name lookup and connection) is given up after
    // the first; the whole exchange (greeting, login, message, the server's
    // answer to it, the goodbye) after the second, counted from the start.
    // A slow server that answers within them is waited for.
    long segundosParaConectar = 5;
    long segundosParaTerminar = 30;

    // Logs in, sends the message from the sender's first address to every
    // recipient address, and disconnects. Throws Erro when the server cannot
    // be reached, refuses the login or refuses the message, offers no
    // STARTTLS when TLS is required, or runs out of time; or when the message
    // has no sender or recipient address or an address holds a control
    // character (then before any connection). The error's text carries the
    // reason.
    void enviar(const MensagemEmail &mensagem) const;

    // Sends a message already composed, from the envelope sender `de` to the
    // envelope recipients `para`. Throws ErroSmtp when the send does not
    // complete. Needs no GUI thread: each call has its own connection.
    void enviarConteudo(const QString &de, const QStringList &para, const QByteArray &conteudo) const;
};
