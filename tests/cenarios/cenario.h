#pragma once

#include "dialogos_qt.h"
#include "impressao_qt.h"
#include "pasta_programa.h"
#include "tela_pedido.h"
#include "udm.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>

class QToolButton;

// The real Qt dialogs, answered as a person does: each modal window that
// opens gets the next planned act (keys pressed in it); one nobody planned
// for is closed with Escape and noted. Files are not handed to a viewer.
class DialogosDoUsuario : public DialogosQt
{
  public:
    using Ato = std::function<void(QWidget *)>;

    DialogosDoUsuario();
    ~DialogosDoUsuario() override;

    void planejar(Ato ato) { m_atos.push_back(std::move(ato)); }
    // Acts on a message box.
    static Ato sim();
    static Ato nao();
    static Ato ok();
    // Types a text in the search dialog's box and presses Enter.
    static Ato pesquisar(const QString &texto);

    void abrirArquivo(const QString &caminho) override { abertos << caminho; }

    bool atosEsgotados() const { return m_atos.empty(); }
    QStringList textos;      // every message box's text, in order
    QStringList inesperadas; // modal windows no act was planned for
    QStringList abertos;

  private:
    void verificar();

    std::deque<Ato> m_atos;
    QTimer m_relogio;
    Dialogos *m_anterior = nullptr;
};

// A program folder with representative "12", two products, two customers
// with their purchase figures and one order of each kind.
class Cenario : public ::testing::Test
{
  protected:
    void SetUp() override;
    void TearDown() override;

    // The screen of a kind, shown and active, its focus where it opens.
    void abrir(const VariantePedido &variante);
    void fecharTela();

    // Keys to whatever has the focus, as at the keyboard.
    static QWidget *foco();
    static void fecharListaDeCompletar();
    static void digitar(const QString &texto);
    static void tecla(Qt::Key tecla, Qt::KeyboardModifiers modificadores = Qt::NoModifier);
    // Tab (or Shift+Tab) until the focus is in `alvo`; false if it never is.
    static bool tabAte(QWidget *alvo, bool paraTras = false);
    // Tab to a button and press Space on it.
    void apertar(AcaoPedido acao, int lista = 0);
    void clicar(AcaoPedido acao, int lista = 0);

    QWidget *caixa(CaixaPedido c, int lista = 0) const { return tela->caixa(c, lista); }
    QString consultar(const QString &sql) const { return pasta.consultar(sql); }
    // The text a summary box shows (by its title, blanks included).
    QString resumo(const char *titulo) const;

    PastaProgramaTeste pasta;
    std::unique_ptr<DialogosDoUsuario> dialogos;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<TfrmPedido> tela;
};
