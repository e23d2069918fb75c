#pragma once

#include "fonte_relatorio.h"

class ConjuntoDados;

// A data set as a report's data connection: the current record and the rows
// under the filter, each field in its display text. Rows are read in place,
// so the data set's cursor, state and filter stay as they were.
class FonteConjunto : public FonteRelatorio
{
  public:
    FonteConjunto(QString nome, const ConjuntoDados &conjunto) : m_nome(std::move(nome)), m_conjunto(conjunto) {}

    QString nome() const override { return m_nome; }
    CamposRelatorio registroAtual() const override;
    QList<CamposRelatorio> linhas() const override;

  private:
    QString m_nome;
    const ConjuntoDados &m_conjunto;
};
