#include "demo_gravador.h"

#include "erro.h"
#include "instrucao_sql.h"

#include <QStringList>
#include <cstring>

namespace
{

const DefConjunto &procurarTabela(const std::vector<DefConjunto> &tabelas, const char *nome)
{
    for (const DefConjunto &t : tabelas)
        if (std::strcmp(t.tabela, nome) == 0)
            return t;
    throw Erro(QStringLiteral("A tabela %1 não existe.").arg(QString::fromUtf8(nome)));
}

const DefCampo &procurarColuna(const DefConjunto &tabela, const char *nome)
{
    for (const DefCampo &c : tabela.campos)
        if (std::strcmp(c.nome, nome) == 0 && c.origem == Origem::Coluna)
            return c;
    throw Erro(
        QStringLiteral("A coluna %1.%2 não existe.").arg(QString::fromUtf8(tabela.tabela), QString::fromUtf8(nome)));
}

void conferirLargura(const DefConjunto &tabela, const DefCampo &coluna, const QVariant &valor)
{
    const bool texto = coluna.tipo == TipoCampo::Texto || coluna.tipo == TipoCampo::TextoAnsi;
    if (!texto || coluna.largura == 0 || valor.isNull())
        return;
    const QString s = valor.toString();
    if (s.size() > coluna.largura)
        throw Erro(QStringLiteral("O valor \"%1\" não cabe em %2.%3 (%4 caracteres).")
                       .arg(s, QString::fromUtf8(tabela.tabela), QString::fromUtf8(coluna.nome))
                       .arg(coluna.largura));
}

} // namespace

Gravador::Gravador(const QString &arquivo, const std::vector<DefConjunto> &tabelas)
    : m_tabelas(tabelas), m_conexao(QStringLiteral("gravador_demo"))
{
    try {
        m_conexao.abrirBanco(arquivo);
        m_transacao = std::make_unique<Transacao>(m_conexao);
    } catch (const Erro &e) {
        throw Erro(QStringLiteral("Não foi possível abrir o banco de dados %1: %2").arg(arquivo, e.mensagem()));
    }
}

// Leaving without confirmar() rolls the rows back.
Gravador::~Gravador() = default;

void Gravador::inserir(const char *tabela, const Linha &linha)
{
    const DefConjunto &def = procurarTabela(m_tabelas, tabela);
    QStringList colunas;
    QStringList marcas;
    for (const auto &[nome, valor] : linha) {
        conferirLargura(def, procurarColuna(def, nome), valor);
        colunas << QStringLiteral("\"%1\"").arg(QString::fromUtf8(nome));
        marcas << QStringLiteral("?");
    }
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(QString::fromUtf8(tabela), colunas.join(u','), marcas.join(u','));
    std::unique_ptr<InstrucaoSql> q;
    try {
        q = std::make_unique<InstrucaoSql>(m_conexao, sql);
    } catch (const Erro &e) {
        throw Erro(QStringLiteral("Não foi possível preparar \"%1\": %2").arg(sql, e.mensagem()));
    }
    try {
        for (const auto &par : linha)
            q->vincular(par.second);
        q->proxima();
    } catch (const Erro &e) {
        throw Erro(QStringLiteral("Não foi possível gravar em %1: %2").arg(QString::fromUtf8(tabela), e.mensagem()));
    }
}

void Gravador::confirmar()
{
    try {
        m_transacao->confirmar();
    } catch (const Erro &e) {
        throw Erro(QStringLiteral("Não foi possível confirmar a gravação: %1").arg(e.mensagem()));
    }
}
