#include "dialogos_roteiro.h"
#include "ufunc.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

TEST(UFunc, RemoverCaracter)
{
    EXPECT_EQ(RemoverCaracter(QLatin1Char('.'), QStringLiteral("1..234.5")), QStringLiteral("12345"));
    EXPECT_EQ(RemoverCaracter(QLatin1Char('.'), QString()), QString());
    EXPECT_EQ(RemoverCaracter(QLatin1Char('/'), QStringLiteral("12.345.678/0001-90")),
              QStringLiteral("12.345.6780001-90"));
}

TEST(UFunc, CompletarTexto)
{
    struct Caso {
        const char *texto, *fill;
        int largura;
        const char *lado, *esperado;
    } casos[] = {
        {"12", "0", 5, "D", "00012"}, {"12", "0", 5, "E", "12000"}, {"123456", "0", 3, "D", "123456"},
        {"abc", " ", 3, "E", "abc"},  {"", " ", 2, "E", "  "},      {"ção", "0", 4, "D", "0ção"},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(
            CompletarTexto(QString::fromUtf8(c.texto), QString::fromUtf8(c.fill), c.largura, QString::fromUtf8(c.lado)),
            QString::fromUtf8(c.esperado));
}

TEST(UFunc, LerIni)
{
    QTemporaryDir dir;
    const QString arquivo = dir.filePath(QStringLiteral("Mirvale.ini"));
    QFile f(arquivo);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[CONEXAO]\nPATH=local.udl\nPATH-BKP=central, copia.udl\n[Outra]\nX=1\n");
    f.close();

    EXPECT_EQ(LerIni(QStringLiteral("conexao"), QStringLiteral("path"), arquivo), QStringLiteral("local.udl"));
    EXPECT_EQ(LerIni(QStringLiteral("CONEXAO"), QStringLiteral("PATH-BKP"), arquivo),
              QStringLiteral("central, copia.udl"));
    EXPECT_EQ(LerIni(QStringLiteral("CONEXAO"), QStringLiteral("X"), arquivo), QString());
    EXPECT_EQ(LerIni(QStringLiteral("NADA"), QStringLiteral("PATH"), arquivo), QString());
    EXPECT_EQ(LerIni(QStringLiteral("CONEXAO"), QStringLiteral("PATH"), dir.filePath(QStringLiteral("nao.ini"))),
              QString());
    f.setPermissions(QFileDevice::Permissions());
    if (!QFileInfo(arquivo).isReadable()) { // root reads anything
        EXPECT_EQ(LerIni(QStringLiteral("CONEXAO"), QStringLiteral("PATH"), arquivo), QString());
    }
}

TEST(UFunc, VersaoSistemaVemDoBuild)
{
    const auto v = VersaoArquivo();
    EXPECT_EQ(VersaoSistema(), QStringLiteral("%1.%2.%3 (Build %4)").arg(v[0]).arg(v[1]).arg(v[2]).arg(v[3]));
    EXPECT_EQ(VersaoSistema(), QStringLiteral("2.0.0 (Build 15)"));
}

TEST(UFunc, MensagensPassamPelaInterfaceDeDialogos)
{
    DialogosRoteiro d;
    d.responder(Resposta::Sim);
    MsgInformacao(QStringLiteral("Linha 1\nLinha 2"), QStringLiteral("Atenção"));
    MsgErro(QStringLiteral("Falhou"), QStringLiteral("Erro"));
    EXPECT_EQ(MsgPergunta(QStringLiteral("Sair?"), QStringLiteral("Atenção")), Resposta::Sim);
    ASSERT_EQ(d.registros().size(), 3u);
    EXPECT_EQ(d.registros()[0].icone, Icone::Informacao);
    EXPECT_EQ(d.registros()[1].icone, Icone::Erro);
    EXPECT_EQ(d.registros()[2].padrao, Resposta::Nao);
    EXPECT_EQ(d.textos(),
              (QStringList{QStringLiteral("Linha 1\nLinha 2"), QStringLiteral("Falhou"), QStringLiteral("Sair?")}));
}

} // namespace
