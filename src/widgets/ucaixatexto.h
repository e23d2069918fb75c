#pragma once

#include "dialogos.h"

#include <QDialog>
#include <memory>

namespace Ui
{
class TFrmCaixaTexto;
}

// The prompt dialog: one line of text, optionally masked. Ok and Enter
// confirm; Cancel and the close box do not; Esc does nothing.
class TFrmCaixaTexto : public QDialog
{
    Q_OBJECT
  public:
    TFrmCaixaTexto(const QString &titulo, const QString &rotulo, const QString &padrao, bool mascarado,
                   QWidget *pai = nullptr);
    ~TFrmCaixaTexto() override;

    const RespostaTexto &resposta() const { return m_resposta; }

    // Shows a new dialog modally and returns its outcome.
    static RespostaTexto perguntar(const QString &titulo, const QString &rotulo, const QString &padrao, bool mascarado,
                                   QWidget *pai);

  protected:
    void keyPressEvent(QKeyEvent *evento) override;
    void reject() override;

  private:
    void confirmar();
    void cancelar();

    std::unique_ptr<Ui::TFrmCaixaTexto> ui;
    RespostaTexto m_resposta;
};
