#include "cliente_smtp.h"

#include "erro.h"
#include "leitor_ini.h"
#include "lista_enderecos.h"

#include <QElapsedTimer>
#include <QSysInfo>
#include <QUrl>

#include <curl/curl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>

namespace
{

struct LiberarCurl {
    void operator()(CURL *curl) const { curl_easy_cleanup(curl); }
};
struct LiberarListaCurl {
    void operator()(curl_slist *lista) const { curl_slist_free_all(lista); }
};
using Curl = std::unique_ptr<CURL, LiberarCurl>;
using ListaCurl = std::unique_ptr<curl_slist, LiberarListaCurl>;

Curl novoCurl()
{
    static std::once_flag iniciado;
    std::call_once(iniciado, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    Curl curl(curl_easy_init());
    if (!curl)
        throw Erro(QStringLiteral("Não foi possível preparar o envio de e-mail."));
    return curl;
}

// The URL's path is the name the client gives in EHLO.
QByteArray urlDoServidor(const ClienteSmtp &cliente)
{
    const QString host = cliente.host.contains(u':') ? u'[' + cliente.host + u']' : cliente.host;
    return "smtp://" + host.toUtf8() + ':' + QByteArray::number(cliente.porta) + '/' +
           QUrl::toPercentEncoding(QSysInfo::machineHostName());
}

struct Leitura {
    const QByteArray &dados;
    qsizetype posicao = 0;
};

size_t lerMensagem(char *destino, size_t tamanho, size_t quantidade, void *contexto)
{
    auto *leitura = static_cast<Leitura *>(contexto);
    const qsizetype restante = leitura->dados.size() - leitura->posicao;
    const qsizetype copiar = std::min<qsizetype>(restante, static_cast<qsizetype>(tamanho * quantidade));
    std::memcpy(destino, leitura->dados.constData() + leitura->posicao, static_cast<size_t>(copiar));
    leitura->posicao += copiar;
    return static_cast<size_t>(copiar);
}

ListaCurl listaDeDestinatarios(const QStringList &enderecos)
{
    ListaCurl lista;
    for (const QString &endereco : enderecos) {
        curl_slist *cabeca = curl_slist_append(lista.get(), ('<' + endereco + '>').toUtf8().constData());
        if (!cabeca)
            throw Erro(QStringLiteral("Não foi possível preparar o envio de e-mail."));
        if (!lista)
            lista.reset(cabeca); // later appends keep the same head
    }
    return lista;
}

void conferirEndereco(const QString &texto, const QString &papel)
{
    if (TemCaractereDeControle(texto))
        throw Erro(QStringLiteral("O endereço do %1 contém uma quebra de linha ou outro caractere de controle: o "
                                  "e-mail não foi enviado.")
                       .arg(papel));
}

void definirSeguranca(CURL *c, SegurancaSmtp seguranca)
{
    // STARTTLS is demanded, not merely tried: with "try" libcurl logs in in
    // clear text when the offer is missing, and whoever sits in the path can
    // strip it to read the password.
    curl_easy_setopt(c, CURLOPT_USE_SSL,
                     static_cast<long>(seguranca == SegurancaSmtp::SemTls ? CURLUSESSL_NONE : CURLUSESSL_ALL));
    if (seguranca == SegurancaSmtp::AceitarCertificado) {
        curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 0L);
        curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 0L);
    }
}

// The two times of a send. libcurl's connect time-out runs until the login
// is over, and libcurl waits for the answer to the message and to QUIT inside
// calls that do not return meanwhile; so the times are checked in the
// progress callback, which libcurl also calls while it waits there, and the
// connection is cut when one runs out, so nothing more is waited for.
class Prazos
{
  public:
    enum class Esgotado { Nenhum, Conectar, Terminar };

    Prazos(CURL *curl, const ClienteSmtp &cliente)
        : m_curl(curl), m_msConectar(cliente.segundosParaConectar * 1000),
          m_msTerminar(cliente.segundosParaTerminar * 1000)
    {
        m_relogio.start();
        curl_easy_setopt(curl, CURLOPT_OPENSOCKETFUNCTION, abrir);
        curl_easy_setopt(curl, CURLOPT_OPENSOCKETDATA, this);
        curl_easy_setopt(curl, CURLOPT_CLOSESOCKETFUNCTION, fechar);
        curl_easy_setopt(curl, CURLOPT_CLOSESOCKETDATA, this);
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, conferir);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this);
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
        // libcurl's own limits as a second guard, both at the whole time.
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(m_msTerminar));
        curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(m_msTerminar));
        // Closed at once, so QUIT is sent (and waited for) within the times.
        curl_easy_setopt(curl, CURLOPT_FORBID_REUSE, 1L);
    }

    Esgotado esgotado() const { return m_esgotado; }
    qint64 msRestantes() const { return m_msTerminar - m_relogio.elapsed(); }

  private:
    static curl_socket_t abrir(void *contexto, curlsocktype, curl_sockaddr *endereco)
    {
        auto *prazos = static_cast<Prazos *>(contexto);
        if (prazos->m_esgotado != Esgotado::Nenhum)
            return CURL_SOCKET_BAD;
        prazos->m_soquete = ::socket(endereco->family, endereco->socktype, endereco->protocol);
        return prazos->m_soquete;
    }

    static int fechar(void *contexto, curl_socket_t soquete)
    {
        auto *prazos = static_cast<Prazos *>(contexto);
        if (soquete == prazos->m_soquete)
            prazos->m_soquete = CURL_SOCKET_BAD;
        return ::close(soquete);
    }

    static int conferir(void *contexto, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
    {
        auto *prazos = static_cast<Prazos *>(contexto);
        const qint64 decorridos = prazos->m_relogio.elapsed();
        curl_off_t conectado = 0;
        curl_easy_getinfo(prazos->m_curl, CURLINFO_CONNECT_TIME_T, &conectado);
        if (conectado == 0 && decorridos >= prazos->m_msConectar)
            prazos->m_esgotado = Esgotado::Conectar;
        else if (decorridos >= prazos->m_msTerminar)
            prazos->m_esgotado = Esgotado::Terminar;
        if (prazos->m_esgotado == Esgotado::Nenhum)
            return 0;
        if (prazos->m_soquete != CURL_SOCKET_BAD)
            ::shutdown(prazos->m_soquete, SHUT_RDWR);
        return 1;
    }

    CURL *m_curl;
    qint64 m_msConectar;
    qint64 m_msTerminar;
    QElapsedTimer m_relogio;
    curl_socket_t m_soquete = CURL_SOCKET_BAD;
    Esgotado m_esgotado = Esgotado::Nenhum;
};

// Runs the send through a multi handle, waking at least every tenth of a
// second, so the times are checked that often (easy_perform wakes once a
// second).
CURLcode executar(CURL *curl, const Prazos &prazos)
{
    constexpr int kMsEntreConferencias = 100;
    CURLM *multi = curl_multi_init();
    if (!multi)
        throw Erro(QStringLiteral("Não foi possível preparar o envio de e-mail."));
    curl_multi_add_handle(multi, curl);
    int rodando = 1;
    CURLMcode mc = CURLM_OK;
    while (rodando && mc == CURLM_OK) {
        mc = curl_multi_perform(multi, &rodando);
        if (rodando && mc == CURLM_OK)
            mc = curl_multi_poll(multi, nullptr, 0,
                                 static_cast<int>(std::clamp<qint64>(prazos.msRestantes(), 1, kMsEntreConferencias)),
                                 nullptr);
    }
    CURLcode resultado = mc == CURLM_OK ? CURLE_OK : CURLE_SEND_ERROR;
    int restantes = 0;
    while (CURLMsg *msg = curl_multi_info_read(multi, &restantes))
        if (msg->msg == CURLMSG_DONE)
            resultado = msg->data.result;
    curl_multi_remove_handle(multi, curl);
    curl_multi_cleanup(multi);
    return resultado;
}

QString motivoDaFalha(CURLcode resultado, const Prazos &prazos, const char *mensagemDeErro, const ClienteSmtp &cliente)
{
    if (prazos.esgotado() == Prazos::Esgotado::Conectar)
        return QStringLiteral("o servidor de e-mail \"%1\" não foi alcançado em %2 segundos.")
            .arg(cliente.host)
            .arg(cliente.segundosParaConectar);
    if (prazos.esgotado() == Prazos::Esgotado::Terminar || resultado == CURLE_OPERATION_TIMEDOUT)
        return QStringLiteral("o servidor de e-mail não concluiu o envio em %1 segundos.")
            .arg(cliente.segundosParaTerminar);
    if (resultado == CURLE_USE_SSL_FAILED)
        return QStringLiteral("o servidor de e-mail não oferece conexão segura (STARTTLS), e a senha não foi "
                              "enviada. Para enviar sem criptografia, use TLS=desligado na seção EMAIL do arquivo "
                              "de configuração.");
    return mensagemDeErro[0] ? QString::fromLocal8Bit(mensagemDeErro)
                             : QString::fromUtf8(curl_easy_strerror(resultado));
}

// The server's replies pass through the debug callback; the last complete
// one is what the user is shown when the send fails.
int guardarResposta(CURL *, curl_infotype tipo, char *dados, size_t tamanho, void *contexto)
{
    if (tipo == CURLINFO_HEADER_IN) {
        const QByteArray linha = QByteArray(dados, static_cast<qsizetype>(tamanho)).trimmed();
        // The goodbye to QUIT, sent after a failure too, is never the reason.
        if (!linha.isEmpty() && !linha.startsWith("221"))
            *static_cast<QByteArray *>(contexto) = linha;
    }
    return 0;
}

void guardarRespostas(CURL *c, QByteArray &ultima)
{
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, guardarResposta);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, &ultima);
    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);
}

// Worth trying again unchanged: the server was not reached, did not answer
// in time, or answered 4xx. A 5xx or a refused certificate needs the user.
bool falhaTemporaria(CURLcode resultado, long codigo)
{
    if (codigo >= 400 && codigo < 500)
        return true;
    if (codigo >= 500)
        return false;
    switch (resultado) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY:
        return true;
    default:
        return false;
    }
}

} // namespace

SegurancaSmtp LerSegurancaSmtp(const QString &arquivoIni)
{
    const QString valor = LerIni(QStringLiteral("EMAIL"), QStringLiteral("TLS"), arquivoIni).trimmed().toLower();
    if (valor.isEmpty() || valor == QLatin1String("verificar"))
        return SegurancaSmtp::VerificarCertificado;
    if (valor == QLatin1String("aceitar"))
        return SegurancaSmtp::AceitarCertificado;
    if (valor == QLatin1String("desligado"))
        return SegurancaSmtp::SemTls;
    throw Erro(QStringLiteral("O valor \"%1\" da chave TLS da seção EMAIL de \"%2\" não é válido: use verificar, "
                              "aceitar ou desligado.")
                   .arg(valor, arquivoIni));
}

void ClienteSmtp::enviar(const MensagemEmail &mensagem) const
{
    conferirEndereco(mensagem.remetente, QStringLiteral("remetente"));
    conferirEndereco(mensagem.responderPara, QStringLiteral("responder para"));
    conferirEndereco(mensagem.destinatarios, QStringLiteral("destinatário"));
    const QStringList remetentes = enderecosDaLista(mensagem.remetente);
    if (remetentes.isEmpty())
        throw Erro(QStringLiteral("O e-mail não tem endereço de remetente."));
    const QStringList destinatarios = enderecosDaLista(mensagem.destinatarios);
    if (destinatarios.isEmpty())
        throw Erro(QStringLiteral("O e-mail não tem endereço de destinatário."));
    enviarConteudo(remetentes.first(), destinatarios, comporMensagem(mensagem));
}

void ClienteSmtp::enviarConteudo(const QString &remetente, const QStringList &destinatarios,
                                 const QByteArray &conteudo) const
{
    Curl curl = novoCurl();
    CURL *c = curl.get();
    const QByteArray url = urlDoServidor(*this);
    const QByteArray de = ('<' + remetente + '>').toUtf8();
    const QByteArray login = usuario.toUtf8();
    const QByteArray palavraPasse = senha.toUtf8();
    ListaCurl para = listaDeDestinatarios(destinatarios);
    Leitura leitura{conteudo};
    char mensagemDeErro[CURL_ERROR_SIZE] = {};
    QByteArray ultimaResposta;

    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    curl_easy_setopt(c, CURLOPT_USERNAME, login.constData());
    curl_easy_setopt(c, CURLOPT_PASSWORD, palavraPasse.constData());
    definirSeguranca(c, seguranca);
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, de.constData());
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, para.get());
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(c, CURLOPT_READFUNCTION, lerMensagem);
    curl_easy_setopt(c, CURLOPT_READDATA, &leitura);
    curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(conteudo.size()));
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, mensagemDeErro);
    guardarRespostas(c, ultimaResposta);
    Prazos prazos(c, *this);

    // A message the server took stays sent, even when the time runs out
    // while waiting for its goodbye.
    const CURLcode resultado = executar(c, prazos);
    if (resultado != CURLE_OK) {
        const QString detalhe = motivoDaFalha(resultado, prazos, mensagemDeErro, *this);
        // The code of the last reply kept: libcurl's own is the goodbye's once
        // the connection is closed.
        const long codigo = ultimaResposta.left(3).toLong();
        // A refusal is best told in the server's own words.
        const bool recusou = codigo >= 400 && !ultimaResposta.isEmpty();
        const QString resposta = recusou ? QString::fromUtf8(ultimaResposta) : detalhe;
        const bool temporaria = prazos.esgotado() != Prazos::Esgotado::Nenhum || falhaTemporaria(resultado, codigo);
        throw ErroSmtp(
            QStringLiteral("Falha ao enviar o e-mail: %1").arg(recusou ? detalhe + u'\n' + resposta : detalhe),
            temporaria, resposta);
    }
}
