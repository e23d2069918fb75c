#pragma once

#include "tipo_pedido.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// The transfer file of the current order: a header line with the moment it
// was written, one fixed-width line per item of the kind's item list and a
// trailer, in Windows-1252 with CRLF after every line, written to the
// program folder's "relatórios" under the kind's prefix. Leaves the item list
// past its last item, QyProduto on the last item's product and QyCliente on
// the order's customer. Throws Erro when the file cannot be written.
void GerarArquivoTransferencia(TipoPedido tipo);
void GerarArquivoTransferencia(TipoPedido tipo, const QDateTime &agora);

// The file's path as the dispatch rebuilds it for the attachment (today's
// date in the name).
QString CaminhoArquivoTransferencia(TipoPedido tipo);
QString CaminhoArquivoTransferencia(TipoPedido tipo, const QDate &hoje);

// The lines of the file, without line ends.
QStringList LinhasArquivoTransferencia(TipoPedido tipo, const QDateTime &agora);
