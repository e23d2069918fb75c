#include "relatorios.h"
#include "relatorios_teste.h"

#include <QFileInfo>

namespace
{

// Customers of cities written in several ways, one without a city.
class RelatoriosClientes : public RelatoriosTeste
{
  protected:
    void SetUp() override
    {
        RelatoriosTeste::SetUp();
        pasta.executar(QStringLiteral(
            "INSERT INTO tbcliente (IdCliente, Nome, Cidade, UF) VALUES"
            " (1, 'MERCADO PAULISTA', 'São Paulo', 'SP'), (2, 'FERRAGENS CAMPINEIRA', 'Campinas', 'SP'),"
            " (3, 'BAZAR JOSEENSE', 'SÃO JOSÉ', 'SC'), (4, 'DEPÓSITO CAMPOS', 'CAMPINAS ', 'SP'),"
            " (5, 'LOJA SANTISTA', 'Santos', 'SP'), (6, 'ARMAZÉM CENTRAL', ' campinas', 'SP'),"
            " (7, 'MERCEARIA SEM ENDEREÇO', NULL, NULL), (8, 'CASA DO OESTE', 'Santa Bárbara D''Oeste', 'SP'),"
            " (9, 'EMPÓRIO SÃO PEDRO', 'são paulo', 'SP');"));
        abrir();
    }

    // The customer codes a PDF lists (codes are the first word of a line).
    static QString clientesNoPdf(const QString &pdf)
    {
        QStringList codigos;
        for (const QString &linha : TextoPdf(pdf).split(u'\n')) {
            const QStringList palavras = linha.simplified().split(u' ');
            bool numero = false;
            if (palavras.size() > 1 && (palavras.first().toInt(&numero), numero))
                codigos << palavras.first();
        }
        return codigos.join(u',');
    }
};

struct CasoCidade {
    const char *digitado;
    ListaClientes lista;
    const char *filtro;
    const char *clientes;
};

class ListasDeClientes : public RelatoriosClientes, public ::testing::WithParamInterface<CasoCidade>
{
};

TEST_P(ListasDeClientes, ListaOsClientesDaCidadeDigitadaEDepoisTodos)
{
    const CasoCidade &c = GetParam();
    dialogos.entrada(QString::fromUtf8(c.digitado));

    RelatorioClientes(c.lista);

    const bool simples = c.lista == ListaClientes::Simples;
    const QString pdf = saida(simples ? QStringLiteral("todos-clientes-simples-") : QStringLiteral("todos-clientes-"));
    ASSERT_EQ(abertos(), QStringList{pdf});
    ASSERT_EQ(dialogos.registros().front().tipo, QStringLiteral("caixaEntrada"));
    EXPECT_EQ(dialogos.registros().front().titulo, QStringLiteral("Relatório por cidade"));
    EXPECT_EQ(dialogos.registros().front().texto, QStringLiteral("Digite a cidade:"));
    EXPECT_TRUE(dialogos.registros().front().padraoTexto.isEmpty());
    EXPECT_EQ(dialogos.clientesAoAbrir, QStringList{QString::fromUtf8(c.filtro)});
    EXPECT_EQ(clientesNoPdf(pdf), QString::fromUtf8(c.clientes));
    EXPECT_TRUE(dm->QyCliente.filtro().isEmpty());
    EXPECT_FALSE(dm->QyCliente.filtrado());
}

INSTANTIATE_TEST_SUITE_P(Relatorios, ListasDeClientes,
                         ::testing::Values(
                             // Letter case ignored beyond ASCII.
                             CasoCidade{"SÃO", ListaClientes::Simples, "Cidade LIKE 'SÃO%'", "1,3,9"},
                             CasoCidade{"camp", ListaClientes::Completa, "Cidade LIKE 'camp%'", "2,4"},
                             CasoCidade{"Santa Bárbara D'", ListaClientes::Simples, "Cidade LIKE 'Santa Bárbara D''%'",
                                        "8"},
                             // Cancel gives the empty default: every customer.
                             CasoCidade{"", ListaClientes::Completa, "", "1,2,3,4,5,6,7,8,9"}));

TEST_F(RelatoriosClientes, ListaSimplesMostraCidadeEContagem)
{
    dialogos.entrada(QStringLiteral("São"));
    RelatorioClientes(ListaClientes::Simples);
    const QString t = texto(saida(QStringLiteral("todos-clientes-simples-")));
    EXPECT_TRUE(t.contains(QStringLiteral("Cidades que começam com \"São\""))) << t.toStdString();
    EXPECT_TRUE(t.contains(QStringLiteral("3 BAZAR JOSEENSE SÃO JOSÉ / SC"))) << t.toStdString();
    EXPECT_TRUE(t.contains(QStringLiteral("Clientes listados 3"))) << t.toStdString();
}

TEST_F(RelatoriosClientes, PorCidadeJuntaAsGrafiasDeUmaCidadeComONomeDoPrimeiro)
{
    RelatorioClientesPorCidades();

    const QString pdf = saida(QStringLiteral("grupo-clientes-"));
    ASSERT_EQ(abertos(), QStringList{pdf});
    const QString t = texto(pdf);
    for (const char *linha :
         {"São Paulo 2 Campinas 3 SÃO JOSÉ 1 Santos 1 (sem cidade) 1 Santa Bárbara D'Oeste 1", "Total (6 cidades) 9"})
        EXPECT_TRUE(t.contains(QString::fromUtf8(linha))) << linha << "\n" << t.toStdString();
    EXPECT_FALSE(dm->cdsRelatGrupoClientes.ativo());
}

TEST_F(RelatoriosClientes, PorCidadeContaSoOsClientesQueOFiltroDeixa)
{
    dm->QyCliente.setFiltro(QStringLiteral("UF='SP'"));
    dm->QyCliente.setFiltrado(true);
    ASSERT_TRUE(dm->QyCliente.localizar(QStringLiteral("IdCliente"), QStringLiteral("5")));

    RelatorioClientesPorCidades();

    const QString t = texto(saida(QStringLiteral("grupo-clientes-")));
    EXPECT_TRUE(
        t.contains(QStringLiteral("São Paulo 2 Campinas 3 Santos 1 Santa Bárbara D'Oeste 1 Total (4 cidades) 7")))
        << t.toStdString();
    // What the user had stays.
    EXPECT_EQ(dm->QyCliente.filtro(), QStringLiteral("UF='SP'"));
    EXPECT_EQ(dm->QyCliente.campo(QStringLiteral("IdCliente")).texto(), QStringLiteral("5"));
}

TEST_F(RelatoriosClientes, ClienteEmEdicaoNaoDeixaGerarNemPergunta)
{
    dm->QyCliente.editar();
    RelatorioClientes(ListaClientes::Simples);
    RelatorioClientesPorCidades();
    EXPECT_TRUE(dialogos.registros().empty());
    EXPECT_FALSE(QFileInfo::exists(saida(QStringLiteral("grupo-clientes-"))));
    dm->QyCliente.cancelar();
}

} // namespace
