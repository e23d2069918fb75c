#pragma once

#include "mensagem_email.h"

#include <QString>

// Sends mail through an SMTP server with a login. Each send opens its own
// connection and closes it, whatever the outcome.
struct ClienteSmtp {
    QString host;
    QString usuario;
    QString senha;
    int porta = 587;

    // Logs in, sends the message from the sender's first address to every
    // recipient address, and disconnects. Throws Erro when the server cannot
    // be reached, refuses the login or refuses the message, or when the
    // message has no sender or recipient address.
    void enviar(const MensagemEmail &mensagem) const;
};
