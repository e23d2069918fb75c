#pragma once

#include "acoes_cabecalho.h"
#include "tipo_pedido.h"

// The send button of the order screens: checks the order, renders its PDF
// afresh, then offers the customer and the three central offices in one
// choice (each checked when it has an address). The chosen mails (a central
// office's with the transfer file) are kept in the outbox together and sent
// at once; one summary tells which went, which wait for the server and which
// it refused. A central office's mail (the customer's too, for an exchange)
// marks the order sent when the server takes it, whenever that is.
//
// The settings row is read afresh. Its SMTP host may carry a port
// ("smtp.empresa.com.br:2525"); otherwise port 587 is used. Errors that stop
// the sending (a report or transfer file that cannot be written) are shown
// in the standard error box, and nothing is kept then.
void EnviarPedido(TipoPedido tipo, const AcoesCabecalho &acoes);
