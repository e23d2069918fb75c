#include "fonte_conjunto.h"

#include "conjunto_dados.h"

namespace
{

template <typename Linha> CamposRelatorio campos(const ConjuntoDados &conjunto, const Linha &linha)
{
    CamposRelatorio resultado;
    for (int i = 0; i < conjunto.quantidadeCampos(); ++i) {
        const Campo campo = linha.campo(i);
        resultado.insert(campo.nome(), campo.textoExibicao());
    }
    return resultado;
}

} // namespace

CamposRelatorio FonteConjunto::registroAtual() const
{
    if (!m_conjunto.ativo() || (m_conjunto.vazio() && !m_conjunto.emEdicao()))
        return {};
    return campos(m_conjunto, m_conjunto);
}

QList<CamposRelatorio> FonteConjunto::linhas() const
{
    QList<CamposRelatorio> resultado;
    if (!m_conjunto.ativo())
        return resultado;
    const int quantidade = m_conjunto.quantidade();
    resultado.reserve(quantidade);
    for (int i = 0; i < quantidade; ++i)
        resultado.append(campos(m_conjunto, m_conjunto.registro(i)));
    return resultado;
}
