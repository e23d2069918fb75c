#include "conexao.h"
#include "conjunto_dados.h"
#include "esquema.h"
#include "fonte_conjunto.h"
#include "impressao_qt.h"
#include "motor_relatorio.h"
#include "pasta_programa.h"
#include "pdf_teste.h"

#include <QFile>

#include <gtest/gtest.h>

namespace
{

// Everything a report run could disturb in a data set.
QString situacao(const ConjuntoDados &c)
{
    return QStringLiteral("reg %1 de %2, %3%4, estado %5, filtro '%6' %7, modificado %8")
        .arg(c.numeroRegistro())
        .arg(c.quantidade())
        .arg(c.inicio() ? "I" : "-", c.fim() ? "F" : "-")
        .arg(static_cast<int>(c.estado()))
        .arg(c.filtro(), c.filtrado() ? "ligado" : "desligado", c.modificado() ? "sim" : "não");
}

class FonteConjuntoTeste : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        pasta.executar(QStringLiteral(
            "INSERT INTO tbcliente (IdCliente, Nome, Cidade) VALUES (1, 'JOSÉ DA SILVA', 'São Paulo'),"
            " (2, 'Maria', 'Campinas'), (3, 'O''NEIL', 'Goiânia');"
            "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, vl_total_item) VALUES (83, 'ABC', 1, 1234.5),"
            " (84, 'ABC', 2, 0), (85, 'ABC', 3, 5);"
            "INSERT INTO tbproduto (idProduto, CODIGO, PRODUTO) VALUES (1, 'P1', 'Açúcar'), (2, 'P2', 'Feijão');"
            "INSERT INTO tbpedido_item (nr_pedido, idfunc, codigo, quantidade) VALUES (83, 'ABC', 'P1', 1),"
            " (83, 'ABC', 'P2', 2), (85, 'ABC', 'P1', 3);"));
        conexao.abrirBanco(pasta.bancoLocal());

        abrir(cli, QStringLiteral("tbcliente"), QStringLiteral("select * from tbcliente order by IdCliente"));
        abrir(prod, QStringLiteral("tbproduto"), QStringLiteral("select * from tbproduto"));
        ped.ligarLookup(QStringLiteral("CLIENTE_DESCRICAO"), QStringLiteral("idCliente"), &cli,
                        QStringLiteral("IdCliente"), ModoLookup::Atual);
        item.ligarLookup(QStringLiteral("item_descricao"), QStringLiteral("codigo"), &prod, QStringLiteral("CODIGO"),
                         ModoLookup::Atual);
        item.setMestre(&ped);
        abrir(item, QStringLiteral("tbpedido_item"),
              QStringLiteral("select * from tbpedido_item where nr_pedido = :nr_pedido order by codigo"));
        abrir(ped, QStringLiteral("tbpedido"), QStringLiteral("select * from tbpedido order by nr_pedido desc"));
    }

    void abrir(ConjuntoDados &c, const QString &tabela, const QString &sql)
    {
        c.setConexao(&conexao);
        c.setTabela(tabela);
        c.setSql(sql);
        c.abrir();
    }

    PastaProgramaTeste pasta;
    Conexao conexao{QStringLiteral("ADOConexao")};
    ConjuntoDados cli{QStringLiteral("QyCliente"), &Esquema::cliente()};
    ConjuntoDados prod{QStringLiteral("QyProduto"), &Esquema::produto()};
    ConjuntoDados ped{QStringLiteral("QyPedido"), &Esquema::pedido()};
    ConjuntoDados item{QStringLiteral("QyPedidoItem"), &Esquema::pedidoItem()};
};

// The report reads the current (unsaved) record, the rows under each filter
// and look-ups into other sets, and leaves every set exactly as it was.
TEST_F(FonteConjuntoTeste, RelatorioLeSemMoverNemMudarOsConjuntos)
{
    cli.setFiltro(QStringLiteral("IdCliente<>2"));
    cli.setFiltrado(true);
    cli.ultimo();
    ped.setFiltro(QStringLiteral("vl_total_item>0"));
    ped.setFiltrado(true);
    ASSERT_TRUE(ped.localizar(QStringLiteral("nr_pedido"), QStringLiteral("83")));
    ped.editar();
    ped.campo(QStringLiteral("observacao")).setTexto(QStringLiteral("Urgente\nLigar antes"));

    const QList<const ConjuntoDados *> conjuntos{&cli, &prod, &ped, &item};
    QStringList antes;
    for (const ConjuntoDados *c : conjuntos)
        antes << situacao(*c);

    pasta.escrever(QStringLiteral("pedido.rav"), QStringLiteral(R"(
<h1>Pedido {{rvdsPedido.nr_pedido}} de {{rvdsPedido.CLIENTE_DESCRICAO}}</h1>
<p>Total {{rvdsPedido.vl_total_item}}</p>
<p>{{rvdsPedido.observacao}}</p>
{{#rvdsPedidoItem.linhas}}<p>Item {{codigo}} {{item_descricao}} x{{quantidade}}</p>{{/rvdsPedidoItem.linhas}}
{{#rvdsPedido.linhas}}<p>Na lista {{nr_pedido}}</p>{{/rvdsPedido.linhas}}
{{#rvdsCliente.linhas}}<p>Cliente {{Nome}} / {{Cidade}}</p>{{/rvdsCliente.linhas}}
)"));
    const FonteConjunto fontes[] = {{QStringLiteral("rvdsCliente"), cli},
                                    {QStringLiteral("rvdsPedido"), ped},
                                    {QStringLiteral("rvdsPedidoItem"), item}};
    const QString pdf = pasta.arquivo(QStringLiteral("pedido-83.pdf"));
    GerarRelatorio(pasta.arquivo(QStringLiteral("pedido.rav")), {&fontes[0], &fontes[1], &fontes[2]}, {}, pdf);

    const QString texto = TextoPdf(pdf);
    for (const char *esperado : {"Pedido 83 de JOSÉ DA SILVA", "Total 1.234,50", "Urgente", "Ligar antes",
                                 "Item P1 Açúcar x1", "Item P2 Feijão x2", "Na lista 85", "Na lista 83",
                                 "Cliente JOSÉ DA SILVA / São Paulo", "Cliente O'NEIL / Goiânia"})
        EXPECT_TRUE(texto.contains(QString::fromUtf8(esperado))) << esperado << "\n" << texto.toStdString();
    for (const char *filtrado : {"Na lista 84", "Maria"})
        EXPECT_FALSE(texto.contains(QString::fromUtf8(filtrado))) << filtrado;

    QStringList depois;
    for (const ConjuntoDados *c : conjuntos)
        depois << situacao(*c);
    EXPECT_EQ(depois, antes);
    EXPECT_EQ(ped.campo(QStringLiteral("observacao")).texto(), QStringLiteral("Urgente\nLigar antes"));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT observacao FROM tbpedido WHERE nr_pedido = 83")), QString())
        << "nothing was stored";
}

} // namespace
