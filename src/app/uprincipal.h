#pragma once

#include <QMainWindow>
#include <QPixmap>
#include <memory>

namespace Ui
{
class TfrmPrincipal;
}
class QToolButton;
struct VariantePedido;

// The home window: logo, representative line, version, and the panel of 23
// buttons that open the screens and run the back-office operations.
class TfrmPrincipal : public QMainWindow
{
    Q_OBJECT
  public:
    explicit TfrmPrincipal(QWidget *pai = nullptr);
    ~TfrmPrincipal() override;

    // Refills the representative line.
    void MostrarRepresentante();

    // The progress widgets the database update drives.
    void mostrarProgresso(bool visivel);

  protected:
    void showEvent(QShowEvent *evento) override;
    void closeEvent(QCloseEvent *evento) override;
    void resizeEvent(QResizeEvent *evento) override;
    void paintEvent(QPaintEvent *evento) override;

  private:
    void carregarLogo();
    void ajustarLogo();
    void ligarBotoes();
    void ligarRelatorios();
    void ligarTeclado();
    void abrirTela(const VariantePedido &variante);
    void decorarBotoes();
    void centralizarBotoes();

    std::unique_ptr<Ui::TfrmPrincipal> ui;
    QPixmap m_logo;
    bool m_mostrada = false;
    // A new installation's configuration waits for the window to be on screen.
    bool m_configurarAoPintar = false;
    bool m_pintada = false;
};
