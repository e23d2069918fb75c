#include "cliente_smtp.h"

#include "erro.h"
#include "leitor_ini.h"
#include "lista_enderecos.h"

#include <QSysInfo>
#include <QUrl>

#include <curl/curl.h>

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
    // STARTTLS whenever the server offers it, so the password never crosses in
    // clear text there; a server that offers none still gets the plain-text
    // login, as the mail accounts this program is set up for require.
    curl_easy_setopt(c, CURLOPT_USE_SSL,
                     static_cast<long>(seguranca == SegurancaSmtp::SemTls ? CURLUSESSL_NONE : CURLUSESSL_TRY));
    if (seguranca == SegurancaSmtp::AceitarCertificado) {
        curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 0L);
        curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 0L);
    }
}

// The server's replies pass through the debug callback; the last complete
// one is what the user is shown when the send fails.
int guardarResposta(CURL *, curl_infotype tipo, char *dados, size_t tamanho, void *contexto)
{
    if (tipo == CURLINFO_HEADER_IN) {
        const QByteArray linha = QByteArray(dados, static_cast<qsizetype>(tamanho)).trimmed();
        if (!linha.isEmpty())
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

bool TemCaractereDeControle(const QString &texto)
{
    return std::any_of(texto.begin(), texto.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
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
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, segundosParaConectar);
    curl_easy_setopt(c, CURLOPT_TIMEOUT, segundosParaTerminar);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, mensagemDeErro);
    guardarRespostas(c, ultimaResposta);

    const CURLcode resultado = curl_easy_perform(c);
    if (resultado != CURLE_OK) {
        const QString detalhe = mensagemDeErro[0] ? QString::fromLocal8Bit(mensagemDeErro)
                                                  : QString::fromUtf8(curl_easy_strerror(resultado));
        long codigo = 0;
        curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &codigo);
        // A refusal is best told in the server's own words.
        const bool recusou = codigo >= 400 && !ultimaResposta.isEmpty();
        const QString resposta = recusou ? QString::fromUtf8(ultimaResposta) : detalhe;
        throw ErroSmtp(QStringLiteral("Falha ao enviar o e-mail: %1").arg(recusou ? detalhe + u'\n' + resposta : detalhe),
                       falhaTemporaria(resultado, codigo), resposta);
    }
}
