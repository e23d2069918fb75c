#pragma once

#include <QDate>
#include <QString>

// Checks of what is typed into a customer's boxes. Punctuation typed by the
// boxes' masks is ignored: only the digits count.

// The digits of a text, in order.
QString SoDigitos(const QString &texto);
// 14 digits whose two check digits are right, not all the same digit (those
// pass the check digits but belong to no company).
bool CnpjValido(const QString &texto);
// 8 digits.
bool CepCompleto(const QString &texto);
// A date "dd/mm/aaaa" that exists.
bool DataValida(const QString &texto);
// A birth date from 01/01/1900 up to today.
bool NascimentoPlausivel(const QDate &nascimento, const QDate &hoje);
// One address or a list of them, each "nome@dominio.tld", as the order mail
// to the customer takes them; nothing that could break a mail header.
bool EmailValido(const QString &texto);
