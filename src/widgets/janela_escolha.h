#pragma once

#include "dialogos.h"

#include <optional>

class QWidget;

// The window of a choice: a text, one check box per option, OK and Cancelar.
namespace JanelaEscolha
{
// The marks as the user left them, or nothing when cancelled.
std::optional<QList<bool>> escolher(const QString &titulo, const QString &texto, const QList<OpcaoMarcada> &opcoes,
                                    QWidget *pai);
} // namespace JanelaEscolha
