#pragma once

#include "definicao_campos.h"
#include "fonte_central.h"

#include <QStringList>
#include <functional>
#include <vector>

class ServidorCentral;
struct sqlite3;

// The copy of the central tables from the central server into the local
// database, with the rules of the copy from the central file: columns paired
// by position, inactive products left out, the employee by its number and the
// customers by region. Rows arrive streamed (COPY ... TO STDOUT) and go into
// the local tables through one prepared statement; the gauge moves after
// every batch. The caller holds the local transaction.
class CopiaServidor : public FonteCentral
{
  public:
    // Called after every batch with the rows done so far in this run: the
    // central products gone through (copied or skipped), then the customers
    // copied (the server sends only those of the region).
    using Andamento = std::function<void(qint64)>;

    CopiaServidor(sqlite3 *local, ServidorCentral &servidor, Andamento andamento);

    qint64 quantidade(const char *tabela) override;
    qint64 quantidadeClientes(const QString &regiao) override;
    void copiarProdutos() override;
    QString copiarFuncionario(const QString &codigo) override;
    void copiarClientes(const QString &regiao) override;
    void copiarStatusPedidos() override;

  private:
    struct Colunas {
        QStringList central; // select list on the server
        QStringList destino; // local columns, same positions
    };
    Colunas exigirTabela(const char *tabela, const std::vector<DefCampo> &local);
    void copiar(const char *tabela, const std::vector<DefCampo> &local, const QString &condicao, bool semInativos);

    sqlite3 *m_local;
    ServidorCentral &m_servidor;
    Andamento m_andamento;
    qint64 m_feitos = 0;
};
