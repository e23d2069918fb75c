#include "cliente_ftp.h"

#include "endereco_servidor.h"
#include "erro.h"

#include <QSaveFile>
#include <QUrl>

#include <curl/curl.h>

#include <mutex>

namespace
{

constexpr int kPortaFtp = 21;
// How long one wait for the sockets lasts before the window gets to breathe.
constexpr int kMsEntreRespiros = 100;

void iniciarCurl()
{
    static std::once_flag iniciado;
    std::call_once(iniciado, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

size_t descartar(char *, size_t tamanho, size_t quantidade, void *)
{
    return tamanho * quantidade;
}

size_t gravar(char *dados, size_t tamanho, size_t quantidade, void *contexto)
{
    auto *arquivo = static_cast<QSaveFile *>(contexto);
    const qint64 n = static_cast<qint64>(tamanho * quantidade);
    return arquivo->write(dados, n) == n ? static_cast<size_t>(n) : 0;
}

} // namespace

// The multi handle keeps the control connection between requests; it is
// driven by curl_multi_poll, which also avoids the pause easy_perform makes
// before every FTP data connection.
struct ClienteFtp::Sessao {
    CURLM *multi = nullptr;
    CURL *curl = nullptr;
    QByteArray usuario;
    QByteArray senha;
    char erro[CURL_ERROR_SIZE] = {};

    ~Sessao()
    {
        if (curl)
            curl_easy_cleanup(curl);
        if (multi)
            curl_multi_cleanup(multi);
    }
};

ClienteFtp::ClienteFtp(Configuracao configuracao, Andamento andamento)
    : m_cfg(std::move(configuracao)), m_andamento(std::move(andamento))
{
}

ClienteFtp::~ClienteFtp() = default;

QByteArray ClienteFtp::url(const QString &arquivo) const
{
    const EnderecoServidor servidor = SepararPorta(m_cfg.host, kPortaFtp);
    const QString host = servidor.host.contains(u':') ? u'[' + servidor.host + u']' : servidor.host;
    QByteArray caminho;
    QString pasta = m_cfg.pasta.trimmed();
    // A leading "/" is the server's root, not the login folder.
    if (pasta.startsWith(u'/'))
        caminho = "%2F";
    for (const QString &parte : pasta.split(u'/', Qt::SkipEmptyParts))
        caminho += QUrl::toPercentEncoding(parte) + '/';
    return "ftp://" + host.toUtf8() + ':' + QByteArray::number(servidor.porta) + '/' + caminho +
           QUrl::toPercentEncoding(arquivo);
}

void ClienteFtp::conectar()
{
    desconectar();
    iniciarCurl();
    m_sessao = std::make_unique<Sessao>();
    m_sessao->multi = curl_multi_init();
    m_sessao->curl = curl_easy_init();
    if (!m_sessao->multi || !m_sessao->curl)
        throw Erro(QStringLiteral("Não foi possível preparar a conexão FTP."));
    m_sessao->usuario = m_cfg.usuario.toUtf8();
    m_sessao->senha = m_cfg.senha.toUtf8();
    CURL *c = m_sessao->curl;
    curl_easy_setopt(c, CURLOPT_USERNAME, m_sessao->usuario.constData());
    curl_easy_setopt(c, CURLOPT_PASSWORD, m_sessao->senha.constData());
    // The password goes encrypted where the server offers TLS.
    curl_easy_setopt(c, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_TRY));
    if (!m_cfg.passivo)
        curl_easy_setopt(c, CURLOPT_FTPPORT, "-");
    curl_easy_setopt(c, CURLOPT_TRANSFERTEXT, 0L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, m_cfg.segundosParaConectar);
    curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, m_cfg.segundosSemDados);
    curl_easy_setopt(c, CURLOPT_ACCEPTTIMEOUT_MS, m_cfg.segundosSemDados * 1000);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, m_cfg.segundosSemDados);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, m_sessao->erro);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, descartar);

    // The folder itself: logging in and changing into it, nothing listed.
    curl_easy_setopt(c, CURLOPT_URL, url(QString()).constData());
    curl_easy_setopt(c, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, descartar);
    try {
        executar("conectar");
    } catch (...) {
        m_sessao.reset();
        throw;
    }
    m_conectado = true;
}

qint64 ClienteFtp::tamanho(const QString &arquivo)
{
    if (!m_conectado)
        throw Erro(QStringLiteral("Não há conexão com o servidor FTP."));
    CURL *c = m_sessao->curl;
    curl_easy_setopt(c, CURLOPT_URL, url(arquivo).constData());
    curl_easy_setopt(c, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, descartar);
    executar("tamanho");
    curl_off_t bytes = -1;
    curl_easy_getinfo(c, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &bytes);
    if (bytes < 0)
        throw Erro(QStringLiteral("O servidor FTP não informou o tamanho do arquivo \"%1\".").arg(arquivo));
    return bytes;
}

void ClienteFtp::baixar(const QString &arquivo, const QString &destino)
{
    const qint64 esperado = tamanho(arquivo);
    // Written beside the destination and moved into place when complete.
    QSaveFile saida(destino);
    if (!saida.open(QIODevice::WriteOnly))
        throw Erro(QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2").arg(destino, saida.errorString()));
    CURL *c = m_sessao->curl;
    curl_easy_setopt(c, CURLOPT_URL, url(arquivo).constData());
    curl_easy_setopt(c, CURLOPT_NOBODY, 0L);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, gravar);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &saida);
    executar("baixar");
    curl_off_t recebidos = 0;
    curl_easy_getinfo(c, CURLINFO_SIZE_DOWNLOAD_T, &recebidos);
    // A server that dies mid-file may close the data connection cleanly.
    if (recebidos != esperado)
        throw Erro(QStringLiteral("A transferência do arquivo \"%1\" foi interrompida (%2 de %3 bytes).")
                       .arg(arquivo)
                       .arg(recebidos)
                       .arg(esperado));
    if (!saida.commit())
        throw Erro(QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2").arg(destino, saida.errorString()));
}

void ClienteFtp::desconectar()
{
    m_sessao.reset();
    m_conectado = false;
}

void ClienteFtp::executar(const char *oQue)
{
    Sessao &s = *m_sessao;
    s.erro[0] = '\0';
    curl_multi_add_handle(s.multi, s.curl);
    const bool baixando = qstrcmp(oQue, "baixar") == 0;
    int rodando = 1;
    CURLMcode mc = CURLM_OK;
    while (rodando && mc == CURLM_OK) {
        mc = curl_multi_perform(s.multi, &rodando);
        if (rodando && mc == CURLM_OK)
            mc = curl_multi_poll(s.multi, nullptr, 0, kMsEntreRespiros, nullptr);
        curl_off_t recebidos = 0;
        if (baixando)
            curl_easy_getinfo(s.curl, CURLINFO_SIZE_DOWNLOAD_T, &recebidos);
        if (m_andamento)
            m_andamento(recebidos);
    }
    CURLcode resultado = CURLE_OK;
    int restantes = 0;
    while (CURLMsg *msg = curl_multi_info_read(s.multi, &restantes))
        if (msg->msg == CURLMSG_DONE)
            resultado = msg->data.result;
    curl_multi_remove_handle(s.multi, s.curl);
    if (mc != CURLM_OK)
        throw Erro(QStringLiteral("Falha na conexão FTP: %1").arg(QString::fromUtf8(curl_multi_strerror(mc))));
    if (resultado == CURLE_OK)
        return;

    const QString detalhe =
        s.erro[0] ? QString::fromLocal8Bit(s.erro) : QString::fromUtf8(curl_easy_strerror(resultado));
    switch (resultado) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
        throw Erro(QStringLiteral("Não foi possível conectar ao servidor FTP \"%1\": %2").arg(m_cfg.host, detalhe));
    case CURLE_LOGIN_DENIED:
        throw Erro(QStringLiteral("O servidor FTP recusou o usuário ou a senha."));
    case CURLE_REMOTE_ACCESS_DENIED:
        throw Erro(QStringLiteral("O servidor FTP não deu acesso à pasta \"%1\".").arg(m_cfg.pasta));
    case CURLE_REMOTE_FILE_NOT_FOUND:
        throw Erro(QStringLiteral("O arquivo não foi encontrado no servidor FTP (%1).").arg(detalhe));
    case CURLE_OPERATION_TIMEDOUT:
        throw Erro(QStringLiteral("O servidor FTP \"%1\" deixou de responder.").arg(m_cfg.host));
    default:
        throw Erro(QStringLiteral("Falha na transferência por FTP: %1").arg(detalhe));
    }
}
