#pragma once

#include "logica_pedido.h"

#include <QDialog>
#include <QHash>
#include <map>
#include <optional>

class CaixaVinculada;
class GradeItens;
class QFrame;
class QLabel;
class QStatusBar;
class QTimer;
class QToolButton;

// The order screen's window: controls bound to the data module's data sets,
// events passed to the logic, record buttons following their rules. One form
// serves the order kinds; the variant says which.
class TfrmPedido : public QDialog, private VisaoPedido
{
    Q_OBJECT
  public:
    explicit TfrmPedido(const VariantePedido &variante, QWidget *pai = nullptr);
    ~TfrmPedido() override;

    LogicaPedido &logica() { return m_logica; }
    QToolButton *botao(AcaoPedido acao) const { return m_botoes.at(acao); }
    QWidget *caixa(CaixaPedido caixa) const { return m_caixas.value(caixa); }
    GradeItens *grade() const { return m_grade; }

  protected:
    void showEvent(QShowEvent *evento) override;
    void closeEvent(QCloseEvent *evento) override;
    void reject() override;
    bool event(QEvent *evento) override;

  private:
    void focar(CaixaPedido caixa) override;
    void confirmar(CaixaPedido caixa) override;
    void colorirPainel(const QColor &cor) override;
    void fechar() override;

    QWidget *montarBotoesPedido();
    QWidget *montarExibicaoPedido();
    QWidget *montarCamposPedido();
    QWidget *montarObservacaoEBotoesItem();
    QWidget *montarCamposItem();
    QWidget *montarResumo();
    QToolButton *criarBotao(AcaoPedido acao);
    // A hint for a control other than a button: none where the kind keeps
    // hints to its buttons.
    const char *dicaDe(const char *texto) const;
    void dicaDeCaixa(QWidget *caixa, const char *texto) const;
    void ligarAceleradores();
    void atualizarBotoes();
    void ligarPrevia();
    void mostrarPrevia();
    void explicarPreco();
    std::optional<QString> quantidadeDigitada() const;

    LogicaPedido m_logica;
    std::map<AcaoPedido, QToolButton *> m_botoes;
    QHash<CaixaPedido, QWidget *> m_caixas;
    GradeItens *m_grade = nullptr;
    CaixaVinculada *m_quantidade = nullptr;
    CaixaVinculada *m_unitario = nullptr;
    CaixaVinculada *m_total = nullptr;
    QLabel *m_saldo = nullptr;
    QTimer *m_previa = nullptr;
    QFrame *m_painel = nullptr;
    QStatusBar *m_status = nullptr;
    bool m_aberta = false;
};
