#pragma once

#include <QDateTime>
#include <QString>

// The program's number and date formats: decimal comma, short dates
// "DD/MM/YYYY", date-times "dd/mm/yyyy hh:nn:ss". Every conversion between a
// number or a date and the text the user sees goes through here.
namespace Formatos
{

// "31/10/2010"
QString data(const QDate &d);
// "31/10/2010 14:05:09"; the date alone when the time is midnight.
QString dataHora(const QDateTime &dt);
// Always with the time: "31/10/2010 00:00:00".
QString dataHoraCompleta(const QDateTime &dt);

// Typed dates: "1/2/2010", "01/02/2010", "1/2/10" (years below 50 are 20xx).
// Throws Erro when the text is not a date that exists (31/02/2010).
QDate lerData(const QString &texto);
// A date optionally followed by a time "h:m" or "h:m:s".
QDateTime lerDataHora(const QString &texto);

// The database keeps date-times as ISO text "YYYY-MM-DD HH:MM:SS".
QString dataHoraBanco(const QDateTime &dt);
QDateTime lerDataHoraBanco(const QString &texto);

// A number in the shortest general form (up to 15 significant digits) with a
// decimal comma and no grouping: 6, 2,5, 16,36152.
QString numero(double v);
// Reads "2,5", "2.5", "-3"; throws Erro when the text is not a number.
double lerNumero(const QString &texto);
// Reads a whole number; throws Erro otherwise ("12", "-3"; not "1,5").
qint64 lerInteiro(const QString &texto);

} // namespace Formatos
