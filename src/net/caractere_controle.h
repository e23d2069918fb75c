#pragma once

#include <QString>

// Whether a text holds a character that must never reach a mail session or a
// server command: a control character (CR, LF, TAB, NUL, U+0085 ...), a format
// character (zero-width, direction marks) or a line or paragraph separator
// (U+2028, U+2029). Some readers take the separators for line breaks, so an
// address holding one could carry commands of its own.
bool TemCaractereDeControle(const QString &texto);
