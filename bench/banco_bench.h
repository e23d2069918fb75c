#pragma once

// What the benchmarks share: a large local database built from a fixed seed,
// a terminal for the program's messages, timing and memory figures.

#include "dialogos.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <sqlite3.h>
#include <utility>
#include <vector>

// The sizes of the database: a large installation by default.
struct Tamanhos {
    int produtos = 50000;
    int clientes = 20000;
    int pedidos = 10000;
    int itensPorPedido = 10;
};

// Sizes from "--produtos N", "--clientes N", "--pedidos N" among the
// arguments; a plain argument is the folder, left in `pasta`.
Tamanhos lerTamanhos(const QStringList &argumentos, QString &pasta);

// Messages would need a window; here they go to the terminal, and every
// question takes its default answer.
class DialogosTerminal : public Dialogos
{
  public:
    void mensagem(const QString &texto, const QString &, Icone) override;
    Resposta pergunta(const QString &, const QString &, Resposta padrao) override { return padrao; }
    RespostaTexto caixaTexto(const QString &, const QString &, const QString &, bool) override { return {}; }
    void pesquisar(LogicaPesquisa &) override {}
    QString caixaEntrada(const QString &, const QString &, const QString &padrao) override { return padrao; }
    void abrirArquivo(const QString &) override {}
    void iniciarPrograma(const QString &) override {}
    void processarEventos() override {}
    void tabela(const TabelaDialogo &) override {}
};

// A fixed-seed generator, so every run builds the same database.
class Aleatorio
{
  public:
    std::uint32_t proximo()
    {
        m_estado = m_estado * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>(m_estado >> 33);
    }
    int ate(int n) { return static_cast<int>(proximo() % static_cast<std::uint32_t>(n)); }
    double centavos(int maxReais) { return ate(maxReais * 100) / 100.0 + 0.01; }
    template <typename T, std::size_t N> const T &de(const T (&lista)[N]) { return lista[ate(static_cast<int>(N))]; }

  private:
    std::uint64_t m_estado = 20101031;
};

// One INSERT statement prepared once and run per row.
class Insercao
{
  public:
    Insercao(sqlite3 *db, const char *tabela, const std::vector<const char *> &colunas) : m_db(db)
    {
        QString nomes, marcas;
        for (const char *c : colunas) {
            nomes += QStringLiteral("%1\"%2\"").arg(nomes.isEmpty() ? "" : ",", QString::fromUtf8(c));
            marcas += marcas.isEmpty() ? QStringLiteral("?") : QStringLiteral(",?");
        }
        const QByteArray sql =
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(QString::fromUtf8(tabela), nomes, marcas).toUtf8();
        sqlite3_prepare_v2(db, sql.constData(), -1, &m_st, nullptr);
    }
    ~Insercao() { sqlite3_finalize(m_st); }
    Insercao &i(qint64 v)
    {
        sqlite3_bind_int64(m_st, ++m_n, v);
        return *this;
    }
    Insercao &r(double v)
    {
        sqlite3_bind_double(m_st, ++m_n, v);
        return *this;
    }
    Insercao &t(const QByteArray &v)
    {
        sqlite3_bind_text(m_st, ++m_n, v.constData(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
    void gravar()
    {
        if (sqlite3_step(m_st) != SQLITE_DONE)
            std::fprintf(stderr, "erro ao inserir: %s\n", sqlite3_errmsg(m_db));
        sqlite3_reset(m_st);
        m_n = 0;
    }

  private:
    sqlite3 *m_db;
    sqlite3_stmt *m_st = nullptr;
    int m_n = 0;
};

// The code of the n-th product: P000001.
QByteArray codigoProduto(int n);

// Creates corlando.db with the local tables and their rows, Mirvale.ini and
// local.udl in `pasta` (ending in "/"), as the data module opens them.
void criarBanco(const QString &pasta, const Tamanhos &t);

// Runs SQL statements; a failure is reported on the terminal.
void exec(sqlite3 *db, const char *sql);
// An empty corlando.db with the local tables in `pasta`, open for writing.
sqlite3 *abrirBancoNovo(const QString &pasta);
// Mirvale.ini and local.udl in `pasta`, and central.udl when asked, as the
// data module opens them.
void escreverConfiguracao(const QString &pasta, bool comCentral = false);

double mediana(std::vector<double> v);
// Median and worst elapsed time of `repeticoes` runs of an operation, and the
// median processor time it took, in milliseconds: on a machine shared with
// other work the elapsed time waits for the processor, the processor time
// does not. The undoing step between runs is not timed.
struct Medida {
    double mediana = 0;
    double maximo = 0;
    double cpu = 0;
};
Medida medir(int repeticoes, const std::function<void()> &operacao, const std::function<void()> &desfazer = {});
// The processor time of the process so far (user and system, getrusage), in
// milliseconds.
double cpuMs();

// Elapsed and processor times of several runs of one operation, in
// milliseconds, with their median and minimum.
struct Amostras {
    std::vector<double> decorrido, cpu;
    void acrescentar(double msDecorrido, double msCpu);
    double mediana() const;
    double minimo() const;
    double cpuMediana() const;
    double cpuMinimo() const;
    // "12.3 ms (mín. 11.9; CPU 10.1, mín. 9.8)"
    QString texto() const;
};
Amostras amostrar(int repeticoes, const std::function<void()> &operacao, const std::function<void()> &desfazer = {});
// Times one run of an operation into `amostras`.
void cronometrar(Amostras &amostras, const std::function<void()> &operacao);

// From /proc/self/status, in MB: the resident memory now and its peak (VmHWM).
double residenteMB();
double picoMB();
// Starts the peak afresh at the current resident memory.
void zerarPico();
