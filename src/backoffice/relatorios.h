#pragma once

// The management reports of the main window, one per button. Each writes
// its file under the program folder's "relatórios" and opens it. Data sets
// narrowed for a report are put back as they were, also when it fails;
// errors reach the caller.

// Orders of the current order view by state.
enum class SituacaoPedidos { Enviados, NaoEnviados, Impressos, NaoImpressos };
void RelatorioPedidosPorSituacao(SituacaoPedidos situacao);
// The current order view as it is.
void RelatorioTodosPedidos();
// Every order of the local database dated within the period typed.
void RelatorioPedidosPorPeriodo();

// Customers whose city begins with the text typed, or all of them.
enum class ListaClientes { Simples, Completa };
void RelatorioClientes(ListaClientes lista);
// Customers counted per city.
void RelatorioClientesPorCidades();

// The product price list, CSV or PDF, with or without freight.
void RelatorioTodosProdutos();

// Quantity and value sold per product between two dates.
void RelatorioVendasTotais();
