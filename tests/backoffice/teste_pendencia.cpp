#include "dialogos_roteiro.h"
#include "mensagem_recebida.h"
#include "pasta_programa.h"
#include "pendencia.h"
#include "servidor_smtp.h"
#include "servidor_smtp_lento.h"
#include "udm.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <memory>

namespace
{

const QString kPerguntaPurga = QStringLiteral("Deseja apagar os itens com mais de 60 dias?");
const QString kPerguntaEnvio = QStringLiteral("Deseja enviar o relatório de pendência a \"Central\" ?");
const QString kEnviado = QStringLiteral("A pendência foi enviado com sucesso!");
const QString kNaoEnviado =
    QStringLiteral("A pendência não foi enviado.\nVerifique as configurações e tente novamente!");
const QString kCentral = QStringLiteral("Central de Pendências <pendencias@empresa.com.br>, outra@empresa.com.br");

QString textoPdf(const QString &arquivo)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), arquivo, QStringLiteral("-")});
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString iso(const QDateTime &momento)
{
    return momento.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

class Pendencia : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(pasta.caminho()).mkdir(QStringLiteral("relatórios")));
        ASSERT_TRUE(QFile::copy(QStringLiteral(PASTA_FONTES "/templates/pendente.rav"),
                                pasta.arquivo(QStringLiteral("pendente.rav"))));
        pasta.executar(QStringLiteral(
            "INSERT INTO tbproduto (CODIGO, PRODUTO, ESTOQUE) VALUES ('AB-1', 'PARAFUSO', 10), "
            "('CD-2', 'ARRUELA', 9.5);"
            "INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('12', 'JOÃO SILVA');"
            "INSERT INTO tbcliente (IdCliente, Nome, Cidade, cnpj, Tel) VALUES "
            "(57, 'MERCADO BOA VISTA', 'Goiânia', '12.345.678/0001-90', '(62) 3333-4444'), (80, 'OUTRO', 'X', '', '');"
            "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, observacao, vl_total_item) VALUES "
            "(1233, '12', 80, 'antigo', 1), (1234, '12', 57, 'Entregar pela manhã', 1);"));
        const QString hoje = iso(QDateTime::currentDateTime());
        pasta.executar(QStringLiteral("INSERT INTO tbpedido_pendente (nr_pedido, item, codigo, quantidade, situacao, "
                                      "data_pendente) VALUES (1, 1, 'ab-1', 10, NULL, '%1'), (1, 2, 'CD-2', 10, NULL, "
                                      "'%1'), (2, 1, 'CD-2', 10, 'Disponível', '%1'), (3, 1, 'ZZ-9', 1, NULL, '%1')")
                           .arg(hoje));
        configurar(QStringLiteral("12"), servidor.senha());
    }
    void configurar(const QString &codigo, const QString &senha)
    {
        pasta.executar(QStringLiteral("DELETE FROM tbconfiguracoes"));
        pasta.executar(QStringLiteral("INSERT INTO tbconfiguracoes (cod_funcionario, email_host, email_usuario, "
                                      "email_senha, email_de, pendencia_central) VALUES ('%1', '127.0.0.1:%2', "
                                      "'%3', '%4', 'vendas@empresa.com.br', '%5')")
                           .arg(codigo)
                           .arg(servidor.porta())
                           .arg(servidor.usuario(), senha, kCentral));
    }
    QString situacoes() const
    {
        return pasta.consultar(QStringLiteral("SELECT group_concat(codigo || '=' || coalesce(situacao, ''), ',') "
                                              "FROM (SELECT * FROM tbpedido_pendente ORDER BY nr_pedido, item)"));
    }
    QString pdf() const { return CaminhoPdfPendencia(QDate::currentDate()); }

    ServidorSmtp servidor;
    DialogosRoteiro dialogos;
    PastaProgramaTeste pasta;
};

TEST(CortePendencia, DoisMesesAntesOuOUltimoDiaDoMes)
{
    const struct {
        QDate hoje, corte;
    } casos[] = {
        {{2010, 12, 31}, {2010, 10, 31}}, {{2010, 4, 30}, {2010, 2, 28}}, {{2012, 4, 30}, {2012, 2, 29}},
        {{2011, 1, 15}, {2010, 11, 15}},  {{2010, 3, 1}, {2010, 1, 1}},
    };
    for (const auto &c : casos)
        EXPECT_EQ(CortePendencia(c.hoje), c.corte) << c.hoje.toString(Qt::ISODate).toStdString();
    EXPECT_EQ(FiltroPurgaPendencia({2010, 12, 31}), QStringLiteral("DATA_PENDENTE <= 31/10/2010"));
}

TEST_F(Pendencia, SemItensSoAvisa)
{
    pasta.executar(QStringLiteral("DELETE FROM tbpedido_pendente"));
    TDM dm(pasta.caminho());
    ChecarPendencia();
    ASSERT_EQ(dialogos.registros().size(), 1u);
    EXPECT_EQ(dialogos.registros()[0].texto, QStringLiteral("Não há item(ns) pendentes!"));
    EXPECT_EQ(dialogos.registros()[0].titulo, QStringLiteral("Atenção"));
    EXPECT_FALSE(QFile::exists(pdf()));
}

TEST_F(Pendencia, PurgaOsAnterioresAoInicioDoDiaDeCorte)
{
    const QDate corte = CortePendencia(QDate::currentDate());
    pasta.executar(QStringLiteral("DELETE FROM tbpedido_pendente"));
    pasta.executar(QStringLiteral("INSERT INTO tbpedido_pendente (nr_pedido, item, codigo, quantidade, "
                                  "data_pendente) VALUES (1, 1, 'vespera', 1, '%1'), (1, 2, 'meia-noite', 1, '%2'), "
                                  "(1, 3, 'dez-horas', 1, '%3'), (1, 4, 'hoje', 1, '%4')")
                       .arg(iso(QDateTime(corte.addDays(-1), QTime(23, 59, 59))), iso(QDateTime(corte, QTime(0, 0))),
                            iso(QDateTime(corte, QTime(10, 0))), iso(QDateTime::currentDateTime())));
    for (Resposta purgar : {Resposta::Nao, Resposta::Sim}) {
        TDM dm(pasta.caminho());
        dialogos.limpar();
        dialogos.responder(purgar).responder(Resposta::Nao);
        ChecarPendencia();
        EXPECT_EQ(dialogos.registros()[0].titulo, QStringLiteral("Pendência"));
        EXPECT_EQ(dialogos.registros()[0].padrao, Resposta::Sim);
        const QString restantes =
            pasta.consultar(QStringLiteral("SELECT group_concat(codigo, ',') FROM tbpedido_pendente"));
        EXPECT_EQ(restantes, purgar == Resposta::Sim ? QStringLiteral("dez-horas,hoje")
                                                     : QStringLiteral("vespera,meia-noite,dez-horas,hoje"));
        EXPECT_FALSE(dm.QyPendente.filtrado());
        EXPECT_EQ(dm.QyPendente.quantidade(), purgar == Resposta::Sim ? 2 : 4);
    }
}

TEST_F(Pendencia, MarcaDisponiveisImprimeEAbreOPdf)
{
    TDM dm(pasta.caminho());
    dialogos.responder(Resposta::Nao).responder(Resposta::Nao);
    ChecarPendencia();
    // Stock 10 covers 10; 9.5 does not and leaves the mark alone; a code no
    // longer on file is pending. The code is found ignoring letter case.
    EXPECT_EQ(situacoes(), QStringLiteral("ab-1=Disponível,CD-2=,CD-2=Disponível,ZZ-9=Pendênte"));
    EXPECT_EQ(dialogos.textos(), QStringList({kPerguntaPurga, pdf(), kPerguntaEnvio}));
    EXPECT_EQ(dialogos.registros()[2].padrao, Resposta::Sim);
    EXPECT_EQ(QFileInfo(pdf()).fileName(),
              QStringLiteral("pendente-") + QDate::currentDate().toString(QStringLiteral("ddMMyyyy")) + ".pdf");
    const QString texto = textoPdf(pdf());
    for (const char *esperado : {"ITENS PENDENTES", "JOÃO SILVA", "ab-1", "ARRUELA", "9,5", "ZZ-9", "Pendênte"})
        EXPECT_TRUE(texto.contains(QString::fromUtf8(esperado))) << esperado << "\n" << texto.toStdString();
    // The code typed in small letters finds its product's description and
    // stock, as it found the product when marked available.
    const QString linhaAb1 = texto.section(QStringLiteral("ab-1"), 1).section(u'\n', 0, 0);
    EXPECT_TRUE(linhaAb1.contains(QStringLiteral("PARAFUSO"))) << texto.toStdString();
    ASSERT_TRUE(dm.QyPendente.localizar(QStringLiteral("codigo"), QStringLiteral("ab-1")));
    EXPECT_EQ(dm.QyPendente.campo(QStringLiteral("estoque")).texto(), QStringLiteral("10"));
    EXPECT_EQ(servidor.quantidade(), 0);
}

TEST_F(Pendencia, EnviaORelatorioAoEnderecoDePendencias)
{
    TDM dm(pasta.caminho());
    dialogos.responder(Resposta::Nao).responder(Resposta::Sim);
    ChecarPendencia();
    ASSERT_EQ(dialogos.textos().value(3), kEnviado);
    EXPECT_EQ(dialogos.registros()[3].icone, Icone::Informacao);

    const ServidorSmtp::Recebida recebida = servidor.mensagem(1);
    EXPECT_EQ(recebida.de, QStringLiteral("vendas@empresa.com.br"));
    EXPECT_EQ(recebida.para, QStringList({"pendencias@empresa.com.br", "outra@empresa.com.br"}));
    const MensagemRecebida m = LerMensagemRecebida(recebida.conteudo);
    EXPECT_EQ(m.de, QStringLiteral("12 - JOÃO SILVA [Sistema] <vendas@empresa.com.br>"));
    const QStringList central = {"Central de Pendências <pendencias@empresa.com.br>", "outra@empresa.com.br"};
    EXPECT_EQ(m.para, central);
    EXPECT_EQ(m.responderPara, central);
    // The newest order of the view and the first customer, as they stand.
    EXPECT_EQ(m.assunto, QStringLiteral("Pedido 1234 (MERCADO BOA VISTA / Goiânia)"));
    EXPECT_EQ(m.linhas, QStringList({"Código cliente: 57", "", "Nome do cliente: MERCADO BOA VISTA", "",
                                     "CNPJ do cliente: 12.345.678/0001-90", "", "Telefone do cliente: (62) 3333-4444",
                                     "", "Entregar pela manhã"}));
    ASSERT_EQ(m.anexos.size(), 1);
    EXPECT_EQ(m.anexos[0].first, QFileInfo(pdf()).fileName());
    QFile arquivo(pdf());
    ASSERT_TRUE(arquivo.open(QIODevice::ReadOnly));
    EXPECT_TRUE(m.anexos[0].second == arquivo.readAll());
}

// A pending-items or sender address holding a line break, or a character
// some reader takes for one (U+2028, U+2029, U+0085), is refused by its name
// in the settings; no connection is made.
TEST_F(Pendencia, EnderecoComQuebraDeLinhaRecusadoAntesDeConectar)
{
    ServidorSmtpLento registrador;
    const struct {
        const char *coluna, *nome;
    } origens[] = {
        {"pendencia_central", "a central do e-mail (Receber pendências)"},
        {"email_de", "o emitente do e-mail"},
    };
    for (const auto &origem : origens) {
        for (const char *quebra : {"char(13,10)", "char(8232)", "char(8233)", "char(133)"}) {
            SCOPED_TRACE(std::string(origem.coluna) + " " + quebra);
            configurar(QStringLiteral("12"), servidor.senha());
            pasta.executar(QStringLiteral("UPDATE tbconfiguracoes SET email_host = '127.0.0.1:%1', %2 = 'p@x.com' || "
                                          "%3 || 'RCPT TO:<evil@x.com>'")
                               .arg(registrador.porta())
                               .arg(QLatin1String(origem.coluna), QLatin1String(quebra)));
            TDM dm(pasta.caminho());
            dialogos.limpar();
            dialogos.responder(Resposta::Nao).responder(Resposta::Sim);
            ChecarPendencia();
            ASSERT_EQ(dialogos.registros().size(), 4u);
            EXPECT_EQ(dialogos.registros()[3].texto,
                      QStringLiteral("O endereço em %1 contém uma quebra de linha ou outro caractere de controle e não "
                                     "foi usado. Corrija-o nas configurações e tente novamente.")
                          .arg(QString::fromUtf8(origem.nome)));
        }
    }
    EXPECT_EQ(registrador.comandos(), QByteArrayList());
    EXPECT_EQ(servidor.quantidade(), 0);
}

TEST_F(Pendencia, SupervisorEFalhaDeEnvio)
{
    configurar(QStringLiteral("999"), servidor.senha());
    {
        TDM dm(pasta.caminho());
        dialogos.responder(Resposta::Nao).responder(Resposta::Sim);
        ChecarPendencia();
        EXPECT_EQ(LerMensagemRecebida(servidor.mensagem(1).conteudo).de,
                  QStringLiteral("999 - Supervisor geral - [Sistema] <vendas@empresa.com.br>"));
    }
    configurar(QStringLiteral("12"), QStringLiteral("senha errada"));
    TDM dm(pasta.caminho());
    dialogos.limpar();
    dialogos.responder(Resposta::Nao).responder(Resposta::Sim);
    ChecarPendencia();
    ASSERT_EQ(dialogos.registros().size(), 4u);
    // The server's own reply to the refused login.
    EXPECT_TRUE(dialogos.registros()[3].texto.startsWith(kNaoEnviado + QStringLiteral("\n535")))
        << dialogos.registros()[3].texto.toStdString();
    EXPECT_EQ(dialogos.registros()[3].icone, Icone::Pergunta);
    EXPECT_EQ(dialogos.registros()[3].titulo, QStringLiteral("Atenção"));
    EXPECT_TRUE(QFile::exists(pdf())) << "o PDF fica";
    EXPECT_EQ(servidor.quantidade(), 1);
}

} // namespace
