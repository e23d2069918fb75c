#include "dialogos_roteiro.h"
#include "pasta_programa.h"
#include "servidor_smtp.h"
#include "udm.h"
#include "uprincipal.h"

#include <QLabel>
#include <QProgressBar>
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

} // namespace
