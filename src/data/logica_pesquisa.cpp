#include "logica_pesquisa.h"

#include "conjunto_dados.h"

namespace {

// The text between single quotes, an embedded quote doubled.
QString entreAspas(const QString &texto)
{
    QString dobrado = texto;
    return QLatin1Char('\'') + dobrado.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

} // namespace

LogicaPesquisa::LogicaPesquisa(ConjuntoDados &dados) : m_dados(dados) {}

void LogicaPesquisa::iniciar()
{
    m_opcao1 = m_dados.quantidadeCampos() > 0 ? m_dados.campo(0).nome() : QString();
    m_opcao2 = m_dados.quantidadeCampos() > 1 ? m_dados.campo(1).nome() : QString();
    m_opcao = 1;
    limparFiltro();
    m_texto = valorAtual(m_opcao1);
}

void LogicaPesquisa::selecionarOpcao(int opcao)
{
    m_opcao = opcao == 2 ? 2 : 1;
    m_texto = valorAtual(colunaSelecionada());
}

void LogicaPesquisa::clicarLinha(int numeroRegistro)
{
    m_dados.irParaRegistro(numeroRegistro);
    m_texto = valorAtual(m_opcao1);
}

void LogicaPesquisa::escolherLinhaAtual() { escolher(); }

void LogicaPesquisa::pesquisar()
{
    limparFiltro();
    if (!m_texto.isEmpty()) {
        const QString coluna = colunaSelecionada();
        const bool exato = m_dados.localizar(coluna, m_texto);
        m_dados.setFiltro(exato ? coluna + QLatin1Char('=') + entreAspas(m_texto)
                                : coluna + QStringLiteral(" LIKE ") + entreAspas(QLatin1Char('*') + m_texto + QLatin1Char('*')));
        m_dados.setFiltrado(true);
    }
    const int restantes = m_dados.quantidade();
    if (restantes == 0) {
        limparFiltro();
        m_texto.clear();
    } else if (restantes == 1) {
        escolher();
    }
}

QString LogicaPesquisa::colunaSelecionada() const { return m_opcao == 2 ? m_opcao2 : m_opcao1; }

QString LogicaPesquisa::valorAtual(const QString &coluna) const
{
    if (coluna.isEmpty() || m_dados.vazio())
        return {};
    return m_dados.campo(coluna).texto();
}

void LogicaPesquisa::limparFiltro()
{
    m_dados.setFiltro(QString());
    m_dados.setFiltrado(false);
}

void LogicaPesquisa::escolher()
{
    m_confirmado = true;
    m_concluido = true;
}
