#include "servidor_ftp.h"

#include "servidor_smtp.h"

#include <QDeadlineTimer>
#include <QFile>

#include <stdexcept>

ServidorFtp::ServidorFtp(const QString &pasta, const QString &usuario, const QString &senha, qint64 cairApos)
{
    QStringList argumentos = {QStringLiteral(SERVIDOR_FTP_PY),
                              QStringLiteral("--pasta"),
                              pasta,
                              QStringLiteral("--usuario"),
                              usuario,
                              QStringLiteral("--senha"),
                              senha};
    if (cairApos > 0)
        argumentos << QStringLiteral("--cair-apos") << QString::number(cairApos);
    // Debian's interpreter: the python3 on PATH may lack pyftpdlib.
    // The server logs every command: to a file, as a pipe nobody drains while
    // the test waits on something else fills up and stalls the server.
    const QString registro = m_registro.filePath(QStringLiteral("servidor.log"));
    m_processo.setStandardErrorFile(registro);
    m_processo.start(QStringLiteral("/usr/bin/python3"), argumentos);
    const QDeadlineTimer prazo(20000);
    auto falhar = [this, &registro](const std::string &motivo) {
        m_processo.kill();
        m_processo.waitForFinished();
        QFile log(registro);
        log.open(QIODevice::ReadOnly);
        throw std::runtime_error("servidor FTP: " + motivo + "\n" + log.readAll().toStdString());
    };
    // The script prints its port just before it starts serving.
    while (!m_processo.canReadLine())
        if (!m_processo.waitForReadyRead(static_cast<int>(prazo.remainingTime())))
            falhar("não informou a porta");
    bool ok = false;
    m_porta = static_cast<quint16>(m_processo.readLine().trimmed().toUShort(&ok));
    if (!ok)
        falhar("porta ilegível");
    while (!portaAceitaConexao(m_porta))
        if (prazo.hasExpired() || m_processo.waitForFinished(50))
            falhar("a porta não aceita conexões");
}

ServidorFtp::~ServidorFtp()
{
    parar();
}

QString ServidorFtp::host() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_porta);
}

void ServidorFtp::parar()
{
    if (m_processo.state() == QProcess::NotRunning)
        return;
    m_processo.terminate();
    if (!m_processo.waitForFinished(5000)) {
        m_processo.kill();
        m_processo.waitForFinished();
    }
}
