#pragma once

#include "tela_pedido.h"

#include <memory>
#include <optional>

// The package order screen: the one order form over the package variant.
class TfrmPedidoPacote : public TfrmPedido
{
    Q_OBJECT
  public:
    explicit TfrmPedidoPacote(QWidget *pai = nullptr) : TfrmPedido(VariantePedidoPacote(), pai) {}
};

// The tied-sale screen: the one order form over the tied-sale variant.
class TfrmVendaCasada : public TfrmPedido
{
    Q_OBJECT
  public:
    explicit TfrmVendaCasada(QWidget *pai = nullptr) : TfrmPedido(VariantePedidoVendaCasada(), pai) {}
};

// The exchange screen: the one order form over the exchange variant, with
// its returned and replacement item lists.
class TfrmPedidoTroca : public TfrmPedido
{
    Q_OBJECT
  public:
    explicit TfrmPedidoTroca(QWidget *pai = nullptr) : TfrmPedido(VariantePedidoTroca(), pai) {}
};

// The screen of a variant: its own class where it has one, otherwise the one
// form over the variant.
std::unique_ptr<TfrmPedido> CriarTelaPedido(const VariantePedido &variante, QWidget *pai = nullptr);

// A new screen of the kind, modal and maximised, until it closes. With a
// customer it opens on a new order for that customer.
void AbrirTelaPedido(const VariantePedido &variante, QWidget *pai, std::optional<qint64> clienteNovoPedido = {});
