#pragma once

#include <QString>

class ServidorCentral;

// Copies the catalogue tables of a central database file (products,
// customers, employees, payment forms) into the central server's tables of
// the same names, which must be empty: the demo server and the tests serve
// the same data the FTP file holds. Throws Erro.
void CarregarCentral(const QString &arquivoCentral, ServidorCentral &servidor);
