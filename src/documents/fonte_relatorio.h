#pragma once

#include <QList>
#include <QMap>
#include <QString>

// One record as a template sees it: field name -> the field's display text.
using CamposRelatorio = QMap<QString, QString>;

// A named data connection that a report template reads. Reading it never
// moves or changes what lies behind it.
class FonteRelatorio
{
  public:
    virtual ~FonteRelatorio() = default;

    // The connection's name in templates ("rvdsPedido").
    virtual QString nome() const = 0;
    // The current record; empty when there is none.
    virtual CamposRelatorio registroAtual() const = 0;
    // Every row under the current filter, in order.
    virtual QList<CamposRelatorio> linhas() const = 0;
};
