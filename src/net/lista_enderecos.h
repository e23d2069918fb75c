#pragma once

#include "gmime_apoio.h"

#include <QString>
#include <QStringList>

// Address-list texts as customers' records and mail programs write them:
// "Fulano <a@x.com>, b@y.com" or "a@x.com; b@y.com" (";" separates as ","
// does, outside quotes and outside a group "Equipe: a@x.com, b@y.com;").
// Every piece must hold a readable address: one that cannot be read throws
// Erro naming it, so a mail never goes out to fewer people than asked.
// Empty pieces are skipped; an empty text is an empty list. A text holding a
// control character (TemCaractereDeControle) is refused whole.

// The addresses as GMime keeps them (display names included), for headers.
ObjetoG<InternetAddressList> listaDeEnderecos(const QString &texto);

// The mailbox addresses, in order, members of groups included, domains in
// their ASCII form: what an SMTP envelope takes.
QStringList enderecosDaLista(const QString &texto);
