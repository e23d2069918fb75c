#pragma once

class Conexao;

// Many-row writes in one transaction:
//
//   Transacao t(DM->ADOConexao);
//   ... post and delete through data sets, run statements ...
//   t.confirmar();
//
// Leaving the scope without confirmar() rolls everything back, and every data
// set that stored or deleted rows inside the transaction is reopened (on the
// same row where it still exists), so no data set keeps rows the database no
// longer has; a row being edited in such a set is abandoned. Guards nest
// (savepoints): an inner rollback undoes only the inner part.
class Transacao
{
  public:
    explicit Transacao(Conexao &conexao);
    ~Transacao();
    Transacao(const Transacao &) = delete;
    Transacao &operator=(const Transacao &) = delete;

    void confirmar();

  private:
    Conexao &m_conexao;
    bool m_encerrada = false;
};
