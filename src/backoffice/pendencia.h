#pragma once

#include <QDate>
#include <QString>

// The pending-items check behind "Checar  Pendência": offers to purge the
// items set aside more than two months ago, marks each remaining item
// available when the product's stock covers it (or pending when the product
// is gone), prints the list to relatórios/pendente-<ddmmyyyy>.pdf, opens it
// and offers to mail it to the central office's pending-items address.
// Errors other than the mail's reach the caller; the purge and the pass over
// the items are each one transaction.
void ChecarPendencia();

// The purge's cutoff: the same day two months earlier, or that month's last
// day when it is shorter (31/12 -> 31/10, 30/04 -> 28/02 or 29/02).
QDate CortePendencia(const QDate &hoje);
// The purge's filter: "DATA_PENDENTE <= " and the cutoff as DD/MM/YYYY,
// which compares with the start of that day.
QString FiltroPurgaPendencia(const QDate &hoje);
// relatórios/pendente-<ddmmyyyy>.pdf in the program folder.
QString CaminhoPdfPendencia(const QDate &hoje);
