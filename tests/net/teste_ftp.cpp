#include "cliente_ftp.h"
#include "erro.h"
#include "servidor_ftp.h"
#include "servidor_smtp.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

class Ftp : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(servido.path()).mkpath(QStringLiteral("dados")));
        conteudo.resize(300 * 1024);
        QRandomGenerator gerador(16);
        for (char &c : conteudo)
            c = static_cast<char>(gerador.bounded(256)); // every byte value: a text-mode transfer would show
        QFile arquivo(servido.filePath(QStringLiteral("dados/central.db")));
        ASSERT_TRUE(arquivo.open(QIODevice::WriteOnly));
        arquivo.write(conteudo);
    }

    ClienteFtp::Configuracao configuracao(const ServidorFtp &servidor) const
    {
        return {.host = servidor.host(),
                .usuario = QStringLiteral("rep"),
                .senha = QStringLiteral("segredo"),
                .pasta = QStringLiteral("dados")};
    }
    QString destino() const { return local.filePath(QStringLiteral("central.db")); }

    QTemporaryDir servido;
    QTemporaryDir local;
    QByteArray conteudo;
};

TEST_F(Ftp, BaixaOArquivoInteiroEmBinarioComOAndamentoDosBytes)
{
    ServidorFtp servidor(servido.path(), QStringLiteral("rep"), QStringLiteral("segredo"));
    std::vector<qint64> andamento;
    ClienteFtp ftp(configuracao(servidor), [&](qint64 bytes) { andamento.push_back(bytes); });
    ftp.conectar();
    EXPECT_TRUE(ftp.conectado());
    EXPECT_EQ(ftp.tamanho(QStringLiteral("central.db")), conteudo.size());
    // An older copy is replaced, not appended to or resumed.
    QFile antigo(destino());
    ASSERT_TRUE(antigo.open(QIODevice::WriteOnly));
    antigo.write(QByteArray(1000, 'x'));
    antigo.close();
    andamento.clear();
    ftp.baixar(QStringLiteral("central.db"), destino());
    ftp.desconectar();

    QFile baixado(destino());
    ASSERT_TRUE(baixado.open(QIODevice::ReadOnly));
    EXPECT_TRUE(baixado.readAll() == conteudo);
    ASSERT_FALSE(andamento.empty());
    EXPECT_TRUE(std::is_sorted(andamento.begin(), andamento.end()));
    EXPECT_EQ(andamento.back(), conteudo.size());
}

TEST_F(Ftp, FalhasSaoErrosENaoDeixamArquivo)
{
    struct Caso {
        const char *nome;
        const char *senha;
        const char *pasta;
        const char *arquivo;
        qint64 cairApos;
    } const casos[] = {
        {"senha recusada", "errada", "dados", "central.db", 0},
        {"pasta ausente", "segredo", "outra", "central.db", 0},
        {"arquivo ausente", "segredo", "dados", "nada.db", 0},
        {"servidor cai no meio", "segredo", "dados", "central.db", 100 * 1024},
    };
    for (const Caso &caso : casos) {
        SCOPED_TRACE(caso.nome);
        ServidorFtp servidor(servido.path(), QStringLiteral("rep"), QStringLiteral("segredo"), caso.cairApos);
        ClienteFtp::Configuracao cfg = configuracao(servidor);
        cfg.senha = QString::fromUtf8(caso.senha);
        cfg.pasta = QString::fromUtf8(caso.pasta);
        ClienteFtp ftp(cfg, {});
        EXPECT_THROW(
            {
                ftp.conectar();
                ftp.baixar(QString::fromUtf8(caso.arquivo), destino());
            },
            Erro);
        EXPECT_FALSE(QFile::exists(destino()));
        EXPECT_TRUE(QDir(local.path()).entryList(QDir::Files | QDir::Hidden).isEmpty()) << "sem restos";
    }
}

TEST_F(Ftp, ServidorInalcancavelEErro)
{
    ClienteFtp::Configuracao cfg;
    cfg.host = QStringLiteral("127.0.0.1:%1").arg(portaLivre());
    ClienteFtp ftp(cfg, {});
    try {
        ftp.conectar();
        FAIL() << "conectou";
    } catch (const Erro &e) {
        EXPECT_TRUE(e.mensagem().startsWith(QStringLiteral("Não foi possível conectar ao servidor FTP"))) << e.what();
    }
    EXPECT_FALSE(ftp.conectado());
}

} // namespace
