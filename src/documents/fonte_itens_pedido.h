#pragma once

#include "fonte_conjunto.h"

// An item list as a report's data connection, each row also carrying its
// discount codes as percentages: "percentual_desconto1" to "3" ("10,7%",
// empty for a code that gives no discount) and "percentuais_desconto", the
// ones present joined ("10,7% + 2%"). The unit price is shown with the
// decimals it was computed with (two to four, "10,1538"), so quantity times
// unit gives the line's total as printed.
class FonteItensPedido : public FonteConjunto
{
  public:
    FonteItensPedido(QString nome, const ConjuntoDados &itens) : FonteConjunto(std::move(nome), itens), m_itens(itens)
    {
    }

    CamposRelatorio registroAtual() const override;
    QList<CamposRelatorio> linhas() const override;

  private:
    const ConjuntoDados &m_itens;
};
