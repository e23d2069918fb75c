#pragma once

#include <QString>
#include <QtGlobal>

// Where the database update takes the central rows from: the database file
// fetched by FTP or the central server. Both copy with the same rules into
// the local database, inside the transaction the caller holds.
class FonteCentral
{
  public:
    virtual ~FonteCentral() = default;

    virtual qint64 quantidade(const char *tabela) = 0;
    // The central customers of the region, or every one for an empty region:
    // those copiarClientes copies.
    virtual qint64 quantidadeClientes(const QString &regiao) = 0;
    // Replaces the local products with the central ones not marked inactive.
    virtual void copiarProdutos() = 0;
    // Replaces the local employee rows with the first central employee whose
    // number is the code, or for the supervisor's "999" the first of all.
    // Returns the copied row's local code. Throws Erro when there is none.
    virtual QString copiarFuncionario(const QString &codigo) = 0;
    // Replaces the local customers with the central ones of the region, or
    // every one for an empty region.
    virtual void copiarClientes(const QString &regiao) = 0;
    // Replaces the local copy of the status the company has set on the
    // representative's orders (tbpedido_status). Only a central server keeps
    // orders; the central file has none, and the copy stays as it was.
    virtual void copiarStatusPedidos() {}
};
