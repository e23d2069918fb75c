#include "configuracao.h"
#include "dialogos_roteiro.h"
#include "pasta_programa.h"
#include "preferencias.h"
#include "situacao_cliente.h"
#include "udm.h"

#include <gtest/gtest.h>

namespace
{

const QString kSenha = QString::fromLatin1(kCodigoAcessoConfiguracao);

class Configuracao : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        pasta.executar(QStringLiteral("INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('12', 'JOÃO SILVA')"));
        pasta.executar(QStringLiteral("INSERT INTO tbconfiguracoes (cod_funcionario, email_host, email_usuario, "
                                      "email_senha, email_para, email_para2, email_para3, email_de, "
                                      "pendencia_central, ftp_host) VALUES ('12', 'smtp.a', 'u', 's', 'c1', "
                                      "'c2', 'c3', 'de', 'pend', 'ftp.a')"));
        dm = std::make_unique<TDM>(pasta.caminho());
    }
    QString cfg(const char *coluna) const
    {
        return pasta.consultar(QStringLiteral("SELECT %1 FROM tbconfiguracoes").arg(QString::fromLatin1(coluna)));
    }
    QString funcionarios() const { return pasta.consultar(QStringLiteral("SELECT count(*) FROM tbfuncionario")); }

    DialogosRoteiro dialogos;
    PastaProgramaTeste pasta;
    std::unique_ptr<TDM> dm;
};

TEST_F(Configuracao, CodigoDeAcessoErradoOuMinusculoEncerraSemPerguntar)
{
    for (const QString &codigo : {QStringLiteral("XX"), kSenha.toLower()}) {
        dialogos.confirmarTexto(codigo);
        ExecutarConfiguracao();
    }
    dialogos.cancelarTexto();
    ExecutarConfiguracao();
    EXPECT_TRUE(dialogos.textos(QStringLiteral("pergunta")).isEmpty());
    ASSERT_EQ(dialogos.registros().size(), 3u);
    EXPECT_TRUE(dialogos.registros()[0].mascarado);
    EXPECT_EQ(dialogos.registros()[0].titulo, QStringLiteral("Config"));
}

TEST_F(Configuracao, CodigoDoFuncionario)
{
    // "0" changes nothing; a cancelled prompt changes nothing either.
    dialogos.confirmarTexto(kSenha).responder(Resposta::Sim).confirmarTexto(QStringLiteral("0"));
    dialogos.responder(Resposta::Nao).responder(Resposta::Nao).responder(Resposta::Nao).responder(Resposta::Nao);
    ExecutarConfiguracao();
    dialogos.confirmarTexto(kSenha).responder(Resposta::Sim).cancelarTexto();
    dialogos.responder(Resposta::Nao).responder(Resposta::Nao).responder(Resposta::Nao).responder(Resposta::Nao);
    ExecutarConfiguracao();
    EXPECT_EQ(cfg("cod_funcionario"), QStringLiteral("12"));
    EXPECT_EQ(funcionarios(), QStringLiteral("1"));

    dialogos.confirmarTexto(kSenha).responder(Resposta::Sim).confirmarTexto(QStringLiteral("15"));
    dialogos.responder(Resposta::Nao).responder(Resposta::Nao).responder(Resposta::Nao).responder(Resposta::Nao);
    ExecutarConfiguracao();
    EXPECT_EQ(cfg("cod_funcionario"), QStringLiteral("15"));
    EXPECT_EQ(funcionarios(), QStringLiteral("0"));
    EXPECT_TRUE(dialogos.roteiroEsgotado());
}

TEST_F(Configuracao, GrupoDeEmailConfirmadoSemMudarMantemOsValores)
{
    dialogos.confirmarTexto(kSenha).responder(Resposta::Nao).responder(Resposta::Sim);
    for (const char *v : {"smtp.a", "u", "s", "c1", "c2", "c3", "de"})
        dialogos.confirmarTexto(QString::fromUtf8(v));
    dialogos.confirmarTexto(QStringLiteral("nova@central"));
    dialogos.responder(Resposta::Nao).responder(Resposta::Nao).responder(Resposta::Nao);
    ExecutarConfiguracao();
    EXPECT_EQ(cfg("email_host"), QStringLiteral("smtp.a"));
    EXPECT_EQ(cfg("pendencia_central"), QStringLiteral("nova@central"));
    const auto prompts = dialogos.textos(QStringLiteral("caixaTexto"));
    ASSERT_EQ(prompts.size(), 9);
    EXPECT_EQ(prompts[1], QStringLiteral("Digite o host do e-mail: "));
    EXPECT_EQ(dialogos.registros()[3].padraoTexto, QStringLiteral("smtp.a"));
    EXPECT_EQ(dialogos.textos(QStringLiteral("pergunta")),
              (QStringList{QStringLiteral("Deseja mudar as configurações do representante?"),
                           QStringLiteral("Deseja mudar as configurações para o envio de e-mail?"),
                           QStringLiteral("Deseja mudar as configurações para o envio de atualização do FTP?"),
                           QStringLiteral("Deseja mudar a preferência do teclado?"),
                           QStringLiteral("Deseja mudar o limite do atraso médio dos clientes?")}));
}

TEST_F(Configuracao, SemLinhaDeConfiguracaoOGrupoFtpCriaALinha)
{
    dm.reset();
    pasta.executar(QStringLiteral("DELETE FROM tbconfiguracoes"));
    dm = std::make_unique<TDM>(pasta.caminho());
    dialogos.confirmarTexto(kSenha).responder(Resposta::Nao).responder(Resposta::Nao).responder(Resposta::Sim);
    for (const char *v : {"ftp.b", "user", "pw", "/dados", "central.db"})
        dialogos.confirmarTexto(QString::fromUtf8(v));
    dialogos.responder(Resposta::Nao).responder(Resposta::Nao);
    ExecutarConfiguracao();
    EXPECT_EQ(cfg("ftp_host"), QStringLiteral("ftp.b"));
    EXPECT_EQ(cfg("ftp_arquivo"), QStringLiteral("central.db"));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT count(*) FROM tbconfiguracoes")), QStringLiteral("1"));
}

// Enter from box to box is turned off and on again; the question offers the
// current choice as its default.
TEST_F(Configuracao, PreferenciaDoTeclado)
{
    DefinirEnterAvancaCaixa(true);
    for (const Resposta r : {Resposta::Nao, Resposta::Sim}) {
        const bool antes = EnterAvancaCaixa();
        dialogos.confirmarTexto(kSenha).responder(Resposta::Nao).responder(Resposta::Nao).responder(Resposta::Nao);
        dialogos.responder(Resposta::Sim).responder(r).responder(Resposta::Nao);
        ExecutarConfiguracao();
        const auto &teclado = dialogos.registros()[dialogos.registros().size() - 2];
        EXPECT_EQ(teclado.texto, QStringLiteral("Ao teclar Enter, passar para a próxima caixa (como o Tab)?"));
        EXPECT_EQ(teclado.padrao, antes ? Resposta::Sim : Resposta::Nao);
        EXPECT_EQ(EnterAvancaCaixa(), r == Resposta::Sim);
    }
    EXPECT_EQ(cfg("cod_funcionario"), QStringLiteral("12")); // the settings row untouched
}

// The delay limit: 30 days until set; a text that is not a number of days
// is refused and changes nothing.
TEST_F(Configuracao, LimiteDoAtrasoMedio)
{
    const auto mudar = [this](const QString &texto) {
        dialogos.confirmarTexto(kSenha).responder(Resposta::Nao).responder(Resposta::Nao).responder(Resposta::Nao);
        dialogos.responder(Resposta::Nao).responder(Resposta::Sim).confirmarTexto(texto);
        ExecutarConfiguracao();
        return dialogos.registros().back();
    };
    EXPECT_EQ(mudar(QStringLiteral("45")).padraoTexto, QStringLiteral("30"));
    EXPECT_EQ(cfg("limite_atraso"), QStringLiteral("45"));
    EXPECT_EQ(mudar(QStringLiteral("trinta")).texto,
              QStringLiteral("O limite do atraso médio deve ser um número inteiro de dias."));
    EXPECT_EQ(mudar(QStringLiteral("-1")).icone, Icone::Erro);
    EXPECT_EQ(cfg("limite_atraso"), QStringLiteral("45"));
    EXPECT_EQ(mudar(QStringLiteral("60")).padraoTexto, QStringLiteral("45"));
    EXPECT_EQ(LimiteAtraso(dm->QyConfiguracoes), 60);
    EXPECT_TRUE(dialogos.roteiroEsgotado());
}

} // namespace
