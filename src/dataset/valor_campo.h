#pragma once

#include "definicao_campos.h"
#include "dinheiro.h"
#include "linhas_compactas.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

// How a field of each type keeps its value in a stored cell, and every
// conversion between that cell and what the program reads or writes. Money
// is kept in ten-thousandths, date-times in seconds from 2000-01-01 and
// Booleans as 0/1; a cell of another kind (data written by other programs) is
// read as well as it can be.
namespace ValorCampo
{

// Seconds from 2000-01-01 00:00:00; milliseconds are dropped, as the
// database keeps whole seconds.
qint64 empacotarDataHora(const QDateTime &dt);
QDateTime desempacotarDataHora(qint64 segundos);
// The database's "YYYY-MM-DD HH:MM:SS" (also "YYYY-MM-DD", a "T" between
// date and time, fractions of a second); false when the text is no date.
bool lerDataHoraBanco(const char *texto, qsizetype tamanho, qint64 &segundos);
QString dataHoraBanco(qint64 segundos);

// Readers. A NULL reads as 0, an empty text, an invalid date-time or false.
QVariant variante(const Celula &c, const DefCampo &def);
QString texto(const Celula &c, const DefCampo &def);
QString textoExibicao(const Celula &c, const DefCampo &def);
QString textoEdicao(const Celula &c, const DefCampo &def);
qint64 inteiro(const Celula &c, const DefCampo &def);
double real(const Celula &c, const DefCampo &def);
Dinheiro dinheiro(const Celula &c, const DefCampo &def);
QDateTime dataHora(const Celula &c, const DefCampo &def);
bool booleano(const Celula &c, const DefCampo &def);

// Writers: the cell a field of this type keeps for the value. Throw Erro
// naming the field when the value does not fit the type.
Celula deTexto(const QString &t, const DefCampo &def);
Celula deInteiro(qint64 v, const DefCampo &def);
Celula deReal(double v, const DefCampo &def);
Celula deDinheiro(Dinheiro v, const DefCampo &def);
Celula deDataHora(const QDateTime &v, const DefCampo &def);
Celula deBooleano(bool v, const DefCampo &def);
Celula deVariante(const QVariant &v, const DefCampo &def);

// Applies a numeric display pattern such as "###,###,##0.00" or "0.00":
// thousands grouped when the pattern has a ",", as many decimals as it has
// after the ".", a half rounded away from zero.
QString formatar(Dinheiro v, const char *padrao);
QString formatar(double v, const char *padrao);

bool ehTexto(TipoCampo t);

} // namespace ValorCampo
