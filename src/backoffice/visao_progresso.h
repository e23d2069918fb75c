#pragma once

#include <QString>
#include <QtGlobal>

// What the database update shows in the main window: the gauge, its step
// text and the "please wait" line, shown together and hidden together, and
// the representative line it refreshes at the end.
class VisaoProgresso
{
  public:
    virtual ~VisaoProgresso() = default;

    virtual void mostrarProgresso(bool visivel) = 0;
    virtual void definirTexto(const QString &texto) = 0;
    virtual void definirMaximo(qint64 maximo) = 0;
    // A position past the maximum shows a full gauge.
    virtual void definirPosicao(qint64 posicao) = 0;
    virtual void mostrarRepresentante() = 0;
};
