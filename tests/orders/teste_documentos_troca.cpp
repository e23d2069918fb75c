#include "troca_teste.h"

#include "arquivo_transferencia.h"
#include "mensagem_recebida.h"
#include "servidor_smtp.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

namespace
{

QByteArray conteudo(const QString &caminho)
{
    QFile arquivo(caminho);
    EXPECT_TRUE(arquivo.open(QIODevice::ReadOnly)) << caminho.toStdString();
    return arquivo.readAll();
}

QString textoPdf(const QString &arquivo)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), arquivo, QStringLiteral("-")});
    EXPECT_TRUE(pdftotext.waitForFinished(-1));
    EXPECT_EQ(pdftotext.exitCode(), 0) << pdftotext.readAllStandardError().toStdString();
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

} // namespace

// Exchange 30 of 20/11/2026 for customer 1: five P1 returned (50,00) and
// two and a half M25 in replacement (5,00); a difference of -45,00 once the
// screen has saved it. The program folder has the templates, the
// "relatórios" folder and the mail settings of a real SMTP server.
class DocumentosTroca : public TrocaTeste
{
  protected:
    void SetUp() override
    {
        TrocaTeste::SetUp();
        const QDir fonte(QStringLiteral(PASTA_FONTES "/templates"));
        ASSERT_TRUE(
            QFile::copy(fonte.filePath(QStringLiteral("troca.rav")), pasta.arquivo(QStringLiteral("troca.rav"))));
        ASSERT_TRUE(QDir(pasta.caminho()).mkdir(QStringLiteral("relatórios")));
        pasta.executar(
            QStringLiteral(
                "INSERT INTO tbconfiguracoes (cod_funcionario, email_host, email_usuario, email_senha, email_de,"
                " email_para) VALUES ('12', '127.0.0.1:%1', '%2', '%3', 'vendas@empresa.com.br',"
                " 'central1@empresa.com.br');"
                "UPDATE tbcliente SET Cidade='Goiânia', Email='compras@lojaum.com.br', cnpj='12.345.678/0001-90',"
                " Tel='(62) 3333-4444', valultcompra=1234.5 WHERE IdCliente=1;"
                "UPDATE tbproduto SET UNID='UN';"
                "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido, cif, observacao, vl_diferenca_troca)"
                " VALUES (30, '12', 1, '2026-11-20 10:00:00', 'Não', 'Avaria no transporte', 0);"
                "INSERT INTO tbpedido_troca2 (nr_pedido, idfunc, codigo, quantidade) VALUES (30, '12', 'P1', 5);"
                "INSERT INTO tbpedido_troca1 (nr_pedido, idfunc, codigo, quantidade) VALUES (30, '12', 'M25', 2.5);")
                .arg(servidor.porta())
                .arg(servidor.usuario(), servidor.senha()));
        abrirTroca();
        ASSERT_TRUE(dm->QyPedido.localizar(QStringLiteral("nr_pedido"), QStringLiteral("30")));
        // The screen's save prices both lists and stores the totals.
        logica->clicar(AcaoPedido::Editar);
        logica->clicar(AcaoPedido::Salvar);
        ASSERT_EQ(totais(30), QStringLiteral("50/5/-45"));
    }

    QString relatorio(const QString &nome) const { return pasta.arquivo(QStringLiteral("relatórios/") + nome); }

    ServidorSmtp servidor;
};

TEST_F(DocumentosTroca, PdfMostraAsDuasListasEADiferencaNegativa)
{
    logica->clicar(AcaoPedido::Imprimir);
    const QString pdf = relatorio(QStringLiteral("troca-30.pdf"));
    ASSERT_TRUE(QFile::exists(pdf)) << dialogos.textos().join(u'\n').toStdString();
    EXPECT_EQ(dialogos.textos(QStringLiteral("abrir")), QStringList{pdf});
    const QString texto = textoPdf(pdf);
    const QRegularExpression devolvido(QStringLiteral("P1\\s+Parafuso\\s+5\\s+10,00\\s+50,00"));
    const QRegularExpression substituido(QStringLiteral("M25\\s+Meia dúzia\\s+2,5\\s+2,00\\s+5,00"));
    EXPECT_TRUE(devolvido.match(texto).hasMatch()) << texto.toStdString();
    EXPECT_TRUE(substituido.match(texto).hasMatch()) << texto.toStdString();
    for (const char *trecho : {"TROCA DE MERCADORIAS", "Nº 30", "LOJA UM LTDA", "ITENS DEVOLVIDOS",
                               "ITENS EM SUBSTITUIÇÃO", "Diferença da troca: R$ -45,00", "Avaria no transporte"})
        EXPECT_TRUE(texto.contains(QString::fromUtf8(trecho))) << trecho;
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT impresso FROM tbpedido WHERE nr_pedido=30")), QStringLiteral("1"));
    EXPECT_EQ(pedidoAtual(), QStringLiteral("30"));
    EXPECT_EQ(dm->QyPedido.filtro(), QStringLiteral("idFunc='12' AND vl_diferenca_troca<>NULL"));

    // A replacement above its stock stops the print; a returned one does not.
    pasta.executar(QStringLiteral("UPDATE tbproduto SET ESTOQUE=2 WHERE CODIGO IN ('M25', 'P1')"));
    dm->QyProduto.reabrir();
    dm->QyPedido.reabrir();
    ASSERT_TRUE(dm->QyPedido.localizar(QStringLiteral("nr_pedido"), QStringLiteral("30")));
    dialogos.limpar();
    logica->clicar(AcaoPedido::Imprimir);
    EXPECT_EQ(dialogos.textos(), QStringList{QStringLiteral("A troca não pode ser gerada. Verifique se os itens "
                                                            "cadastrados estão no estoque.")});
}

TEST_F(DocumentosTroca, ArquivoDeTransferenciaSoComASubstituicaoByteAByte)
{
    GerarArquivoTransferencia(TipoPedido::Troca, QDateTime(QDate(2026, 11, 25), QTime(14, 5, 9)));
    // Windows-1252: "ú" is one byte, and the description is padded by characters.
    const QByteArray item = QByteArray("001") + QByteArray("M25").leftJustified(20) +
                            QByteArray("Meia d\xfa"
                                       "zia")
                                .leftJustified(51) +
                            "20112026" + "000002,500" + "000000000500" + "012" + QByteArray("30").leftJustified(6) +
                            "UN" + "12345678000190";
    ASSERT_EQ(item.size(), 129);
    const QByteArray esperado = "[ARQUIVO DE TRANSFERENCIA]25/11/2026-14:05:09\r\n" + item + "\r\n[FIM DE ARQUIVO]\r\n";
    EXPECT_EQ(conteudo(relatorio(QStringLiteral("troca-30cliente-1-LOJA UMdata-25112026.txt"))), esperado);
}

TEST_F(DocumentosTroca, EnvioAoClienteEACentralPeloRemetenteDaTroca)
{
    // Central 2 and 3 have no address: offered unchecked, and OK keeps that.
    dialogos.aceitarEscolha();
    logica->clicar(AcaoPedido::Enviar);

    EXPECT_EQ(dialogos.textos(QStringLiteral("escolha")), QStringList{"Enviar a troca ( 30 ) para:"});
    ASSERT_EQ(dialogos.escolhas().size(), 1u);
    QStringList marcadas;
    for (const OpcaoMarcada &o : dialogos.escolhas()[0])
        marcadas << QStringLiteral("%1=%2").arg(o.texto).arg(o.marcada);
    EXPECT_EQ(marcadas, QStringList({"Cliente (LOJA UM LTDA - Email: compras@lojaum.com.br)=1",
                                     "Central 1 (Email: central1@empresa.com.br)=1", "Central 2 (sem endereço)=0",
                                     "Central 3 (sem endereço)=0"}));
    EXPECT_EQ(dialogos.textos(QStringLiteral("mensagem")),
              QStringList{"O pedido ( 30 ):\nCliente: enviado.\nCentral 1: enviado."});
    ASSERT_EQ(servidor.quantidade(), 2);

    const QString pdf = relatorio(QStringLiteral("troca-30.pdf"));
    const QString transferencia =
        QStringLiteral("troca-30cliente-1-LOJA UMdata-%1.txt").arg(QDate::currentDate().toString(u"ddMMyyyy"));
    const ServidorSmtp::Recebida aoCliente = servidor.mensagem(1);
    EXPECT_EQ(aoCliente.de, QStringLiteral("vendas@empresa.com.br"));
    EXPECT_EQ(aoCliente.para, QStringList{"compras@lojaum.com.br"});
    const MensagemRecebida cliente = LerMensagemRecebida(aoCliente.conteudo);
    EXPECT_EQ(cliente.de, QStringLiteral("12 - JOÃO SILVA [Sistema] <vendas@empresa.com.br>"));
    EXPECT_TRUE(cliente.responderPara.isEmpty());
    EXPECT_EQ(cliente.assunto, QStringLiteral("Pedido 30 (LOJA UM LTDA / Goiânia)"));
    EXPECT_EQ(cliente.linhas, QStringList({"Código cliente: 1", "", "Nome do cliente: LOJA UM LTDA", "",
                                           "CNPJ do cliente: 12.345.678/0001-90", "",
                                           "Telefone do cliente: (62) 3333-4444", "", "Avaria no transporte"}));
    ASSERT_EQ(cliente.anexos.size(), 1);
    EXPECT_EQ(cliente.anexos[0].first, QStringLiteral("troca-30.pdf"));
    EXPECT_EQ(cliente.anexos[0].second, conteudo(pdf));

    const MensagemRecebida central = LerMensagemRecebida(servidor.mensagem(2).conteudo);
    EXPECT_EQ(central.de, cliente.de);
    EXPECT_TRUE(central.responderPara.isEmpty());
    ASSERT_EQ(central.anexos.size(), 2);
    EXPECT_EQ(central.anexos[1].first, transferencia);
    const QByteArray arquivo = conteudo(relatorio(transferencia));
    EXPECT_EQ(central.anexos[1].second, arquivo);
    EXPECT_TRUE(arquivo.contains("001M25 ")) << arquivo.toStdString();
    EXPECT_FALSE(arquivo.contains("P1 "));

    // Sent to the customer is sent, for an exchange; enviadoTroca is never set.
    EXPECT_EQ(
        pasta.consultar(QStringLiteral("SELECT impresso || enviado || coalesce(enviadoTroca, 0) FROM tbpedido WHERE "
                                       "nr_pedido=30")),
        QStringLiteral("110"));
    EXPECT_EQ(totais(30), QStringLiteral("50/5/-45"));
    EXPECT_FALSE(dm->QyPedido.emEdicao());
}
