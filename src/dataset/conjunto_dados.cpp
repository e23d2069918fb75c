// A data set's set-up and its fields: where the rows come from, the field
// list, and the value of a field in a row.

#include "conjunto_dados_interno.h"

#include "conexao.h"
#include "erro.h"
#include "valor_campo.h"

#include <QRegularExpression>

using namespace ConjuntoInterno;

ConjuntoDados::ConjuntoDados(const QString &nome, const std::vector<DefCampo> *campos, QObject *parent)
    : QObject(parent), m_declarados(campos)
{
    setObjectName(nome);
    if (m_declarados) {
        m_campos = *m_declarados;
        prepararCampos();
    }
}

ConjuntoDados::~ConjuntoDados()
{
    setMestre(nullptr);
    for (ConjuntoDados *d : m_detalhes)
        d->m_mestre = nullptr;
    if (m_conexao)
        m_conexao->desregistrar(this);
}

void ConjuntoDados::prepararCampos()
{
    const std::size_t n = m_campos.size();
    m_coluna.assign(n, -1);
    m_campoDaColuna.clear();
    m_colunaAutoInc = -1;
    m_porNome.clear();
    m_lookups.resize(n);
    m_calculos.resize(n);
    m_indices.assign(n, {});
    m_indicesVisao.assign(n, {});
    for (std::size_t i = 0; i < n; ++i) {
        const DefCampo &d = m_campos[i];
        m_porNome.insert(QString::fromUtf8(d.nome).toCaseFolded(), static_cast<int>(i));
        if (d.origem != Origem::Coluna)
            continue;
        m_coluna[i] = static_cast<int>(m_campoDaColuna.size());
        if (d.tipo == TipoCampo::AutoInc && m_colunaAutoInc < 0)
            m_colunaAutoInc = m_coluna[i];
        m_campoDaColuna.push_back(static_cast<int>(i));
    }
}

QString ConjuntoDados::textoErro(const QString &mensagem) const
{
    return QStringLiteral("%1: %2").arg(objectName(), mensagem);
}

void ConjuntoDados::setTabela(const QString &tabela)
{
    m_tabela = tabela;
    liberarInstrucoes();
}

void ConjuntoDados::setConexao(Conexao *conexao)
{
    if (m_conexao == conexao)
        return;
    fechar();
    liberarInstrucoes();
    if (m_conexao)
        m_conexao->desregistrar(this);
    m_conexao = conexao;
    if (m_conexao)
        m_conexao->registrar(this);
}

void ConjuntoDados::setSql(const QString &sql)
{
    fechar();
    m_sql = sql;
    m_parametros.clear();
    static const QRegularExpression parametro(QStringLiteral(":([A-Za-z_][A-Za-z0-9_]*)"));
    for (const auto &m : parametro.globalMatch(sql))
        m_parametros << m.captured(1);
}

int ConjuntoDados::executar()
{
    if (!m_conexao)
        throw Erro(textoErro(QStringLiteral("a conexão com o banco de dados não está aberta.")));
    return m_conexao->executar(m_sql);
}

void ConjuntoDados::exigirAtivo() const
{
    carregarSePendente();
    if (!ativo())
        throw Erro(textoErro(QStringLiteral("operação não permitida com o conjunto de dados fechado.")));
}

int ConjuntoDados::indiceCampo(const QString &nome) const
{
    return m_porNome.value(nome.toCaseFolded(), -1);
}

int ConjuntoDados::indiceCampoOuErro(const QString &nome) const
{
    const int i = indiceCampo(nome);
    if (i < 0)
        throw Erro(textoErro(QStringLiteral("campo \"%1\" não encontrado.").arg(nome)));
    return i;
}

Campo ConjuntoDados::campo(const QString &nome) const
{
    return Campo(this, indiceCampoOuErro(nome), kLinhaAtual);
}

Campo ConjuntoDados::campo(int posicao) const
{
    return campoNaLinha(posicao, kLinhaAtual);
}

Campo ConjuntoDados::campoNaLinha(int indice, int linha) const
{
    if (indice < 0 || indice >= quantidadeCampos())
        throw Erro(textoErro(QStringLiteral("não há campo na posição %1.").arg(indice)));
    return Campo(this, indice, linha);
}

Registro ConjuntoDados::registro(int posicao) const
{
    carregarSePendente();
    if (posicao < 0 || posicao >= quantidade())
        throw Erro(textoErro(QStringLiteral("não há registro na posição %1.").arg(posicao)));
    return Registro(this, m_visiveis[static_cast<std::size_t>(posicao)]);
}

int ConjuntoDados::linhaFisica(int linha) const
{
    if (linha != kLinhaAtual)
        return linha;
    return m_atual >= 0 ? m_visiveis[static_cast<std::size_t>(m_atual)] : -1;
}

Celula ConjuntoDados::celula(int campo, int linha) const
{
    carregarSePendente();
    const int fis = linhaFisica(linha);
    if (fis < 0)
        return {};
    const auto i = static_cast<std::size_t>(campo);
    if (const int coluna = m_coluna[i]; coluna >= 0) {
        if (emEdicao() && fis == m_linhaEditada)
            return m_buffer[static_cast<std::size_t>(coluna)];
        return m_linhas.celula(fis, coluna);
    }
    if (m_lookups[i].origem)
        return celulaLookup(m_lookups[i], linha);
    if (m_calculos[i])
        return ValorCampo::deVariante(m_calculos[i](Registro(this, linha)), m_campos[i]);
    return {};
}

void ConjuntoDados::definirCalculo(const QString &campo, std::function<QVariant(const Registro &)> calculo)
{
    m_calculos[static_cast<std::size_t>(indiceCampoOuErro(campo))] = std::move(calculo);
}
