#include "logica_pesquisa.h"

#include "conjunto_dados.h"

#include <algorithm>
#include <utility>

namespace
{

// The text between single quotes, an embedded quote doubled.
QString entreAspas(const QString &texto)
{
    QString dobrado = texto;
    return QLatin1Char('\'') + dobrado.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

// A code, a CNPJ, an order number or a date: digits and no blanks.
bool pareceCodigo(const QString &texto)
{
    return !texto.isEmpty() && std::any_of(texto.begin(), texto.end(), [](QChar c) { return c.isDigit(); }) &&
           std::none_of(texto.begin(), texto.end(), [](QChar c) { return c.isSpace(); });
}

// How many of the first rows are looked at to tell a column of codes.
constexpr int kAmostra = 50;

} // namespace

LogicaPesquisa::LogicaPesquisa(ConjuntoDados &dados) : m_dados(dados) {}

void LogicaPesquisa::iniciar()
{
    m_opcao1 = m_dados.quantidadeCampos() > 0 ? m_dados.campo(0).nome() : QString();
    m_opcao2 = m_dados.quantidadeCampos() > 1 ? m_dados.campo(1).nome() : QString();
    m_opcao = 1;
    m_opcaoEscolhida = false;
    limparFiltro();
    classificarColunas();
    m_texto = valorAtual(m_opcao1);
}

// Which of the two columns holds codes, judged by its first rows; when both
// or neither do, the first option serves every text.
void LogicaPesquisa::classificarColunas()
{
    m_opcaoCodigo = m_opcaoNome = 1;
    if (m_opcao2.isEmpty())
        return;
    int codigos[2] = {0, 0};
    const int n = std::min(m_dados.quantidade(), kAmostra);
    for (int i = 0; i < n; ++i) {
        const Registro linha = m_dados.registro(i);
        codigos[0] += pareceCodigo(linha.campo(m_opcao1).texto()) ? 1 : 0;
        codigos[1] += pareceCodigo(linha.campo(m_opcao2).texto()) ? 1 : 0;
    }
    const bool codigo1 = codigos[0] * 2 > n, codigo2 = codigos[1] * 2 > n;
    if (codigo1 != codigo2) {
        m_opcaoCodigo = codigo1 ? 1 : 2;
        m_opcaoNome = codigo1 ? 2 : 1;
    }
}

void LogicaPesquisa::selecionarOpcao(int opcao)
{
    m_opcao = opcao == 2 ? 2 : 1;
    m_opcaoEscolhida = true;
    m_texto = valorAtual(colunaSelecionada());
}

void LogicaPesquisa::clicarLinha(int numeroRegistro)
{
    m_dados.irParaRegistro(numeroRegistro);
    m_texto = valorAtual(m_opcao1);
}

void LogicaPesquisa::escolherLinhaAtual()
{
    if (!m_dados.vazio())
        escolher();
}

void LogicaPesquisa::pesquisar()
{
    limparFiltro();
    if (!m_texto.isEmpty()) {
        const QString coluna = colunaSelecionada();
        const bool exato = m_dados.localizar(coluna, m_texto);
        m_dados.setFiltro(exato ? coluna + QLatin1Char('=') + entreAspas(m_texto)
                                : coluna + QStringLiteral(" LIKE ") +
                                      entreAspas(QLatin1Char('*') + m_texto + QLatin1Char('*')));
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

void LogicaPesquisa::estreitar(const QString &texto)
{
    m_texto = texto;
    const QString procurado = texto.trimmed();
    if (procurado.isEmpty()) {
        limparFiltro();
        return;
    }
    if (m_opcaoEscolhida) {
        filtrarContendo(colunaSelecionada(), procurado);
        return;
    }
    const int preferida = pareceCodigo(procurado) ? m_opcaoCodigo : m_opcaoNome;
    m_opcao = preferida;
    filtrarContendo(coluna(preferida), procurado);
    if (m_dados.vazio() && !m_opcao2.isEmpty()) {
        filtrarContendo(coluna(3 - preferida), procurado);
        if (!m_dados.vazio())
            m_opcao = 3 - preferida;
    }
}

void LogicaPesquisa::moverLinha(int passos)
{
    if (m_dados.vazio())
        return;
    const int destino = std::clamp(m_dados.numeroRegistro() + passos, 1, m_dados.quantidade());
    m_dados.irParaRegistro(destino);
}

QString LogicaPesquisa::titulo(const QString &coluna)
{
    static const std::pair<const char *, const char *> titulos[] = {
        {"codigo", "Código"},
        {"produto", "Descrição"},
        {"precovenda", "Preço"},
        {"estoque", "Estoque"},
        {"fabricante", "Fabricante"},
        {"nome", "Nome"},
        {"cnpj", "CNPJ"},
        {"idcliente", "Código"},
        {"fantasia", "Cliente"},
        {"nr_pedido", "Pedido"},
        {"dt_pedido", "Data"},
        {"vl_total_item", "Total"},
        {"vl_total_pacote", "Total"},
        {"data_pendente", "Data"},
        {"valortotal", "Valor total"},
    };
    const QString chave = coluna.toLower();
    for (const auto &[nome, texto] : titulos)
        if (chave == QLatin1String(nome))
            return QString::fromUtf8(texto);
    return coluna;
}

QString LogicaPesquisa::colunaSelecionada() const
{
    return coluna(m_opcao);
}

QString LogicaPesquisa::valorAtual(const QString &coluna) const
{
    if (coluna.isEmpty() || m_dados.vazio())
        return {};
    return m_dados.campo(coluna).texto();
}

void LogicaPesquisa::filtrarContendo(const QString &coluna, const QString &texto)
{
    m_dados.setFiltro(coluna + QStringLiteral(" LIKE ") + entreAspas(QLatin1Char('*') + texto + QLatin1Char('*')));
    m_dados.setFiltrado(true);
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
