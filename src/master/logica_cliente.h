#pragma once

#include "visao_cliente.h"

#include <QHash>
#include <QString>

class ConjuntoDados;

// What the customer screen does, apart from its widgets: the record buttons
// over DM->QyCliente with their enabling rules, the checks of what was
// typed before a customer is stored, the deletion question, the search and
// the mail button. Entry points show the error of a refused store in the
// error box and stop there.
class LogicaCliente
{
  public:
    explicit LogicaCliente(VisaoCliente &visao);

    ConjuntoDados &clientes() const;

    // Shows the counter; the current customer stays where it was.
    void abrir();
    // Asked before the window closes: a customer being typed is saved
    // first, or the window stays open.
    bool podeFechar();

    bool habilitado(AcaoCliente acao) const;
    void clicar(AcaoCliente acao);
    // Hands "mailto:" and the customer's address to the mail program.
    void enviarEmail();

  private:
    void executar(AcaoCliente acao);
    void pesquisar();
    void inserir();
    void editar();
    void salvar();
    void mover(AcaoCliente acao);
    void excluir();
    // The first thing typed that cannot be stored, as a message; "" if none.
    QString problema(CaixaCliente &caixa) const;
    // What stands in the customer's name in other tables, or "".
    QString vinculos() const;
    void guardarDigitados();
    void atualizarContador();

    VisaoCliente &m_visao;
    // The boxes' texts when editing began: on an edit only what changed is
    // checked, so old data that would fail a check does not block it.
    QHash<CaixaCliente, QString> m_iniciais;
};
