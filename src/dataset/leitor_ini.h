#pragma once

#include <QString>

// One value of a sectioned settings file, read as Windows programs read them:
// a line holds a key, "=" and the value, taken verbatim apart from the blanks
// around it (backslashes, commas and semicolons inside a path are the path's;
// a ";" after a blank starts a comment, as at the start of a line).
// Section and key are matched ignoring letter case; the first of a repeated
// key counts; the file is UTF-8, or else Windows-1252. A missing or unreadable
// file, section or key, and a line too long to read whole, give "".
QString LerIni(const QString &secao, const QString &chave, const QString &arquivo);
