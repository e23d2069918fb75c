#include "dialogos_roteiro.h"
#include "esquema.h"
#include "pasta_programa.h"
#include "servidor_ftp.h"
#include "servidor_smtp.h"
#include "udm.h"
#include "uprincipal.h"

#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace
{

// Notes whether the button panel took clicks each time the update let the
// window breathe.
class DialogosObservados : public DialogosRoteiro
{
  public:
    void processarEventos() override
    {
        if (painel)
            painelAtivo.push_back(painel->isEnabled());
    }
    QWidget *painel = nullptr;
    std::vector<bool> painelAtivo;
};

TEST(BotoesDaAtualizacao, AtualizarTravaOsBotoesEChecarPendenciaRoda)
{
    DialogosObservados dialogos;
    PastaProgramaTeste pasta;
    // A port nobody listens on: the FTP stage fails at once.
    const quint16 porta = portaLivre();
    pasta.executar(QStringLiteral("INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('12', 'JOÃO SILVA');"
                                  "INSERT INTO tbconfiguracoes (cod_funcionario, ftp_host, ftp_arquivo) VALUES "
                                  "('12', '127.0.0.1:%1', 'nada.db')")
                       .arg(porta));
    TDM dm(pasta.caminho());
    TfrmPrincipal janela;
    dialogos.painel = janela.findChild<QWidget *>(QStringLiteral("painelBotoes"));

    janela.findChild<QToolButton *>(QStringLiteral("BtnAtualizar"))->click();
    const QStringList textos = dialogos.textos();
    ASSERT_EQ(textos.size(), 1);
    EXPECT_TRUE(textos[0].startsWith(QStringLiteral("Houve um problema na atualização dos dados.")));
    ASSERT_FALSE(dialogos.painelAtivo.empty());
    EXPECT_EQ(std::count(dialogos.painelAtivo.begin(), dialogos.painelAtivo.end(), true), 0);
    EXPECT_TRUE(dialogos.painel->isEnabled());
    for (const char *nome : {"lblAguarde", "pbAtualizacao", "lblAtualizandoBD"})
        EXPECT_TRUE(janela.findChild<QWidget *>(QString::fromLatin1(nome))->isHidden()) << nome;
    EXPECT_EQ(janela.findChild<QLabel *>(QStringLiteral("lblAtualizandoBD"))->text(),
              QStringLiteral("Fazendo Download das atualizações"));

    dialogos.limpar();
    janela.findChild<QToolButton *>(QStringLiteral("BtnChecarPendencia"))->click();
    EXPECT_EQ(dialogos.textos(), QStringList{QStringLiteral("Não há item(ns) pendentes!")});
}

// The program started from another folder, as a desktop launcher does: a
// click on "Atualizar" loads the products the FTP server serves, not those
// of a central database lying in the program folder, and leaves the working
// folder alone.
TEST(BotoesDaAtualizacao, AtualizarDeOutraPastaCarregaOArquivoDoServidor)
{
    QTemporaryDir servido;
    QDir(servido.path()).mkpath(QStringLiteral("atualizacao"));
    const QString central = QDir(servido.path()).filePath(QStringLiteral("atualizacao/central.db"));
    Esquema::criarBancoCentral(central);
    PastaProgramaTeste::executarEm(
        central, QStringLiteral("INSERT INTO tbproduto (idProduto, CODIGO, PRODUTO, inativo) VALUES "
                                "(10, 'DO-SERVIDOR', 'PRODUTO SERVIDO', 0);"
                                "INSERT INTO tbfuncionario (idfunc, Nome) VALUES (12, 'JOÃO SILVA');"));
    ServidorFtp servidor(servido.path(), QStringLiteral("rep12"), QStringLiteral("s3nha"));

    PastaProgramaTeste pasta;
    pasta.executarCentral(QStringLiteral("INSERT INTO tbproduto (idProduto, CODIGO, PRODUTO, inativo) VALUES "
                                         "(99, 'VELHO', 'PRODUTO VELHO', 0)"));
    pasta.executar(QStringLiteral("INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('12', 'JOÃO SILVA');"
                                  "INSERT INTO tbproduto (idProduto, CODIGO, PRODUTO) VALUES (1, 'LOCAL', 'LOCAL');"
                                  "INSERT INTO tbconfiguracoes (cod_funcionario, ftp_host, ftp_usuario, ftp_senha, "
                                  "ftp_pasta, ftp_arquivo) VALUES ('12', '%1', 'rep12', 's3nha', 'atualizacao', "
                                  "'central.db')")
                       .arg(servidor.host()));
    QTemporaryDir alheia;
    const QString anterior = QDir::currentPath();
    QDir::setCurrent(alheia.path());

    DialogosRoteiro dialogos;
    dialogos.responder(Resposta::Nao).responder(Resposta::Nao);
    TfrmPrincipal janela;
    TDM dm(pasta.caminho());
    janela.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&janela));
    QTest::mouseClick(janela.findChild<QToolButton *>(QStringLiteral("BtnAtualizar")), Qt::LeftButton);
    QDir::setCurrent(anterior);

    EXPECT_EQ(dialogos.textos(),
              QStringList({QStringLiteral("Deseja atualizar os clientes?\nLembrando que essa opção irá apagar os "
                                          "clientes que foram cadastrados no sistema local."),
                           QStringLiteral("Atualização realizada com sucesso!"),
                           QStringLiteral("Deseja verificar os item(ns) pendentes no estoque?")}));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT group_concat(CODIGO) FROM tbproduto")),
              QStringLiteral("DO-SERVIDOR"));
    EXPECT_FALSE(pasta.consultar(QStringLiteral("SELECT ultima_atualizacao FROM tbconfiguracoes")).isEmpty());
    EXPECT_FALSE(QFile::exists(pasta.bancoCentral())) << "a cópia baixada é apagada";
    EXPECT_TRUE(QDir(alheia.path()).isEmpty());
}

} // namespace
