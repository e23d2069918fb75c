#include "cadastros_teste.h"
#include "envio_pedido.h"
#include "logica_cliente.h"
#include "servidor_smtp.h"
#include "totais.h"

#include <QDir>
#include <QFile>

// The addresses the customer screen accepts are the ones the order mail to
// the customer goes to, through a real SMTP server.
class CorreioClienteTeste : public CadastrosTeste
{
  protected:
    void SetUp() override
    {
        CadastrosTeste::SetUp();
        ASSERT_TRUE(QDir(pasta.caminho()).mkdir(QStringLiteral("relatórios")));
        ASSERT_TRUE(QFile::copy(QStringLiteral(PASTA_FONTES "/templates/pedido.rav"),
                                pasta.arquivo(QStringLiteral("pedido.rav"))));
        pasta.executar(QStringLiteral("INSERT INTO tbconfiguracoes (cod_funcionario, email_host, email_usuario,"
                                      " email_senha, email_de) VALUES ('12', '127.0.0.1:%1', '%2', '%3',"
                                      " 'vendas@empresa.com.br');"
                                      "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, vl_total_item, cif)"
                                      " VALUES (20, '12', 3, 10, 'Não');"
                                      "INSERT INTO tbpedido_item (nr_pedido, idfunc, codigo, quantidade,"
                                      " valorUnitario, valorTotal) VALUES (20, '12', 'B', 1, 10, 10);")
                           .arg(servidor.porta())
                           .arg(servidor.usuario(), servidor.senha()));
    }

    ServidorSmtp servidor;
};

TEST_F(CorreioClienteTeste, EnderecosDigitadosRecebemOPedido)
{
    abrirDados();
    VisaoClienteRegistrada visao;
    LogicaCliente logica(visao);
    logica.abrir();
    irParaCliente(3);
    logica.clicar(AcaoCliente::Editar);
    visao.digitar(CaixaCliente::Email, QStringLiteral("Compras <compras@padaria.com.br>, dono@padaria.com.br"));
    logica.clicar(AcaoCliente::Salvar);
    ASSERT_FALSE(dm->QyCliente.emEdicao()) << dialogos.textos().join(QLatin1Char('\n')).toStdString();
    logica.enviarEmail();
    EXPECT_EQ(dialogos.textos(QStringLiteral("abrir")),
              QStringList{"mailto:Compras <compras@padaria.com.br>, dono@padaria.com.br"});

    ASSERT_TRUE(dm->QyPedido.localizar(QStringLiteral("nr_pedido"), QStringLiteral("20")));
    dialogos.escolher({true, false, false, false});
    EnviarPedido(TipoPedido::Pedido, {[this] { dm->QyPedido.editar(); }, [] { RecalcularTotais(TipoPedido::Pedido); }});
    ASSERT_EQ(servidor.quantidade(), 1) << dialogos.textos().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(servidor.mensagem(1).para, QStringList({"compras@padaria.com.br", "dono@padaria.com.br"}));
}
