#pragma once

#include "logica_cliente.h"

#include <QDialog>
#include <QHash>
#include <map>

class CaixaVinculada;
class MemoVinculado;
class QLabel;
class QToolButton;

// The customer screen's window: one customer at a time, every control bound
// to DM->QyCliente, the tool bar following the record rules.
class TfrmCliente : public QDialog, private VisaoCliente
{
    Q_OBJECT
  public:
    explicit TfrmCliente(QWidget *pai = nullptr);
    ~TfrmCliente() override;

    LogicaCliente &logica() { return m_logica; }
    QToolButton *botao(AcaoCliente acao) const { return m_botoes.at(acao); }
    CaixaVinculada *caixa(CaixaCliente caixa) const { return m_caixas.value(caixa); }
    QLabel *contador() const { return m_contador; }

  protected:
    void showEvent(QShowEvent *evento) override;
    void closeEvent(QCloseEvent *evento) override;
    void reject() override;

  private:
    void focar(CaixaCliente caixa) override;
    QString digitado(CaixaCliente caixa) const override;
    void confirmar() override;
    void mostrarContador(const QString &texto) override;

    QWidget *montarBarra();
    QWidget *montarCampos();
    CaixaVinculada *criarCaixa(const char *nome, const QString &campo, CaixaCliente caixa);
    void atualizarBotoes();

    LogicaCliente m_logica;
    std::map<AcaoCliente, QToolButton *> m_botoes;
    QHash<CaixaCliente, CaixaVinculada *> m_caixas;
    MemoVinculado *m_observacao = nullptr;
    QLabel *m_contador = nullptr;
    bool m_aberta = false;
};
