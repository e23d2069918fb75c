#pragma once

#include "visao_progresso.h"

#include <functional>

namespace Ui
{
class TfrmPrincipal;
}

// The main window's progress widgets as the database update sees them. While
// it exists the button panel takes no clicks, so nothing else starts while
// the update lets the window breathe.
class ProgressoPrincipal : public VisaoProgresso
{
  public:
    ProgressoPrincipal(Ui::TfrmPrincipal &ui, std::function<void()> mostrarRepresentante);
    ~ProgressoPrincipal() override;
    ProgressoPrincipal(const ProgressoPrincipal &) = delete;
    ProgressoPrincipal &operator=(const ProgressoPrincipal &) = delete;

    void mostrarProgresso(bool visivel) override;
    void definirTexto(const QString &texto) override;
    void definirMaximo(qint64 maximo) override;
    void definirPosicao(qint64 posicao) override;
    void mostrarRepresentante() override;

  private:
    Ui::TfrmPrincipal &m_ui;
    std::function<void()> m_mostrarRepresentante;
    qint64 m_maximo = 0;
};
