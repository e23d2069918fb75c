#pragma once

#include "dialogos.h"

class QWidget;

// The window of a read-only table: text above, the table sized to its
// contents, text below, an OK button.
namespace JanelaTabela
{
void mostrar(const TabelaDialogo &tabela, QWidget *pai);
// The same window with OK and Cancelar, the first row chosen to begin with:
// the row chosen (OK, Enter or a double click), none when cancelled.
std::optional<int> escolherLinha(const TabelaDialogo &tabela, QWidget *pai);
} // namespace JanelaTabela
