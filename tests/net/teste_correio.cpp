#include "cliente_smtp.h"
#include "erro.h"
#include "gmime_apoio.h"
#include "impressao_qt.h"
#include "servidor_smtp.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

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
    ClienteSmtp cliente() const
    {
        return ClienteSmtp{QStringLiteral("127.0.0.1"), servidor.usuario(), servidor.senha(), servidor.porta()};
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

// An address holding CR or LF could carry raw SMTP commands into the logged-in
// session: it is refused, naming its role, and the server never hears of it.
TEST_F(Correio, EnderecoComCaractereDeControleRecusadoAntesDeConectar)
{
    const QString injetado =
        QStringLiteral("\"x\r\nRSET\r\nMAIL FROM:<a@x.com>\r\nRCPT TO:<vitima@x.com>\r\nDATA\r\n\"@example.com");
    struct Caso {
        const char *papel;
        QString MensagemEmail::*campo;
    } const casos[] = {
        {"destinatário", &MensagemEmail::destinatarios},
        {"remetente", &MensagemEmail::remetente},
        {"responder para", &MensagemEmail::responderPara},
    };
    for (const Caso &caso : casos) {
        SCOPED_TRACE(caso.papel);
        MensagemEmail m = mensagemSimples();
        m.*caso.campo = injetado;
        try {
            cliente().enviar(m);
            ADD_FAILURE() << "enviou sem erro";
        } catch (const Erro &erro) {
            EXPECT_TRUE(erro.mensagem().startsWith(QStringLiteral("O endereço do ") + QString::fromUtf8(caso.papel)))
                << erro.mensagem().toStdString();
        }
    }
    EXPECT_FALSE(TemCaractereDeControle(QStringLiteral("Fulano <f@x.com>, b@y.com")));
    EXPECT_TRUE(TemCaractereDeControle(QStringLiteral("f@x.com\t")));
    EXPECT_EQ(servidor.quantidade(), 0);
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

// A server that accepts the connection and then says nothing is given up
// after the time-out, with the transport's reason.
TEST_F(Correio, ServidorMudoDesisteNoPrazo)
{
    const int mudo = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in endereco{};
    endereco.sin_family = AF_INET;
    endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t tamanho = sizeof endereco;
    ASSERT_EQ(::bind(mudo, reinterpret_cast<sockaddr *>(&endereco), sizeof endereco), 0);
    ASSERT_EQ(::listen(mudo, 1), 0); // the kernel completes the connection; nobody answers
    ASSERT_EQ(::getsockname(mudo, reinterpret_cast<sockaddr *>(&endereco), &tamanho), 0);
    ClienteSmtp c = cliente();
    c.porta = ntohs(endereco.sin_port);
    c.segundosParaConectar = 1;
    c.segundosParaTerminar = 2;
    try {
        c.enviar(mensagemSimples());
        ADD_FAILURE() << "enviou sem erro";
    } catch (const Erro &erro) {
        EXPECT_TRUE(erro.mensagem().contains(QStringLiteral("timed out"), Qt::CaseInsensitive) ||
                    erro.mensagem().contains(QStringLiteral("timeout"), Qt::CaseInsensitive))
            << erro.mensagem().toStdString();
    }
    ::close(mudo);
}

} // namespace
