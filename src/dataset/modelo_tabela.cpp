#include "modelo_tabela.h"

#include "conjunto_dados.h"
#include "erro.h"
#include "valor_campo.h"

ModeloTabela::ModeloTabela(ConjuntoDados *conjunto, QObject *parent) : QAbstractTableModel(parent), m_conjunto(conjunto)
{
    connect(conjunto, &ConjuntoDados::antesRecarregar, this, [this] { beginResetModel(); });
    connect(conjunto, &ConjuntoDados::recarregado, this, [this] {
        setColunas(m_nomes, m_titulos, m_manterAusentes);
        endResetModel();
    });
    connect(conjunto, &ConjuntoDados::antesInserirLinha, this, [this](int p) { beginInsertRows({}, p, p); });
    connect(conjunto, &ConjuntoDados::linhaInserida, this, [this] { endInsertRows(); });
    connect(conjunto, &ConjuntoDados::antesRemoverLinha, this, [this](int p) { beginRemoveRows({}, p, p); });
    connect(conjunto, &ConjuntoDados::linhaRemovida, this, [this] { endRemoveRows(); });
    connect(conjunto, &ConjuntoDados::linhaAlterada, this, [this](int p) {
        if (p >= 0 && columnCount() > 0)
            Q_EMIT dataChanged(index(p, 0), index(p, columnCount() - 1));
    });
}

void ModeloTabela::setColunas(const QStringList &campos, const QStringList &titulos, bool manterAusentes)
{
    m_nomes = campos;
    m_titulos = titulos;
    m_manterAusentes = manterAusentes;
    // Names the data set does not have (yet: a result not opened) are left
    // out unless kept as empty columns (field -1).
    m_colunas.clear();
    for (qsizetype k = 0; k < m_nomes.size(); ++k)
        if (const int i = m_conjunto->indiceCampo(m_nomes.at(k)); i >= 0 || m_manterAusentes)
            m_colunas.push_back({i, k < m_titulos.size() ? m_titulos.at(k) : m_nomes.at(k)});
}

int ModeloTabela::campoDaColuna(int coluna) const
{
    return m_nomes.isEmpty() ? coluna : m_colunas[static_cast<std::size_t>(coluna)].campo;
}

int ModeloTabela::rowCount(const QModelIndex &pai) const
{
    return pai.isValid() ? 0 : m_conjunto->quantidade();
}

int ModeloTabela::columnCount(const QModelIndex &pai) const
{
    if (pai.isValid())
        return 0;
    return m_nomes.isEmpty() ? m_conjunto->quantidadeCampos() : static_cast<int>(m_colunas.size());
}

QVariant ModeloTabela::data(const QModelIndex &indice, int papel) const
{
    if (!indice.isValid() || indice.row() >= rowCount() || indice.column() >= columnCount())
        return {};
    const int campo = campoDaColuna(indice.column());
    if (campo < 0)
        return {};
    if (papel == Qt::TextAlignmentRole) {
        const TipoCampo t = m_conjunto->defCampo(campo).tipo;
        const bool numero = !ValorCampo::ehTexto(t) && t != TipoCampo::DataHora && t != TipoCampo::Booleano;
        return QVariant::fromValue(Qt::AlignVCenter | (numero ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (papel != Qt::DisplayRole && papel != Qt::EditRole)
        return {};
    // A value that cannot be shown must not escape into the view's painting.
    try {
        const Campo c = m_conjunto->registro(indice.row()).campo(campo);
        return papel == Qt::DisplayRole ? c.textoExibicao() : c.textoEdicao();
    } catch (const Erro &) {
        return {};
    }
}

QVariant ModeloTabela::headerData(int secao, Qt::Orientation orientacao, int papel) const
{
    if (papel != Qt::DisplayRole)
        return {};
    if (orientacao == Qt::Vertical)
        return secao + 1;
    if (secao < 0 || secao >= columnCount())
        return {};
    if (!m_nomes.isEmpty())
        return m_colunas[static_cast<std::size_t>(secao)].titulo;
    return QString::fromUtf8(m_conjunto->defCampo(secao).nome);
}
