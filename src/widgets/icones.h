#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

// The program's button icons: a symbol in white on a rounded coloured tile,
// drawn at run time so the program ships no image files of others.
QIcon IconeDesenhado(const QString &simbolo, const QColor &cor);
