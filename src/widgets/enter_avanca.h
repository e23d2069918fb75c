#pragma once

#include <QObject>
#include <functional>

class QWidget;

// Enter moves to the next box as Tab does, in every box of a window: line
// boxes, lists, check and option boxes. In a multi-line box Enter keeps its
// line break and Ctrl+Enter moves on. A button with the focus is pressed.
// Grids keep their own Enter. The user's keyboard choice turns the boxes'
// part off.
class EnterAvanca : public QObject
{
  public:
    // Asked first when Enter is pressed in a box: true when the window has
    // done something else with it (the last box of an item saves the item).
    using AoEnter = std::function<bool(QWidget *caixa)>;

    // Watches the boxes the window holds now.
    static void instalar(QWidget *janela, AoEnter aoEnter = {});

  protected:
    bool eventFilter(QObject *objeto, QEvent *evento) override;

  private:
    EnterAvanca(QWidget *janela, AoEnter aoEnter);

    QWidget *m_janela;
    AoEnter m_aoEnter;
};
