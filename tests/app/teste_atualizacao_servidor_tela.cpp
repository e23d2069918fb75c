#include "carga_central.h"
#include "dialogos_roteiro.h"
#include "esquema.h"
#include "pasta_programa.h"
#include "servidor_central.h"
#include "servidor_postgres.h"
#include "udm.h"
#include "uprincipal.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace
{

// "Atualizar" clicked on the main window with central.udl naming a server:
// the local tables afterwards hold the server's rows.
TEST(AtualizarDoServidor, CliqueNoBotaoCopiaDoServidorParaOBancoLocal)
{
    ServidorPostgres pg;
    QTemporaryDir dir;
    const QString central = dir.filePath(QStringLiteral("central.db"));
    Esquema::criarBancoCentral(central);
    PastaProgramaTeste::executarEm(
        central,
        QStringLiteral("INSERT INTO tbproduto (idProduto, CODIGO, PRODUTO, inativo) VALUES "
                       "(10, 'P-10', 'PARAFUSO', 0), (11, 'P-11', 'FORA DE LINHA', 1);"
                       "INSERT INTO tbfuncionario (idfunc, Nome) VALUES (12, 'JOÃO SILVA');"
                       "INSERT INTO tbcliente (IdCliente, Nome, regiao) VALUES (1, 'A', '12'), (2, 'B', '07');"));
    {
        ServidorCentral adm(pg.linkAdministrador());
        CarregarCentral(central, adm);
    }
    pg.executar(QStringLiteral("INSERT INTO tbpedido (representante, nr_pedido, tipo, status) VALUES "
                               "('12', 3, 'pedido', 'entregue')"));

    DialogosRoteiro dialogos;
    PastaProgramaTeste pasta;
    pasta.executar(QStringLiteral("INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('12', 'ANTIGO');"
                                  "INSERT INTO tbproduto (idProduto, CODIGO) VALUES (1, 'LOCAL');"
                                  "INSERT INTO tbconfiguracoes (cod_funcionario) VALUES ('12')"));
    ServidorPostgres::escreverLink(
        pasta.arquivo(QStringLiteral("central.udl")),
        pg.criarRepresentante(QStringLiteral("rep_12"), QStringLiteral("doze"), QStringLiteral("12")));
    TDM dm(pasta.caminho());
    TfrmPrincipal janela;
    janela.show();
    dialogos.responder(Resposta::Sim).responder(Resposta::Nao);

    QTest::mouseClick(janela.findChild<QToolButton *>(QStringLiteral("BtnAtualizar")), Qt::LeftButton);

    EXPECT_EQ(dialogos.textos().size(), 3) << dialogos.textos().join(u'\n').toStdString();
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT group_concat(CODIGO) FROM tbproduto")), QStringLiteral("P-10"));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT idfunc || ' ' || Nome FROM tbfuncionario")),
              QStringLiteral("12 JOÃO SILVA"));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT group_concat(Nome) FROM tbcliente")), QStringLiteral("A"));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT nr_pedido || ' ' || status FROM tbpedido_status")),
              QStringLiteral("3 entregue"));
    EXPECT_TRUE(janela.findChild<QWidget *>(QStringLiteral("pbAtualizacao"))->isHidden());
}

} // namespace
