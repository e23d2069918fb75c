#pragma once

#include <QString>
#include <QStringList>

// The mailbox addresses of an address-list text such as
// "Fulano <a@x.com>, b@y.com", in order, members of groups included, domains
// in their ASCII form: what an SMTP envelope takes. Display names are dropped;
// an empty or unreadable text gives an empty list.
QStringList enderecosDaLista(const QString &texto);
