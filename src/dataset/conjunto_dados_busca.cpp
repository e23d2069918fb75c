// Fetching: opening a data set reads its whole result into compact rows.

#include "conjunto_dados_interno.h"

#include "conexao.h"
#include "erro.h"
#include "ordem_texto.h"
#include "valor_campo.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <limits>

using namespace ConjuntoInterno;

namespace ConjuntoInterno
{

// Stores one column of the current result row in the field's terms; a value
// the field cannot hold is kept as it came.
void codificar(CodificadorLinha &cod, sqlite3_stmt *st, int i, int coluna, TipoCampo tipo)
{
    const int classe = sqlite3_column_type(st, i);
    if (classe == SQLITE_NULL)
        return;
    auto comoTexto = [&] {
        const auto *t = reinterpret_cast<const char *>(sqlite3_column_text(st, i));
        cod.definirTexto(coluna, t, sqlite3_column_bytes(st, i));
    };
    auto comoVeio = [&] {
        if (classe == SQLITE_INTEGER)
            cod.definirInteiro(coluna, sqlite3_column_int64(st, i));
        else if (classe == SQLITE_FLOAT)
            cod.definirReal(coluna, sqlite3_column_double(st, i));
        else
            comoTexto();
    };
    switch (tipo) {
    case TipoCampo::Texto:
    case TipoCampo::TextoAnsi:
    case TipoCampo::Memo:
        comoTexto();
        return;
    case TipoCampo::AutoInc:
    case TipoCampo::Inteiro:
    case TipoCampo::Word:
    case TipoCampo::Booleano:
        // A whole number stored as real is that number; any other real is
        // kept as it came, never rounded into a value nobody stored.
        if (classe == SQLITE_FLOAT && sqlite3_column_double(st, i) == std::trunc(sqlite3_column_double(st, i)) &&
            std::fabs(sqlite3_column_double(st, i)) < 9.0e18)
            cod.definirInteiro(coluna, static_cast<qint64>(sqlite3_column_double(st, i)));
        else
            comoVeio();
        return;
    case TipoCampo::Float:
        comoVeio();
        return;
    case TipoCampo::Moeda: {
        constexpr qint64 kMaximo = std::numeric_limits<qint64>::max() / Dinheiro::Escala;
        if (classe == SQLITE_INTEGER && std::llabs(sqlite3_column_int64(st, i)) <= kMaximo) {
            cod.definirInteiro(coluna, sqlite3_column_int64(st, i) * Dinheiro::Escala);
            return;
        }
        try {
            const Dinheiro v = classe == SQLITE_TEXT ? Dinheiro::deTextoSimples(QString::fromUtf8(
                                                           reinterpret_cast<const char *>(sqlite3_column_text(st, i))))
                                                     : Dinheiro::deDouble(sqlite3_column_double(st, i));
            cod.definirInteiro(coluna, v.escalado());
        } catch (const Erro &) {
            comoTexto();
        }
        return;
    }
    case TipoCampo::DataHora: {
        qint64 segundos = 0;
        const auto *t = reinterpret_cast<const char *>(sqlite3_column_text(st, i));
        if (classe == SQLITE_TEXT && ValorCampo::lerDataHoraBanco(t, sqlite3_column_bytes(st, i), segundos))
            cod.definirInteiro(coluna, segundos);
        else
            comoTexto();
        return;
    }
    }
}

} // namespace ConjuntoInterno

namespace
{

constexpr int kColunaRowid = -2;
constexpr const char *kNomeRowid = "__linha";

TipoCampo tipoDeclarado(const char *decl)
{
    const QByteArray d = QByteArray(decl).toUpper();
    if (d.contains("INT"))
        return TipoCampo::Inteiro;
    if (d.contains("REAL") || d.contains("FLOA") || d.contains("DOUB"))
        return TipoCampo::Float;
    if (d.contains("NUMERIC") || d.contains("DECIMAL"))
        return TipoCampo::Moeda;
    if (d.contains("DATE") || d.contains("TIME"))
        return TipoCampo::DataHora;
    return TipoCampo::Texto;
}

} // namespace

void ConjuntoDados::abrir()
{
    if (m_estado != EstadoConjunto::Inativo)
        return;
    m_abrirAoUsar = false;
    buscarLinhas();
    Q_EMIT estadoMudou();
    Q_EMIT dadosAlterados();
    avisarMudancaDeLinha();
}

void ConjuntoDados::buscar()
{
    m_rowids.clear();
    m_ordem.clear();
    marcarAlteracoes();
    m_ordemDoBanco = true;
    m_chaveMestre = chaveDoMestre();
    // Rows of a table without a key the database numbers are written back by
    // their SQLite rowid, which "select *" can bring along.
    static const QRegularExpression selectTudo(QStringLiteral("^\\s*select\\s+\\*"),
                                               QRegularExpression::CaseInsensitiveOption);
    m_temRowid = m_declarados && !m_emMemoria && !m_tabela.isEmpty() && m_colunaAutoInc < 0 &&
                 selectTudo.match(m_sql).hasMatch();
    if (m_emMemoria) {
        m_linhas.redefinir(static_cast<int>(m_campoDaColuna.size()));
        return;
    }
    if (!m_conexao || !m_conexao->aberta())
        throw Erro(textoErro(QStringLiteral("a conexão com o banco de dados não está aberta.")));
    if (m_sql.trimmed().isEmpty())
        throw Erro(textoErro(QStringLiteral("não há instrução SQL para abrir.")));
    // A detail of a master without a saved row is empty: no need to ask.
    if (m_declarados && m_mestre && !m_parametros.isEmpty() && !mestreTemLinhaGravada()) {
        m_linhas.redefinir(static_cast<int>(m_campoDaColuna.size()));
        return;
    }
    Consulta c;
    buscarNoBanco(c);
}

// Texts sort in Portuguese order. An ORDER BY of text columns alone runs as
// written, in the database's plain order (which an index gives without a
// sort), and the rows are put in Portuguese order here, only if that order
// differs. A column that may hold numbers or blobs is left to the database.
void ConjuntoDados::buscarNoBanco(Consulta &c)
{
    if (const std::vector<int> ordem = colunasOrdenadasAqui(); !ordem.empty()) {
        prepararBusca(c, m_sql);
        if (lerLinhas(c, destinosDasColunas(c.st), ordem)) {
            ordenarEmPortugues(ordem);
            return;
        }
        sqlite3_finalize(c.st);
        c.st = nullptr;
        m_rowids.clear();
        m_ordem.clear();
    }
    prepararBusca(c, OrdemTexto::aplicar(m_sql));
    if (!m_declarados)
        definirCamposDoResultado(c);
    lerLinhas(c, destinosDasColunas(c.st), {});
}

void ConjuntoDados::prepararBusca(Consulta &c, QString sql)
{
    if (m_temRowid)
        sql.replace(0, sql.indexOf(QLatin1Char('*')) + 1,
                    QStringLiteral("select rowid AS \"%1\", *").arg(QLatin1String(kNomeRowid)));
    sqlite3 *db = m_conexao->handle();
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &c.st, nullptr) != SQLITE_OK)
        throw Erro(m_conexao->textoDoErro(objectName()));
    vincularParametros(c);
}

// The stored columns of an ORDER BY of declared text fields alone, or none.
std::vector<int> ConjuntoDados::colunasOrdenadasAqui() const
{
    const std::optional<QStringList> nomes = m_declarados ? OrdemTexto::colunasDaOrdem(m_sql) : std::nullopt;
    if (!nomes)
        return {};
    std::vector<int> colunas;
    for (const QString &nome : *nomes) {
        const int campo = indiceCampo(nome);
        if (campo < 0 || m_coluna[static_cast<std::size_t>(campo)] < 0 || !ValorCampo::ehTexto(defCampo(campo).tipo))
            return {};
        colunas.push_back(m_coluna[static_cast<std::size_t>(campo)]);
    }
    return colunas;
}

// A stable sort, as the database's: rows with the same texts keep the order
// they came in.
void ConjuntoDados::ordenarEmPortugues(const std::vector<int> &ordem)
{
    auto antes = [&](int a, int b) {
        for (const int coluna : ordem) {
            const Celula x = m_linhas.celula(a, coluna), y = m_linhas.celula(b, coluna);
            if (x.nula() || y.nula()) {
                if (x.nula() != y.nula())
                    return x.nula();
                continue;
            }
            if (const int r = OrdemTexto::comparar({x.texto, static_cast<std::size_t>(x.tamanho)},
                                                   {y.texto, static_cast<std::size_t>(y.tamanho)});
                r != 0)
                return r < 0;
        }
        return false;
    };
    if (!std::is_sorted(m_ordem.begin(), m_ordem.end(), antes))
        std::stable_sort(m_ordem.begin(), m_ordem.end(), antes);
}

void ConjuntoDados::vincularParametros(Consulta &c) const
{
    for (int p = 1; p <= sqlite3_bind_parameter_count(c.st); ++p) {
        const QString nome = QString::fromUtf8(sqlite3_bind_parameter_name(c.st, p)).mid(1);
        const int campo = m_mestre ? m_mestre->indiceCampo(nome) : -1;
        if (campo < 0 || !mestreTemLinhaGravada())
            sqlite3_bind_null(c.st, p);
        else
            vincular(c.st, p, m_mestre->celula(campo, kLinhaAtual), m_mestre->defCampo(campo).tipo);
    }
}

// The stored column each result column goes to (or the rowid, or nowhere);
// every declared column must come.
std::vector<int> ConjuntoDados::destinosDasColunas(sqlite3_stmt *st) const
{
    const int n = sqlite3_column_count(st);
    std::vector<int> destino(static_cast<std::size_t>(n), -1);
    std::vector<bool> recebida(m_campoDaColuna.size(), false);
    for (int i = 0; i < n; ++i) {
        const char *nome = sqlite3_column_name(st, i);
        if (m_temRowid && qstrcmp(nome, kNomeRowid) == 0) {
            destino[static_cast<std::size_t>(i)] = kColunaRowid;
            continue;
        }
        const int campo = m_declarados ? indiceCampo(QString::fromUtf8(nome)) : i;
        const int coluna = campo < 0 ? -1 : m_coluna[static_cast<std::size_t>(campo)];
        if (coluna < 0 || recebida[static_cast<std::size_t>(coluna)])
            continue;
        recebida[static_cast<std::size_t>(coluna)] = true;
        destino[static_cast<std::size_t>(i)] = coluna;
    }
    for (std::size_t k = 0; k < recebida.size(); ++k)
        if (!recebida[k])
            throw Erro(textoErro(QStringLiteral("o campo \"%1\" não existe no resultado da consulta.")
                                     .arg(QString::fromUtf8(defCampo(m_campoDaColuna[k]).nome))));
    return destino;
}

// With `ordem`, the rows are read only if those columns hold texts alone (a
// column of text affinity, no blob in it): false otherwise.
bool ConjuntoDados::lerLinhas(Consulta &c, const std::vector<int> &destino, const std::vector<int> &ordem)
{
    const int colunas = static_cast<int>(m_campoDaColuna.size());
    m_linhas.redefinir(colunas);
    std::vector<int> resultadosDaOrdem;
    for (const int coluna : ordem) {
        const auto i = static_cast<int>(std::find(destino.begin(), destino.end(), coluna) - destino.begin());
        const QByteArray tipo = QByteArray(sqlite3_column_decltype(c.st, i)).toUpper();
        if (tipo.contains("INT") || !(tipo.contains("CHAR") || tipo.contains("CLOB") || tipo.contains("TEXT")))
            return false;
        resultadosDaOrdem.push_back(i);
    }
    // Each column in its field's terms. A result without declared types keeps
    // what each value is, and its field type is decided once all are in.
    const std::vector<TipoCampo> tipos = tiposDasColunas(c.st, destino);
    std::vector<bool> inferir(destino.size(), false);
    std::vector<int> classes(destino.size(), 0);
    for (std::size_t i = 0; i < destino.size(); ++i)
        inferir[i] = !m_declarados && sqlite3_column_decltype(c.st, static_cast<int>(i)) == nullptr;
    CodificadorLinha cod;
    int rc;
    while ((rc = sqlite3_step(c.st)) == SQLITE_ROW) {
        for (const int i : resultadosDaOrdem)
            if (sqlite3_column_type(c.st, i) == SQLITE_BLOB)
                return false;
        cod.iniciar(colunas);
        qint64 rowid = 0;
        for (std::size_t i = 0; i < destino.size(); ++i) {
            const int coluna = destino[i];
            const int r = static_cast<int>(i);
            if (coluna == kColunaRowid || (coluna >= 0 && coluna == m_colunaAutoInc))
                rowid = sqlite3_column_int64(c.st, r);
            if (coluna < 0)
                continue;
            TipoCampo tipo = tipos[i];
            if (inferir[i]) {
                const int classe = sqlite3_column_type(c.st, r);
                classes[i] |= 1 << classe;
                tipo = classe == SQLITE_INTEGER ? TipoCampo::Inteiro
                       : classe == SQLITE_FLOAT ? TipoCampo::Float
                                                : TipoCampo::Texto;
            }
            codificar(cod, c.st, r, coluna, tipo);
        }
        m_ordem.push_back(m_linhas.acrescentar(cod));
        m_rowids.push_back(rowid);
    }
    if (rc != SQLITE_DONE)
        throw Erro(m_conexao->textoDoErro(objectName()));
    for (std::size_t i = 0; i < destino.size(); ++i)
        if (inferir[i])
            m_campos[i].tipo = (classes[i] & (1 << SQLITE_FLOAT))     ? TipoCampo::Float
                               : (classes[i] & (1 << SQLITE_TEXT))    ? TipoCampo::Texto
                               : (classes[i] & (1 << SQLITE_INTEGER)) ? TipoCampo::Inteiro
                                                                      : TipoCampo::Texto;
    return true;
}

// The field type each result column is stored as.
std::vector<TipoCampo> ConjuntoDados::tiposDasColunas(sqlite3_stmt *, const std::vector<int> &destino) const
{
    std::vector<TipoCampo> tipos(destino.size(), TipoCampo::Texto);
    for (std::size_t i = 0; i < destino.size(); ++i)
        if (destino[i] >= 0)
            tipos[i] = defCampo(m_campoDaColuna[static_cast<std::size_t>(destino[i])]).tipo;
    return tipos;
}

void ConjuntoDados::definirCamposDoResultado(Consulta &c)
{
    const int n = sqlite3_column_count(c.st);
    m_nomesResultado.clear();
    for (int i = 0; i < n; ++i)
        m_nomesResultado.emplace_back(sqlite3_column_name(c.st, i));
    m_campos.clear();
    for (int i = 0; i < n; ++i) {
        DefCampo d;
        d.nome = m_nomesResultado[static_cast<std::size_t>(i)].constData();
        const char *decl = sqlite3_column_decltype(c.st, i);
        d.tipo = decl ? tipoDeclarado(decl) : TipoCampo::Texto;
        // A fixed-point column of a free query shows as money does everywhere.
        if (d.tipo == TipoCampo::Moeda) {
            d.formatoExibicao = "###,###,###,###,##0.00";
            d.formatoEdicao = "0.00";
        }
        m_campos.push_back(d);
    }
    prepararCampos();
    // A filter set while the fields were unknown is read now.
    m_filtro.reset();
}

void ConjuntoDados::ativar()
{
    m_estado = EstadoConjunto::Navegacao;
    ++m_versao;
    tomarCopiasDosLookups();
    if (!m_filtro && !m_textoFiltro.trimmed().isEmpty())
        m_filtro = Filtro::analisar(m_textoFiltro, *this);
    aplicarFiltro();
    m_atual = vazio() ? -1 : 0;
    m_inicio = true;
    m_fim = vazio();
}

void ConjuntoDados::fechar()
{
    m_abrirAoUsar = false;
    if (!ativo())
        return;
    {
        Recarga r(*this);
        limparLinhas();
    }
    Q_EMIT estadoMudou();
    Q_EMIT dadosAlterados();
    avisarMudancaDeLinha();
}

void ConjuntoDados::limparLinhas()
{
    m_estado = EstadoConjunto::Inativo;
    m_buffer.clear();
    m_blocoDoBuffer.reset();
    m_modificado = false;
    m_linhaEditada = -1;
    m_linhas.redefinir(0);
    m_rowids.clear();
    m_ordem.clear();
    m_visiveis.clear();
    m_atual = -1;
    m_inicio = m_fim = true;
    ++m_versao;
    ++m_versaoVisao;
    for (Lookup &l : m_lookups)
        l.copia.reset();
}

void ConjuntoDados::abrirAoUsar()
{
    if (m_estado != EstadoConjunto::Inativo)
        fechar();
    if (!m_emMemoria && m_conexao && m_conexao->aberta() && !m_sql.trimmed().isEmpty()) {
        Consulta c;
        QString sql = OrdemTexto::aplicar(m_sql);
        sqlite3 *db = m_conexao->handle();
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &c.st, nullptr) != SQLITE_OK)
            throw Erro(textoErro(QString::fromUtf8(sqlite3_errmsg(db))));
        if (m_declarados)
            destinosDasColunas(c.st);
    } else if (!m_emMemoria) {
        // The same message opening would give.
        abrir();
        return;
    }
    m_abrirAoUsar = true;
}

void ConjuntoDados::reabrir()
{
    fechar();
    abrir();
}

// Fetches the result afresh; on an error the set keeps no rows.
void ConjuntoDados::buscarLinhas()
{
    Recarga r(*this);
    try {
        buscar();
        ativar();
    } catch (...) {
        limparLinhas();
        throw;
    }
}
