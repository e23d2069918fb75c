#include "servidor_smtp_lento.h"

#include <QDeadlineTimer>
#include <QFile>

#include <stdexcept>

ServidorSmtpLento::ServidorSmtpLento(double segundosPorResposta, bool mudoAposDados)
{
    QStringList argumentos{QStringLiteral(SERVIDOR_SMTP_LENTO_PY), QStringLiteral("--registro"),
                           m_pasta.filePath(QStringLiteral("comandos")), QStringLiteral("--atraso"),
                           QString::number(segundosPorResposta)};
    if (mudoAposDados)
        argumentos << QStringLiteral("--mudo-apos-dados");
    // The log goes to a file, as a pipe nobody drains would stall the server.
    const QString registro = m_pasta.filePath(QStringLiteral("servidor.log"));
    m_processo.setStandardErrorFile(registro);
    m_processo.start(QStringLiteral("/usr/bin/python3"), argumentos);
    // The script prints its port once it listens on it.
    const QDeadlineTimer prazo(20000);
    while (!m_processo.canReadLine())
        if (!m_processo.waitForReadyRead(static_cast<int>(prazo.remainingTime()))) {
            m_processo.kill();
            m_processo.waitForFinished();
            QFile log(registro);
            log.open(QIODevice::ReadOnly);
            throw std::runtime_error("servidor SMTP lento: não informou a porta\n" + log.readAll().toStdString());
        }
    m_porta = static_cast<quint16>(m_processo.readLine().trimmed().toUShort());
}

ServidorSmtpLento::~ServidorSmtpLento()
{
    m_processo.kill();
    m_processo.waitForFinished();
}

QByteArrayList ServidorSmtpLento::comandos() const
{
    QFile arquivo(m_pasta.filePath(QStringLiteral("comandos")));
    if (!arquivo.open(QIODevice::ReadOnly))
        return {};
    QByteArrayList linhas = arquivo.readAll().split('\n');
    linhas.removeLast(); // after the last line's end
    return linhas;
}
