#include "dialogos_roteiro.h"
#include "pasta_programa.h"
#include "udm.h"
#include "uprincipal.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QToolButton>

namespace
{

// Each report button runs its own report: the file it opens tells which.
TEST(PrincipalRelatorios, CadaBotaoGeraOSeuRelatorio)
{
    DialogosRoteiro dialogos;
    PastaProgramaTeste pasta;
    ASSERT_TRUE(QDir(pasta.caminho()).mkdir(QStringLiteral("relatórios")));
    const QDir fonte(QStringLiteral(PASTA_FONTES "/templates"));
    for (const QString &modelo : fonte.entryList({QStringLiteral("*.rav")}))
        ASSERT_TRUE(QFile::copy(fonte.filePath(modelo), pasta.arquivo(modelo)));
    pasta.executar(QStringLiteral("INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('12', 'JOÃO SILVA');"
                                  "INSERT INTO tbconfiguracoes (cod_funcionario) VALUES ('12');"));
    TfrmPrincipal janela;
    TDM dm(pasta.caminho());
    const QString hoje = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));

    const struct {
        const char *botao;
        std::function<void()> respostas;
        const char *arquivo;
    } casos[] = {
        {"BtnPedidosEnviados", {}, "pedidos-enviado-"},
        {"BtnPedidosNaoEnviados", {}, "pedidos-nao-enviado-"},
        {"BtnPedidosImpressos", {}, "pedidos-impresso-"},
        {"BtnPedidosNaoImpressos", {}, "pedidos-nao-impresso-"},
        {"BtnPedidosPorPeriodo", [&] { dialogos.entrada(hoje).entrada(hoje); }, "todos-pedidos-periodo-"},
        {"BtnTodosPedidos", {}, "todos-pedidos-"},
        {"BtnTodosProdutos", [&] { dialogos.responder(Resposta::Sim).responder(Resposta::Nao); }, "todos-produtos-"},
        {"BtnVendasTotais", [&] { dialogos.entrada(hoje).entrada(hoje); }, "vendas-totais"},
        {"BtnClientesPorCidades", {}, "grupo-clientes-"},
        {"BtnClientesSimples", [&] { dialogos.entrada(QString()); }, "todos-clientes-simples-"},
        {"BtnClientesCompleto", [&] { dialogos.entrada(QString()); }, "todos-clientes-"},
    };
    for (const auto &c : casos) {
        dialogos.limpar();
        if (c.respostas)
            c.respostas();
        auto *botao = janela.findChild<QToolButton *>(QString::fromUtf8(c.botao));
        ASSERT_NE(botao, nullptr) << c.botao;
        botao->click();
        const QStringList abertos = dialogos.textos(QStringLiteral("abrir"));
        ASSERT_EQ(abertos.size(), 1) << c.botao << ": " << dialogos.textos().join(u'\n').toStdString();
        const QString nome = abertos.first().section(u'/', -1);
        EXPECT_TRUE(
            nome.startsWith(QString::fromUtf8(c.arquivo) + QDate::currentDate().toString(QStringLiteral("ddMMyyyy"))))
            << c.botao << ": " << nome.toStdString();
        EXPECT_TRUE(dialogos.roteiroEsgotado()) << c.botao;
    }
}

} // namespace
