// The master-detail link: a detail reads its rows for the master's row.

#include "conjunto_dados_interno.h"

#include <string>

using namespace ConjuntoInterno;

void ConjuntoDados::setMestre(ConjuntoDados *mestre)
{
    if (m_mestre)
        std::erase(m_mestre->m_detalhes, this);
    m_mestre = mestre;
    if (m_mestre)
        m_mestre->m_detalhes.push_back(this);
}

bool ConjuntoDados::mestreTemLinhaGravada() const
{
    return m_mestre && m_mestre->ativo() && !m_mestre->vazio() && m_mestre->estado() != EstadoConjunto::Insercao;
}

// The values of the master's fields the parameters take; empty while the
// master has no saved row.
std::string ConjuntoDados::chaveDoMestre() const
{
    if (m_parametros.isEmpty() || !mestreTemLinhaGravada())
        return {};
    std::string chave = "+";
    for (const QString &p : m_parametros) {
        const int campo = m_mestre->indiceCampo(p);
        char buf[32];
        const Celula c = campo < 0 ? Celula() : m_mestre->celula(campo, kLinhaAtual);
        const std::string_view k = chaveDe(c, buf);
        chave += static_cast<char>(c.tipo);
        chave += std::to_string(k.size()) + ':';
        chave += k;
    }
    return chave;
}

void ConjuntoDados::atualizarPeloMestre(bool gravacao)
{
    // Rows not read yet will be read for the master's row of that moment.
    if (!ativo() || m_abrirAoUsar || m_parametros.isEmpty())
        return;
    sairDaEdicao();
    if (gravacao && !m_relerAoGravarMestre && chaveDoMestre() == m_chaveMestre) {
        irPara(vazio() ? -1 : 0, true, false);
        return;
    }
    if (chaveDoMestre() == m_chaveMestre && linhasComoNoBanco()) {
        // The query would bring back the same rows: only what reading them
        // does besides (look-up copies, filter, first row) is done. Rows it
        // stored are as the database has them: none is left to read.
        m_gravadas.clear();
        {
            Recarga r(*this);
            tomarCopiasDosLookups();
            aplicarFiltro();
            m_atual = vazio() ? -1 : 0;
            m_inicio = true;
            m_fim = vazio();
        }
        Q_EMIT dadosAlterados();
        avisarMudancaDeLinha();
        return;
    }
    buscarLinhas();
    Q_EMIT dadosAlterados();
    avisarMudancaDeLinha();
}
