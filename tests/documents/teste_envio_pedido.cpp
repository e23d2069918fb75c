#include "caixa_saida.h"
#include "calculo_preco.h"
#include "documentos_teste.h"
#include "envio_pedido.h"
#include "estado_pedido.h"
#include "mensagem_recebida.h"
#include "pdf_teste.h"
#include "servidor_smtp.h"
#include "servidor_smtp_lento.h"
#include "ufunc.h"

#include <QFile>
#include <QFileInfo>

namespace
{

constexpr Resposta S = Resposta::Sim;
constexpr Resposta N = Resposta::Nao;

QByteArray conteudo(const QString &caminho)
{
    QFile arquivo(caminho);
    EXPECT_TRUE(arquivo.open(QIODevice::ReadOnly)) << caminho.toStdString();
    return arquivo.readAll();
}

class EnvioPedido : public DocumentosTeste
{
  protected:
    void SetUp() override
    {
        DocumentosTeste::SetUp();
        instalarModelos();
        pasta.executar(QStringLiteral("UPDATE tbconfiguracoes SET email_host = '127.0.0.1:%1', email_usuario = '%2',"
                                      " email_senha = '%3', email_de = 'vendas@empresa.com.br',"
                                      " email_para = 'central1@empresa.com.br, Matriz <matriz@empresa.com.br>',"
                                      " email_para2 = 'central2@empresa.com.br',"
                                      " email_para3 = 'central3@empresa.com.br'")
                           .arg(servidor.porta())
                           .arg(servidor.usuario(), servidor.senha()));
        // A package, an exchange and a tied sale besides the regular order 1234.
        inserirPedido1234();
        pasta.executar(QStringLiteral(
            "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, vl_total_venda_casada) VALUES (20, '12', 57, 0);"
            "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, vl_total_pacote) VALUES (21, '12', 57, 0);"
            "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, vl_total_troca1) VALUES (22, '12', 57, 0);"
            "INSERT INTO tbpedido_venda_casada (nr_pedido, codigo, quantidade, valorTotal) VALUES (20, 'ABC123', 1, 1);"
            "INSERT INTO tbpedido_pacote (nr_pedido, codigo, quantidade, valorTotal) VALUES (21, 'ABC123', 1.5, 1);"
            "INSERT INTO tbpedido_troca1 (nr_pedido, codigo, quantidade, valorTotal) VALUES (22, '7891000', 1, 1);"));
    }

    // The marks left in the recipients' choice: customer, Central 1 to 3.
    void escolher(std::initializer_list<Resposta> marcas)
    {
        QList<bool> m;
        for (Resposta r : marcas)
            m << (r == Resposta::Sim);
        dialogos.escolher(m);
    }

    QString relatorio(const QString &nome) const { return pasta.arquivo(QStringLiteral("relatórios/") + nome); }

    // A save as the order screen's: every item re-priced, then the totals.
    AcoesCabecalho acoesQueReprecificam(TipoPedido tipo)
    {
        return {[this] { dm->QyPedido.editar(); },
                [tipo] {
                    ConjuntoDados &itens = ItensDoPedido(tipo);
                    for (itens.primeiro(); !itens.fim(); itens.proximo()) {
                        itens.editar();
                        CalcularPrecoItem(tipo);
                        itens.gravar();
                    }
                    RecalcularTotais(tipo);
                }};
    }
    static QString hoje() { return QDate::currentDate().toString(QStringLiteral("ddMMyyyy")); }

    ServidorSmtp servidor;
};

TEST_F(EnvioPedido, PedidoAoClienteEAPrimeiraCentral)
{
    abrirNaTela(1234, "vl_total_item>=0");
    // Settings changed elsewhere after the screen opened are the ones used.
    pasta.executar(QStringLiteral("UPDATE tbconfiguracoes SET email_para2 = 'nova.central2@empresa.com.br'"));
    escolher({S, S, N, N});

    EnviarPedido(TipoPedido::Pedido, acoes(TipoPedido::Pedido));

    EXPECT_EQ(dialogos.textos(QStringLiteral("escolha")), QStringList{"Enviar o pedido ( 1234 ) para:"});
    ASSERT_EQ(dialogos.escolhas().size(), 1u);
    QStringList opcoes;
    for (const OpcaoMarcada &o : dialogos.escolhas()[0]) {
        EXPECT_TRUE(o.marcada && o.habilitada);
        opcoes << o.texto;
    }
    EXPECT_EQ(opcoes, QStringList({"Cliente (MERCADO BOA VISTA LTDA - Email: compras@lojaboa.com.br)",
                                   "Central 1 (Email: central1@empresa.com.br, Matriz <matriz@empresa.com.br>)",
                                   "Central 2 (Email: nova.central2@empresa.com.br)",
                                   "Central 3 (Email: central3@empresa.com.br)"}));
    // One summary instead of a box per recipient.
    EXPECT_EQ(dialogos.textos(QStringLiteral("mensagem")),
              QStringList{"O pedido ( 1234 ):\nCliente: enviado.\nCentral 1: enviado."});
    ASSERT_EQ(servidor.quantidade(), 2);

    const QStringList corpo = {"Código cliente: 57",
                               "",
                               "Nome do cliente: MERCADO BOA VISTA LTDA",
                               "",
                               "CNPJ do cliente: 12.345.678/0001-90",
                               "",
                               "Telefone do cliente: (62) 3333-4444",
                               "",
                               "Entregar pela manhã"};
    const QString pdf = relatorio(QStringLiteral("pedido-1234.pdf"));
    const QString transferencia = QStringLiteral("pedido-1234cliente-57-LOJA BOAdata-%1.txt").arg(hoje());

    const ServidorSmtp::Recebida aoCliente = servidor.mensagem(1);
    EXPECT_EQ(aoCliente.de, QStringLiteral("representante@empresa.com.br"));
    EXPECT_EQ(aoCliente.para, QStringList{"compras@lojaboa.com.br"});
    const MensagemRecebida cliente = LerMensagemRecebida(aoCliente.conteudo);
    EXPECT_EQ(cliente.de, QStringLiteral("12 - JOÃO DA SILVA [Sistema] <representante@empresa.com.br>"));
    EXPECT_EQ(cliente.responderPara, QStringList{"vendas@empresa.com.br"});
    EXPECT_EQ(cliente.para, QStringList{"compras@lojaboa.com.br"});
    EXPECT_EQ(cliente.assunto, QStringLiteral("Pedido 1234 (MERCADO BOA VISTA LTDA / Goiânia)"));
    EXPECT_EQ(cliente.linhas, corpo);
    ASSERT_EQ(cliente.anexos.size(), 1);
    EXPECT_EQ(cliente.tiposDosAnexos, QStringList{"application/pdf"});
    EXPECT_EQ(cliente.anexos[0].first, QStringLiteral("pedido-1234.pdf"));
    EXPECT_EQ(cliente.anexos[0].second, conteudo(pdf));

    const ServidorSmtp::Recebida aCentral = servidor.mensagem(2);
    EXPECT_EQ(aCentral.para, QStringList({"central1@empresa.com.br", "matriz@empresa.com.br"}));
    const MensagemRecebida central = LerMensagemRecebida(aCentral.conteudo);
    EXPECT_EQ(central.de, cliente.de);
    EXPECT_EQ(central.responderPara, QStringList{"vendas@empresa.com.br"});
    EXPECT_EQ(central.para, QStringList({"central1@empresa.com.br", "Matriz <matriz@empresa.com.br>"}));
    EXPECT_EQ(central.linhas, corpo);
    ASSERT_EQ(central.anexos.size(), 2);
    EXPECT_EQ(central.anexos[0].second, conteudo(pdf));
    EXPECT_EQ(central.anexos[1].first, transferencia);
    EXPECT_EQ(central.anexos[1].second, conteudo(relatorio(transferencia)));
    EXPECT_TRUE(central.anexos[1].second.startsWith("[ARQUIVO DE TRANSFERENCIA]"));

    EXPECT_EQ(marcado("impresso", 1234), QStringLiteral("1"));
    EXPECT_EQ(marcado("enviado", 1234), QStringLiteral("1"));
    EXPECT_EQ(dm->QyPedido.campo(QStringLiteral("nr_pedido")).texto(), QStringLiteral("1234"));
}

// Sender, reply-to and the sent mark per kind and destination.
TEST_F(EnvioPedido, RemetenteResponderParaEMarcaPorTipoEDestino)
{
    struct Mail {
        QString de;
        QStringList responderPara;
        QString para;
        int anexos;
    };
    struct Caso {
        TipoPedido tipo;
        int nr;
        const char *condicao;
        const char *codigo;
        std::initializer_list<Resposta> respostas;
        std::vector<Mail> mails;
        const char *sucesso;
        const char *enviado;
    };
    const QString joao = QStringLiteral("12 - JOÃO DA SILVA [Sistema] ");
    const QString supervisor = QStringLiteral("999 - Supervisor geral - [Sistema] ");
    const Caso casos[] = {
        {TipoPedido::Pedido,
         1234,
         "vl_total_item>=0",
         "12",
         {N, N, S, S},
         {{joao + "<vendas@empresa.com.br>", {"representante@empresa.com.br"}, "central2@empresa.com.br", 2},
          {joao + "<vendas@empresa.com.br>", {"representante@empresa.com.br"}, "central3@empresa.com.br", 2}},
         "O pedido ( 1234 ):\nCentral 2: enviado.\nCentral 3: enviado.",
         "1"},
        {TipoPedido::Pedido,
         1234,
         "vl_total_item>=0",
         "999",
         {S, N, N, N},
         {{supervisor + "<representante@empresa.com.br>", {"vendas@empresa.com.br"}, "compras@lojaboa.com.br", 1}},
         "O pedido ( 1234 ):\nCliente: enviado.",
         "0"},
        {TipoPedido::Pacote,
         21,
         "vl_total_pacote>=0",
         "12",
         {S, N, N, N},
         {{joao + "<vendas@empresa.com.br>", {}, "compras@lojaboa.com.br", 1}},
         "O pacote ( 21 ):\nCliente: enviado.",
         "0"},
        {TipoPedido::Troca,
         22,
         "vl_total_troca1>=0",
         "12",
         {S, N, N, N},
         {{joao + "<vendas@empresa.com.br>", {}, "compras@lojaboa.com.br", 1}},
         "O pedido ( 22 ):\nCliente: enviado.",
         "1"},
        {TipoPedido::VendaCasada,
         20,
         "vl_total_venda_casada>=0",
         "999",
         {N, N, N, S},
         {{supervisor + "<vendas@empresa.com.br>", {"central3@empresa.com.br"}, "central3@empresa.com.br", 2}},
         "O pedido ( 20 ):\nCentral 3: enviado.",
         "1"},
    };
    int recebidas = 0;
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nr);
        pasta.executar(QStringLiteral("UPDATE tbconfiguracoes SET cod_funcionario = '%1';"
                                      "UPDATE tbpedido SET enviado = 0, impresso = 0;")
                           .arg(QString::fromUtf8(c.codigo)));
        dialogos.limpar();
        abrirNaTela(c.nr, c.condicao);
        escolher(c.respostas);
        EnviarPedido(c.tipo, acoes(c.tipo));

        ASSERT_EQ(servidor.quantidade(), recebidas + static_cast<int>(c.mails.size()))
            << dialogos.textos().join(u'\n').toStdString();
        for (const Mail &esperado : c.mails) {
            const MensagemRecebida m = LerMensagemRecebida(servidor.mensagem(++recebidas).conteudo);
            EXPECT_EQ(m.de, esperado.de);
            EXPECT_EQ(m.responderPara, esperado.responderPara);
            EXPECT_EQ(m.para, QStringList{esperado.para});
            EXPECT_EQ(m.anexos.size(), esperado.anexos);
        }
        EXPECT_EQ(dialogos.textos(QStringLiteral("mensagem")), QStringList{QString::fromUtf8(c.sucesso)});
        EXPECT_EQ(marcado("enviado", c.nr), QString::fromUtf8(c.enviado));
        EXPECT_EQ(marcado("impresso", c.nr), QStringLiteral("1"));
        dm.reset();
    }
    // The exchange writes its transfer file for the customer's mail too.
    EXPECT_TRUE(QFileInfo::exists(relatorio(QStringLiteral("troca-22cliente-57-LOJA BOAdata-%1.txt").arg(hoje()))));
}

// A refused login refuses every message: each is kept as refused with the
// server's reply, named in the one summary, and nothing is marked.
TEST_F(EnvioPedido, LoginRecusadoFicaRecusadoNaCaixaDeSaida)
{
    pasta.executar(QStringLiteral("UPDATE tbconfiguracoes SET email_senha = 'errada'"));
    abrirNaTela(1234, "vl_total_item>=0");
    escolher({S, S, N, S});

    EnviarPedido(TipoPedido::Pedido, acoes(TipoPedido::Pedido));

    EXPECT_TRUE(dialogos.roteiroEsgotado());
    const QStringList mensagens = dialogos.textos(QStringLiteral("mensagem"));
    ASSERT_EQ(mensagens.size(), 1);
    const QStringList linhas = mensagens[0].split(u'\n');
    ASSERT_EQ(linhas.size(), 4) << mensagens[0].toStdString();
    EXPECT_EQ(linhas[0], QStringLiteral("O pedido ( 1234 ):"));
    for (const QString &l : linhas.mid(1))
        EXPECT_TRUE(l.contains(QStringLiteral(": recusado pelo servidor (535"))) << l.toStdString();
    EXPECT_EQ(dialogos.registros().back().icone, Icone::Aviso);
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT group_concat(destino || '=' || situacao, ' ') FROM"
                                             " (SELECT * FROM tbcaixa_saida ORDER BY id)")),
              QStringLiteral("Cliente=recusado Central 1=recusado Central 3=recusado"));
    EXPECT_EQ(servidor.quantidade(), 0);
    EXPECT_EQ(marcado("enviado", 1234), QStringLiteral("0"));
    EXPECT_EQ(marcado("impresso", 1234), QStringLiteral("1"));
    // One wait for the whole send, and it ended.
    EXPECT_EQ(dialogos.esperas().size(), 1);
    EXPECT_EQ(dialogos.esperando(), 0);
}

// A customer's address holding a line break (a quoted local part with SMTP
// commands in it) and a central's address likewise are refused by name;
// nothing of them reaches the server or the outbox, and the others go.
TEST_F(EnvioPedido, EnderecoComQuebraDeLinhaRecusadoAntesDeConectar)
{
    pasta.executar(QStringLiteral("UPDATE tbcliente SET Email = '\"x' || char(13,10) || 'RSET' || char(13,10) ||"
                                  " 'MAIL FROM:<a@x.com>' || char(13,10) || 'RCPT TO:<vitima@x.com>' || char(13,10) ||"
                                  " 'DATA\"@example.com';"
                                  "UPDATE tbconfiguracoes SET email_para2 = 'central2@empresa.com.br' || char(10)"));
    abrirNaTela(1234, "vl_total_item>=0");
    escolher({S, N, S, S});

    EnviarPedido(TipoPedido::Pedido, acoes(TipoPedido::Pedido));

    EXPECT_TRUE(dialogos.roteiroEsgotado());
    const QStringList linhas = dialogos.textos(QStringLiteral("mensagem")).value(0).split(u'\n');
    ASSERT_EQ(linhas.size(), 4);
    EXPECT_TRUE(linhas[1].startsWith(QStringLiteral("Cliente: não enviado. O endereço")));
    EXPECT_TRUE(linhas[1].endsWith(QStringLiteral("contém uma quebra de linha ou outro caractere de controle. "
                                                  "Corrija o endereço no cadastro do cliente e tente novamente.")));
    EXPECT_TRUE(linhas[2].startsWith(QStringLiteral("Central 2: não enviado. O endereço")));
    EXPECT_TRUE(linhas[2].endsWith(QStringLiteral("Corrija o endereço nas configurações e tente novamente.")));
    EXPECT_EQ(linhas[3], QStringLiteral("Central 3: enviado."));
    ASSERT_EQ(servidor.quantidade(), 1);
    EXPECT_EQ(servidor.mensagem(1).para, QStringList{"central3@empresa.com.br"});
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT count(*) FROM tbcaixa_saida")), QStringLiteral("1"));
}

// A line or paragraph separator, or U+0085, is taken for a line break by
// some readers: in any address the mail uses (the customer's, arrived from
// the central database and never typed, or one of the settings) it is
// refused by the address's name, and no connection is made at all.
TEST_F(EnvioPedido, EnderecoComSeparadorDeLinhaRecusadoEmCadaOrigem)
{
    ServidorSmtpLento registrador;
    const struct {
        const char *tabela, *coluna;
        int destino; // 0 the customer, k Central k
        const char *nome, *onde;
    } origens[] = {
        {"tbcliente", "Email", 0, "o e-mail do cliente", "no cadastro do cliente"},
        {"tbconfiguracoes", "email_para", 1, "a central 1 do e-mail", "nas configurações"},
        {"tbconfiguracoes", "email_para2", 2, "a central 2 do e-mail", "nas configurações"},
        {"tbconfiguracoes", "email_para3", 3, "a central 3 do e-mail", "nas configurações"},
        {"tbconfiguracoes", "email_usuario", 0, "o usuário do e-mail", "nas configurações"},
        {"tbconfiguracoes", "email_de", 1, "o emitente do e-mail", "nas configurações"},
    };
    for (const auto &origem : origens) {
        for (int separador : {0x2028, 0x2029, 0x85}) {
            SCOPED_TRACE(std::string(origem.coluna) + " U+" + QString::number(separador, 16).toStdString());
            pasta.executar(QStringLiteral("UPDATE tbconfiguracoes SET email_host = '127.0.0.1:%1', email_usuario = "
                                          "'representante@empresa.com.br', email_de = 'vendas@empresa.com.br', "
                                          "email_para = 'c1@empresa.com.br', email_para2 = 'c2@empresa.com.br', "
                                          "email_para3 = 'c3@empresa.com.br';"
                                          "UPDATE tbcliente SET Email = 'compras@lojaboa.com.br';"
                                          "UPDATE %2 SET %3 = 'a@x.com' || char(%4) || 'RCPT TO:<evil@x.com>'")
                               .arg(registrador.porta())
                               .arg(QLatin1String(origem.tabela), QLatin1String(origem.coluna))
                               .arg(separador));
            dialogos.limpar();
            abrirNaTela(1234, "vl_total_item>=0");
            std::initializer_list<Resposta> marcas[] = {{S, N, N, N}, {N, S, N, N}, {N, N, S, N}, {N, N, N, S}};
            escolher(marcas[origem.destino]);

            EnviarPedido(TipoPedido::Pedido, acoes(TipoPedido::Pedido));

            EXPECT_TRUE(dialogos.roteiroEsgotado());
            // One summary naming the refusal and where the address is corrected.
            const QStringList mensagens = dialogos.textos(QStringLiteral("mensagem"));
            ASSERT_EQ(mensagens.size(), 1);
            EXPECT_TRUE(
                mensagens[0].contains(QStringLiteral("contém uma quebra de linha ou outro caractere de controle")))
                << mensagens[0].toStdString();
            EXPECT_TRUE(mensagens[0].contains(QString::fromUtf8(origem.onde))) << mensagens[0].toStdString();
            EXPECT_EQ(marcado("enviado", 1234), QStringLiteral("0"));
        }
    }
    EXPECT_EQ(registrador.comandos(), QByteArrayList());
}

// The mail setting of the settings file reaches the transport: a server
// with a company-internal certificate is reached with "aceitar".
TEST_F(EnvioPedido, ConfiguracaoTlsDoArquivoIni)
{
    ServidorSmtp interno(servidor.usuario(), servidor.senha(), ServidorSmtp::Tls::Autoassinado);
    pasta.executar(QStringLiteral("UPDATE tbconfiguracoes SET email_host = '127.0.0.1:%1'").arg(interno.porta()));
    pasta.escrever(QStringLiteral("Mirvale.ini"), QStringLiteral("[CONEXAO]\nPATH=local.udl\nPATH-BKP=central.udl\n"));
    abrirNaTela(1234, "vl_total_item>=0");
    escolher({S, N, N, N});
    EnviarPedido(TipoPedido::Pedido, acoes(TipoPedido::Pedido));
    ASSERT_EQ(dialogos.textos(QStringLiteral("mensagem")).size(), 1);
    EXPECT_TRUE(dialogos.textos(QStringLiteral("mensagem"))[0].contains(QStringLiteral("certificate")));
    EXPECT_TRUE(dialogos.textos(QStringLiteral("mensagem"))[0].contains(QStringLiteral("Cliente: recusado")));

    pasta.escrever(QStringLiteral("Mirvale.ini"),
                   QStringLiteral("[CONEXAO]\nPATH=local.udl\nPATH-BKP=central.udl\n[EMAIL]\nTLS=aceitar\n"));
    dialogos.limpar();
    escolher({S, N, N, N});
    EnviarPedido(TipoPedido::Pedido, acoes(TipoPedido::Pedido));
    EXPECT_EQ(dialogos.textos(QStringLiteral("mensagem")), QStringList{"O pedido ( 1234 ):\nCliente: enviado."});
    ASSERT_EQ(interno.quantidade(), 1);
    EXPECT_TRUE(interno.mensagem(1).tls);
}

TEST_F(EnvioPedido, CondicoesAntesDeQualquerPergunta)
{
    pasta.executar(QStringLiteral(
        "INSERT INTO tbproduto (CODIGO, PRODUTO, ESTOQUE) VALUES ('POUCO', 'ITEM COM 1', 1), ('ZERO', 'SEM', 0);"
        "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, vl_total_item) VALUES (40, '12', 57, 0),"
        " (41, '12', 57, 0), (42, '12', 57, 0);"
        "INSERT INTO tbpedido_item (nr_pedido, codigo, quantidade) VALUES (40, 'ZERO', 1), (41, 'POUCO', 5);"
        "INSERT INTO tbpedido_pacote (nr_pedido, codigo, quantidade) VALUES (42, 'ZERO', 1);"));
    struct Caso {
        TipoPedido tipo;
        int nr;
        QString mensagem; // empty: the recipients' choice comes, all left unchecked
    } const casos[] = {
        {TipoPedido::Pedido, 40,
         QStringLiteral("O pedido não pode ser enviado. Verifique se os itens cadastrados estão no estoque.")},
        {TipoPedido::Pacote, 42,
         QStringLiteral("O Pacote não pode ser enviado. Verifique se os itens cadastrados estão no estoque.")},
        {TipoPedido::Pedido, 41, {}},
    };
    abrir(40);
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nr);
        irPara(c.nr);
        dialogos.limpar();
        if (c.mensagem.isEmpty())
            escolher({N, N, N, N});
        EnviarPedido(c.tipo, acoes(c.tipo));
        EXPECT_EQ(dialogos.textos(QStringLiteral("mensagem")),
                  c.mensagem.isEmpty() ? QStringList{} : QStringList{c.mensagem});
        EXPECT_EQ(dialogos.textos(QStringLiteral("escolha")).size(), c.mensagem.isEmpty() ? 1 : 0);
        EXPECT_EQ(marcado("impresso", c.nr), c.mensagem.isEmpty() ? QStringLiteral("1") : QStringLiteral("0"));
        EXPECT_EQ(marcado("enviado", c.nr), QStringLiteral("0"));
    }
    EXPECT_TRUE(QFileInfo::exists(relatorio(QStringLiteral("pedido-41.pdf"))));
    EXPECT_EQ(servidor.quantidade(), 0);

    // An unsaved item; then an empty order list.
    dialogos.limpar();
    dm->QyPedidoItem.editar();
    dm->QyPedidoItem.campo(QStringLiteral("quantidade")).setInteiro(1);
    EnviarPedido(TipoPedido::Pedido, acoes(TipoPedido::Pedido));
    EXPECT_EQ(dialogos.textos(), QStringList{"Clique em SALVAR o pedido/item antes de gerar o relatório."});
    dm->QyPedidoItem.cancelar();

    dialogos.limpar();
    dm->QyPedido.setFiltro(QStringLiteral("nr_pedido=0"));
    dm->QyPedido.setFiltrado(true);
    EnviarPedido(TipoPedido::Pedido, acoes(TipoPedido::Pedido));
    EXPECT_EQ(dialogos.textos(), QStringList{});
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT count(*) FROM tbpedido")), QStringLiteral("7"));
}

// An order whose customer is gone is never mailed to whichever customer
// happens to be current.
TEST_F(EnvioPedido, ClienteForaDoCadastroNaoRecebeOPedidoDeOutro)
{
    pasta.executar(QStringLiteral("INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, vl_total_item) VALUES"
                                  " (50, '12', 404, 0);"));
    abrirNaTela(50, "vl_total_item>=0");
    ASSERT_TRUE(dm->QyCliente.localizar(QStringLiteral("IdCliente"), QStringLiteral("57")));
    escolher({S, N, N, N});

    EnviarPedido(TipoPedido::Pedido, acoes(TipoPedido::Pedido));

    ASSERT_EQ(dialogos.escolhas().size(), 1u);
    const OpcaoMarcada cliente = dialogos.escolhas()[0][0];
    EXPECT_EQ(cliente.texto, QStringLiteral("Cliente (sem endereço)"));
    EXPECT_FALSE(cliente.marcada || cliente.habilitada);
    EXPECT_EQ(dialogos.textos(QStringLiteral("mensagem")),
              QStringList{"O pedido ( 50 ):\nCliente: não enviado. O e-mail não tem endereço de destinatário. "
                          "Corrija o endereço no cadastro do cliente e tente novamente."});
    EXPECT_EQ(servidor.quantidade(), 0);
}

// A transfer file that cannot be written ends the sending before anything is
// kept: the error is shown and nothing goes.
TEST_F(EnvioPedido, ArquivoDeTransferenciaQueFalhaEncerraOEnvio)
{
    pasta.executar(QStringLiteral("UPDATE tbcliente SET fantasia = 'LOJA A/B'"));
    abrirNaTela(1234, "vl_total_item>=0");
    CaixaSaidaBanco::criarTabela(dm->ADOConexao);
    escolher({S, S, N, N});

    EnviarPedido(TipoPedido::Pedido, acoes(TipoPedido::Pedido));

    EXPECT_TRUE(dialogos.roteiroEsgotado());
    ASSERT_EQ(dialogos.registros().size(), 2u);
    EXPECT_EQ(dialogos.registros()[1].icone, Icone::Erro);
    EXPECT_TRUE(dialogos.registros()[1].texto.contains(QStringLiteral("arquivo de transferência")));
    // Nothing of this send was kept, the customer's mail included.
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT count(*) FROM tbcaixa_saida")), QStringLiteral("0"));
    EXPECT_EQ(servidor.quantidade(), 0);
    EXPECT_EQ(marcado("enviado", 1234), QStringLiteral("0"));
}

// A product's price changed after the order was typed: the print's save
// re-prices before the PDF is made, so the PDF mailed, the stored order and
// the transfer file carry the same prices. The customer's addresses are
// separated by ";": each gets the mail, and one that cannot be read stops the
// mail instead of being dropped.
TEST_F(EnvioPedido, PrecoNovoIgualNoPdfNoBancoENoArquivoEEnderecosComPontoEVirgula)
{
    pasta.executar(
        QStringLiteral("UPDATE tbcliente SET Email = 'compras@lojaboa.com.br; Financeiro <financeiro@lojaboa.com.br>';"
                       "UPDATE tbproduto SET PRECOVENDA = 11.2 WHERE CODIGO = 'ABC123'"));
    abrirNaTela(1234, "vl_total_item>=0");
    escolher({S, S, N, N});

    EnviarPedido(TipoPedido::Pedido, acoesQueReprecificam(TipoPedido::Pedido));

    ASSERT_EQ(servidor.quantidade(), 2) << dialogos.textos().join(u'\n').toStdString();
    const ServidorSmtp::Recebida aoCliente = servidor.mensagem(1);
    EXPECT_EQ(aoCliente.para, QStringList({"compras@lojaboa.com.br", "financeiro@lojaboa.com.br"}));
    const MensagemRecebida cliente = LerMensagemRecebida(aoCliente.conteudo);
    EXPECT_EQ(cliente.para, QStringList({"compras@lojaboa.com.br", "Financeiro <financeiro@lojaboa.com.br>"}));

    const auto guardado = [&](const char *sql) {
        return Dinheiro::deTextoSimples(pasta.consultar(QString::fromUtf8(sql)));
    };
    const Dinheiro total = guardado("SELECT vl_total_item FROM tbpedido WHERE nr_pedido = 1234");
    const Dinheiro item = guardado("SELECT valorTotal FROM tbpedido_item WHERE nr_pedido = 1234 AND codigo = 'ABC123'");
    ASSERT_NE(total.exibicao(), QStringLiteral("1.336,04")) << "o preço novo entrou no pedido";
    const QString pdf = relatorio(QStringLiteral("pedido-1234.pdf"));
    ASSERT_EQ(cliente.anexos.size(), 1);
    EXPECT_EQ(cliente.anexos[0].second, conteudo(pdf));
    const QString texto = TextoPdf(pdf).simplified();
    EXPECT_TRUE(texto.contains(QStringLiteral("Total do pedido: R$ ") + total.exibicao())) << texto.toStdString();
    EXPECT_TRUE(texto.contains(item.exibicao())) << item.exibicao().toStdString();

    const MensagemRecebida central = LerMensagemRecebida(servidor.mensagem(2).conteudo);
    ASSERT_EQ(central.anexos.size(), 2);
    EXPECT_EQ(central.anexos[0].second, conteudo(pdf));
    const QString centavos = RemoverCaracter(u'.', RemoverCaracter(u',', item.exibicao()));
    EXPECT_TRUE(central.anexos[1].second.contains(
        CompletarTexto(centavos, QStringLiteral("0"), 12, QStringLiteral("D")).toLatin1()));

    pasta.executar(QStringLiteral("UPDATE tbcliente SET Email = 'compras@lojaboa.com.br; comprador'"));
    dm->QyCliente.reabrir();
    dialogos.limpar();
    escolher({S, N, N, N});
    EnviarPedido(TipoPedido::Pedido, acoesQueReprecificam(TipoPedido::Pedido));
    // The failure names the address that could not be read, on its own line.
    EXPECT_EQ(dialogos.textos(QStringLiteral("mensagem")),
              QStringList{"O pedido ( 1234 ):\nCliente: não enviado. O endereço de e-mail \"comprador\" não pôde ser "
                          "lido. Corrija o endereço no cadastro do cliente e tente novamente."});
    EXPECT_EQ(servidor.quantidade(), 2);
}

} // namespace
