// Write-back: the statements that store a data set's rows in its table.

#include "conjunto_dados_interno.h"

#include "conexao.h"
#include "erro.h"
#include "valor_campo.h"

using namespace ConjuntoInterno;

namespace ConjuntoInterno
{

void vincular(sqlite3_stmt *st, int i, const Celula &c, TipoCampo tipo)
{
    switch (c.tipo) {
    case Celula::Tipo::Nulo:
        sqlite3_bind_null(st, i);
        return;
    case Celula::Tipo::Real:
        sqlite3_bind_double(st, i, c.real);
        return;
    case Celula::Tipo::Texto:
        sqlite3_bind_text(st, i, c.texto, static_cast<int>(c.tamanho), SQLITE_TRANSIENT);
        return;
    case Celula::Tipo::Inteiro:
        break;
    }
    if (tipo == TipoCampo::DataHora) {
        const QByteArray t = ValorCampo::dataHoraBanco(c.inteiro).toUtf8();
        sqlite3_bind_text(st, i, t.constData(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
    } else if (tipo == TipoCampo::Moeda) {
        if (c.inteiro % Dinheiro::Escala == 0)
            sqlite3_bind_int64(st, i, c.inteiro / Dinheiro::Escala);
        else
            sqlite3_bind_double(st, i, Dinheiro::deEscalado(c.inteiro).paraDouble());
    } else {
        sqlite3_bind_int64(st, i, c.inteiro);
    }
}

QString identificador(const QString &nome)
{
    return QLatin1Char('"') + nome + QLatin1Char('"');
}

} // namespace ConjuntoInterno

void ConjuntoDados::gravarNoBanco()
{
    if (m_estado == EstadoConjunto::Insercao)
        inserirNoBanco();
    else
        atualizarNoBanco();
    anotarEscrita();
}

void ConjuntoDados::anotarEscrita()
{
    if (m_conexao)
        m_conexao->anotarEscrita(this);
}

void ConjuntoDados::exigirConexao() const
{
    if (!m_conexao || !m_conexao->aberta())
        throw Erro(textoErro(QStringLiteral("a conexão com o banco de dados não está aberta.")));
}

ConjuntoDados::Instrucoes &ConjuntoDados::instrucoes()
{
    if (!m_instrucoes)
        m_instrucoes = std::make_unique<Instrucoes>();
    if (m_instrucoes->db != m_conexao->handle()) {
        m_instrucoes->limpar();
        m_instrucoes->db = m_conexao->handle();
    }
    return *m_instrucoes;
}

void ConjuntoDados::liberarInstrucoes()
{
    m_instrucoes.reset();
}

// The statement kept in `st`, prepared from `sql` the first time.
sqlite3_stmt *ConjuntoDados::preparada(sqlite3_stmt *&st, const std::function<QString()> &sql)
{
    if (st)
        return st;
    sqlite3 *db = m_conexao->handle();
    if (sqlite3_prepare_v3(db, sql().toUtf8().constData(), -1, SQLITE_PREPARE_PERSISTENT, &st, nullptr) != SQLITE_OK) {
        const QString erro = m_conexao->textoDoErro(objectName());
        sqlite3_finalize(st);
        st = nullptr;
        throw Erro(erro);
    }
    return st;
}

sqlite3_stmt *ConjuntoDados::preparada(std::map<std::vector<int>, sqlite3_stmt *> &mapa,
                                       const std::vector<int> &colunas, const std::function<QString()> &sql)
{
    if (mapa.size() >= Instrucoes::kMaximo && !mapa.contains(colunas)) {
        for (auto &[c, st] : mapa)
            sqlite3_finalize(st);
        mapa.clear();
    }
    sqlite3_stmt *&st = mapa[colunas];
    try {
        return preparada(st, sql);
    } catch (...) {
        mapa.erase(colunas);
        throw;
    }
}

QString ConjuntoDados::nomeColuna(int coluna) const
{
    return identificador(
        QString::fromUtf8(m_campos[static_cast<std::size_t>(m_campoDaColuna[static_cast<std::size_t>(coluna)])].nome));
}

// Runs a write statement with the buffer's `colunas` bound to its parameters
// in order, and `rowid` after them when given; the rows it changed.
int ConjuntoDados::executarEscrita(sqlite3_stmt *st, const std::vector<int> &colunas, std::optional<qint64> rowid)
{
    const Uso uso{st};
    for (std::size_t k = 0; k < colunas.size(); ++k) {
        const auto col = static_cast<std::size_t>(colunas[k]);
        vincular(st, static_cast<int>(k + 1), m_buffer[col],
                 m_campos[static_cast<std::size_t>(m_campoDaColuna[col])].tipo);
    }
    if (rowid)
        sqlite3_bind_int64(st, static_cast<int>(colunas.size() + 1), *rowid);
    if (sqlite3_step(st) != SQLITE_DONE)
        throw Erro(m_conexao->textoDoErro(objectName()));
    const int alteradas = sqlite3_changes(m_conexao->handle());
    contarAlteracoes(alteradas);
    return alteradas;
}

void ConjuntoDados::inserirNoBanco()
{
    exigirConexao();
    // The key is left to the database unless a value was given for it.
    std::vector<int> colunas;
    for (std::size_t c = 0; c < m_buffer.size(); ++c)
        if (static_cast<int>(c) != m_colunaAutoInc || !m_buffer[c].nula())
            colunas.push_back(static_cast<int>(c));
    sqlite3_stmt *st = preparada(instrucoes().insercoes, colunas, [&] {
        if (colunas.empty())
            return QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(identificador(m_tabela));
        QStringList nomes;
        for (const int c : colunas)
            nomes << nomeColuna(c);
        return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(identificador(m_tabela), nomes.join(QLatin1Char(',')),
                 QStringLiteral("?,").repeated(static_cast<qsizetype>(colunas.size())).chopped(1));
    });
    executarEscrita(st, colunas);
    const qint64 rowid = sqlite3_last_insert_rowid(m_conexao->handle());
    if (m_colunaAutoInc >= 0)
        m_buffer[static_cast<std::size_t>(m_colunaAutoInc)] = Celula::deInteiro(rowid);
    m_rowids[static_cast<std::size_t>(m_linhaEditada)] = rowid;
}

void ConjuntoDados::atualizarNoBanco()
{
    std::vector<int> colunas;
    for (std::size_t c = 0; c < m_buffer.size(); ++c)
        if (m_alterados[c])
            colunas.push_back(static_cast<int>(c));
    if (colunas.empty())
        return;
    exigirConexao();
    sqlite3_stmt *st = preparada(instrucoes().atualizacoes, colunas, [&] {
        QStringList atribuicoes;
        for (const int c : colunas)
            atribuicoes << nomeColuna(c) + QStringLiteral("=?");
        return QStringLiteral("UPDATE %1 SET %2 WHERE rowid=?")
            .arg(identificador(m_tabela), atribuicoes.join(QLatin1Char(',')));
    });
    if (executarEscrita(st, colunas, m_rowids[static_cast<std::size_t>(m_linhaEditada)]) == 0)
        throw Erro(textoErro(QStringLiteral("o registro não existe mais no banco de dados; reabra os dados.")));
    // A new key value moves the row's identity with it.
    if (m_colunaAutoInc >= 0 && m_alterados[static_cast<std::size_t>(m_colunaAutoInc)])
        m_rowids[static_cast<std::size_t>(m_linhaEditada)] =
            m_buffer[static_cast<std::size_t>(m_colunaAutoInc)].inteiro;
}

void ConjuntoDados::excluirNoBanco(int linhaFisica)
{
    exigirConexao();
    sqlite3_stmt *st = preparada(instrucoes().exclusao, [&] {
        return QStringLiteral("DELETE FROM %1 WHERE rowid=?").arg(identificador(m_tabela));
    });
    executarEscrita(st, {}, m_rowids[static_cast<std::size_t>(linhaFisica)]);
    anotarEscrita();
}
