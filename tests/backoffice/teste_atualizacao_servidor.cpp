#include "atualizacao.h"
#include "atualizacao_teste.h"
#include "carga_central.h"
#include "dialogos_roteiro.h"
#include "erro.h"
#include "esquema.h"
#include "pasta_programa.h"
#include "servidor_central.h"
#include "servidor_ftp.h"
#include "servidor_postgres.h"
#include "servidor_smtp.h"
#include "udm.h"
#include "ufunc.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

#include <memory>

namespace
{

const QString kUsuarioFtp = QStringLiteral("rep12");
const QString kSenhaFtp = QStringLiteral("s3nha");
const QString kPerguntaClientes = QStringLiteral("Deseja atualizar os clientes?\nLembrando que essa opção irá apagar "
                                                 "os clientes que foram cadastrados no sistema local.");
const QString kFalha = QStringLiteral("Atualização não pode ser realizada. Motivo(s):\n"
                                      "Verifique se há conexão com a Internet;\n"
                                      "Verifique se o caminho do Banco de Dados está correto;\n"
                                      "Aguarde 5 minutos e tente novamente;\n\n"
                                      "Qualquer dúvida, entre em contato com Suporte Técnico.");

// The central file the FTP server hands out, with the values that a copy
// gets wrong first: text with tabs, line breaks, backslashes and accents,
// NULLs, money, binary fractions, Booleans as numbers, dates.
QString criarCentral(const QString &pasta, int produtosExtras)
{
    QDir(pasta).mkpath(QStringLiteral("atualizacao"));
    const QString banco = QDir(pasta).filePath(QStringLiteral("atualizacao/central.db"));
    Esquema::criarBancoCentral(banco);
    PastaProgramaTeste::executarEm(
        banco,
        QStringLiteral(
            "INSERT INTO tbproduto (idProduto, CODIGO, PRODUTO, ESTOQUE, PRECOVENDA, inativo) VALUES "
            "(10, 'P-10', 'PARAFUSO ' || char(9) || 'SEXTAVADO\\ 1/4', 100, 12.3456, 0), "
            "(11, 'P-11', 'FORA DE LINHA', 5, 1, 1), (12, 'P-12', 'ARRUELA' || char(10) || 'ÇÃO', 0.1, 0.5, NULL), "
            "(13, NULL, '', 1e-7, 100, 0);"
            "INSERT INTO tbfuncionario (idfunc, Nome, Cidade) VALUES (15, 'CARLA', 'São Paulo'), (7, 'ANA', NULL), "
            "(3, 'BRUNO', '');"
            "INSERT INTO tbcliente (IdCliente, Nome, Cidade, regiao, cadastro, credito) VALUES "
            "(1, 'A', 'X', '07', '2024-02-29 13:45:00', 1500.25), (2, 'B', 'Y', '15', NULL, 0), "
            "(3, 'C', 'Z', '7', '1999-12-31 00:00:00', NULL), (4, 'D''Ávila', 'W', '15', NULL, 3), "
            "(5, 'E', 'V', NULL, NULL, NULL);"
            "INSERT INTO tbforma (idforma) VALUES (1);"));
    if (produtosExtras > 0)
        PastaProgramaTeste::executarEm(
            banco, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1000 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                  "INSERT INTO tbproduto (idProduto, CODIGO, PRODUTO, ESTOQUE, PRECOVENDA, inativo) "
                                  "SELECT i, 'X-' || i, 'PRODUTO NÚMERO ' || i, i % 50, i / 100.0, i % 7 = 0 FROM n")
                       .arg(999 + produtosExtras));
    return banco;
}

void prepararLocal(const PastaProgramaTeste &pasta, const QString &ftp, const QString &codigo)
{
    QFile::remove(pasta.bancoCentral());
    pasta.executar(
        QStringLiteral(
            "INSERT INTO tbproduto (idProduto, CODIGO, PRODUTO, ESTOQUE) VALUES (1, 'LOC-1', 'PRODUTO LOCAL', 5);"
            "INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('%1', 'ANTIGO');"
            "INSERT INTO tbcliente (IdCliente, Nome, regiao) VALUES (900, 'CLIENTE LOCAL', '07');"
            "INSERT INTO tbconfiguracoes (cod_funcionario, ftp_host, ftp_usuario, ftp_senha, ftp_pasta, ftp_arquivo) "
            "VALUES ('%1', '%2', '%3', '%4', 'atualizacao', 'central.db');")
            .arg(codigo, ftp, kUsuarioFtp, kSenhaFtp));
}

// Every row and column of a local table, each value with its storage type.
QString tabela(const PastaProgramaTeste &pasta, const char *nome, const std::vector<DefCampo> &campos)
{
    QStringList valores;
    for (const DefCampo &c : campos)
        if (c.origem == Origem::Coluna)
            valores << QStringLiteral("typeof(\"%1\") || ':' || quote(\"%1\")").arg(QString::fromUtf8(c.nome));
    return pasta.consultar(QStringLiteral("SELECT group_concat(linha, char(10)) FROM (SELECT %1 AS linha FROM %2 "
                                          "ORDER BY rowid)")
                               .arg(valores.join(QStringLiteral(" || '|' || ")), QLatin1String(nome)));
}

QString estado(const PastaProgramaTeste &pasta)
{
    return tabela(pasta, "tbproduto", Esquema::produto()) + u'#' +
           tabela(pasta, "tbfuncionario", Esquema::funcionario()) + u'#' +
           tabela(pasta, "tbcliente", Esquema::cliente()) + u'#' +
           pasta.consultar(QStringLiteral("SELECT coalesce(ultima_atualizacao, 'nunca') FROM tbconfiguracoes"));
}

class NaPasta
{
  public:
    explicit NaPasta(const QString &pasta) : m_anterior(QDir::currentPath()) { QDir::setCurrent(pasta); }
    ~NaPasta() { QDir::setCurrent(m_anterior); }

  private:
    QString m_anterior;
};

class AtualizacaoServidor : public ::testing::Test
{
  protected:
    static void SetUpTestSuite() { s_pg = new ServidorPostgres; }
    static void TearDownTestSuite()
    {
        delete s_pg;
        s_pg = nullptr;
    }

    // The same central data in the file and on the server.
    void carregar(int produtosExtras = 0)
    {
        ASSERT_NE(s_pg, nullptr);
        s_pg->limpar();
        ServidorCentral adm(s_pg->linkAdministrador());
        CarregarCentral(criarCentral(servido.path(), produtosExtras), adm);
    }

    // A program folder whose central.udl names the server for `link`.
    void apontarServidor(const PastaProgramaTeste &pasta, const LinkServidor &link)
    {
        ServidorPostgres::escreverLink(pasta.arquivo(QStringLiteral("central.udl")), link);
    }

    static ServidorPostgres *s_pg;
    QTemporaryDir servido;
    DialogosRoteiro dialogos;
};

ServidorPostgres *AtualizacaoServidor::s_pg = nullptr;

TEST_F(AtualizacaoServidor, DaAsMesmasTabelasLocaisQueOArquivoPorFtp)
{
    carregar();
    ServidorFtp ftp(servido.path(), kUsuarioFtp, kSenhaFtp);
    const LinkServidor rep =
        s_pg->criarRepresentante(QStringLiteral("rep_7"), QStringLiteral("s3nh@ 7"), QStringLiteral("7"));
    struct Caso {
        const char *codigo;
        Resposta clientes;
    } const casos[] = {{"7", Resposta::Sim}, {"15", Resposta::Sim}, {"999", Resposta::Sim}, {"7", Resposta::Nao}};
    for (const Caso &caso : casos) {
        SCOPED_TRACE(std::string(caso.codigo) + (caso.clientes == Resposta::Sim ? " sim" : " não"));
        QString resultados[2];
        QStringList caixas[2];
        for (int viaServidor : {0, 1}) {
            PastaProgramaTeste pasta;
            prepararLocal(pasta, ftp.host(), QString::fromUtf8(caso.codigo));
            if (viaServidor)
                apontarServidor(pasta, rep);
            const NaPasta naPasta(pasta.caminho());
            TDM dm(pasta.caminho());
            dialogos.limpar();
            dialogos.responder(caso.clientes).responder(Resposta::Nao);
            VisaoRegistro visao;
            LogicaAtualizacao(visao).executar();
            caixas[viaServidor] = dialogos.textos();
            resultados[viaServidor] = estado(pasta).section(u'#', 0, 2);
            if (viaServidor) {
                EXPECT_NE(std::find(visao.maximos.begin(), visao.maximos.end(), 4), visao.maximos.end())
                    << "o indicador conta os produtos centrais";
                // then the customers copied: it ends full, never past its maximum
                EXPECT_EQ(visao.posicoes.back(), visao.maximos.back());
                EXPECT_EQ(visao.alemDoMaximo, 0);
                EXPECT_EQ(visao.visiveis, std::vector<bool>({true, false}));
                EXPECT_NE(estado(pasta).section(u'#', 3), QStringLiteral("nunca"));
                EXPECT_EQ(dm.QyProduto.quantidade(), 3);
            }
        }
        EXPECT_EQ(caixas[1], caixas[0]);
        EXPECT_EQ(resultados[1], resultados[0]);
        EXPECT_TRUE(resultados[1].contains(QStringLiteral("'PARAFUSO \tSEXTAVADO\\ 1/4'")));
    }
}

TEST_F(AtualizacaoServidor, FalhasNaoMudamNadaEDizemOMotivo)
{
    carregar(40000);
    const LinkServidor rep =
        s_pg->criarRepresentante(QStringLiteral("rep_15"), QStringLiteral("Pw-certa-91"), QStringLiteral("15"));
    LinkServidor recusado = rep;
    recusado.porta = QString::number(portaLivre());
    LinkServidor senhaErrada = rep;
    senhaErrada.arquivoSenha = servido.filePath(QStringLiteral("outra.pgpass"));
    QFile errada(senhaErrada.arquivoSenha);
    ASSERT_TRUE(errada.open(QIODevice::WriteOnly));
    errada.write(QStringLiteral("*:*:*:rep_15:Pw-errada-42\n").toUtf8());
    errada.close();
    errada.setPermissions(QFile::ReadOwner | QFile::WriteOwner);

    struct Caso {
        const char *nome;
        LinkServidor link;
        bool matar;
        const char *motivo;
    } const casos[] = {
        {"conexão recusada", recusado, false, "Connection refused"},
        {"senha errada", senhaErrada, false, "password authentication failed"},
        {"servidor morto no meio da cópia", rep, true, "foi interrompida"},
    };
    for (const Caso &caso : casos) {
        SCOPED_TRACE(caso.nome);
        PastaProgramaTeste pasta;
        prepararLocal(pasta, QStringLiteral("127.0.0.1:1"), QStringLiteral("15"));
        apontarServidor(pasta, caso.link);
        const QString antes = estado(pasta);
        const NaPasta naPasta(pasta.caminho());
        TDM dm(pasta.caminho());
        dialogos.limpar();
        VisaoRegistro visao;
        bool matou = false;
        if (caso.matar)
            visao.aoMover = [&] {
                if (matou || visao.posicoes.back() == 0)
                    return;
                matou = true;
                s_pg->matarProcesso(s_pg->consultar(QStringLiteral("SELECT pid FROM pg_stat_activity WHERE "
                                                                   "application_name = 'corlando'"))
                                        .toInt());
            };
        ExecutarProtegido([&visao] { LogicaAtualizacao(visao).executar(); });

        ASSERT_EQ(dialogos.registros().size(), 1u) << dialogos.textos().join(u'\n').toStdString();
        const QString caixa = dialogos.textos().first();
        EXPECT_TRUE(caixa.contains(QString::fromUtf8(caso.motivo))) << caixa.toStdString();
        EXPECT_FALSE(caixa.contains(QStringLiteral("Pw-certa-91")) || caixa.contains(QStringLiteral("Pw-errada-42")))
            << "a senha nunca aparece";
        if (caso.matar) {
            EXPECT_TRUE(matou);
            EXPECT_EQ(dialogos.registros()[0].icone, Icone::Erro);
        } else {
            EXPECT_TRUE(caixa.startsWith(kFalha));
            EXPECT_EQ(dialogos.registros()[0].titulo, QStringLiteral("Atualização do BD"));
        }
        EXPECT_EQ(estado(pasta), antes);
        EXPECT_EQ(dm.QyProduto.quantidade(), 1);
        ASSERT_FALSE(visao.visiveis.empty());
        EXPECT_FALSE(visao.visiveis.back());
        EXPECT_FALSE(LogicaAtualizacao::emAndamento());
    }
}

TEST_F(AtualizacaoServidor, TrazOStatusDosPedidosDoRepresentanteSoPeloServidor)
{
    carregar();
    const LinkServidor rep =
        s_pg->criarRepresentante(QStringLiteral("rep_7"), QStringLiteral("s3nh@ 7"), QStringLiteral("7"));
    s_pg->executar(QStringLiteral(
        "INSERT INTO tbpedido (representante, nr_pedido, tipo, status, dt_status) VALUES "
        "('7', 5, 'pedido', 'faturado', '2026-12-01 08:00:00'), ('7', 6, 'troca', 'recebido', '2026-12-02 09:30:00'), "
        "('15', 5, 'pedido', 'cancelado', '2026-12-03 10:00:00')"));
    ServidorFtp ftp(servido.path(), kUsuarioFtp, kSenhaFtp);
    for (int viaServidor : {1, 0}) {
        SCOPED_TRACE(viaServidor);
        PastaProgramaTeste pasta;
        prepararLocal(pasta, ftp.host(), QStringLiteral("7"));
        if (viaServidor)
            apontarServidor(pasta, rep);
        const NaPasta naPasta(pasta.caminho());
        TDM dm(pasta.caminho());
        dialogos.limpar();
        dialogos.responder(Resposta::Nao).responder(Resposta::Nao);
        VisaoRegistro visao;
        LogicaAtualizacao(visao).executar();
        if (viaServidor)
            EXPECT_EQ(
                pasta.consultar(QStringLiteral("SELECT group_concat(idfunc || '/' || nr_pedido || ' ' || status || "
                                               "' ' || dt_status, ', ') FROM tbpedido_status")),
                QStringLiteral("7/5 faturado 2026-12-01 08:00:00, 7/6 recebido 2026-12-02 09:30:00"));
        else
            EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = "
                                                     "'tbpedido_status'")),
                      QStringLiteral("0"));
    }
}

} // namespace
