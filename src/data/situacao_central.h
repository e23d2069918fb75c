#pragma once

#include <QHash>
#include <QString>

// The status the company set on an order at the central server, as the last
// update from the server brought it back: "faturado em 01/12/2026"; "" when
// there is none (an installation updated by FTP, an order not sent yet).
// Read-only: only the central changes it.
QString SituacaoCentral(const QString &idfunc, const QString &nrPedido);

// Every status the last update brought, read in one query, for a list of
// orders that would otherwise look each one up.
class SituacoesCentral
{
  public:
    SituacoesCentral();

    // The same text as SituacaoCentral() gives for the order.
    QString de(const QString &idfunc, qint64 nrPedido) const;

  private:
    QHash<QString, QString> m_porPedido;
};
