#pragma once

#include "visao_progresso.h"

#include <QStringList>
#include <vector>

// The main window's progress widgets as a test sees them: every call kept.
class VisaoRegistro : public VisaoProgresso
{
  public:
    void mostrarProgresso(bool visivel) override { visiveis.push_back(visivel); }
    void definirTexto(const QString &texto) override { textos << texto; }
    void definirMaximo(qint64 maximo) override { maximos.push_back(maximo); }
    void definirPosicao(qint64 posicao) override
    {
        if (!maximos.empty() && posicao > maximos.back())
            ++alemDoMaximo;
        posicoes.push_back(posicao);
        if (aoMover)
            aoMover();
    }
    void mostrarRepresentante() override { ++representante; }

    std::vector<bool> visiveis;
    QStringList textos;
    std::vector<qint64> maximos;
    std::vector<qint64> posicoes;
    int representante = 0;
    int alemDoMaximo = 0; // positions past the maximum then in force
    std::function<void()> aoMover;
};
