#pragma once

#include "fonte_conjunto.h"

#include <QStringList>
#include <functional>

class Registro;

// A data set as the connection of a printed list, with what the list needs
// beside its rows: fields of the report itself (title, issue date) and the
// totals of the listed rows on the current record ("QTD_LINHAS" and
// "TOTAL_" + field, in the field's display format), and fields computed for
// each row.
class FonteResumo : public FonteConjunto
{
  public:
    using CalculoLinha = std::function<void(const Registro &, CamposRelatorio &)>;

    FonteResumo(QString nome, const ConjuntoDados &conjunto, CamposRelatorio doRelatorio, QStringList somados = {},
                CalculoLinha calculo = {});

    CamposRelatorio registroAtual() const override;
    QList<CamposRelatorio> linhas() const override;

  private:
    const ConjuntoDados &m_conjunto;
    CamposRelatorio m_doRelatorio;
    QStringList m_somados;
    CalculoLinha m_calculo;
};
