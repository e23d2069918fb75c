#pragma once

#include <QList>
#include <QStringList>
#include <functional>

class QWidget;

// The "Atalhos" help: F1 in a window lists its keys, each with what it
// does. The buttons' underlined letters (Alt+letter) and the window's own
// shortcuts are read from the window; a screen adds the keys it handles
// itself. Lines are {key, what it does}.
using LinhasAtalhos = QList<QStringList>;

// `enterAvanca`: the window's boxes take Enter as Tab (when the user has
// not turned it off).
void InstalarAjudaAtalhos(QWidget *janela, std::function<LinhasAtalhos()> proprias = {}, bool enterAvanca = true);

// The keys of a window as the help lists them.
LinhasAtalhos AtalhosDaJanela(const QWidget *janela);
