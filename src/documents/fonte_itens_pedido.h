#pragma once

#include "fonte_conjunto.h"

// An item list as a report's data connection, each row also carrying its
// discount codes as percentages: "percentual_desconto1" to "3" ("10,7%",
// empty for a code that gives no discount) and "percentuais_desconto", the
// ones present joined ("10,7% + 2%").
class FonteItensPedido : public FonteConjunto
{
  public:
    using FonteConjunto::FonteConjunto;

    CamposRelatorio registroAtual() const override;
    QList<CamposRelatorio> linhas() const override;
};
