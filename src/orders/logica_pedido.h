#pragma once

#include "acao_pedido.h"
#include "acoes_cabecalho.h"
#include "previa_pedido.h"
#include "variante_pedido.h"
#include "visao_pedido.h"

#include <QColor>
#include <QDateTime>
#include <QString>
#include <vector>

class Campo;
class ConjuntoDados;

// The colours of one cell of the item grid.
struct CoresCelula {
    QColor texto;
    QColor fundo;
};

// The customer's recency indicator: green below 20 whole days since the last
// purchase, blue below 40, red below 60, black from 60 on or without a date.
QColor CorUltimaCompra(const QDateTime &ultimaCompra, const QDateTime &agora);

// What an order screen does, apart from its widgets: the header list
// (DM->QyPedido under the kind's condition) and the kind's item lists, the
// record buttons and their enabling rules, the item checks, the pending
// items, the searches and the keyboard table of the item grid. Entry points
// named after a user's act (a click, a key, leaving a box) show the error of
// a refused value or store in the error box and stop there. Item actions,
// boxes and grids name their item list by its place in the variant's lists.
class LogicaPedido
{
  public:
    LogicaPedido(const VariantePedido &variante, VisaoPedido &visao);

    const VariantePedido &variante() const { return m_variante; }
    ConjuntoDados &cabecalho() const;
    int quantidadeListas() const { return static_cast<int>(m_variante.listas.size()); }
    const ListaPedido &definicao(int lista) const { return m_variante.listas[static_cast<std::size_t>(lista)]; }
    ConjuntoDados &itens(int lista = 0) const;

    // Opening: the header list under the kind's condition, the customer
    // list on the current order's customer, the focus on the grid.
    void abrir();
    // Asked before the window closes: false keeps it open.
    bool podeFechar();
    // The header list gets back the representative filter it had.
    void aoFechar();

    bool habilitado(AcaoPedido acao, int lista = 0) const;
    // A click on a button, or its key: the action runs if it is enabled now.
    void clicar(AcaoPedido acao, int lista = 0);
    // A key pressed in the item grid (Qt::Key_0 to Qt::Key_9 of the main
    // row); true when a table entry ran.
    bool teclaGrade(int tecla, bool alt, bool ctrl);

    // "Repetir pedido", with the order at rest: a new order for the same
    // customer with the same items and quantities, priced today, stored in
    // one transaction and left at rest. Products gone are left out and
    // named in one message; an item short of stock asks as an item save
    // does, and one not stored is named too.
    bool podeRepetir() const;
    void repetirPedido();

    // What the customer box offers while it is typed in: "code - name" of
    // every customer, the most recently ordered first.
    QStringList clientesRecentes() const;

    void saiuCodigoCliente();
    void pesquisarCliente();
    void saiu(CaixaPedido caixa, int lista = 0);
    void pesquisarItem(int lista = 0);

    CoresCelula coresCelula(int linha, int lista = 0) const;

    // A figure of the order's own customer for the summary (the customer
    // list is moved to it); empty while the order has no customer.
    QString resumoCliente(const QString &campo);

    // What saving would store, for the boxes to show while something is being
    // edited; `quantidadeDigitada` is the quantity box's text not yet
    // committed. Never fails: an error leaves the boxes on their fields.
    PreviaTela previa(const std::optional<QString> &quantidadeDigitada = std::nullopt, int lista = 0) const;
    // The current item's price step by step, in a window of its own.
    void explicarPreco(const std::optional<QString> &quantidadeDigitada = std::nullopt, int lista = 0);
    // Whether the kind's items are priced with the three discount codes and
    // can so be negotiated: the package averages and the exchange has none.
    bool negociaPreco() const;
    // Asks the unit price the customer wants, lists the code combinations
    // closest at or above it, and writes the chosen one into the item being
    // edited, priced as leaving a code box does. Nothing is stored.
    void negociarPreco(const std::optional<QString> &quantidadeDigitada = std::nullopt, int lista = 0);

  private:
    void executar(AcaoPedido acao, int lista = 0);
    AcoesCabecalho acoesCabecalho();
    void confirmarCaixasDoCabecalho();
    bool itemEmEdicao() const;
    // The header or an item being edited has a field written.
    bool algoModificado() const;
    bool clienteInformado();
    // The header and every item list, for a save that keeps them on failure.
    std::vector<ConjuntoDados *> conjuntos() const;
    // The logic's own focus moves; the box they leave asks for none.
    void focar(CaixaPedido caixa, int lista = 0);
    void focarAoSair(CaixaPedido caixa, int lista = 0);

    void pesquisarPedido();
    void inserirPedido();
    void salvarPedido();
    void cancelarPedido();
    void excluirPedido();
    void repetir();
    void inserirItem(int lista);
    void editarItem(int lista);
    bool podeNavegarItens(int lista) const;
    void precificarPacote();
    void gravarItemDoPacote(int lista);
    void salvarItem(int lista);
    void colocarItemEmPendencia(int lista);
    void excluirItem(int lista);
    void proximoItem(int lista);
    void importarPendencia(int lista);
    void clienteSaido();
    void clienteEscolhido();
    void itemSaido(CaixaPedido caixa, int lista);
    void produtoEscolhido(int lista);

    // The customer's payment form and recency colour on the header.
    void aplicarCliente();
    void precificar(int lista);
    // An unknown product code is emptied; the item is priced.
    void conferirProduto(int lista);
    void perguntarCancelarItem(const QString &texto, int lista);

    const VariantePedido &m_variante;
    VisaoPedido &m_visao;
    QString m_filtroAnterior;
    bool m_focando = false;
};
