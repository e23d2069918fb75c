#pragma once

#include "mensagem_email.h"

#include <QString>

// How the connection is protected. STARTTLS is used whenever the server
// offers it; the choice is what a certificate must prove, or no TLS at all.
enum class SegurancaSmtp {
    VerificarCertificado, // the default: a certificate the system does not trust fails the send
    AceitarCertificado,   // still encrypted, any certificate (company-internal, self-signed)
    SemTls,               // plain text throughout, password included
};

// The "TLS" key of section "EMAIL" in the settings file: "verificar" (also
// when absent), "aceitar" or "desligado". Throws Erro for any other value.
SegurancaSmtp LerSegurancaSmtp(const QString &arquivoIni);

// Whether a text holds a control character (CR, LF, TAB, ...). An address
// holding one could put raw commands into the SMTP session.
bool TemCaractereDeControle(const QString &texto);

// Sends mail through an SMTP server with a login. Each send opens its own
// connection and closes it, whatever the outcome.
struct ClienteSmtp {
    QString host;
    QString usuario;
    QString senha;
    int porta = 587;
    SegurancaSmtp seguranca = SegurancaSmtp::VerificarCertificado;
    // An unreachable server gives up soon; a server that stalls does not hold
    // the screen for minutes.
    long segundosParaConectar = 5;
    long segundosParaTerminar = 30;

    // Logs in, sends the message from the sender's first address to every
    // recipient address, and disconnects. Throws Erro when the server cannot
    // be reached, refuses the login or refuses the message, or when the
    // message has no sender or recipient address or an address holds a
    // control character (then before any connection). The error's text
    // carries the transport's own reason.
    void enviar(const MensagemEmail &mensagem) const;
};
