#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A real FTP server on 127.0.0.1 for the length of a test (scripts/
// servidor_ftp.py under Debian's Python, pyftpdlib) serving `pasta` to one
// user. With `cairApos` the server process dies once it has sent that many
// bytes of file data. Construction returns once the port accepts
// connections; destruction stops the server.
class ServidorFtp
{
  public:
    ServidorFtp(const QString &pasta, const QString &usuario, const QString &senha, qint64 cairApos = 0);
    ~ServidorFtp();
    ServidorFtp(const ServidorFtp &) = delete;
    ServidorFtp &operator=(const ServidorFtp &) = delete;

    quint16 porta() const { return m_porta; }
    // "127.0.0.1:<porta>", as the settings row holds it.
    QString host() const;
    // Stops the server now; its port then refuses connections.
    void parar();

  private:
    QTemporaryDir m_registro;
    QProcess m_processo;
    quint16 m_porta = 0;
};
