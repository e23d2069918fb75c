#pragma once

#include <QString>

// The status the company set on an order at the central server, as the last
// update from the server brought it back: "faturado em 01/12/2026"; "" when
// there is none (an installation updated by FTP, an order not sent yet).
// Read-only: only the central changes it.
QString SituacaoCentral(const QString &idfunc, const QString &nrPedido);
