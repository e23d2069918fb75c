#pragma once

#include "dialogos.h"

class QWidget;

// The window of a read-only table: text above, the table sized to its
// contents, text below, an OK button.
namespace JanelaTabela {
void mostrar(const TabelaDialogo &tabela, QWidget *pai);
}
