#pragma once

#include <QByteArrayList>
#include <QProcess>
#include <QTemporaryDir>

// A hand-made SMTP peer on 127.0.0.1 (servidor_smtp_lento.py under Debian's
// Python) for what aiosmtpd cannot do: answer every command only after a
// delay, or never answer the end of a message. It offers AUTH, never
// STARTTLS, and accepts any login. It writes down every command it receives,
// which tells a test what reached it. Construction returns once it listens;
// destruction stops it.
class ServidorSmtpLento
{
  public:
    explicit ServidorSmtpLento(double segundosPorResposta = 0, bool mudoAposDados = false);
    ~ServidorSmtpLento();
    ServidorSmtpLento(const ServidorSmtpLento &) = delete;
    ServidorSmtpLento &operator=(const ServidorSmtpLento &) = delete;

    quint16 porta() const { return m_porta; }
    // What reached it so far, in order: "CONEXAO" for each connection, then
    // every command line received ("EHLO x", "AUTH PLAIN", the login's own
    // lines, "MAIL FROM:<...>", ...); a message taken in adds
    // "MENSAGEM <bytes>".
    QByteArrayList comandos() const;

  private:
    QTemporaryDir m_pasta;
    QProcess m_processo;
    quint16 m_porta = 0;
};
