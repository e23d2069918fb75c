#pragma once

#include <QString>
#include <QVariant>

class Conexao;
struct sqlite3_stmt;

// One SQL statement on a connection's database, for the few reads and writes
// no data set stands for: prepared when made, its parameters bound in order,
// finalized when it goes. A failure throws Erro in the connection's words (a
// lock held by another program or a file that cannot be written in
// Portuguese, naming the file).
class InstrucaoSql
{
  public:
    InstrucaoSql(Conexao &conexao, const QString &sql);
    ~InstrucaoSql();
    InstrucaoSql(const InstrucaoSql &) = delete;
    InstrucaoSql &operator=(const InstrucaoSql &) = delete;

    // The next parameter: an invalid QVariant or a null text is NULL; whole
    // numbers, reals and bytes keep their kind, anything else goes as text.
    void vincular(const QVariant &valor);
    // Runs to the next row; false when there is none (a statement without
    // rows has run to its end).
    bool proxima();
    int colunas() const;
    // A column of the current row: NULL an invalid QVariant, then qlonglong,
    // double, QString or QByteArray as the database holds it.
    QVariant valor(int coluna) const;

  private:
    Conexao &m_conexao;
    sqlite3_stmt *m_st = nullptr;
    int m_parametro = 0;
};
