#pragma once

#include <QString>
#include <vector>

// Field types of the data sets, as the tables declare them.
enum class TipoCampo { AutoInc, Texto, TextoAnsi, Inteiro, Word, Float, Moeda, DataHora, Booleano, Memo };

// Where a field's value comes from: a column of the table, a look-up in
// another data set, or a calculation on the fetched row.
enum class Origem { Coluna, Lookup, Calculado };

inline constexpr const char *kFormatoMoeda = "###,###,###,###,##0.00";
inline constexpr const char *kFormatoMoedaEdicao = "0.00";

struct DefCampo {
    const char *nome = "";
    TipoCampo tipo = TipoCampo::Texto;
    int largura = 0; // characters, for text types
    Origem origem = Origem::Coluna;
    bool somenteLeitura = false;
    const char *mascara = nullptr;
    const char *formatoExibicao = nullptr;
    const char *formatoEdicao = nullptr;
    // For a look-up: the field of the looked-up row that gives the value.
    const char *campoLookup = nullptr;
};

// The field list of a data set, in its binding order, look-up and calculated
// fields included; and the table it reads.
struct DefConjunto {
    const char *tabela;
    const std::vector<DefCampo> &campos;
};

namespace Esquema {

// Field lists of the local data sets.
const std::vector<DefCampo> &cliente();       // QyCliente, tbcliente
const std::vector<DefCampo> &pedido();        // QyPedido, tbpedido
const std::vector<DefCampo> &pedidoItem();    // QyPedidoItem, tbpedido_item
const std::vector<DefCampo> &pacote();        // QyPacote, tbpedido_pacote
const std::vector<DefCampo> &trocaSub();      // QyTrocaSub, tbpedido_troca1
const std::vector<DefCampo> &trocaDev();      // QyTrocaDev, tbpedido_troca2
const std::vector<DefCampo> &vendaCasada();   // QyVendaCasada, tbpedido_venda_casada
const std::vector<DefCampo> &pendente();      // QyPendente, tbpedido_pendente
const std::vector<DefCampo> &produto();       // QyProduto, tbproduto
const std::vector<DefCampo> &funcionario();   // QyFuncionario, tbfuncionario
const std::vector<DefCampo> &formaPagamento(); // QyFormaPagamento, tbforma
const std::vector<DefCampo> &localidade();    // QyLocalidade, tblocalidades
const std::vector<DefCampo> &configuracoes(); // QyConfiguracoes, tbconfiguracoes

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

// Creates an empty database file with the local or the central tables.
// Throws Erro when the file exists or cannot be written.
void criarBancoLocal(const QString &arquivo);
void criarBancoCentral(const QString &arquivo);

} // namespace Esquema
