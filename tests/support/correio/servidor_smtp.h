#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A real SMTP server on 127.0.0.1 for the length of a test (servidor_smtp.py
// under Debian's Python, aiosmtpd). It demands a login with the given user and
// password and keeps every message it accepts; it may offer STARTTLS with a
// self-signed certificate. Construction returns once the
// port accepts connections; destruction stops the server.
class ServidorSmtp
{
  public:
    struct Recebida {
        QString de;          // envelope sender
        QStringList para;    // envelope recipients
        QByteArray conteudo; // raw message as received, CRLF line ends
        bool tls = false;    // the session was encrypted by STARTTLS
    };
    enum class Tls { Nenhum, Autoassinado };

    explicit ServidorSmtp(const QString &usuario = QStringLiteral("representante@empresa.com.br"),
                          const QString &senha = QStringLiteral("s3nha secreta"), Tls tls = Tls::Nenhum,
                          quint16 porta = 0);
    ~ServidorSmtp();
    ServidorSmtp(const ServidorSmtp &) = delete;
    ServidorSmtp &operator=(const ServidorSmtp &) = delete;

    quint16 porta() const { return m_porta; }
    const QString &usuario() const { return m_usuario; }
    const QString &senha() const { return m_senha; }

    // From now on every message is answered with `resposta` (a 4xx or 5xx
    // line) instead of being accepted; an empty text accepts again.
    void recusar(const QString &resposta);

    // Messages accepted so far.
    int quantidade() const;
    // The n-th message accepted (from 1), waiting a while for it to arrive;
    // throws std::runtime_error when it does not.
    Recebida mensagem(int n) const;

  private:
    QString arquivo(int n, const char *extensao) const;

    QString m_usuario;
    QString m_senha;
    QTemporaryDir m_pasta;
    QProcess m_processo;
    quint16 m_porta = 0;
};

// A loopback port on which nothing listens at the moment of the call.
quint16 portaLivre();
// Whether something accepts TCP connections on 127.0.0.1 at this port.
bool portaAceitaConexao(quint16 porta);
