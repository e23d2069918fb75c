#include "progresso_principal.h"

#include "ui_uprincipal.h"

#include <algorithm>
#include <climits>

namespace
{

// The bar counts in int: large files are shown in kibibytes.
int escala(qint64 maximo)
{
    return maximo > INT_MAX ? 1024 : 1;
}

} // namespace

ProgressoPrincipal::ProgressoPrincipal(Ui::TfrmPrincipal &ui, std::function<void()> mostrarRepresentante)
    : m_ui(ui), m_mostrarRepresentante(std::move(mostrarRepresentante))
{
    m_ui.painelBotoes->setEnabled(false);
}

ProgressoPrincipal::~ProgressoPrincipal()
{
    m_ui.painelBotoes->setEnabled(true);
}

void ProgressoPrincipal::mostrarProgresso(bool visivel)
{
    m_ui.lblAguarde->setVisible(visivel);
    m_ui.pbAtualizacao->setVisible(visivel);
    m_ui.lblAtualizandoBD->setVisible(visivel);
}

void ProgressoPrincipal::definirTexto(const QString &texto)
{
    m_ui.lblAtualizandoBD->setText(texto);
}

void ProgressoPrincipal::definirMaximo(qint64 maximo)
{
    m_maximo = std::max<qint64>(maximo, 0);
    m_ui.pbAtualizacao->setRange(0, static_cast<int>(m_maximo / escala(m_maximo)));
}

void ProgressoPrincipal::definirPosicao(qint64 posicao)
{
    const qint64 dentro = std::clamp<qint64>(posicao, 0, m_maximo);
    m_ui.pbAtualizacao->setValue(static_cast<int>(dentro / escala(m_maximo)));
}

void ProgressoPrincipal::mostrarRepresentante()
{
    m_mostrarRepresentante();
}
