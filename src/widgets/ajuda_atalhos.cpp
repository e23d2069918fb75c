#include "ajuda_atalhos.h"

#include "dialogos.h"
#include "preferencias.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QKeySequence>
#include <QLineEdit>
#include <QWidget>
#include <map>

namespace
{

QString semMarca(QString texto)
{
    texto.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    texto.remove(QLatin1Char('&'));
    texto.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return texto.simplified();
}

// The letter a caption underlines ("&Salvar": S), or nothing.
QChar letraMarcada(const QString &texto)
{
    for (qsizetype i = 0; i + 1 < texto.size(); ++i) {
        if (texto.at(i) != QLatin1Char('&'))
            continue;
        if (texto.at(i + 1) != QLatin1Char('&'))
            return texto.at(i + 1).toUpper();
        ++i;
    }
    return {};
}

// The hint says it best ("Salvar item" where the caption says "Salvar").
QString textoDaAcao(const QAbstractButton *b)
{
    return b->toolTip().isEmpty() ? semMarca(b->text()) : b->toolTip();
}

} // namespace

LinhasAtalhos AtalhosDaJanela(const QWidget *janela)
{
    // One line per key: buttons sharing a letter are listed together.
    std::map<QString, QStringList> porTecla;
    QStringList ordem;
    auto anotar = [&](const QString &tecla, const QString &acao) {
        if (tecla.isEmpty() || acao.isEmpty())
            return;
        if (!porTecla.count(tecla))
            ordem << tecla;
        if (!porTecla[tecla].contains(acao))
            porTecla[tecla] << acao;
    };
    for (const QAbstractButton *b : janela->findChildren<QAbstractButton *>()) {
        if (const QChar letra = letraMarcada(b->text()); !letra.isNull())
            anotar(QStringLiteral("Alt+") + letra, textoDaAcao(b));
        if (!b->shortcut().isEmpty())
            anotar(b->shortcut().toString(QKeySequence::NativeText), textoDaAcao(b));
    }
    for (const QAction *a : janela->findChildren<QAction *>())
        if (!a->shortcut().isEmpty() && a->shortcut() != QKeySequence(Qt::Key_F1))
            anotar(a->shortcut().toString(QKeySequence::NativeText), semMarca(a->text()));
    LinhasAtalhos linhas;
    for (const QString &tecla : ordem)
        linhas << QStringList{tecla, porTecla[tecla].join(QStringLiteral(" / "))};
    return linhas;
}

void InstalarAjudaAtalhos(QWidget *janela, std::function<LinhasAtalhos()> proprias, bool enterAvanca)
{
    auto *ajuda = new QAction(QStringLiteral("Atalhos"), janela);
    ajuda->setShortcut(Qt::Key_F1);
    ajuda->setShortcutContext(Qt::WindowShortcut);
    janela->addAction(ajuda);
    QObject::connect(ajuda, &QAction::triggered, janela, [janela, proprias, enterAvanca] {
        LinhasAtalhos linhas = AtalhosDaJanela(janela);
        if (proprias)
            linhas << proprias();
        const bool temCaixas = janela->findChild<QLineEdit *>() != nullptr;
        if (temCaixas && enterAvanca && EnterAvancaCaixa())
            linhas << QStringList{QStringLiteral("Enter"), QStringLiteral("Passa para a próxima caixa")};
        linhas << QStringList{QStringLiteral("Tab / Shift+Tab"),
                              temCaixas ? QStringLiteral("Próxima caixa / caixa anterior")
                                        : QStringLiteral("Próximo botão / botão anterior")};
        if (qobject_cast<const QDialog *>(janela))
            linhas << QStringList{QStringLiteral("Esc"), QStringLiteral("Fecha a janela")};
        linhas << QStringList{QStringLiteral("F1"), QStringLiteral("Esta ajuda")};
        Dialogos::atual().tabela({QStringLiteral("Atalhos"),
                                  semMarca(janela->windowTitle()),
                                  {QStringLiteral("Tecla"), QStringLiteral("O que faz")},
                                  linhas,
                                  QString()});
    });
}
