#include "arquivo_transferencia.h"
#include "documentos_teste.h"
#include "envio_pedido.h"
#include "mensagem_recebida.h"
#include "pdf_teste.h"
#include "servidor_smtp.h"

namespace
{

const QDateTime kMomento(QDate(2009, 3, 25), QTime(14, 5, 9));

QByteArray conteudo(const QString &caminho)
{
    QFile arquivo(caminho);
    EXPECT_TRUE(arquivo.open(QIODevice::ReadOnly)) << caminho.toStdString();
    return arquivo.readAll();
}

// A package (21) and a tied sale (20) of customer 57, each of two items, all
// the way out: the transfer file, the PDF and the mail to a central office.
class PacoteEVendaCasada : public DocumentosTeste
{
  protected:
    void SetUp() override
    {
        DocumentosTeste::SetUp();
        instalarModelos();
        pasta.executar(
            QStringLiteral(
                "UPDATE tbconfiguracoes SET email_host = '127.0.0.1:%1', email_usuario = '%2', email_senha = '%3',"
                " email_de = 'vendas@empresa.com.br', email_para = 'central1@empresa.com.br';"
                "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido, cif, observacao, vl_total_pacote)"
                " VALUES (21, '12', 57, '2009-03-25 09:30:00', 'Não', 'Entrega no sábado', 37.7295);"
                "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido, cif, observacao,"
                " vl_total_venda_casada) VALUES (20, '12', 57, '2009-03-25 09:30:00', 'Não', 'Casada', 126.228);"
                "INSERT INTO tbpedido_pacote (nr_pedido, codigo, quantidade, valorUnitario, valorTotal, cd_desconto1,"
                " cd_desconto2, cd_desconto3) VALUES (21, 'ABC123', 2.5, 10.1538, 25.3845, 'G', '0', '0'),"
                " (21, '7891000', 1.5, 8.23, 12.345, 'G', '0', '0');"
                "INSERT INTO tbpedido_venda_casada (nr_pedido, codigo, quantidade, valorUnitario, valorTotal)"
                " VALUES (20, '7891000', 3, 8.23, 24.69), (20, 'ABC123', 10, 10.1538, 101.538);")
                .arg(servidor.porta())
                .arg(servidor.usuario(), servidor.senha()));
    }

    ServidorSmtp servidor;
};

TEST_F(PacoteEVendaCasada, ArquivoPdfEEmailDeCadaTipo)
{
    struct Caso {
        TipoPedido tipo;
        int nr;
        const char *condicao;
        const char *transferencia; // name without the date
        QByteArray itens;          // the item lines of the transfer file
        const char *pdf;
        std::vector<const char *> textosPdf;
        QStringList responderPara;
        const char *pergunta;
        const char *sucesso;
    };
    const Caso casos[] = {
        {TipoPedido::Pacote,
         21,
         "vl_total_pacote>=0",
         "pacote-21cliente-57-LOJA BOAdata-",
         "001ABC123              PARAFUSO SEXTAVADO ZINCADO 1/4 X 2 POLEGADAS CAIXA "
         "25032009000002,50000000000253801221    PC12345678000190\r\n"
         "0027891000             ARRUELA LISA 1/4                                   "
         "25032009000001,50000000000123501221    UN12345678000190\r\n",
         "pacote-21.pdf",
         {"PEDIDO - PACOTE", "Nº 21", "MERCADO BOA VISTA LTDA", "ABC123", "7891000", "2,5", "1,5", "25,38", "12,35",
          "Entrega no sábado", "Total do pacote: R$ 37,73"},
         {},
         "Enviar o pacote ( 21 ) para:",
         "O pacote ( 21 ):\nCentral 1: enviado."},
        {TipoPedido::VendaCasada,
         20,
         "vl_total_venda_casada>=0",
         "pedido-20cliente-57-LOJA BOAdata-",
         "0017891000             ARRUELA LISA 1/4                                   "
         "25032009000000030000000000246901220    UN12345678000190\r\n"
         "002ABC123              PARAFUSO SEXTAVADO ZINCADO 1/4 X 2 POLEGADAS CAIXA "
         "25032009000000100000000001015401220    PC12345678000190\r\n",
         "venda-20.pdf",
         {"VENDA CASADA", "Nº 20", "MERCADO BOA VISTA LTDA", "ARRUELA LISA 1/4", "24,69", "101,54", "Casada",
          "Total do pedido: R$ 126,23", "3 - À vista"},
         {"central1@empresa.com.br"},
         "Enviar o pedido ( 20 ) para:",
         "O pedido ( 20 ):\nCentral 1: enviado."},
    };
    int recebidas = 0;
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.pdf);
        abrirNaTela(c.nr, c.condicao);

        // The transfer file, byte for byte.
        GerarArquivoTransferencia(c.tipo, kMomento);
        const QString nome = QString::fromUtf8(c.transferencia);
        EXPECT_EQ(conteudo(pasta.arquivo(QStringLiteral("relatórios/") + nome + QStringLiteral("25032009.txt"))),
                  "[ARQUIVO DE TRANSFERENCIA]25/03/2009-14:05:09\r\n" + c.itens + "[FIM DE ARQUIVO]\r\n");

        // To the first central office only.
        dialogos.escolher({false, true, false, false});
        EnviarPedido(c.tipo, acoes(c.tipo));
        EXPECT_TRUE(dialogos.roteiroEsgotado());
        EXPECT_EQ(dialogos.textos(QStringLiteral("escolha")), QStringList{QString::fromUtf8(c.pergunta)});
        EXPECT_EQ(dialogos.textos(QStringLiteral("mensagem")), QStringList{QString::fromUtf8(c.sucesso)});
        ASSERT_EQ(servidor.quantidade(), ++recebidas);

        const MensagemRecebida m = LerMensagemRecebida(servidor.mensagem(recebidas).conteudo);
        EXPECT_EQ(m.de, QStringLiteral("12 - JOÃO DA SILVA [Sistema] <vendas@empresa.com.br>"));
        EXPECT_EQ(m.responderPara, c.responderPara);
        EXPECT_EQ(m.para, QStringList{"central1@empresa.com.br"});
        EXPECT_EQ(m.assunto, QStringLiteral("Pedido %1 (MERCADO BOA VISTA LTDA / Goiânia)").arg(c.nr));
        EXPECT_EQ(m.linhas.value(0), QStringLiteral("Código cliente: 57"));
        EXPECT_EQ(m.linhas.value(8), QString::fromUtf8(c.tipo == TipoPedido::Pacote ? "Entrega no sábado" : "Casada"));
        const QString pdf = pasta.arquivo(QStringLiteral("relatórios/") + QString::fromUtf8(c.pdf));
        ASSERT_EQ(m.anexos.size(), 2);
        EXPECT_EQ(m.anexos[0].first, QString::fromUtf8(c.pdf));
        EXPECT_EQ(m.anexos[0].second, conteudo(pdf));
        const QString hoje = QDate::currentDate().toString(QStringLiteral("ddMMyyyy"));
        EXPECT_EQ(m.anexos[1].first, nome + hoje + QStringLiteral(".txt"));
        const QByteArray anexo = m.anexos[1].second;
        EXPECT_EQ(anexo, conteudo(pasta.arquivo(QStringLiteral("relatórios/") + m.anexos[1].first)));
        // Written at sending time: only the header line's moment differs.
        EXPECT_EQ(anexo.mid(anexo.indexOf("\r\n") + 2), c.itens + "[FIM DE ARQUIVO]\r\n");
        EXPECT_EQ(marcado("enviado", c.nr), QStringLiteral("1"));
        EXPECT_EQ(marcado("impresso", c.nr), QStringLiteral("1"));

        const QString texto = TextoPdf(pdf).simplified();
        for (const char *esperado : c.textosPdf)
            EXPECT_TRUE(texto.contains(QString::fromUtf8(esperado))) << esperado << "\n" << texto.toStdString();
        dialogos.limpar();
        dm.reset();
    }
}

} // namespace
