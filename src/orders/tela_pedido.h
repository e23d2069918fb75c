#pragma once

#include "logica_pedido.h"

#include <QDialog>
#include <map>
#include <optional>
#include <utility>
#include <vector>

class CaixaVinculada;
class GradeItens;
class QFrame;
class QLabel;
class QLineEdit;
class QStatusBar;
class QTimer;
class QToolButton;

// The order screen's window: controls bound to the data module's data sets,
// events passed to the logic, record buttons following their rules. One form
// serves the order kinds; the variant says which, and how many item lists
// (each with its block of boxes, buttons and grid) it shows.
class TfrmPedido : public QDialog, private VisaoPedido
{
    Q_OBJECT
  public:
    explicit TfrmPedido(const VariantePedido &variante, QWidget *pai = nullptr);
    ~TfrmPedido() override;

    LogicaPedido &logica() { return m_logica; }
    QToolButton *botao(AcaoPedido acao, int lista = 0) const { return m_botoes.at({acao, lista}); }
    QToolButton *botaoRepetir() const { return m_repetir; }
    QWidget *caixa(CaixaPedido caixa, int lista = 0) const;
    GradeItens *grade(int lista = 0) const { return m_grades.at(static_cast<std::size_t>(lista)); }

  protected:
    void showEvent(QShowEvent *evento) override;
    void closeEvent(QCloseEvent *evento) override;
    void reject() override;
    bool event(QEvent *evento) override;

  private:
    void focar(CaixaPedido caixa, int lista) override;
    void confirmar(CaixaPedido caixa, int lista) override;
    void confirmarFoco() override;
    void colorirPainel(const QColor &cor) override;
    void fechar() override;

    QWidget *montarBotoesPedido();
    QToolButton *montarBotaoRepetir();
    QWidget *montarExibicaoPedido();
    void mostrarSituacaoCentral();
    QWidget *montarCamposPedido();
    QWidget *montarObservacao();
    void completarCliente(QLineEdit *cliente);
    QWidget *montarBotoesItem(int lista);
    QWidget *montarCamposItem(int lista);
    GradeItens *montarGrade(int lista);
    QWidget *montarSubtotal(int lista);
    QWidget *montarResumo();
    QToolButton *criarBotao(AcaoPedido acao, int lista, const TextoBotao &texto);
    // A hint for a control other than a button: none where the kind keeps
    // hints to its buttons.
    const char *dicaDe(const char *texto) const;
    void dicaDeCaixa(QWidget *caixa, const char *texto) const;
    void ligarAceleradores();
    // The item list whose boxes, buttons or grid hold the focus; -1 for none.
    int listaDoFoco() const;
    void mostrarResumoCliente();
    QLabel *montarAvisoCliente();
    void mostrarAvisoCliente(std::optional<Dinheiro> saldoPrevisto);
    void ligarTeclado();
    void atualizarBotoes();
    void ligarPrevia();
    void mostrarPrevia();
    void explicarPreco();
    void ligarNegociacao();
    void negociarPreco();
    // The item list the preview and the price explanation are about: the one
    // being edited, else the one holding the focus.
    int listaDaPrevia() const;
    std::optional<QString> quantidadeDigitada(int lista) const;
    CaixaVinculada *caixaDeItem(CaixaPedido caixa, int lista) const;

    LogicaPedido m_logica;
    std::map<std::pair<AcaoPedido, int>, QToolButton *> m_botoes;
    std::map<std::pair<CaixaPedido, int>, QWidget *> m_caixas;
    std::vector<GradeItens *> m_grades;
    // The widgets of each item list: its boxes' row, its buttons' row, its grid.
    std::vector<std::pair<int, QWidget *>> m_areasItem;
    // The summary's customer figures: the label and the customer's field.
    std::vector<std::pair<QLabel *, QString>> m_resumoCliente;
    QLabel *m_saldo = nullptr;
    QToolButton *m_repetir = nullptr;
    // The last box of the item row that takes typing.
    QWidget *m_ultimaCaixaItem = nullptr;
    QTimer *m_previa = nullptr;
    QFrame *m_painel = nullptr;
    QStatusBar *m_status = nullptr;
    QLabel *m_situacao = nullptr;
    QLabel *m_avisoCliente = nullptr;
    bool m_aberta = false;
};
