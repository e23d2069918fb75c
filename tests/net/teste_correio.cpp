#include "cliente_smtp.h"
#include "erro.h"
#include "gmime_apoio.h"
#include "impressao_qt.h"
#include "lista_enderecos.h"
#include "servidor_smtp.h"
#include "servidor_smtp_lento.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iostream>
#include <stdexcept>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{

QByteArray cabecalhos(const QByteArray &bruta)
{
    return bruta.left(bruta.indexOf("\r\n\r\n"));
}
QByteArray corpo(const QByteArray &bruta)
{
    return bruta.mid(bruta.indexOf("\r\n\r\n") + 4);
}

ObjetoG<GMimeMessage> analisar(const QByteArray &bruta)
{
    iniciarGMime();
    ObjetoG<GMimeStream> fluxo(g_mime_stream_mem_new_with_buffer(bruta.constData(), bruta.size()));
    ObjetoG<GMimeParser> analisador(g_mime_parser_new_with_stream(fluxo.get()));
    return ObjetoG<GMimeMessage>(g_mime_parser_construct_message(analisador.get(), nullptr));
}

// "Name <addr>" for every mailbox, decoded, so tests compare plain text.
QStringList enderecos(InternetAddressList *lista)
{
    QStringList textos;
    for (int i = 0; i < internet_address_list_length(lista); ++i) {
        InternetAddress *endereco = internet_address_list_get_address(lista, i);
        const QString nome = QString::fromUtf8(internet_address_get_name(endereco));
        const QString email = QString::fromUtf8(internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(endereco)));
        textos.append(nome.isEmpty() ? email : nome + " <" + email + '>');
    }
    return textos;
}

// How many of the lines a server received start with a command.
qsizetype comecandoPor(const QByteArrayList &linhas, const char *comando)
{
    return std::count_if(linhas.begin(), linhas.end(),
                         [comando](const QByteArray &l) { return l.startsWith(comando); });
}

void gravar(const QString &caminho, const QByteArray &dados)
{
    QFile arquivo(caminho);
    ASSERT_TRUE(arquivo.open(QIODevice::WriteOnly));
    arquivo.write(dados);
}

// Decodes the first uuencoded block of the text with the uudecode command.
QByteArray uudecode(const QByteArray &texto)
{
    QTemporaryDir pasta;
    const QString entrada = pasta.filePath(QStringLiteral("entrada.eml"));
    const QString saida = pasta.filePath(QStringLiteral("saida"));
    gravar(entrada, texto);
    QProcess processo;
    processo.start(QStringLiteral("uudecode"), {QStringLiteral("-o"), saida, entrada});
    EXPECT_TRUE(processo.waitForFinished());
    EXPECT_EQ(processo.exitCode(), 0) << processo.readAllStandardError().toStdString();
    QFile arquivo(saida);
    return arquivo.open(QIODevice::ReadOnly) ? arquivo.readAll() : QByteArray();
}

class Correio : public ::testing::Test
{
  protected:
    // The test server offers no STARTTLS: TLS off, as the settings allow.
    ClienteSmtp cliente() const
    {
        ClienteSmtp c{QStringLiteral("127.0.0.1"), servidor.usuario(), servidor.senha(), servidor.porta()};
        c.seguranca = SegurancaSmtp::SemTls;
        return c;
    }

    static MensagemEmail mensagemSimples()
    {
        MensagemEmail m;
        m.remetente = QStringLiteral("representante@empresa.com.br");
        m.destinatarios = QStringLiteral("a@x.com");
        m.assunto = QStringLiteral("Pedido 1");
        m.corpo = {QStringLiteral("Texto")};
        return m;
    }

    ServidorSmtp servidor;
    QTemporaryDir pasta;
};

TEST_F(Correio, CabecalhosComNomesAcentosEListasDeEnderecos)
{
    struct Caso {
        QString nome, remetente, responderPara, destinatarios, assunto;
        QString envelopeDe;
        QStringList para, envelopePara, respostas;
    };
    const std::vector<Caso> casos = {
        {"999 - Supervisor geral - [Sistema]",
         "representante@empresa.com.br",
         "central@empresa.com.br",
         "a@x.com, b@y.com",
         "Pedido 83 (Padaria São João / Goiânia)",
         "representante@empresa.com.br",
         {"a@x.com", "b@y.com"},
         {"a@x.com", "b@y.com"},
         {"central@empresa.com.br"}},
        {"12 - JOÃO SILVA [Sistema]",
         "Vendas <vendas@empresa.com.br>",
         "",
         "Central Goiânia <central@x.com>",
         "Pedido 84 (Mercado Ação / Anápolis)",
         "vendas@empresa.com.br",
         {"Central Goiânia <central@x.com>"},
         {"central@x.com"},
         {}},
        // ";" separates as "," does (Outlook and many customers' records).
        {"13 - ANA [Sistema]",
         "vendas@empresa.com.br",
         "",
         "a@x.com; \"Silva; Filhos\" <b@y.com>;c@z.com;",
         "Pedido 85 (Loja / Goiânia)",
         "vendas@empresa.com.br",
         {"a@x.com", "Silva; Filhos <b@y.com>", "c@z.com"},
         {"a@x.com", "b@y.com", "c@z.com"},
         {}},
    };
    for (size_t i = 0; i < casos.size(); ++i) {
        const Caso &caso = casos[i];
        SCOPED_TRACE(caso.nome.toStdString());
        MensagemEmail m = mensagemSimples();
        m.nomeRemetente = caso.nome;
        m.remetente = caso.remetente;
        m.responderPara = caso.responderPara;
        m.destinatarios = caso.destinatarios;
        m.assunto = caso.assunto;
        cliente().enviar(m);

        const ServidorSmtp::Recebida recebida = servidor.mensagem(static_cast<int>(i) + 1);
        EXPECT_EQ(recebida.de, caso.envelopeDe);
        EXPECT_EQ(recebida.para, caso.envelopePara);

        const QByteArray brutos = cabecalhos(recebida.conteudo);
        EXPECT_TRUE(std::all_of(brutos.begin(), brutos.end(), [](char c) { return (c & 0x80) == 0; }))
            << "cabeçalhos com bytes de 8 bits:\n"
            << brutos.toStdString();
        EXPECT_EQ(brutos.contains("\nReply-To:"), !caso.respostas.isEmpty());

        ObjetoG<GMimeMessage> lida = analisar(recebida.conteudo);
        ASSERT_TRUE(lida);
        EXPECT_EQ(enderecos(g_mime_message_get_from(lida.get())),
                  QStringList{caso.nome + " <" + caso.envelopeDe + '>'});
        EXPECT_EQ(enderecos(g_mime_message_get_reply_to(lida.get())), caso.respostas);
        EXPECT_EQ(enderecos(g_mime_message_get_to(lida.get())), caso.para);
        EXPECT_EQ(QString::fromUtf8(g_mime_message_get_subject(lida.get())), caso.assunto);
        EXPECT_NE(g_mime_message_get_date(lida.get()), nullptr);
        EXPECT_TRUE(QByteArray(g_mime_message_get_message_id(lida.get())).contains('@'));
    }
}

TEST_F(Correio, CorpoEmLinhasEAnexosUuencodadosQueVoltamIntactos)
{
    QByteArray binario = "%PDF-1.4\n";
    for (int b = 0; b < 256; ++b)
        binario += static_cast<char>(b);
    // CRLF and Latin-1 bytes; 14 bytes past a whole encoded line, so the last
    // encoded line starts with a dot, which SMTP must escape.
    QByteArray texto = "0000000083;Padaria S\xe3o Jo\xe3o;Goi\xe2nia\r\n0000000083;A\xe7\xfa"
                       "car cristal 5 kg;12,00\r\n";
    while (texto.size() % 45 != 14)
        texto.insert(texto.size() - 2, ' ');
    const QString pdf = pasta.filePath(QStringLiteral("PEDIDO 83.pdf"));
    const QString transferencia = pasta.filePath(QStringLiteral("Padaria São João_83.txt"));
    gravar(pdf, binario);
    gravar(transferencia, texto);

    MensagemEmail m = mensagemSimples();
    const QString separador = QStringLiteral("\r");
    m.corpo = {"Código cliente: 7",
               separador,
               "Nome do cliente: Padaria São João",
               separador,
               "CNPJ do cliente: 12.345.678/0001-90",
               separador,
               "Telefone do cliente: (62) 3333-4444",
               separador,
               "Entregar até sexta.\nDescarregar nos fundos."};
    m.anexos = {pdf, transferencia};
    cliente().enviar(m);

    const QByteArray bruta = servidor.mensagem(1).conteudo;
    EXPECT_EQ(bruta.count('\n'), bruta.count("\r\n")) << "quebra de linha sem CR";
    EXPECT_EQ(bruta.count('\r'), bruta.count("\r\n")) << "CR solto";

    ObjetoG<GMimeMessage> lida = analisar(bruta);
    ASSERT_TRUE(lida);
    GMimeObject *parte = g_mime_message_get_mime_part(lida.get());
    ASSERT_TRUE(GMIME_IS_TEXT_PART(parte));
    EXPECT_STREQ(g_mime_object_get_content_type_parameter(parte, "charset"), "utf-8");

    const QStringList linhas = QString::fromUtf8(corpo(bruta)).split(QStringLiteral("\r\n"));
    const QStringList esperadas = {"Código cliente: 7",
                                   "",
                                   "Nome do cliente: Padaria São João",
                                   "",
                                   "CNPJ do cliente: 12.345.678/0001-90",
                                   "",
                                   "Telefone do cliente: (62) 3333-4444",
                                   "",
                                   "Entregar até sexta.",
                                   "Descarregar nos fundos.",
                                   "",
                                   "begin 644 PEDIDO 83.pdf"};
    EXPECT_EQ(linhas.mid(0, esperadas.size()), esperadas);
    EXPECT_EQ(linhas.filter(QRegularExpression(QStringLiteral("^(begin .*|end)$"))),
              QStringList({"begin 644 PEDIDO 83.pdf", "end", "begin 644 Padaria São João_83.txt", "end"}));

    const qsizetype segundo = bruta.indexOf("\r\nbegin 644 Padaria");
    ASSERT_GT(segundo, 0);
    EXPECT_EQ(uudecode(bruta), binario);
    EXPECT_EQ(uudecode(bruta.mid(segundo)), texto);
}

TEST_F(Correio, FalhaLancaErroENadaChegaAoServidor)
{
    struct Caso {
        const char *nome;
        std::function<void(ClienteSmtp &, MensagemEmail &)> estragar;
    };
    const QString ausente = pasta.filePath(QStringLiteral("nao_existe.pdf"));
    const std::vector<Caso> casos = {
        {"senha recusada", [](ClienteSmtp &c, MensagemEmail &) { c.senha = QStringLiteral("errada"); }},
        {"porta fechada", [](ClienteSmtp &c, MensagemEmail &) { c.porta = portaLivre(); }},
        {"sem destinatário", [](ClienteSmtp &, MensagemEmail &m) { m.destinatarios.clear(); }},
        // An address that cannot be read is never dropped in silence.
        {"endereço ilegível", [](ClienteSmtp &, MensagemEmail &m) { m.destinatarios = "a@x.com, lixo sem arroba"; }},
        {"endereço sem domínio", [](ClienteSmtp &, MensagemEmail &m) { m.destinatarios = "a@x.com; comprador"; }},
        {"anexo ausente", [&](ClienteSmtp &, MensagemEmail &m) { m.anexos = {ausente}; }},
    };
    for (const Caso &caso : casos) {
        SCOPED_TRACE(caso.nome);
        ClienteSmtp c = cliente();
        MensagemEmail m = mensagemSimples();
        caso.estragar(c, m);
        try {
            c.enviar(m);
            ADD_FAILURE() << "enviou sem erro";
        } catch (const Erro &erro) {
            EXPECT_FALSE(erro.mensagem().isEmpty());
        }
    }
    EXPECT_EQ(servidor.quantidade(), 0);
}

// An address holding CR or LF, or a character some reader takes for a line
// break (U+2028, U+2029, U+0085), could carry raw SMTP commands into the
// logged-in session: it is refused, naming its role, and nothing reaches the
// server, not even a connection. The address-list reader refuses it too.
TEST_F(Correio, EnderecoComCaractereDeControleRecusadoAntesDeConectar)
{
    const QString injecoes[] = {
        QStringLiteral("\"x\r\nRSET\r\nMAIL FROM:<a@x.com>\r\nRCPT TO:<vitima@x.com>\r\nDATA\r\n\"@example.com"),
        QStringLiteral("a@x.com") + QChar(0x2028) + QStringLiteral("RCPT TO:<evil@x.com>"),
        QStringLiteral("a@x.com") + QChar(0x2029) + QStringLiteral("RCPT TO:<evil@x.com>"),
        QStringLiteral("a@x.com") + QChar(0x85) + QStringLiteral("RCPT TO:<evil@x.com>"),
        QStringLiteral("a@x.com") + QChar(0) + QStringLiteral("RCPT TO:<evil@x.com>"),
        QStringLiteral("a@x.com") + QChar(0x200B), // zero-width space, a format character
    };
    struct Caso {
        const char *papel;
        QString MensagemEmail::*campo;
    } const casos[] = {
        {"destinatário", &MensagemEmail::destinatarios},
        {"remetente", &MensagemEmail::remetente},
        {"responder para", &MensagemEmail::responderPara},
    };
    ServidorSmtpLento registrador;
    ClienteSmtp c = cliente();
    c.porta = registrador.porta();
    for (const QString &injetado : injecoes) {
        for (const Caso &caso : casos) {
            SCOPED_TRACE(std::string(caso.papel) + " " + injetado.toStdString());
            MensagemEmail m = mensagemSimples();
            m.*caso.campo = injetado;
            try {
                c.enviar(m);
                ADD_FAILURE() << "enviou sem erro";
            } catch (const Erro &erro) {
                EXPECT_TRUE(
                    erro.mensagem().startsWith(QStringLiteral("O endereço do ") + QString::fromUtf8(caso.papel)))
                    << erro.mensagem().toStdString();
            }
        }
        EXPECT_THROW(enderecosDaLista(injetado), Erro);
    }
    EXPECT_EQ(registrador.comandos(), QByteArrayList());
    EXPECT_FALSE(TemCaractereDeControle(QStringLiteral("Fulano <f@x.com>, b@y.com, Jo\u00e3o <j@x.com.br>")));
    EXPECT_TRUE(TemCaractereDeControle(QStringLiteral("f@x.com\t")));
    EXPECT_TRUE(TemCaractereDeControle(QStringLiteral("f@x.com") + QChar::fromUcs4(0xE0001).chars[0] +
                                       QChar::fromUcs4(0xE0001).chars[1]))
        << "fora do BMP";
}

// Unless TLS is off, a server that offers no STARTTLS (or whose offer was
// stripped on the way) fails the send before any AUTH command; with TLS off
// the same server takes the message.
TEST_F(Correio, SemStarttlsSoEnviaComTlsDesligado)
{
    const struct {
        SegurancaSmtp seguranca;
        bool envia;
    } casos[] = {
        {SegurancaSmtp::VerificarCertificado, false},
        {SegurancaSmtp::AceitarCertificado, false},
        {SegurancaSmtp::SemTls, true},
    };
    for (const auto &caso : casos) {
        SCOPED_TRACE(static_cast<int>(caso.seguranca));
        ServidorSmtpLento semTls;
        ClienteSmtp c = cliente();
        c.porta = semTls.porta();
        c.seguranca = caso.seguranca;
        if (caso.envia) {
            c.enviar(mensagemSimples());
            EXPECT_EQ(comecandoPor(semTls.comandos(), "AUTH"), 1);
            EXPECT_EQ(comecandoPor(semTls.comandos(), "MENSAGEM"), 1);
            continue;
        }
        try {
            c.enviar(mensagemSimples());
            ADD_FAILURE() << "enviou sem TLS";
        } catch (const Erro &erro) {
            EXPECT_TRUE(erro.mensagem().contains(QStringLiteral("não oferece conexão segura (STARTTLS)")))
                << erro.mensagem().toStdString();
        }
        const QByteArrayList comandos = semTls.comandos();
        ASSERT_FALSE(comandos.isEmpty());
        EXPECT_EQ(comecandoPor(comandos, "AUTH"), 0) << comandos.join(' ').toStdString();
        EXPECT_EQ(comecandoPor(comandos, "MAIL"), 0);
    }
}

// A server with a self-signed certificate: verifying it fails with the
// transport's reason; accepting it still encrypts; no TLS sends in clear.
TEST_F(Correio, StarttlsConformeAConfiguracao)
{
    ServidorSmtp interno(servidor.usuario(), servidor.senha(), ServidorSmtp::Tls::Autoassinado);
    ClienteSmtp c{QStringLiteral("127.0.0.1"), interno.usuario(), interno.senha(), interno.porta()};
    try {
        c.enviar(mensagemSimples());
        ADD_FAILURE() << "certificado autoassinado aceito";
    } catch (const Erro &erro) {
        EXPECT_TRUE(erro.mensagem().contains(QStringLiteral("certificate"))) << erro.mensagem().toStdString();
    }
    EXPECT_EQ(interno.quantidade(), 0);

    c.seguranca = SegurancaSmtp::AceitarCertificado;
    c.enviar(mensagemSimples());
    EXPECT_TRUE(interno.mensagem(1).tls);
    c.seguranca = SegurancaSmtp::SemTls;
    c.enviar(mensagemSimples());
    EXPECT_FALSE(interno.mensagem(2).tls);
}

TEST_F(Correio, SegurancaLidaDoArquivoDeConfiguracao)
{
    const QString ini = pasta.filePath(QStringLiteral("Mirvale.ini"));
    const struct {
        const char *conteudo;
        SegurancaSmtp esperada;
    } casos[] = {
        {"[CONEXAO]\nPATH=local.udl\n", SegurancaSmtp::VerificarCertificado},
        {"[EMAIL]\nTLS=verificar\n", SegurancaSmtp::VerificarCertificado},
        {"[EMAIL]\nTLS=Aceitar\n", SegurancaSmtp::AceitarCertificado},
        {"[EMAIL]\nTLS=desligado\n", SegurancaSmtp::SemTls},
    };
    for (const auto &caso : casos) {
        SCOPED_TRACE(caso.conteudo);
        gravar(ini, caso.conteudo);
        EXPECT_EQ(LerSegurancaSmtp(ini), caso.esperada);
    }
    gravar(ini, "[EMAIL]\nTLS=talvez\n");
    EXPECT_THROW(LerSegurancaSmtp(ini), Erro);
}

// A loopback port that never completes a connection: its listener's queue
// is full, so the kernel drops every further SYN, as a host that does not
// answer does.
class PortaSemResposta
{
  public:
    PortaSemResposta()
    {
        sockaddr_in endereco{};
        endereco.sin_family = AF_INET;
        endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t tamanho = sizeof endereco;
        m_soquetes.push_back(::socket(AF_INET, SOCK_STREAM, 0));
        if (::bind(m_soquetes[0], reinterpret_cast<sockaddr *>(&endereco), sizeof endereco) != 0 ||
            ::listen(m_soquetes[0], 0) != 0 ||
            ::getsockname(m_soquetes[0], reinterpret_cast<sockaddr *>(&endereco), &tamanho) != 0)
            throw std::runtime_error("porta sem resposta");
        m_porta = ntohs(endereco.sin_port);
        for (int i = 0; i < 2; ++i) {
            m_soquetes.push_back(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0));
            ::connect(m_soquetes.back(), reinterpret_cast<sockaddr *>(&endereco), sizeof endereco);
        }
    }
    ~PortaSemResposta()
    {
        for (int s : m_soquetes)
            ::close(s);
    }
    quint16 porta() const { return m_porta; }

  private:
    std::vector<int> m_soquetes;
    quint16 m_porta = 0;
};

// Tries a send with the program's own times and prints how long it took
// (for the record: tests do not judge times).
QString falhaAoEnviar(const ClienteSmtp &c, const MensagemEmail &m, const char *caso)
{
    QElapsedTimer relogio;
    relogio.start();
    QString falha;
    try {
        c.enviar(m);
    } catch (const Erro &erro) {
        falha = erro.mensagem();
    }
    std::cout << caso << ": " << relogio.elapsed() / 1000.0 << " s\n";
    return falha;
}

// Reaching the server is bounded by its own time; so is the whole exchange,
// the wait for the answer to the message included: a server that falls
// silent after the message (or before its greeting) is given up with the
// reason, not after minutes.
TEST_F(Correio, ServidorQueNaoRespondeDesisteNoPrazo)
{
    {
        PortaSemResposta inalcancavel;
        ClienteSmtp c = cliente();
        c.porta = inalcancavel.porta();
        EXPECT_EQ(falhaAoEnviar(c, mensagemSimples(), "servidor inalcançável"),
                  QStringLiteral("Falha ao enviar o e-mail: o servidor de e-mail \"127.0.0.1\" não foi alcançado em 5 "
                                 "segundos."));
    }
    {
        ServidorSmtpLento mudo(0, true);
        ClienteSmtp c = cliente();
        c.porta = mudo.porta();
        EXPECT_EQ(
            falhaAoEnviar(c, mensagemSimples(), "servidor mudo após a mensagem"),
            QStringLiteral("Falha ao enviar o e-mail: o servidor de e-mail não concluiu o envio em 30 segundos."));
        EXPECT_EQ(comecandoPor(mudo.comandos(), "MENSAGEM"), 1) << "a mensagem foi toda";
    }
    {
        // Connected by the kernel, never greeted; with times of its own.
        const int semSaudacao = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in endereco{};
        endereco.sin_family = AF_INET;
        endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t tamanho = sizeof endereco;
        ASSERT_EQ(::bind(semSaudacao, reinterpret_cast<sockaddr *>(&endereco), sizeof endereco), 0);
        ASSERT_EQ(::listen(semSaudacao, 1), 0);
        ASSERT_EQ(::getsockname(semSaudacao, reinterpret_cast<sockaddr *>(&endereco), &tamanho), 0);
        ClienteSmtp c = cliente();
        c.porta = ntohs(endereco.sin_port);
        c.segundosParaConectar = 1;
        c.segundosParaTerminar = 2;
        EXPECT_EQ(falhaAoEnviar(c, mensagemSimples(), "servidor sem saudação (prazo de 2 s)"),
                  QStringLiteral("Falha ao enviar o e-mail: o servidor de e-mail não concluiu o envio em 2 segundos."));
        ::close(semSaudacao);
    }
}

// Five seconds bound reaching the server only: one that takes two seconds
// over every reply still gets the message within the whole time.
TEST_F(Correio, ServidorLentoQueRespondeNoPrazoRecebe)
{
    ServidorSmtpLento lento(2);
    ClienteSmtp c = cliente();
    c.porta = lento.porta();
    EXPECT_EQ(falhaAoEnviar(c, mensagemSimples(), "servidor que responde a cada 2 s"), QString());
    const QByteArrayList comandos = lento.comandos();
    EXPECT_EQ(comecandoPor(comandos, "AUTH"), 1);
    EXPECT_EQ(comecandoPor(comandos, "MENSAGEM"), 1);
    EXPECT_EQ(comecandoPor(comandos, "QUIT"), 1);
}

} // namespace
