#pragma once

#include "conjunto_dados.h"

#include <QVariant>
#include <functional>
#include <utility>
#include <vector>

// What a data set shows and what is being typed in it: its current record,
// its state and the stored fields of the row being edited. A rolled-back
// transaction reopens the sets it wrote through and abandons their editing;
// putting the draft back gives the user the screen as it was.
class RascunhoEdicao
{
  public:
    explicit RascunhoEdicao(ConjuntoDados &conjunto);
    void restaurar();

  private:
    ConjuntoDados &m_conjunto;
    EstadoConjunto m_estado;
    int m_registro;
    std::vector<std::pair<int, QVariant>> m_valores;
};

// Runs `gravar` in one transaction. When it fails the database is as it was
// before, each set shows again what it showed and what was being typed in
// it, and the error goes on to the caller.
void GravarPreservando(const std::vector<ConjuntoDados *> &conjuntos, const std::function<void()> &gravar);
