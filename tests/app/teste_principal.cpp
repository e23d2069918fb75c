#include "dialogos_roteiro.h"
#include "logica_principal.h"
#include "pasta_programa.h"
#include "udm.h"
#include "uprincipal.h"

#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

namespace
{

TEST(Principal, LinhaDoRepresentante)
{
    struct Caso {
        const char *codigoConfig;
        const char *esperado;
    } casos[] = {{"999", "999 - Supervisor geral"}, {"12", "Representante: 12 - JOÃO SILVA"}};
    for (const Caso &c : casos) {
        DialogosRoteiro dialogos;
        PastaProgramaTeste pasta;
        pasta.executar(QStringLiteral("INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('12', 'JOÃO SILVA')"));
        pasta.executar(QStringLiteral("INSERT INTO tbconfiguracoes (cod_funcionario) VALUES ('%1')")
                           .arg(QString::fromLatin1(c.codigoConfig)));
        TDM dm(pasta.caminho());
        EXPECT_EQ(LogicaPrincipal::textoRepresentante(), QString::fromUtf8(c.esperado));
        EXPECT_FALSE(LogicaPrincipal::precisaConfigurar());
    }
}

TEST(Principal, SaidaAcessoRemotoEInstalacaoNova)
{
    DialogosRoteiro dialogos;
    PastaProgramaTeste pasta;
    TDM dm(pasta.caminho());
    EXPECT_TRUE(LogicaPrincipal::precisaConfigurar());

    dialogos.responder(Resposta::Nao).responder(Resposta::Sim);
    EXPECT_FALSE(LogicaPrincipal::confirmarSaida());
    EXPECT_TRUE(LogicaPrincipal::confirmarSaida());
    EXPECT_EQ(dialogos.registros()[0].texto, QStringLiteral("Deseja realmente sair do sistema?"));
    EXPECT_EQ(dialogos.registros()[0].padrao, Resposta::Sim);

    LogicaPrincipal::acessoRemoto();
    EXPECT_EQ(dialogos.registros().back().texto, QStringLiteral("Arquivo não encontrado (remoto.exe) !!"));
    EXPECT_EQ(dialogos.registros().back().icone, Icone::Erro);
    pasta.escrever(QStringLiteral("remoto.exe"), QStringLiteral("x"));
    LogicaPrincipal::acessoRemoto();
    EXPECT_EQ(dialogos.registros().back().tipo, QStringLiteral("iniciar"));
    EXPECT_EQ(dialogos.registros().back().texto, pasta.arquivo(QStringLiteral("remoto.exe")));

    EXPECT_EQ(LogicaPrincipal::tituloComVersao(),
              QStringLiteral("Corlando - Tela Principal - Versão: 2.0.0 (Build 15)"));
}

// A prompt that notes whether the main window was already on screen.
class DialogosQueOlhamAJanela : public DialogosRoteiro
{
  public:
    RespostaTexto caixaTexto(const QString &titulo, const QString &rotulo, const QString &padrao,
                             bool mascarado) override
    {
        janelaVisivel = janela && janela->windowHandle() && janela->windowHandle()->isExposed();
        return DialogosRoteiro::caixaTexto(titulo, rotulo, padrao, mascarado);
    }
    QWidget *janela = nullptr;
    bool janelaVisivel = false;
};

// A new installation (no employee row) opens the configuration by itself, once
// the main window is on screen.
TEST(Principal, InstalacaoNovaConfiguraDepoisDeMostrarAJanela)
{
    DialogosQueOlhamAJanela dialogos;
    PastaProgramaTeste pasta;
    TfrmPrincipal principal;
    TDM dm(pasta.caminho());
    dialogos.janela = &principal;
    dialogos.cancelarTexto();
    principal.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&principal));
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialogos.roteiroEsgotado(); }));
    ASSERT_EQ(dialogos.textos(QStringLiteral("caixaTexto")), QStringList{"Digite a senha: "});
    EXPECT_TRUE(dialogos.janelaVisivel);
}

// The program's start paints the main window before it reads the large data
// sets, and reads them right after, with no message.
TEST(Principal, PartidaPintaAJanelaAntesDeLerOsDados)
{
    DialogosRoteiro dialogos;
    PastaProgramaTeste pasta;
    pasta.executar(QStringLiteral("INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('12', 'JOÃO SILVA');"
                                  "INSERT INTO tbconfiguracoes (cod_funcionario) VALUES ('12');"
                                  "INSERT INTO tbproduto (idProduto, CODIGO, PRODUTO) VALUES (1, 'P1', 'Parafuso');"
                                  "INSERT INTO tbpedido (nr_pedido, idFunc, vl_total_item) VALUES (7, '12', 1)"));
    TfrmPrincipal principal;
    TDM dm(pasta.caminho(), nullptr, TDM::Abertura::PrincipalPrimeiro);
    struct Pintura : QObject {
        QWidget *janela = nullptr;
        int pintadaComPendentes = -1;
        bool eventFilter(QObject *o, QEvent *e) override
        {
            if (o == janela && e->type() == QEvent::Paint && pintadaComPendentes < 0)
                pintadaComPendentes = DM->HaPendentes() ? 1 : 0;
            return false;
        }
    } pintura;
    pintura.janela = &principal;
    qApp->installEventFilter(&pintura);
    principal.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return pintura.pintadaComPendentes >= 0 && !dm.HaPendentes(); }));
    qApp->removeEventFilter(&pintura);
    EXPECT_EQ(pintura.pintadaComPendentes, 1);
    EXPECT_TRUE(dialogos.registros().empty()) << dialogos.textos().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(dm.QyProduto.quantidade(), 1);
    EXPECT_EQ(dm.QyPedido.campo(QStringLiteral("nr_pedido")).texto(), QStringLiteral("7"));
}

} // namespace
