// The edit buffer: inserting, editing, storing, abandoning and deleting a row.

#include "conjunto_dados.h"

#include "erro.h"
#include "valor_campo.h"

#include <algorithm>

void ConjuntoDados::setAoNovoRegistro(std::function<void(ConjuntoDados &)> aoNovoRegistro)
{
    m_aoNovoRegistro = std::move(aoNovoRegistro);
}

void ConjuntoDados::escrever(int campo, int linha, const std::function<Celula()> &valor)
{
    const auto i = static_cast<std::size_t>(campo);
    if (!emEdicao())
        throw Erro(textoErro(QStringLiteral("o conjunto de dados não está em modo de edição ou inserção.")));
    if (linha != kLinhaAtual && linha != m_linhaEditada)
        throw Erro(textoErro(QStringLiteral("só o registro em edição pode ser alterado.")));
    if (m_campos[i].somenteLeitura || m_coluna[i] < 0)
        throw Erro(QStringLiteral("O campo %1 não pode ser modificado.").arg(QString::fromUtf8(m_campos[i].nome)));
    const auto coluna = static_cast<std::size_t>(m_coluna[i]);
    m_buffer[coluna] = valor();
    m_alterados[coluna] = true;
    m_modificado = true;
    Q_EMIT dadosAlterados();
    Q_EMIT linhaAlterada(m_atual);
}

void ConjuntoDados::copiarPorPosicao(const ConjuntoDados &origem)
{
    exigirEdicao();
    if (origem.quantidadeCampos() > quantidadeCampos())
        throw Erro(textoErro(QStringLiteral("tem menos campos que %1.").arg(origem.objectName())));
    for (int i = 0; i < origem.quantidadeCampos(); ++i) {
        const DefCampo &de = origem.defCampo(i);
        const DefCampo &para = defCampo(i);
        const Celula c = origem.celula(i, kLinhaAtual);
        if (de.tipo == para.tipo && !ValorCampo::ehTexto(para.tipo))
            escrever(i, kLinhaAtual, [&] { return c.copia(); });
        else
            escrever(i, kLinhaAtual, [&] { return ValorCampo::deVariante(ValorCampo::variante(c, de), para); });
    }
}

void ConjuntoDados::exigirEdicao() const
{
    if (!emEdicao())
        throw Erro(textoErro(QStringLiteral("o conjunto de dados não está em modo de edição ou inserção.")));
}

bool ConjuntoDados::podeModificar() const
{
    return ativo() && (m_emMemoria || (!m_tabela.isEmpty() && (m_colunaAutoInc >= 0 || m_temRowid)));
}

void ConjuntoDados::sairDaEdicao()
{
    if (!emEdicao())
        return;
    if (m_modificado)
        gravar();
    else
        cancelar();
}

void ConjuntoDados::inserir()
{
    exigirAtivo();
    if (!podeModificar())
        throw Erro(textoErro(QStringLiteral("os registros não podem ser modificados.")));
    sairDaEdicao();
    const int colunas = m_linhas.colunas();
    CodificadorLinha vazia;
    vazia.iniciar(colunas);
    const int fis = m_linhas.acrescentar(vazia);
    m_rowids.push_back(0);
    m_ordem.push_back(fis);
    const int posicao = quantidade();
    Q_EMIT antesInserirLinha(posicao);
    m_visiveis.push_back(fis);
    ++m_versaoVisao;
    Q_EMIT linhaInserida();

    m_atualAntesInsercao = m_atual;
    m_atual = posicao;
    m_inicio = m_fim = false;
    m_linhaEditada = fis;
    m_buffer.assign(static_cast<std::size_t>(colunas), Celula());
    m_alterados.assign(static_cast<std::size_t>(colunas), false);
    m_estado = EstadoConjunto::Insercao;
    // The master's key first, then the set's own defaults; neither counts as
    // a change of the user's.
    if (mestreTemLinhaGravada())
        for (const QString &p : m_parametros) {
            const int i = indiceCampo(p);
            const int m = m_mestre->indiceCampo(p);
            if (i >= 0 && m >= 0 && m_coluna[static_cast<std::size_t>(i)] >= 0)
                m_buffer[static_cast<std::size_t>(m_coluna[static_cast<std::size_t>(i)])] = ValorCampo::deVariante(
                    ValorCampo::variante(m_mestre->celula(m, kLinhaAtual), m_mestre->defCampo(m)), defCampo(i));
        }
    Q_EMIT estadoMudou();
    if (m_aoNovoRegistro)
        m_aoNovoRegistro(*this);
    m_modificado = false;
    Q_EMIT dadosAlterados();
    avisarMudancaDeLinha();
}

void ConjuntoDados::editar()
{
    exigirAtivo();
    if (emEdicao())
        return;
    if (!podeModificar())
        throw Erro(textoErro(QStringLiteral("os registros não podem ser modificados.")));
    if (vazio()) {
        inserir();
        return;
    }
    m_linhaEditada = m_visiveis[static_cast<std::size_t>(m_atual)];
    // The row's texts are not copied: the buffer keeps their block alive.
    m_blocoDoBuffer = m_linhas.blocoDe(m_linhaEditada);
    m_buffer = m_linhas.celulas(m_linhaEditada);
    m_alterados.assign(m_buffer.size(), false);
    m_modificado = false;
    m_estado = EstadoConjunto::Edicao;
    Q_EMIT estadoMudou();
}

void ConjuntoDados::gravar()
{
    exigirAtivo();
    if (!emEdicao())
        return;
    if (!m_emMemoria) {
        if (!gravarNoBanco())
            m_incertas.push_back(m_linhaEditada);
        m_gravadas.push_back(m_linhaEditada);
    }
    guardarBuffer(m_linhaEditada);
    ++m_versao;
    ++m_versaoVisao;
    m_estado = EstadoConjunto::Navegacao;
    m_buffer.clear();
    m_modificado = false;
    m_linhaEditada = -1;
    Q_EMIT linhaAlterada(m_atual);
    Q_EMIT estadoMudou();
    Q_EMIT dadosAlterados();
    avisarMudancaDeLinha(true);
}

void ConjuntoDados::guardarBuffer(int linhaFisica)
{
    // One encoder kept for every store: its buffers are allocated once.
    m_codificador.iniciar(m_linhas.colunas());
    for (std::size_t c = 0; c < m_buffer.size(); ++c)
        m_codificador.definir(static_cast<int>(c), m_buffer[c]);
    m_linhas.substituir(linhaFisica, m_codificador);
}

void ConjuntoDados::cancelar()
{
    if (!emEdicao())
        return;
    const bool inserindo = m_estado == EstadoConjunto::Insercao;
    m_estado = EstadoConjunto::Navegacao;
    m_buffer.clear();
    m_modificado = false;
    m_linhaEditada = -1;
    if (inserindo) {
        Q_EMIT antesRemoverLinha(m_atual);
        m_visiveis.pop_back();
        m_ordem.pop_back();
        ++m_versaoVisao;
        Q_EMIT linhaRemovida();
        m_atual = std::min(m_atualAntesInsercao, quantidade() - 1);
    } else {
        Q_EMIT linhaAlterada(m_atual);
    }
    m_inicio = m_fim = vazio();
    Q_EMIT estadoMudou();
    Q_EMIT dadosAlterados();
    avisarMudancaDeLinha();
}

void ConjuntoDados::excluir()
{
    exigirAtivo();
    if (!podeModificar())
        throw Erro(textoErro(QStringLiteral("os registros não podem ser modificados.")));
    if (vazio())
        throw Erro(textoErro(QStringLiteral("não há registro para excluir.")));
    if (m_estado == EstadoConjunto::Insercao) {
        cancelar();
        return;
    }
    const int fis = m_visiveis[static_cast<std::size_t>(m_atual)];
    if (!m_emMemoria)
        excluirNoBanco(fis);
    const bool editando = m_estado == EstadoConjunto::Edicao;
    m_estado = EstadoConjunto::Navegacao;
    m_buffer.clear();
    m_modificado = false;
    m_linhaEditada = -1;
    Q_EMIT antesRemoverLinha(m_atual);
    m_visiveis.erase(m_visiveis.begin() + m_atual);
    m_ordem.erase(std::find(m_ordem.begin(), m_ordem.end(), fis));
    Q_EMIT linhaRemovida();
    ++m_versao;
    ++m_versaoVisao;
    m_atual = std::min(m_atual, quantidade() - 1);
    m_inicio = m_fim = vazio();
    if (editando)
        Q_EMIT estadoMudou();
    Q_EMIT dadosAlterados();
    avisarMudancaDeLinha();
}
