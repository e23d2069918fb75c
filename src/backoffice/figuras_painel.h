#pragma once

#include "dinheiro.h"
#include "situacao_cliente.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

struct sqlite3;

// The dashboard's figures, each one SQL statement on the local database.
//
// An order's value is the total of its kind, as the order lists count it:
// `vl_total_item`, `vl_total_venda_casada`, `vl_total_pacote` or, for an
// exchange, `vl_diferenca_troca` (replacement less returned items, so an
// exchange that gives back more than it takes lowers the month). A product's
// value follows the same rule item by item: the exchange's replacement items
// add, its returned items subtract.
//
// `funcionario` narrows the orders to one representative's; empty for all
// (the supervisor's installation).

struct VendaMes {
    QDate mes; // first day of the month
    Dinheiro total;
    int pedidos = 0;
};

struct ItemRanking {
    QString codigo; // product code, or the customer's IdCliente
    QString nome;
    double quantidade = 0; // items' quantity, or the customer's orders
    Dinheiro valor;
};

struct ClienteEsfriando {
    qint64 idCliente = 0;
    QString nome;
    int dias = 0;
    QDateTime ultimaCompra;
    Dinheiro valorUltimaCompra;
};

struct ClienteSemCompra {
    qint64 idCliente = 0;
    QString nome;
    QString cidade;
};

struct ClienteEmAlerta {
    qint64 idCliente = 0;
    QString nome;
    std::optional<Dinheiro> credito;
    // The largest order not yet sent, when one passes the credit.
    std::optional<Dinheiro> pedidoAcimaDoCredito;
    std::optional<int> mediaAtraso;
};

// The days from which a customer is going cold (the order screen's red) and
// cold (its black).
inline constexpr int kDiasEsfriando = 40;
inline constexpr int kDiasFrio = 60;

class FigurasPainel
{
  public:
    FigurasPainel(sqlite3 *banco, QString funcionario);
    sqlite3 *banco() const { return m_banco; }

    // One entry per month from `primeiroMes` on, months without sales at 0.
    std::vector<VendaMes> vendasPorMes(const QDate &primeiroMes, int meses) const;
    // The `limite` largest by value among the orders dated from `inicio` to
    // `fim` (whole days); ties by code.
    std::vector<ItemRanking> maioresProdutos(const QDate &inicio, const QDate &fim, int limite = 10) const;
    std::vector<ItemRanking> maioresClientes(const QDate &inicio, const QDate &fim, int limite = 10) const;
    // Customers whose last purchase (the later of their `ultimacompra` and
    // their last order here) is `kDiasEsfriando` or more whole days before
    // `agora`; the longest first.
    std::vector<ClienteEsfriando> clientesEsfriando(const QDateTime &agora) const;
    // Customers with neither an `ultimacompra` nor an order.
    std::vector<ClienteSemCompra> clientesSemCompra() const;
    // Customers whose average delay is above `limiteAtraso` days, or whose
    // unsent order passes their credit (when one is set).
    std::vector<ClienteEmAlerta> clientesEmAlerta(int limiteAtraso) const;

  private:
    sqlite3 *m_banco;
    QString m_funcionario;
};

// Everything the dashboard shows, computed at once.
struct Painel {
    std::vector<VendaMes> ultimos12Meses;
    std::vector<VendaMes> ano;
    VendaMes mesAtual;
    VendaMes mesmoMesAnoAnterior;
    std::vector<ItemRanking> produtos;
    std::vector<ItemRanking> clientes;
    std::vector<ClienteEsfriando> esfriando;
    std::vector<ClienteSemCompra> semCompra;
    std::vector<ClienteEmAlerta> emAlerta;
};

struct PeriodoPainel {
    QDateTime agora;
    int ano = 0;
    QDate inicio;
    QDate fim;
    int limiteAtraso = kLimiteAtrasoPadrao;
};

Painel CalcularPainel(const FigurasPainel &figuras, const PeriodoPainel &periodo);
