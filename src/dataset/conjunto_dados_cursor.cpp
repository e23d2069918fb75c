// The cursor: counts, positions and moves over the rows in view.

#include "conjunto_dados.h"

int ConjuntoDados::quantidade() const
{
    carregarSePendente();
    return static_cast<int>(m_visiveis.size());
}

int ConjuntoDados::numeroRegistro() const
{
    carregarSePendente();
    return m_atual + 1;
}

void ConjuntoDados::irPara(int posicao, bool inicio, bool fim)
{
    m_atual = posicao;
    m_inicio = inicio || vazio();
    m_fim = fim || vazio();
    avisarMudancaDeLinha();
}

void ConjuntoDados::avisarMudancaDeLinha(bool gravacao)
{
    Q_EMIT registroMudou();
    for (ConjuntoDados *d : m_detalhes)
        d->atualizarPeloMestre(gravacao);
}

void ConjuntoDados::primeiro()
{
    exigirAtivo();
    sairDaEdicao();
    irPara(vazio() ? -1 : 0, true, false);
}

void ConjuntoDados::irParaRegistro(int numero)
{
    exigirAtivo();
    if (numero < 1 || numero > quantidade())
        return;
    sairDaEdicao();
    irPara(numero - 1, false, false);
}

void ConjuntoDados::ultimo()
{
    exigirAtivo();
    sairDaEdicao();
    irPara(quantidade() - 1, false, true);
}

// A move towards an end already marked does nothing; otherwise the marks are
// cleared and set again only if the move ran past the first or last row.
void ConjuntoDados::proximo()
{
    exigirAtivo();
    sairDaEdicao();
    if (m_fim)
        return;
    if (m_atual + 1 < quantidade()) {
        irPara(m_atual + 1, false, false);
        return;
    }
    m_inicio = false;
    m_fim = true;
    Q_EMIT registroMudou();
}

void ConjuntoDados::anterior()
{
    exigirAtivo();
    sairDaEdicao();
    if (m_inicio)
        return;
    if (m_atual > 0) {
        irPara(m_atual - 1, false, false);
        return;
    }
    m_inicio = true;
    m_fim = false;
    Q_EMIT registroMudou();
}
