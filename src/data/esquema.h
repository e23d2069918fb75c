#pragma once

#include "definicao_campos.h"

#include <QString>
#include <QStringList>
#include <vector>

class Conexao;

namespace Esquema
{

// Field lists of the local data sets.
const std::vector<DefCampo> &cliente();        // QyCliente, tbcliente
const std::vector<DefCampo> &pedido();         // QyPedido, tbpedido
const std::vector<DefCampo> &pedidoItem();     // QyPedidoItem, tbpedido_item
const std::vector<DefCampo> &pacote();         // QyPacote, tbpedido_pacote
const std::vector<DefCampo> &trocaSub();       // QyTrocaSub, tbpedido_troca1
const std::vector<DefCampo> &trocaDev();       // QyTrocaDev, tbpedido_troca2
const std::vector<DefCampo> &vendaCasada();    // QyVendaCasada, tbpedido_venda_casada
const std::vector<DefCampo> &pendente();       // QyPendente, tbpedido_pendente
const std::vector<DefCampo> &produto();        // QyProduto, tbproduto
const std::vector<DefCampo> &funcionario();    // QyFuncionario, tbfuncionario
const std::vector<DefCampo> &formaPagamento(); // QyFormaPagamento, tbforma
const std::vector<DefCampo> &localidade();     // QyLocalidade, tblocalidades
const std::vector<DefCampo> &configuracoes();  // QyConfiguracoes, tbconfiguracoes

// Field lists of the central data sets: the same columns without formats,
// masks or derived fields; the key read-only (tbfuncionario's an AutoInc).
const std::vector<DefCampo> &onlineProduto();
const std::vector<DefCampo> &onlineCliente();
const std::vector<DefCampo> &onlineFuncionario();
const std::vector<DefCampo> &onlineForma();

// In-memory report tables.
const std::vector<DefCampo> &relatGrupoClientes();
const std::vector<DefCampo> &vendaTotais();

// Every local table with its data set's field list, in creation order.
const std::vector<DefConjunto> &tabelasLocais();
// The central database's four tables.
const std::vector<DefConjunto> &tabelasCentrais();

// The CREATE TABLE statement of a table: the stored fields in order, keys
// numbered by the database and never reused.
QString ddl(const DefConjunto &tabela);

// The indexes of the local tables on the columns the program looks up and
// joins on: the order number of every item table and of the pending items,
// the product code, the customer of orders and of pending items. Each is a
// CREATE INDEX IF NOT EXISTS statement.
QStringList ddlIndices();
// Brings a local database made by an older version up to this one: the
// tables, columns and indexes it lacks are added, in one transaction, after a
// copy of the database into "backup" beside it. Nothing is done (and no copy
// made) when nothing is missing. Returns the copy's path, "" when none.
// Throws Erro when the copy or a change fails; the database is then as it was.
QString atualizarBanco(Conexao &conexao);

// Creates an empty database file with the local or the central tables.
// Throws Erro when the file exists or cannot be written.
void criarBancoLocal(const QString &arquivo);
void criarBancoCentral(const QString &arquivo);

} // namespace Esquema
