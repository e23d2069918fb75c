#include "servidor_smtp.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileSystemWatcher>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace
{

constexpr int msParaIniciar = 20000;
constexpr int msParaMensagem = 10000;

// Debian's interpreter: the python3 on PATH may lack aiosmtpd.
const QString python = QStringLiteral("/usr/bin/python3");

sockaddr_in enderecoLocal(quint16 porta)
{
    sockaddr_in endereco{};
    endereco.sin_family = AF_INET;
    endereco.sin_port = htons(porta);
    endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return endereco;
}

QByteArray lerArquivo(const QString &caminho)
{
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::ReadOnly))
        throw std::runtime_error("não foi possível ler " + caminho.toStdString());
    return arquivo.readAll();
}

} // namespace

ServidorSmtp::ServidorSmtp(const QString &usuario, const QString &senha, Tls tls, quint16 porta)
    : m_usuario(usuario), m_senha(senha)
{
    QStringList argumentos{QStringLiteral(SERVIDOR_SMTP_PY),
                           QStringLiteral("--pasta"),
                           m_pasta.path(),
                           QStringLiteral("--usuario"),
                           usuario,
                           QStringLiteral("--senha"),
                           senha,
                           QStringLiteral("--porta"),
                           QString::number(porta)};
    if (tls == Tls::Autoassinado)
        argumentos << QStringLiteral("--starttls");
    // The server's log goes to a file: a pipe nobody drains while the test
    // waits on something else fills up and stalls the server.
    const QString registro = m_pasta.filePath(QStringLiteral("servidor.log"));
    m_processo.setStandardErrorFile(registro);
    m_processo.start(python, argumentos);
    const QDeadlineTimer prazo(msParaIniciar);
    auto falhar = [this, &registro](const std::string &motivo) {
        m_processo.kill();
        m_processo.waitForFinished();
        throw std::runtime_error("servidor SMTP: " + motivo + "\n" + lerArquivo(registro).toStdString());
    };

    // The script prints its port once the server answers on it.
    while (!m_processo.canReadLine()) {
        if (!m_processo.waitForReadyRead(static_cast<int>(prazo.remainingTime())))
            falhar("não informou a porta");
    }
    bool ok = false;
    m_porta = static_cast<quint16>(m_processo.readLine().trimmed().toUShort(&ok));
    if (!ok)
        falhar("porta ilegível");
    while (!portaAceitaConexao(m_porta)) {
        // Waiting on the process also notices it dying.
        if (prazo.hasExpired() || m_processo.waitForFinished(50))
            falhar("a porta não aceita conexões");
    }
}

ServidorSmtp::~ServidorSmtp()
{
    m_processo.terminate();
    if (!m_processo.waitForFinished(5000)) {
        m_processo.kill();
        m_processo.waitForFinished();
    }
}

QString ServidorSmtp::arquivo(int n, const char *extensao) const
{
    return m_pasta.filePath(QStringLiteral("%1.%2").arg(n, 4, 10, QLatin1Char('0')).arg(QLatin1String(extensao)));
}

void ServidorSmtp::recusar(const QString &resposta)
{
    const QString arquivo = m_pasta.filePath(QStringLiteral("recusar"));
    if (resposta.isEmpty()) {
        QFile::remove(arquivo);
        return;
    }
    QFile f(arquivo);
    if (!f.open(QIODevice::WriteOnly) || f.write(resposta.toUtf8()) < 0)
        throw std::runtime_error("não foi possível gravar a recusa do servidor SMTP");
}

int ServidorSmtp::quantidade() const
{
    return static_cast<int>(QDir(m_pasta.path()).entryList({QStringLiteral("*.json")}, QDir::Files).size());
}

ServidorSmtp::Recebida ServidorSmtp::mensagem(int n) const
{
    // The server writes the .json last, by renaming it into place.
    const QString envelope = arquivo(n, "json");
    if (!QFile::exists(envelope)) {
        QFileSystemWatcher observador({m_pasta.path()});
        QEventLoop laco;
        QTimer prazo;
        prazo.setSingleShot(true);
        QObject::connect(&prazo, &QTimer::timeout, &laco, &QEventLoop::quit);
        QObject::connect(&observador, &QFileSystemWatcher::directoryChanged, &laco, [&] {
            if (QFile::exists(envelope))
                laco.quit();
        });
        prazo.start(msParaMensagem);
        if (!QFile::exists(envelope))
            laco.exec();
        if (!QFile::exists(envelope))
            throw std::runtime_error("a mensagem " + std::to_string(n) + " não chegou ao servidor SMTP");
    }

    const QJsonObject json = QJsonDocument::fromJson(lerArquivo(envelope)).object();
    Recebida recebida;
    recebida.de = json.value(QStringLiteral("de")).toString();
    for (const QJsonValue &destinatario : json.value(QStringLiteral("para")).toArray())
        recebida.para.append(destinatario.toString());
    recebida.tls = json.value(QStringLiteral("tls")).toBool();
    recebida.conteudo = lerArquivo(arquivo(n, "eml"));
    return recebida;
}

quint16 portaLivre()
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in endereco = enderecoLocal(0);
    socklen_t tamanho = sizeof endereco;
    if (s < 0 || ::bind(s, reinterpret_cast<sockaddr *>(&endereco), sizeof endereco) != 0 ||
        ::getsockname(s, reinterpret_cast<sockaddr *>(&endereco), &tamanho) != 0) {
        if (s >= 0)
            ::close(s);
        throw std::runtime_error("sem porta livre");
    }
    ::close(s);
    return ntohs(endereco.sin_port);
}

bool portaAceitaConexao(quint16 porta)
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    if (s < 0)
        return false;
    const sockaddr_in endereco = enderecoLocal(porta);
    const bool aceitou = ::connect(s, reinterpret_cast<const sockaddr *>(&endereco), sizeof endereco) == 0;
    ::close(s);
    return aceitou;
}
