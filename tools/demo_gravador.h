#pragma once

#include "conexao.h"
#include "esquema.h"
#include "transacao.h"

#include <QString>
#include <QVariant>
#include <memory>
#include <utility>
#include <vector>

// Column name and value of one row to insert; columns left out stay NULL.
using Linha = std::vector<std::pair<const char *, QVariant>>;

// Inserts rows into a database file through prepared statements, all in one
// transaction that is rolled back unless confirmed. Every value is checked
// against its column in the schema, so a text wider than its column stops the
// generation instead of reaching the program.
class Gravador
{
  public:
    Gravador(const QString &arquivo, const std::vector<DefConjunto> &tabelas);
    ~Gravador();
    Gravador(const Gravador &) = delete;
    Gravador &operator=(const Gravador &) = delete;

    void inserir(const char *tabela, const Linha &linha);
    void confirmar();

  private:
    const std::vector<DefConjunto> &m_tabelas;
    Conexao m_conexao;
    std::unique_ptr<Transacao> m_transacao;
};
