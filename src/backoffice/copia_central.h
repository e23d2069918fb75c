#pragma once

#include "definicao_campos.h"
#include "fonte_central.h"

#include <QString>
#include <QtGlobal>
#include <functional>
#include <vector>

struct sqlite3;

// The copy of the central tables into the local database, set-based: the
// central file is attached to the local connection and rows go across with
// INSERT ... SELECT, column by column by position, in batches so that the
// gauge moves and the window breathes between them. The caller holds the
// transaction; attaching happens before it and detaching after it (SQLite
// allows neither inside one).
class CopiaCentral : public FonteCentral
{
  public:
    // Called after every batch with the rows done so far in this run: the
    // central products gone through (copied or skipped), then the customers
    // copied.
    using Andamento = std::function<void(qint64)>;

    // Throws Erro when the file cannot be attached.
    CopiaCentral(sqlite3 *local, const QString &arquivoCentral, Andamento andamento);
    ~CopiaCentral() override;
    CopiaCentral(const CopiaCentral &) = delete;
    CopiaCentral &operator=(const CopiaCentral &) = delete;

    qint64 quantidade(const char *tabela) override;
    qint64 quantidadeClientes(const QString &regiao) override;
    void copiarProdutos() override;
    QString copiarFuncionario(const QString &codigo) override;
    void copiarClientes(const QString &regiao) override;

  private:
    void exigirTabela(const char *tabela, const std::vector<DefCampo> &local, QStringList &central,
                      QStringList &destino);
    void copiar(const char *tabela, const std::vector<DefCampo> &local, const QString &condicao, const QString &valor,
                bool soCopiadas);

    sqlite3 *m_local;
    Andamento m_andamento;
    qint64 m_feitos = 0;
};

// The customers' region for an employee code: the code itself above 9,
// otherwise "0" + the code (7 -> "07"). Throws Erro for a code that is not
// a number.
QString RegiaoDoFuncionario(const QString &codigo);
