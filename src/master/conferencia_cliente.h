#pragma once

#include <QString>

// Checks of what is typed into a customer's boxes. Punctuation typed by the
// boxes' masks is ignored: only the digits count.

// The digits of a text, in order.
QString SoDigitos(const QString &texto);
// 14 digits whose two check digits are right.
bool CnpjValido(const QString &texto);
// 8 digits.
bool CepCompleto(const QString &texto);
// A date "dd/mm/aaaa" that exists.
bool DataValida(const QString &texto);
// One address or a list of them, each "nome@dominio.tld", as the order mail
// to the customer takes them; nothing that could break a mail header.
bool EmailValido(const QString &texto);
