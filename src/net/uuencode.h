#pragma once

#include <QByteArray>
#include <QString>

// One file uuencoded for inclusion in a plain-text mail body:
// "begin 644 <nome>", the encoded lines, the closing "`" line and "end",
// each ended by "\n". Mail clients show such a block as an attachment, and
// uudecode reads it back.
QByteArray blocoUuencode(const QString &nome, const QByteArray &dados);
