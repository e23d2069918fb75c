#include "leitor_ini.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

class LeitorIni : public ::testing::Test
{
  protected:
    QString gravar(const QByteArray &conteudo)
    {
        const QString arquivo = m_dir.filePath(QStringLiteral("Mirvale.ini"));
        QFile f(arquivo);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(conteudo);
        return arquivo;
    }
    QTemporaryDir m_dir;
};

// Each value is the program's way to its database: it must come back as written.
TEST_F(LeitorIni, ValoresVoltamComoEscritos)
{
    const QString arquivo = gravar("; configuração\r\n"
                                   "[CONEXAO]\r\n"
                                   "PATH = C:\\Mirvale\\novo\\local.udl  \r\n"
                                   "RELATIVO=dados\\central.udl\r\n"
                                   "VIRGULA=dados,2024/local.udl\r\n"
                                   "PONTO_VIRGULA=dados;v2/local.udl\r\n"
                                   "ASPAS=\"C:\\com espaço\\x.udl\"\r\n"
                                   "COMENTADO=local.udl ; o banco do dia\r\n"
                                   "VAZIO=\r\n"
                                   "  RECUADO=recuado.udl\r\n"
                                   "REPETIDO=primeiro.udl\r\n"
                                   "repetido=segundo.udl\r\n"
                                   "[General]\r\n"
                                   "PATH=geral.udl\r\n"
                                   "[conexao]\r\n"
                                   "REPETIDO=terceiro.udl\r\n"
                                   "NOVA=fim.udl\r\n");
    const struct {
        const char *secao, *chave, *esperado;
    } casos[] = {
        {"CONEXAO", "PATH", "C:\\Mirvale\\novo\\local.udl"},
        {"conexao", "path", "C:\\Mirvale\\novo\\local.udl"},
        {"CONEXAO", "RELATIVO", "dados\\central.udl"},
        {"CONEXAO", "VIRGULA", "dados,2024/local.udl"},
        {"CONEXAO", "PONTO_VIRGULA", "dados;v2/local.udl"},
        {"CONEXAO", "ASPAS", "\"C:\\com espaço\\x.udl\""},
        {"CONEXAO", "COMENTADO", "local.udl"},
        {"CONEXAO", "VAZIO", ""},
        {"CONEXAO", "RECUADO", "recuado.udl"},
        {"CONEXAO", "REPETIDO", "primeiro.udl"},
        {"CONEXAO", "NOVA", "fim.udl"},
        {"General", "PATH", "geral.udl"},
        {"GENERAL", "path", "geral.udl"},
        {"CONEXAO", "X", ""},
        {"NADA", "PATH", ""},
    };
    for (const auto &c : casos)
        EXPECT_EQ(LerIni(QString::fromUtf8(c.secao), QString::fromUtf8(c.chave), arquivo),
                  QString::fromUtf8(c.esperado))
            << c.secao << "/" << c.chave;
}

TEST_F(LeitorIni, Utf8OuWindows1252)
{
    const QString esperado = QStringLiteral("C:\\Relatórios\\Ação.udl");
    const QByteArray emUtf8 = "[CONEXAO]\nPATH=" + esperado.toUtf8() + "\n";
    EXPECT_EQ(LerIni(QStringLiteral("CONEXAO"), QStringLiteral("PATH"), gravar(emUtf8)), esperado);
    EXPECT_EQ(LerIni(QStringLiteral("CONEXAO"), QStringLiteral("PATH"), gravar("\xEF\xBB\xBF" + emUtf8)), esperado);
    EXPECT_EQ(LerIni(QStringLiteral("CONEXAO"), QStringLiteral("PATH"),
                     gravar("[CONEXAO]\nPATH=C:\\Relat\xF3rios\\A\xE7\xE3o.udl\n")),
              esperado);
    // Section and key names in Windows-1252 match too.
    EXPECT_EQ(LerIni(QStringLiteral("CONEXÃO"), QStringLiteral("CAMINHO"), gravar("[CONEX\xC3O]\ncaminho=x.udl\n")),
              QStringLiteral("x.udl"));
}

TEST_F(LeitorIni, LinhaLongaDemaisNaoDaMeioCaminho)
{
    const QByteArray longo = "C:\\" + QByteArray(300, 'a') + "\\local.udl";
    const QString arquivo = gravar("[CONEXAO]\nPATH=" + longo + "\nPATH-BKP=central.udl\n");
    EXPECT_EQ(LerIni(QStringLiteral("CONEXAO"), QStringLiteral("PATH"), arquivo), QString());
    EXPECT_EQ(LerIni(QStringLiteral("CONEXAO"), QStringLiteral("PATH-BKP"), arquivo), QStringLiteral("central.udl"));
}

} // namespace
