// The database update of 50 000 products and 20 000 customers, fetched from a
// real FTP server on 127.0.0.1, against the floor of the same work done with
// plain libraries: the file fetched with libcurl, checked with quick_check,
// the local database backed up with the online backup API and the rows copied
// with ATTACH + INSERT ... SELECT in one transaction (the copy alone is also
// shown), and the peak resident memory of the update against the central
// file's size. The first use of the products and customers afterwards, which
// reads them, is timed on its own.
//
// Then the same update read straight from a real PostgreSQL server on
// 127.0.0.1 holding the same rows, against the floor of those rows read with
// COPY ... TO STDOUT and inserted with one prepared statement in one
// transaction.
//
// Usage: bench_atualizacao [folder]   (a temporary folder by default)

#include "atualizacao.h"
#include "banco_bench.h"
#include "carga_central.h"
#include "dialogos.h"
#include "erro.h"
#include "esquema.h"
#include "servidor_central.h"
#include "servidor_postgres.h"
#include "udm.h"
#include "visao_progresso.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <curl/curl.h>
#include <sqlite3.h>

namespace
{

constexpr int kProdutos = 50000;
constexpr int kClientes = 20000;
constexpr int kRodadas = 5;

// Yes to the customers, No to the pending items; other boxes go to stderr.
class DialogosBench : public DialogosTerminal
{
  public:
    void mensagem(const QString &texto, const QString &titulo, Icone icone) override
    {
        if (texto != QStringLiteral("Atualização realizada com sucesso!"))
            DialogosTerminal::mensagem(texto, titulo, icone);
    }
    Resposta pergunta(const QString &texto, const QString &, Resposta) override
    {
        return texto.startsWith(QLatin1String("Deseja atualizar os clientes?")) ? Resposta::Sim : Resposta::Nao;
    }
};

class VisaoNula : public VisaoProgresso
{
  public:
    void mostrarProgresso(bool) override {}
    void definirTexto(const QString &) override {}
    void definirMaximo(qint64) override {}
    void definirPosicao(qint64) override {}
    void mostrarRepresentante() override {}
};

void executar(const QString &banco, const QString &sql)
{
    sqlite3 *db = nullptr;
    sqlite3_open(banco.toUtf8().constData(), &db);
    char *erro = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &erro) != SQLITE_OK)
        throw Erro(QStringLiteral("%1: %2").arg(QString::fromUtf8(erro), sql.left(200)));
    sqlite3_close(db);
}

// Central rows of a realistic width: descriptions, makers, prices, stock,
// addresses; one product in seven inactive.
void criarCentral(const QString &banco)
{
    Esquema::criarBancoCentral(banco);
    executar(banco,
             QStringLiteral(
                 "BEGIN;"
                 "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                 "INSERT INTO tbproduto (idProduto, CODIGO, PRODUTO, ESTOQUE, PRECOVENDA, CODFAB, grupo, "
                 "POSICAO, PRECOCUSTO, PRECOLISTA, FABRICANTE, srfil, inativo) "
                 "SELECT i, substr('00000' || i, -6), 'PRODUTO DE DEMONSTRAÇÃO NÚMERO ' || i || ' EMBALAGEM COM 12', "
                 "i % 500, (i % 9000) / 7.0, 'FAB-' || (i * 7919 % 100000), 'G' || (i % 40), "
                 "'PRATELEIRA ' || (i % 300), (i % 9000) / 9.0, (i % 9000) / 6.0, 'FABRICANTE ' || (i % 250), "
                 "'observação do produto ' || i, i % 7 = 0 FROM n;"
                 "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %2) "
                 "INSERT INTO tbcliente (IdCliente, Nome, \"End\", Tel, Bairro, Cidade, UF, CEP, Email, "
                 "cnpj, fantasia, regiao) "
                 "SELECT i, 'CLIENTE DE DEMONSTRAÇÃO ' || i || ' LTDA', 'RUA ' || (i % 900) || ', ' || i, "
                 "'(62) 3333-' || (1000 + i % 9000), 'BAIRRO ' || (i % 60), 'CIDADE ' || (i % 150), 'GO', "
                 "'74000-000', 'cliente' || i || '@example.com', '12.345.678/0001-' || (i % 100), "
                 "'FANTASIA ' || i, substr('0' || (i % 20), -2) FROM n;"
                 "INSERT INTO tbfuncionario (idfunc, Nome) VALUES (12, 'JOÃO SILVA'), (3, 'ANA');"
                 "COMMIT;")
                 .arg(kProdutos)
                 .arg(kClientes));
}

// The floor's download: the file fetched with libcurl into a plain file,
// driven by the multi interface (easy_perform pauses before each FTP data
// connection).
void baixarComCurl(const QString &url, const QString &destino)
{
    std::FILE *arquivo = std::fopen(destino.toUtf8().constData(), "wb");
    if (!arquivo)
        throw Erro(QStringLiteral("não foi possível criar %1").arg(destino));
    CURL *curl = curl_easy_init();
    const QByteArray endereco = url.toUtf8();
    curl_easy_setopt(curl, CURLOPT_URL, endereco.constData());
    curl_easy_setopt(curl, CURLOPT_USERPWD, "rep:senha");
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, arquivo);
    CURLM *multi = curl_multi_init();
    curl_multi_add_handle(multi, curl);
    int rodando = 1;
    while (rodando && curl_multi_perform(multi, &rodando) == CURLM_OK)
        if (rodando)
            curl_multi_poll(multi, nullptr, 0, 1000, nullptr);
    int restantes = 0;
    const CURLMsg *msg = curl_multi_info_read(multi, &restantes);
    const bool ok = msg && msg->msg == CURLMSG_DONE && msg->data.result == CURLE_OK;
    curl_multi_remove_handle(multi, curl);
    curl_multi_cleanup(multi);
    curl_easy_cleanup(curl);
    std::fclose(arquivo);
    if (!ok)
        throw Erro(QStringLiteral("o piso não baixou %1").arg(url));
}

// The floor's check of the downloaded file, as sound as the program's.
void conferirComQuickCheck(const QString &arquivo)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(arquivo.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA quick_check(1)", -1, &st, nullptr);
    const bool ok = sqlite3_step(st) == SQLITE_ROW &&
                    qstrcmp(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)), "ok") == 0;
    sqlite3_finalize(st);
    sqlite3_close(db);
    if (!ok)
        throw Erro(QStringLiteral("o piso baixou um arquivo que não é um banco íntegro"));
}

// The floor's backup of the local database: the online backup API.
void copiarComBackup(const QString &local, const QString &destino)
{
    sqlite3 *origem = nullptr, *copia = nullptr;
    sqlite3_open_v2(local.toUtf8().constData(), &origem, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_open_v2(destino.toUtf8().constData(), &copia, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    sqlite3_backup *b = sqlite3_backup_init(copia, "main", origem, "main");
    const int rc = b ? sqlite3_backup_step(b, -1) : SQLITE_ERROR;
    sqlite3_backup_finish(b);
    sqlite3_close(copia);
    sqlite3_close(origem);
    if (rc != SQLITE_DONE)
        throw Erro(QStringLiteral("o piso não copiou %1").arg(local));
}

// The floor of the copy alone: the same rows with the C API, no data sets.
void piso(const QString &local, const QString &central)
{
    executar(local, QStringLiteral("ATTACH DATABASE '%1' AS central; BEGIN;"
                                   "DELETE FROM tbproduto; INSERT INTO tbproduto SELECT * FROM central.tbproduto "
                                   "WHERE NOT coalesce(inativo, 0);"
                                   "DELETE FROM tbfuncionario; INSERT INTO tbfuncionario SELECT * FROM "
                                   "central.tbfuncionario ORDER BY idfunc LIMIT 1;"
                                   "DELETE FROM tbcliente; INSERT INTO tbcliente SELECT * FROM central.tbcliente;"
                                   "COMMIT; DETACH DATABASE central;")
                        .arg(central));
}

// The server's floor: COPY out, one prepared INSERT per table, one
// transaction, with the copy's filters.
void pisoServidor(const QString &local, ServidorCentral &servidor)
{
    sqlite3 *db = nullptr;
    sqlite3_open(local.toUtf8().constData(), &db);
    exec(db, "BEGIN; DELETE FROM tbproduto; DELETE FROM tbfuncionario; DELETE FROM tbcliente;");
    const struct {
        const char *tabela;
        const char *consulta;
    } tabelas[] = {
        {"tbproduto", "SELECT * FROM tbproduto WHERE NOT coalesce(inativo, false)"},
        {"tbfuncionario", "SELECT * FROM tbfuncionario ORDER BY idfunc LIMIT 1"},
        {"tbcliente", "SELECT * FROM tbcliente"},
    };
    for (const auto &t : tabelas) {
        sqlite3_stmt *st = nullptr;
        int colunas = 0;
        servidor.copiarLinhas(QString::fromLatin1(t.consulta), [&](const ServidorCentral::Parametros &campos) {
            if (!st) {
                colunas = static_cast<int>(campos.size());
                QString marcas = QStringLiteral("?");
                for (int i = 1; i < colunas; ++i)
                    marcas += QStringLiteral(",?");
                sqlite3_prepare_v2(db,
                                   QStringLiteral("INSERT INTO %1 VALUES (%2)")
                                       .arg(QLatin1String(t.tabela), marcas)
                                       .toUtf8()
                                       .constData(),
                                   -1, &st, nullptr);
            }
            for (int i = 0; i < colunas; ++i) {
                const auto &c = campos[static_cast<std::size_t>(i)];
                if (c)
                    sqlite3_bind_text(st, i + 1, c->constData(), static_cast<int>(c->size()), SQLITE_STATIC);
                else
                    sqlite3_bind_null(st, i + 1);
            }
            sqlite3_step(st);
            sqlite3_reset(st);
        });
        sqlite3_finalize(st);
    }
    exec(db, "COMMIT;");
    sqlite3_close(db);
}

// The update read from the server, three runs against the floor.
void medirServidor(const QDir &d, const QString &servido, const QString &base)
{
    ServidorPostgres pg;
    {
        ServidorCentral adm(pg.linkAdministrador());
        CarregarCentral(servido, adm);
    }
    const LinkServidor rep =
        pg.criarRepresentante(QStringLiteral("rep_999"), QStringLiteral("bench"), QStringLiteral("999"));
    const QString pasta = d.filePath(QStringLiteral("servidor/"));
    QDir().mkpath(pasta);
    escreverConfiguracao(pasta, true);
    ServidorPostgres::escreverLink(pasta + QStringLiteral("central.udl"), rep);
    const QString local = pasta + QStringLiteral("corlando.db");
    const QString copiaPiso = d.filePath(QStringLiteral("piso-servidor.db"));
    QDir::setCurrent(pasta);

    std::printf("a mesma atualização lida do servidor PostgreSQL em 127.0.0.1:%u\n", pg.porta());
    std::vector<double> ms, msPiso, cpu, cpuPiso;
    for (int vez = 1; vez <= 3; ++vez) {
        QFile::remove(local);
        QFile::remove(copiaPiso);
        QFile::copy(base, local);
        QFile::copy(base, copiaPiso);
        QDir(pasta + QStringLiteral("backup")).removeRecursively();
        {
            ServidorCentral servidor(rep);
            const double c0 = cpuMs();
            QElapsedTimer relogio;
            relogio.start();
            pisoServidor(copiaPiso, servidor);
            msPiso.push_back(relogio.nsecsElapsed() / 1e6);
            cpuPiso.push_back(cpuMs() - c0);
        }
        TDM dm(pasta);
        VisaoNula visao;
        const double c0 = cpuMs();
        QElapsedTimer relogio;
        relogio.start();
        LogicaAtualizacao(visao).executar();
        ms.push_back(relogio.nsecsElapsed() / 1e6);
        cpu.push_back(cpuMs() - c0);
        std::printf("  rodada %d: atualização %.0f ms (CPU %.0f ms), piso COPY + INSERT preparado %.0f ms (CPU %.0f "
                    "ms), razão %.2f\n",
                    vez, ms.back(), cpu.back(), msPiso.back(), cpuPiso.back(), ms.back() / msPiso.back());
    }
    std::printf("  mínimo: atualização %.0f ms, piso %.0f ms, razão %.2f; mediana: atualização %.0f ms (CPU %.0f ms), "
                "piso %.0f ms (CPU %.0f ms), razão %.2f\n",
                *std::min_element(ms.begin(), ms.end()), *std::min_element(msPiso.begin(), msPiso.end()),
                *std::min_element(ms.begin(), ms.end()) / *std::min_element(msPiso.begin(), msPiso.end()), mediana(ms),
                mediana(cpu), mediana(msPiso), mediana(cpuPiso), mediana(ms) / mediana(msPiso));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir temporaria;
    const QString pasta = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporaria.path();
    QDir().mkpath(pasta + QStringLiteral("/servido/atualizacao"));
    DialogosBench dialogos;
    Dialogos::definir(&dialogos);
    try {
        const QDir d(pasta);
        const QString servido = d.filePath(QStringLiteral("servido/atualizacao/central.db"));
        QFile::remove(servido);
        criarCentral(servido);
        const double mibCentral = QFileInfo(servido).size() / 1048576.0;

        // The local database starts with a full set of older rows.
        const QString base = d.filePath(QStringLiteral("base.db"));
        QFile::remove(base);
        Esquema::criarBancoLocal(base);
        executar(base, QStringLiteral("INSERT INTO tbconfiguracoes (cod_funcionario, ftp_usuario, ftp_senha, "
                                      "ftp_pasta, ftp_arquivo) VALUES ('999', 'rep', 'senha', 'atualizacao', "
                                      "'central.db')"));
        piso(base, servido);
        const QString local = d.filePath(QStringLiteral("corlando.db"));
        const QString copiaPiso = d.filePath(QStringLiteral("piso.db"));

        QProcess servidor;
        servidor.start(QStringLiteral("/usr/bin/python3"),
                       {QStringLiteral(SERVIDOR_FTP_PY), QStringLiteral("--pasta"),
                        d.filePath(QStringLiteral("servido")), QStringLiteral("--usuario"), QStringLiteral("rep"),
                        QStringLiteral("--senha"), QStringLiteral("senha")});
        if (!servidor.waitForReadyRead(20000))
            throw Erro(QStringLiteral("o servidor FTP não iniciou"));
        const QString porta = QString::fromUtf8(servidor.readLine().trimmed());

        escreverConfiguracao(d.path() + QLatin1Char('/'), true);
        QDir::setCurrent(pasta);

        std::printf("atualização de %d produtos e %d clientes (arquivo central de %.1f MiB); meta: até 1,5x o piso "
                    "em CPU\n",
                    kProdutos, kClientes, mibCentral);
        // The whole floor does what the update must do besides the copy:
        // fetch the file, check it, back up the local database.
        const QString baixadoPiso = d.filePath(QStringLiteral("piso-central.db"));
        const QString backupPiso = d.filePath(QStringLiteral("piso-backup.db"));
        auto pisoCompleto = [&] {
            QFile::remove(backupPiso);
            baixarComCurl(QStringLiteral("ftp://127.0.0.1:%1/atualizacao/central.db").arg(porta), baixadoPiso);
            conferirComQuickCheck(baixadoPiso);
            copiarComBackup(copiaPiso, backupPiso);
            piso(copiaPiso, baixadoPiso);
        };
        Amostras atualizacoes, pisos, pisosCopia, primeiroUso;
        double maiorPico = 0;
        for (int vez = 1; vez <= kRodadas; ++vez) {
            QFile::remove(local);
            QFile::remove(copiaPiso);
            QFile::copy(base, local);
            QFile::copy(base, copiaPiso);
            executar(local, QStringLiteral("UPDATE tbconfiguracoes SET ftp_host = '127.0.0.1:%1'").arg(porta));
            QDir(d.filePath(QStringLiteral("backup"))).removeRecursively();

            cronometrar(pisos, pisoCompleto);
            QFile::remove(copiaPiso);
            QFile::copy(base, copiaPiso);
            cronometrar(pisosCopia, [&] { piso(copiaPiso, servido); });
            TDM dm(pasta);
            VisaoNula visao;
            zerarPico();
            const double antes = residenteMB();
            cronometrar(atualizacoes, [&] { LogicaAtualizacao(visao).executar(); });
            cronometrar(primeiroUso, [&] {
                if (dm.QyProduto.quantidade() + dm.QyCliente.quantidade() != kProdutos - kProdutos / 7 + kClientes)
                    throw Erro(QStringLiteral("a atualização não trouxe as linhas esperadas"));
            });
            maiorPico = std::max(maiorPico, picoMB() - antes);
        }
        std::printf("  atualização:                 %s\n"
                    "  piso (download com libcurl, quick_check, backup do banco local, ATTACH + INSERT ... SELECT):\n"
                    "                               %s\n"
                    "  razão em CPU: %.2fx (mín. %.2fx)\n"
                    "  só a cópia (ATTACH + INSERT ... SELECT): %s; a atualização inteira = %.2fx em CPU\n"
                    "  primeiro uso dos produtos e clientes depois: %s\n"
                    "  pico de memória (atualização e primeiro uso): +%.1f MiB = %.2f x o arquivo central\n",
                    qPrintable(atualizacoes.texto()), qPrintable(pisos.texto()),
                    atualizacoes.cpuMediana() / pisos.cpuMediana(), atualizacoes.cpuMinimo() / pisos.cpuMinimo(),
                    qPrintable(pisosCopia.texto()), atualizacoes.cpuMediana() / pisosCopia.cpuMediana(),
                    qPrintable(primeiroUso.texto()), maiorPico, maiorPico / mibCentral);
        servidor.terminate();
        servidor.waitForFinished();
        medirServidor(d, servido, base);
    } catch (const Erro &e) {
        std::fprintf(stderr, "bench_atualizacao: %s\n", qPrintable(e.mensagem()));
        return 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_atualizacao: %s\n", e.what());
        return 1;
    }
    return 0;
}
