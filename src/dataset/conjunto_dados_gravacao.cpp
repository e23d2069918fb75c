// Write-back: the statements that store a data set's rows in its table.

#include "conjunto_dados_interno.h"

#include "conexao.h"
#include "erro.h"
#include "valor_campo.h"

#include <QHash>
#include <cmath>

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

// A new row is read again: the database fills the columns not given.
bool ConjuntoDados::gravarNoBanco()
{
    bool comoEscrita = false;
    if (m_estado == EstadoConjunto::Insercao)
        inserirNoBanco();
    else
        comoEscrita = atualizarNoBanco();
    anotarEscrita();
    return comoEscrita;
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

bool ConjuntoDados::atualizarNoBanco()
{
    std::vector<int> colunas;
    for (std::size_t c = 0; c < m_buffer.size(); ++c)
        if (m_alterados[c])
            colunas.push_back(static_cast<int>(c));
    if (colunas.empty())
        return true;
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
    return guardadaComoEscrita(colunas);
}

namespace
{

// SQLite's rules for a column's affinity from its declared type, in order.
Afinidade afinidadeDe(const QString &tipoDeclarado)
{
    const QString t = tipoDeclarado.toUpper();
    if (t.contains(QLatin1String("INT")))
        return Afinidade::Inteira;
    if (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("CLOB")) || t.contains(QLatin1String("TEXT")))
        return Afinidade::Texto;
    if (t.isEmpty() || t.contains(QLatin1String("BLOB")))
        return Afinidade::Nenhuma;
    if (t.contains(QLatin1String("REAL")) || t.contains(QLatin1String("FLOA")) || t.contains(QLatin1String("DOUB")))
        return Afinidade::Real;
    return Afinidade::Numerica;
}

// The name as a whole word of the SQL text, letter case aside.
bool nomeada(const QString &sql, const QString &nome)
{
    auto parteDeNome = [](QChar c) { return c.isLetterOrNumber() || c == u'_'; };
    for (qsizetype i = sql.indexOf(nome, 0, Qt::CaseInsensitive); i >= 0;
         i = sql.indexOf(nome, i + 1, Qt::CaseInsensitive)) {
        const qsizetype fim = i + nome.size();
        if ((i == 0 || !parteDeNome(sql[i - 1])) && (fim == sql.size() || !parteDeNome(sql[fim])))
            return true;
    }
    return false;
}

// Whether the value read back would be the cell written: bound as
// vincular() binds it, kept by the column's affinity, decoded as reading
// decodes it. Anything else (a text a numeric column turns into a number, a
// date in the database's own writing) is read again.
bool mantida(const Celula &c, TipoCampo tipo, Afinidade afinidade)
{
    const bool numerica =
        afinidade == Afinidade::Inteira || afinidade == Afinidade::Numerica || afinidade == Afinidade::Nenhuma;
    switch (c.tipo) {
    case Celula::Tipo::Nulo:
        return true;
    case Celula::Tipo::Inteiro:
        return numerica && (tipo == TipoCampo::Moeda || tipo == TipoCampo::Inteiro || tipo == TipoCampo::Word ||
                            tipo == TipoCampo::Booleano || tipo == TipoCampo::AutoInc);
    case Celula::Tipo::Texto:
        return (afinidade == Afinidade::Texto || afinidade == Afinidade::Nenhuma) && ValorCampo::ehTexto(tipo);
    case Celula::Tipo::Real:
        return (afinidade == Afinidade::Real || afinidade == Afinidade::Nenhuma) && tipo == TipoCampo::Float &&
               !std::isnan(c.real);
    }
    return false;
}

} // namespace

const ConjuntoDados::DestinoEscrita &ConjuntoDados::destinoEscrita()
{
    std::unique_ptr<DestinoEscrita> &d = instrucoes().destino;
    if (!d) {
        d = std::make_unique<DestinoEscrita>();
        QHash<QString, Afinidade> porNome;
        sqlite3_stmt *st = nullptr;
        const QByteArray sql = QStringLiteral("PRAGMA table_xinfo(%1)").arg(identificador(m_tabela)).toUtf8();
        if (sqlite3_prepare_v2(m_conexao->handle(), sql.constData(), -1, &st, nullptr) == SQLITE_OK)
            while (sqlite3_step(st) == SQLITE_ROW) {
                const auto texto = [&](int i) {
                    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i)));
                };
                porNome.insert(texto(1).toCaseFolded(), afinidadeDe(texto(2)));
                // 2 and 3: computed from other columns, virtual or stored.
                if (sqlite3_column_int(st, 6) >= 2)
                    d->colunasGeradas = true;
            }
        sqlite3_finalize(st);
        for (const int campo : m_campoDaColuna)
            d->afinidades.push_back(
                porNome.value(QString::fromUtf8(m_campos[static_cast<std::size_t>(campo)].nome).toCaseFolded(),
                              Afinidade::Desconhecida));
    }
    if (d->nomeadas.empty() || d->sql != m_sql) {
        d->sql = m_sql;
        d->tabelaNomeada = nomeada(m_sql, m_tabela);
        d->nomeadas.clear();
        for (const int campo : m_campoDaColuna)
            d->nomeadas.push_back(nomeada(m_sql, QString::fromUtf8(m_campos[static_cast<std::size_t>(campo)].nome)));
    }
    return *d;
}

// After an UPDATE of `colunas`: the row read again by the set's SQL would be
// the row the set holds, in the same place. The other columns are as they
// were read; the SQL reads the table itself and nothing else, names none of
// the columns written, and the database keeps each value as bound.
bool ConjuntoDados::guardadaComoEscrita(const std::vector<int> &colunas)
{
    if (!m_declarados || !leSoASuaTabela())
        return false;
    const DestinoEscrita &d = destinoEscrita();
    if (!d.tabelaNomeada || d.colunasGeradas)
        return false;
    for (const int c : colunas) {
        const auto i = static_cast<std::size_t>(c);
        if (d.nomeadas[i] ||
            !mantida(m_buffer[i], m_campos[static_cast<std::size_t>(m_campoDaColuna[i])].tipo, d.afinidades[i]))
            return false;
    }
    return true;
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
