#pragma once

#include "caixa_saida.h"
#include "cliente_smtp.h"
#include "mensagem_email.h"
#include "remessa_caixa_saida.h"

#include <QList>
#include <QString>
#include <memory>

// The outbox as the program uses it: on the local database of DM, sent to the
// server of the settings row; a delivered message that marks sets its
// order's "enviado" in the same transaction, and the order list shows it
// once no screen is typing into it.
std::unique_ptr<RemessaCaixaSaida> CriarRemessaDoPrograma();

// The server, login and security of the settings row and Mirvale.ini, read
// afresh. The server may carry a port ("smtp.empresa.com.br:2525"); otherwise
// 587. Throws Erro for a TLS setting that is not valid.
ClienteSmtp ServidorDoPrograma();

// The attachment format of a key of section EMAIL in Mirvale.ini: "mime" or
// "uue", `padrao` when absent. Throws Erro for any other value.
FormatoAnexos LerFormatoAnexos(const QString &arquivoIni, const QString &chave, FormatoAnexos padrao);
// The customer's mail (FORMATO_CLIENTE, MIME by default) and the central
// offices' (FORMATO_CENTRAL, uuencoded by default, which their importers read).
FormatoAnexos FormatoDoCliente();
FormatoAnexos FormatoDaCentral();

// A mail made ready for the outbox: composed now with a Message-ID of its
// own. Throws Erro when an address cannot be read or is missing, or an
// attachment cannot be read.
ItemCaixa ItemDoEmail(MensagemEmail mensagem, const QString &destino, const QString &nrPedido, bool marcaEnviado);

// Stores the messages in the outbox in one transaction, sends them at once in
// the background while the window repaints, and returns their rows after the
// attempt: "enviado", "recusado" with the server's reply, or "aguardando"
// (they go later by themselves).
QList<LinhaCaixa> EnviarPelaCaixaSaida(const QList<ItemCaixa> &itens, const QString &espera);
