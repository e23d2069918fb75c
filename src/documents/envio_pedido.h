#pragma once

#include "acoes_cabecalho.h"
#include "tipo_pedido.h"

// The send button of the order screens: checks the order, renders its PDF
// afresh, then asks in turn whether to mail it to the customer and to each
// of the three central offices, and mails it on each Yes (a central office
// also gets the transfer file). A mail that fails is reported and the next
// question is asked; a central office's mail (the customer's too, for an
// exchange) that goes out marks the order sent through the screen's save.
//
// The settings row is read afresh for every mail. Its SMTP host may carry a
// port ("smtp.empresa.com.br:2525"); otherwise port 587 is used. Errors that
// stop the sending (a report or transfer file that cannot be written) are
// shown in the standard error box.
void EnviarPedido(TipoPedido tipo, const AcoesCabecalho &acoes);
