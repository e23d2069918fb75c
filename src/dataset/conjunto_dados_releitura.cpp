// Reading again: what changed since a data set opened, re-reading only the
// rows it stored, a new order of its rows, and reopening after a rollback.

#include "conjunto_dados_interno.h"

#include "conexao.h"
#include "erro.h"
#include "filtro.h"
#include "ordem_texto.h"

#include <QRegularExpression>
#include <algorithm>

using namespace ConjuntoInterno;

bool ConjuntoDados::reabrirLocalizando(const QString &coluna, const QString &valor)
{
    const int campo = indiceCampoOuErro(coluna);
    if (!podeRelerGravadas()) {
        reabrir();
        return localizar(coluna, valor);
    }
    try {
        Recarga r(*this);
        try {
            relerGravadas();
        } catch (...) {
            limparLinhas();
            throw;
        }
    } catch (...) {
        Q_EMIT estadoMudou();
        Q_EMIT dadosAlterados();
        avisarMudancaDeLinha();
        throw;
    }
    Q_EMIT estadoMudou();
    Q_EMIT dadosAlterados();
    int posicao = -1;
    bool numero = false;
    const qint64 chave = valor.toLongLong(&numero);
    if (numero && m_coluna[static_cast<std::size_t>(campo)] == m_colunaAutoInc) {
        const int p = posicaoPelaChave(chave, ordemPelaChave());
        if (p < quantidade() && m_rowids[static_cast<std::size_t>(m_visiveis[static_cast<std::size_t>(p)])] == chave)
            posicao = p;
    } else if (!valor.isEmpty()) {
        posicao = posicaoDe(campo, valor);
    }
    if (posicao >= 0)
        irPara(posicao, false, false);
    else
        irPara(vazio() ? -1 : 0, true, false);
    return posicao >= 0;
}

// The set is ordered by its key alone: 1 ascending, -1 descending, 0 not.
int ConjuntoDados::ordemPelaChave() const
{
    if (m_colunaAutoInc < 0)
        return 0;
    static const QRegularExpression ordem(
        QStringLiteral("\\border\\s+by\\s+\"?([A-Za-z_][A-Za-z0-9_]*)\"?(?:\\s+(asc|desc))?\\s*;?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = ordem.match(m_sql);
    const QString chave = QString::fromUtf8(
        m_campos[static_cast<std::size_t>(m_campoDaColuna[static_cast<std::size_t>(m_colunaAutoInc)])].nome);
    if (!m.hasMatch() || m.captured(1).compare(chave, Qt::CaseInsensitive) != 0)
        return 0;
    return m.captured(2).compare(QLatin1String("desc"), Qt::CaseInsensitive) == 0 ? -1 : 1;
}

// Only the stored rows need reading again when the rest are as the database
// has them: nobody else wrote since the set opened, the rows keep the order
// they were read in, and that order is the key's, so a row read again can be
// put back in its place.
bool ConjuntoDados::podeRelerGravadas()
{
    return ativo() && !emEdicao() && m_declarados && !m_emMemoria && m_parametros.isEmpty() && m_ordemDoBanco &&
           ordemPelaChave() != 0 && soAsProprias();
}

// Every stored row is put back where its key and the filter place it; only
// those the database may hold otherwise than the set are read.
void ConjuntoDados::relerGravadas()
{
    const int direcao = ordemPelaChave();
    std::vector<char> gravada(m_rowids.size(), 0);
    for (const int fis : m_gravadas)
        gravada[static_cast<std::size_t>(fis)] = 1;
    std::vector<char> incerta(m_rowids.size(), 0);
    for (const int fis : m_incertas)
        incerta[static_cast<std::size_t>(fis)] = 1;
    std::vector<int> relidas;
    for (const int fis : m_ordem)
        if (gravada[static_cast<std::size_t>(fis)]) {
            relidas.push_back(fis);
            gravada[static_cast<std::size_t>(fis)] = 2;
        }
    std::erase_if(m_ordem, [&](int fis) { return gravada[static_cast<std::size_t>(fis)] == 2; });
    std::erase_if(m_visiveis, [&](int fis) { return gravada[static_cast<std::size_t>(fis)] == 2; });
    auto posicionar = [&](int fis) {
        posicionarRelida(fis, m_ordem, direcao);
        if (!m_filtrado || !m_filtro || m_filtro->aceita(*this, fis))
            posicionarRelida(fis, m_visiveis, direcao);
    };
    std::erase_if(relidas, [&](int fis) {
        if (incerta[static_cast<std::size_t>(fis)])
            return false;
        posicionar(fis);
        return true;
    });
    if (!relidas.empty()) {
        exigirConexao();
        sqlite3_stmt *st = preparada(instrucoes().releitura, [&] {
            return QStringLiteral("SELECT * FROM (%1) WHERE %2=?")
                .arg(OrdemTexto::aplicar(m_sql), nomeColuna(m_colunaAutoInc));
        });
        const std::vector<int> destino = destinosDasColunas(st);
        const std::vector<TipoCampo> tipos = tiposDasColunas(st, destino);
        CodificadorLinha cod;
        for (const int fis : relidas) {
            const Uso uso{st};
            sqlite3_bind_int64(st, 1, m_rowids[static_cast<std::size_t>(fis)]);
            const int rc = sqlite3_step(st);
            if (rc == SQLITE_DONE)
                continue; // gone from the result: it leaves the set, as on reopening
            if (rc != SQLITE_ROW)
                throw Erro(textoErro(QString::fromUtf8(sqlite3_errmsg(m_conexao->handle()))));
            cod.iniciar(m_linhas.colunas());
            for (std::size_t i = 0; i < destino.size(); ++i)
                if (destino[i] >= 0)
                    codificar(cod, st, static_cast<int>(i), destino[i], tipos[i]);
            m_linhas.substituir(fis, cod);
            posicionar(fis);
        }
    }
    marcarAlteracoes();
    ++m_versao;
    ++m_versaoVisao;
    tomarCopiasDosLookups();
    m_atual = vazio() ? -1 : 0;
    m_inicio = true;
    m_fim = vazio();
}

// Puts a row into `linhas`, kept in the key's order, where its key belongs.
void ConjuntoDados::posicionarRelida(int linhaFisica, std::vector<int> &linhas, int direcao) const
{
    const qint64 chave = m_rowids[static_cast<std::size_t>(linhaFisica)];
    const auto depois = std::upper_bound(linhas.begin(), linhas.end(), chave, [&](qint64 k, int fis) {
        const qint64 outra = m_rowids[static_cast<std::size_t>(fis)];
        return direcao > 0 ? k < outra : k > outra;
    });
    linhas.insert(depois, linhaFisica);
}

// The first position in view whose key is not before `chave` in the key's
// order.
int ConjuntoDados::posicaoPelaChave(qint64 chave, int direcao) const
{
    const auto p = std::lower_bound(m_visiveis.begin(), m_visiveis.end(), chave, [&](int fis, qint64 k) {
        const qint64 outra = m_rowids[static_cast<std::size_t>(fis)];
        return direcao > 0 ? outra < k : outra > k;
    });
    return static_cast<int>(p - m_visiveis.begin());
}

void ConjuntoDados::contarAlteracoes(int alteradas)
{
    m_proprias += alteradas;
    m_conexao->contarAlteracoes(m_tabela, alteradas);
}

// What the connection has changed so far, as this set's starting point.
void ConjuntoDados::marcarAlteracoes()
{
    m_gravadas.clear();
    m_incertas.clear();
    m_proprias = 0;
    if (!m_conexao || !m_conexao->aberta())
        return;
    m_marcaTotal = sqlite3_total_changes64(m_conexao->handle());
    m_marcaConhecidas = m_conexao->alteracoesConhecidas();
    m_marcaTabela = m_conexao->alteracoesDaTabela(m_tabela);
    m_marcaVersao = versaoDados();
}

// Changes with every commit of another connection or program to the file.
qint64 ConjuntoDados::versaoDados()
{
    sqlite3_stmt *st = preparada(instrucoes().versaoDados, [] { return QStringLiteral("PRAGMA data_version"); });
    const Uso uso{st};
    return sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int64(st, 0) : -1;
}

// Since the set opened, its table was changed only by its own statements and
// the database by none but the data sets' (triggers, SQL run directly, other
// writers on this connection all show in the total; other programs in the
// data version).
bool ConjuntoDados::soAsProprias()
{
    if (!m_conexao || !m_conexao->aberta() || m_marcaVersao < 0 || versaoDados() != m_marcaVersao)
        return false;
    return sqlite3_total_changes64(m_conexao->handle()) - m_marcaTotal ==
               m_conexao->alteracoesConhecidas() - m_marcaConhecidas &&
           m_conexao->alteracoesDaTabela(m_tabela) - m_marcaTabela == m_proprias;
}

namespace
{

// Whether the statement reads no table but `tabela`: what SQLite reports
// while preparing it, views and subqueries included.
bool leSoATabela(sqlite3 *db, const QByteArray &sql, const QString &tabela)
{
    struct Leitura {
        const QString &tabela;
        bool outra = false;
    } leitura{tabela};
    auto autorizar = [](void *dados, int acao, const char *nome, const char *, const char *, const char *) {
        auto *l = static_cast<Leitura *>(dados);
        if (acao == SQLITE_READ && nome && QString::fromUtf8(nome).compare(l->tabela, Qt::CaseInsensitive) != 0)
            l->outra = true;
        return SQLITE_OK;
    };
    sqlite3_set_authorizer(db, autorizar, &leitura);
    sqlite3_stmt *st = nullptr;
    const bool preparou =
        sqlite3_prepare_v2(db, sql.constData(), static_cast<int>(sql.size()), &st, nullptr) == SQLITE_OK;
    sqlite3_finalize(st);
    sqlite3_set_authorizer(db, nullptr, nullptr);
    return preparou && !leitura.outra;
}

} // namespace

bool ConjuntoDados::leSoASuaTabela()
{
    if (m_leSoASuaTabela < 0)
        m_leSoASuaTabela = leSoATabela(m_conexao->handle(), OrdemTexto::aplicar(m_sql).toUtf8(), m_tabela);
    return m_leSoASuaTabela == 1;
}

// Rows read again now would be the rows held: nothing but this set changed
// its table since they were read, the database keeps every row it stored as
// it holds it (a database may keep a stored value in its own terms), and its
// SQL reads no other table.
bool ConjuntoDados::linhasComoNoBanco()
{
    return m_declarados && !m_emMemoria && m_ordemDoBanco && m_incertas.empty() && soAsProprias() && leSoASuaTabela();
}

void ConjuntoDados::reordenar(const QString &sql, const QString &sqlChaves)
{
    exigirAtivo();
    if (!m_temRowid && m_colunaAutoInc < 0)
        throw Erro(textoErro(QStringLiteral("as linhas não têm chave para serem reordenadas.")));
    sairDaEdicao();
    QHash<qint64, int> porChave;
    porChave.reserve(static_cast<qsizetype>(m_ordem.size()));
    for (const int fis : m_ordem)
        porChave.insert(m_rowids[static_cast<std::size_t>(fis)], fis);
    std::vector<int> ordem;
    ordem.reserve(m_ordem.size());
    Consulta c;
    // Texts in the same Portuguese order as an opened set's.
    const QByteArray texto = OrdemTexto::aplicar(sqlChaves).toUtf8();
    sqlite3 *db = m_conexao->handle();
    if (sqlite3_prepare_v2(db, texto.constData(), static_cast<int>(texto.size()), &c.st, nullptr) != SQLITE_OK)
        throw Erro(m_conexao->textoDoErro(objectName()));
    int rc;
    while ((rc = sqlite3_step(c.st)) == SQLITE_ROW)
        if (const auto achada = porChave.find(sqlite3_column_int64(c.st, 0)); achada != porChave.end()) {
            ordem.push_back(achada.value());
            porChave.erase(achada);
        }
    if (rc != SQLITE_DONE)
        throw Erro(m_conexao->textoDoErro(objectName()));
    for (const int fis : m_ordem)
        if (porChave.contains(m_rowids[static_cast<std::size_t>(fis)]))
            ordem.push_back(fis);
    m_ordem = std::move(ordem);
    m_sql = sql;
    m_ordemDoBanco = false;
    ++m_versao;
    reaplicarFiltro();
    Q_EMIT dadosAlterados();
}

void ConjuntoDados::recarregarAposDesfazer()
{
    // Rows not read yet will be read as the database has them now.
    if (!ativo() || m_abrirAoUsar)
        return;
    const int fis = m_atual >= 0 ? m_visiveis[static_cast<std::size_t>(m_atual)] : -1;
    const qint64 rowid = fis >= 0 && m_estado != EstadoConjunto::Insercao ? m_rowids[static_cast<std::size_t>(fis)] : 0;
    reabrir();
    for (std::size_t p = 0; rowid != 0 && p < m_visiveis.size(); ++p)
        if (m_rowids[static_cast<std::size_t>(m_visiveis[p])] == rowid) {
            irPara(static_cast<int>(p), false, false);
            break;
        }
}
