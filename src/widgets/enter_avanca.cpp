#include "enter_avanca.h"

#include "preferencias.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextEdit>

namespace
{

bool ehMultilinha(const QObject *o)
{
    return qobject_cast<const QPlainTextEdit *>(o) || qobject_cast<const QTextEdit *>(o);
}

bool ehCaixa(const QObject *o)
{
    return qobject_cast<const QLineEdit *>(o) || qobject_cast<const QComboBox *>(o) ||
           qobject_cast<const QAbstractSpinBox *>(o) || qobject_cast<const QCheckBox *>(o) ||
           qobject_cast<const QRadioButton *>(o) || ehMultilinha(o);
}

// Tab as the window would take it; a multi-line box gives the focus away
// instead of writing a tab.
void avancar(QWidget *caixa)
{
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    if (auto *memo = qobject_cast<QPlainTextEdit *>(caixa)) {
        const bool antes = memo->tabChangesFocus();
        memo->setTabChangesFocus(true);
        QApplication::sendEvent(caixa, &tab);
        memo->setTabChangesFocus(antes);
    } else if (auto *texto = qobject_cast<QTextEdit *>(caixa)) {
        const bool antes = texto->tabChangesFocus();
        texto->setTabChangesFocus(true);
        QApplication::sendEvent(caixa, &tab);
        texto->setTabChangesFocus(antes);
    } else {
        QApplication::sendEvent(caixa, &tab);
    }
}

} // namespace

EnterAvanca::EnterAvanca(QWidget *janela, AoEnter aoEnter)
    : QObject(janela), m_janela(janela), m_aoEnter(std::move(aoEnter))
{
}

void EnterAvanca::instalar(QWidget *janela, AoEnter aoEnter)
{
    auto *filtro = new EnterAvanca(janela, std::move(aoEnter));
    for (QWidget *w : janela->findChildren<QWidget *>())
        if (ehCaixa(w) || qobject_cast<QAbstractButton *>(w))
            w->installEventFilter(filtro);
}

bool EnterAvanca::eventFilter(QObject *objeto, QEvent *evento)
{
    if (evento->type() != QEvent::KeyPress)
        return false;
    const auto *tecla = static_cast<QKeyEvent *>(evento);
    if (tecla->key() != Qt::Key_Return && tecla->key() != Qt::Key_Enter)
        return false;
    // A button with the focus is pressed by Enter as by Space.
    if (auto *botao = qobject_cast<QAbstractButton *>(objeto); botao && !ehCaixa(botao)) {
        botao->click();
        return true;
    }
    auto *caixa = static_cast<QWidget *>(objeto);
    const bool ctrl = tecla->modifiers() & Qt::ControlModifier;
    if ((ehMultilinha(caixa) && !ctrl) || !EnterAvancaCaixa())
        return false;
    // A list of completions left open would keep the box from being left.
    if (auto *linha = qobject_cast<QLineEdit *>(caixa); linha && linha->completer())
        linha->completer()->popup()->hide();
    if (m_aoEnter && m_aoEnter(caixa))
        return true;
    avancar(caixa);
    return true;
}
