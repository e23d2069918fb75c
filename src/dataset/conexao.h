#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <vector>

struct sqlite3;
class ConjuntoDados;

// A connection to an SQLite database file, through the same sqlite3 library
// the data sets read and write with. It is opened from a data-link file, an
// INI file of our own:
//
//   [LINK]
//   DRIVER=QSQLITE
//   DATABASE=corlando.db      ; relative to the data-link file's folder
//
// A missing data-link file or database is an error in the user's terms; a
// database file is never created by opening it. Data sets on the connection
// read and write through its sqlite3 handle; closing the connection closes
// them.
class Conexao : public QObject
{
    Q_OBJECT
  public:
    explicit Conexao(const QString &nome, QObject *parent = nullptr);
    ~Conexao() override;

    // How long a statement waits for another program's lock on the database
    // before it fails; taken by every connection opened afterwards.
    static constexpr int kEsperaOcupadoPadrao = 5000;
    static void setEsperaOcupado(int milissegundos);

    void abrir(const QString &arquivoLink);
    void abrirBanco(const QString &arquivoBanco);
    void fechar();
    bool aberta() const { return m_handle != nullptr; }
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

    // The SQLite handle, for InstrucaoSql and the data sets.
    sqlite3 *handle() const { return m_handle; }

    // The last failure of the database as the user reads it: a lock held by
    // another program, or a file that cannot be written, in Portuguese and
    // naming the file; anything else as the engine words it, after `origem`.
    QString textoDoErro(const QString &origem) const;

    // Runs statements without rows; returns the rows changed by the last.
    int executar(const QString &sql);
    bool emTransacao() const { return !m_escritas.empty(); }

  private:
    friend class ConjuntoDados;
    friend class Transacao;

    void registrar(ConjuntoDados *c);
    void desregistrar(ConjuntoDados *c);
    void anotarEscrita(ConjuntoDados *c);
    void iniciarTransacao();
    void confirmarTransacao();
    void desfazerTransacao() noexcept;
    void exec(const QString &sql);
    // Rows the data sets changed through their own statements, in all and per
    // table; set against sqlite3_total_changes() they tell whether anything
    // else wrote.
    void contarAlteracoes(const QString &tabela, qint64 alteradas);
    qint64 alteracoesConhecidas() const { return m_conhecidas; }
    qint64 alteracoesDaTabela(const QString &tabela) const { return m_porTabela.value(tabela.toCaseFolded()); }

    sqlite3 *m_handle = nullptr;
    int m_tag = 0;
    std::vector<ConjuntoDados *> m_conjuntos;
    // Per open transaction level, the data sets that stored or deleted rows
    // in it.
    std::vector<std::vector<QPointer<ConjuntoDados>>> m_escritas;
    qint64 m_conhecidas = 0;
    QHash<QString, qint64> m_porTabela;
};
