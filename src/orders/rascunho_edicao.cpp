#include "rascunho_edicao.h"

#include "transacao.h"

RascunhoEdicao::RascunhoEdicao(ConjuntoDados &conjunto)
    : m_conjunto(conjunto), m_estado(conjunto.estado()), m_registro(conjunto.numeroRegistro())
{
    if (!conjunto.emEdicao())
        return;
    for (int i = 0; i < conjunto.quantidadeCampos(); ++i) {
        const DefCampo &def = conjunto.defCampo(i);
        if (def.origem == Origem::Coluna && def.tipo != TipoCampo::AutoInc)
            m_valores.emplace_back(i, conjunto.campo(i).valor());
    }
}

void RascunhoEdicao::restaurar()
{
    // A set the rollback left editing still holds the row as typed.
    if (!m_conjunto.ativo() || (m_conjunto.emEdicao() && m_conjunto.estado() == m_estado))
        return;
    // A row left half-written by the failed work is not the user's.
    if (m_conjunto.emEdicao())
        m_conjunto.cancelar();
    if (m_estado == EstadoConjunto::Insercao) {
        m_conjunto.inserir();
    } else {
        if (m_registro >= 1 && m_registro <= m_conjunto.quantidade() && m_registro != m_conjunto.numeroRegistro())
            m_conjunto.irParaRegistro(m_registro);
        if (m_estado == EstadoConjunto::Edicao)
            m_conjunto.editar();
    }
    for (const auto &[indice, valor] : m_valores) {
        Campo campo = m_conjunto.campo(indice);
        if (campo.valor() != valor)
            campo.setValor(valor);
    }
}

void GravarPreservando(const std::vector<ConjuntoDados *> &conjuntos, const std::function<void()> &gravar)
{
    std::vector<RascunhoEdicao> rascunhos;
    rascunhos.reserve(conjuntos.size());
    for (ConjuntoDados *c : conjuntos)
        rascunhos.emplace_back(*c);
    try {
        Transacao transacao(*conjuntos.front()->conexao());
        gravar();
        transacao.confirmar();
    } catch (...) {
        // The transaction is rolled back by now; headers come first in the
        // list, so a restored item takes its order's number.
        for (RascunhoEdicao &r : rascunhos)
            r.restaurar();
        throw;
    }
}
