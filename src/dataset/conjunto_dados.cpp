#include "conjunto_dados.h"

#include "conexao.h"
#include "erro.h"
#include "filtro.h"
#include "ordem_texto.h"
#include "valor_campo.h"

#include <QRegularExpression>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <sqlite3.h>
#include <string>
#include <unordered_map>

// Rows of another data set by the text of a key field, for look-ups. It keeps
// the row blocks it points into alive, so it is also a copy of those rows as
// they were when it was built.
struct ConjuntoDados::IndiceChave {
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    LinhasCompactas::Blocos blocos;
    std::unordered_map<std::string, const char *, Hash, std::equal_to<>> linhas;
    int colunas = 0;
};

// The first position of the view holding each value of a field, as locate
// compares values.
struct ConjuntoDados::IndiceVisao {
    static constexpr int kNenhuma = std::numeric_limits<int>::max();
    std::unordered_map<std::string, int> primeira;
    int primeiraTodas = kNenhuma;    // a row matching every value
    int primeiraComValor = kNenhuma; // a row matching some value

    int posicao(const Filtro::Chave &k) const
    {
        int p = kNenhuma;
        switch (k.tipo) {
        case Filtro::Chave::Tipo::Nenhuma:
            return -1;
        case Filtro::Chave::Tipo::Todas:
            p = primeiraComValor;
            break;
        case Filtro::Chave::Tipo::Valor:
            if (const auto achado = primeira.find(k.bytes); achado != primeira.end())
                p = achado->second;
            p = std::min(p, primeiraTodas);
            break;
        }
        return p == kNenhuma ? -1 : p;
    }
};

// A prepared statement, finalized on every way out.
struct ConjuntoDados::Consulta {
    sqlite3_stmt *st = nullptr;
    ~Consulta() { sqlite3_finalize(st); }
};

// The statements that write the set's rows, prepared once per set of columns
// and reused: preparing costs more than most single-row writes.
struct ConjuntoDados::Instrucoes {
    // A bound on the statements kept, for sets written with many column sets.
    static constexpr std::size_t kMaximo = 64;
    sqlite3 *db = nullptr;
    std::map<std::vector<int>, sqlite3_stmt *> insercoes;
    std::map<std::vector<int>, sqlite3_stmt *> atualizacoes;
    sqlite3_stmt *exclusao = nullptr;
    sqlite3_stmt *releitura = nullptr;
    sqlite3_stmt *versaoDados = nullptr;

    ~Instrucoes() { limpar(); }
    void limpar()
    {
        for (auto *mapa : {&insercoes, &atualizacoes})
            for (auto &[colunas, st] : *mapa)
                sqlite3_finalize(st);
        insercoes.clear();
        atualizacoes.clear();
        sqlite3_finalize(exclusao);
        sqlite3_finalize(releitura);
        sqlite3_finalize(versaoDados);
        exclusao = releitura = versaoDados = nullptr;
    }
};

// A cached statement in use: reset (bindings kept until rebound) on every way
// out, so it holds no lock and can run again.
struct ConjuntoDados::Uso {
    sqlite3_stmt *st;
    ~Uso()
    {
        sqlite3_reset(st);
        sqlite3_clear_bindings(st);
    }
};

namespace
{

constexpr int kColunaRowid = -2;
constexpr const char *kNomeRowid = "__linha";

// Keeps table models in step: everything they show is replaced between the
// two signals.
class Recarga
{
  public:
    explicit Recarga(ConjuntoDados &c) : m_c(c) { Q_EMIT m_c.antesRecarregar(); }
    ~Recarga() { Q_EMIT m_c.recarregado(); }
    Recarga(const Recarga &) = delete;
    Recarga &operator=(const Recarga &) = delete;

  private:
    ConjuntoDados &m_c;
};

// The text by which look-ups match keys: a whole number and the same digits
// as text find each other.
std::string_view chaveDe(const Celula &c, char (&buf)[32])
{
    switch (c.tipo) {
    case Celula::Tipo::Texto:
        return {c.texto, static_cast<std::size_t>(c.tamanho)};
    case Celula::Tipo::Inteiro:
        return {buf, static_cast<std::size_t>(std::to_chars(buf, buf + 32, c.inteiro).ptr - buf)};
    case Celula::Tipo::Real:
        return {buf, static_cast<std::size_t>(std::to_chars(buf, buf + 32, c.real).ptr - buf)};
    case Celula::Tipo::Nulo:
        break;
    }
    return {};
}

// A look-up key as look-ups compare it: a text ignoring letter case, as a
// locate finds it ("ab-1" finds "AB-1"); anything else as chaveDe gives it.
// A text already in small letters is its own key; another is folded into
// `dobrada`.
std::string_view chaveDeLookup(const Celula &c, char (&buf)[32], std::string &dobrada)
{
    const std::string_view k = chaveDe(c, buf);
    if (c.tipo != Celula::Tipo::Texto)
        return k;
    bool ascii = true;
    bool minusculas = true;
    for (const char ch : k) {
        ascii = ascii && static_cast<unsigned char>(ch) < 0x80;
        minusculas = minusculas && !(ch >= 'A' && ch <= 'Z');
    }
    if (ascii && minusculas)
        return k;
    if (ascii) {
        dobrada.assign(k);
        for (char &ch : dobrada)
            if (ch >= 'A' && ch <= 'Z')
                ch = static_cast<char>(ch + ('a' - 'A'));
    } else {
        dobrada = QString::fromUtf8(k.data(), static_cast<qsizetype>(k.size())).toCaseFolded().toStdString();
    }
    return dobrada;
}

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
    const bool preparou = sqlite3_prepare_v2(db, sql.constData(), static_cast<int>(sql.size()), &st, nullptr) == SQLITE_OK;
    sqlite3_finalize(st);
    sqlite3_set_authorizer(db, nullptr, nullptr);
    return preparou && !leitura.outra;
}

QString identificador(const QString &nome)
{
    return QLatin1Char('"') + nome + QLatin1Char('"');
}

} // namespace

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
    m_porNomeExato.clear();
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
    // A name written as declared finds the field the folded name finds.
    for (std::size_t i = 0; i < n; ++i) {
        const QString nome = QString::fromUtf8(m_campos[i].nome);
        if (m_porNome.value(nome.toCaseFolded()) == static_cast<int>(i))
            m_porNomeExato.insert(nome, static_cast<int>(i));
    }
}

QString ConjuntoDados::textoErro(const QString &mensagem) const
{
    return QStringLiteral("%1: %2").arg(objectName(), mensagem);
}

void ConjuntoDados::setTabela(const QString &tabela)
{
    m_tabela = tabela;
    m_leSoASuaTabela = -1;
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
    m_leSoASuaTabela = -1;
    if (m_conexao)
        m_conexao->registrar(this);
}

void ConjuntoDados::setSql(const QString &sql)
{
    fechar();
    m_sql = sql;
    m_leSoASuaTabela = -1;
    m_parametros.clear();
    static const QRegularExpression parametro(QStringLiteral(":([A-Za-z_][A-Za-z0-9_]*)"));
    for (const auto &m : parametro.globalMatch(sql))
        m_parametros << m.captured(1);
}

// ---------------------------------------------------------------- opening

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

void ConjuntoDados::tomarCopiasDosLookups()
{
    for (Lookup &l : m_lookups)
        if (l.origem && l.modo == ModoLookup::Copia)
            l.copia = l.origem->ativo() ? l.origem->indice(l.chaveOrigem) : nullptr;
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

void ConjuntoDados::relerGravadas()
{
    const int direcao = ordemPelaChave();
    std::vector<char> gravada(m_rowids.size(), 0);
    for (const int fis : m_gravadas)
        gravada[static_cast<std::size_t>(fis)] = 1;
    std::vector<int> relidas;
    for (const int fis : m_ordem)
        if (gravada[static_cast<std::size_t>(fis)]) {
            relidas.push_back(fis);
            gravada[static_cast<std::size_t>(fis)] = 2;
        }
    std::erase_if(m_ordem, [&](int fis) { return gravada[static_cast<std::size_t>(fis)] == 2; });
    std::erase_if(m_visiveis, [&](int fis) { return gravada[static_cast<std::size_t>(fis)] == 2; });
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
            posicionarRelida(fis, m_ordem, direcao);
            if (!m_filtrado || !m_filtro || m_filtro->aceita(*this, fis))
                posicionarRelida(fis, m_visiveis, direcao);
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

bool ConjuntoDados::leSoASuaTabela()
{
    if (m_leSoASuaTabela < 0)
        m_leSoASuaTabela = leSoATabela(m_conexao->handle(), OrdemTexto::aplicar(m_sql).toUtf8(), m_tabela);
    return m_leSoASuaTabela == 1;
}

// Rows read again now would be the rows held: nothing but this set changed
// its table since they were read, it stored none of them itself (the
// database may keep a stored value in its own terms), and its SQL reads no
// other table.
bool ConjuntoDados::linhasComoNoBanco()
{
    return m_declarados && !m_emMemoria && m_ordemDoBanco && m_gravadas.empty() && soAsProprias() &&
           leSoASuaTabela();
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

int ConjuntoDados::executar()
{
    if (!m_conexao)
        throw Erro(textoErro(QStringLiteral("a conexão com o banco de dados não está aberta.")));
    return m_conexao->executar(m_sql);
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

// ---------------------------------------------------------------- cursor

void ConjuntoDados::exigirAtivo() const
{
    carregarSePendente();
    if (!ativo())
        throw Erro(textoErro(QStringLiteral("operação não permitida com o conjunto de dados fechado.")));
}

int ConjuntoDados::quantidade() const
{
    carregarSePendente();
    return static_cast<int>(m_visiveis.size());
}

int ConjuntoDados::numeroRegistro() const
{
    carregarSePendente();
    return m_atual + 1;
}

void ConjuntoDados::irPara(int posicao, bool inicio, bool fim)
{
    m_atual = posicao;
    m_inicio = inicio || vazio();
    m_fim = fim || vazio();
    avisarMudancaDeLinha();
}

void ConjuntoDados::avisarMudancaDeLinha(bool gravacao)
{
    Q_EMIT registroMudou();
    for (ConjuntoDados *d : m_detalhes)
        d->atualizarPeloMestre(gravacao);
}

void ConjuntoDados::primeiro()
{
    exigirAtivo();
    sairDaEdicao();
    irPara(vazio() ? -1 : 0, true, false);
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

void ConjuntoDados::irParaRegistro(int numero)
{
    exigirAtivo();
    if (numero < 1 || numero > quantidade())
        return;
    sairDaEdicao();
    irPara(numero - 1, false, false);
}

void ConjuntoDados::ultimo()
{
    exigirAtivo();
    sairDaEdicao();
    irPara(quantidade() - 1, false, true);
}

// A move towards an end already marked does nothing; otherwise the marks are
// cleared and set again only if the move ran past the first or last row.
void ConjuntoDados::proximo()
{
    exigirAtivo();
    sairDaEdicao();
    if (m_fim)
        return;
    if (m_atual + 1 < quantidade()) {
        irPara(m_atual + 1, false, false);
        return;
    }
    m_inicio = false;
    m_fim = true;
    Q_EMIT registroMudou();
}

void ConjuntoDados::anterior()
{
    exigirAtivo();
    sairDaEdicao();
    if (m_inicio)
        return;
    if (m_atual > 0) {
        irPara(m_atual - 1, false, false);
        return;
    }
    m_inicio = true;
    m_fim = false;
    Q_EMIT registroMudou();
}

// ---------------------------------------------------------------- fields

int ConjuntoDados::indiceCampo(const QString &nome) const
{
    // Folding costs an allocation on every look-up; most names come as declared.
    if (const auto exato = m_porNomeExato.constFind(nome); exato != m_porNomeExato.cend())
        return *exato;
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

Celula ConjuntoDados::celulaLookup(const Lookup &l, int linha) const
{
    char buf[32];
    std::string dobrada;
    const Celula chave = celula(l.chave, linha);
    const std::string_view k = chaveDeLookup(chave, buf, dobrada);
    if (chave.nula())
        return {};
    const auto indice = l.modo == ModoLookup::Copia ? l.copia : l.origem->indice(l.chaveOrigem);
    if (!indice)
        return {};
    const auto achado = indice->linhas.find(k);
    if (achado == indice->linhas.end())
        return {};
    return LinhasCompactas::celula(achado->second, indice->colunas, l.colunaResultado);
}

std::shared_ptr<const ConjuntoDados::IndiceChave> ConjuntoDados::indice(int campo) const
{
    carregarSePendente();
    if (!ativo())
        return nullptr;
    auto &cache = m_indices[static_cast<std::size_t>(campo)];
    if (cache.second && cache.first == m_versao)
        return cache.second;
    auto novo = std::make_shared<IndiceChave>();
    novo->blocos = m_linhas.blocos();
    novo->colunas = m_linhas.colunas();
    novo->linhas.reserve(m_ordem.size());
    const int coluna = m_coluna[static_cast<std::size_t>(campo)];
    char buf[32];
    std::string dobrada;
    for (const int fis : m_ordem) {
        const Celula c = m_linhas.celula(fis, coluna);
        if (!c.nula())
            novo->linhas.try_emplace(std::string(chaveDeLookup(c, buf, dobrada)), m_linhas.linha(fis));
    }
    cache = {m_versao, novo};
    return novo;
}

void ConjuntoDados::ligarLookup(const QString &campo, const QString &chave, ConjuntoDados *origem,
                                const QString &chaveOrigem, ModoLookup modo)
{
    const int i = indiceCampoOuErro(campo);
    const DefCampo &d = m_campos[static_cast<std::size_t>(i)];
    const int resultado = origem->indiceCampoOuErro(QString::fromUtf8(d.campoLookup));
    const int chaveNaOrigem = origem->indiceCampoOuErro(chaveOrigem);
    if (origem->m_coluna[static_cast<std::size_t>(resultado)] < 0 ||
        origem->m_coluna[static_cast<std::size_t>(chaveNaOrigem)] < 0)
        throw Erro(
            textoErro(QStringLiteral("o campo %1 só pode buscar colunas de %2.").arg(campo, origem->objectName())));
    Lookup &l = m_lookups[static_cast<std::size_t>(i)];
    l.chave = indiceCampoOuErro(chave);
    l.origem = origem;
    l.chaveOrigem = chaveNaOrigem;
    l.colunaResultado = origem->m_coluna[static_cast<std::size_t>(resultado)];
    l.modo = modo;
}

void ConjuntoDados::definirCalculo(const QString &campo, std::function<QVariant(const Registro &)> calculo)
{
    m_calculos[static_cast<std::size_t>(indiceCampoOuErro(campo))] = std::move(calculo);
}

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

// ---------------------------------------------------------------- editing

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
    const int colunas = m_linhas.colunas();
    m_buffer.clear();
    for (int c = 0; c < colunas; ++c)
        m_buffer.push_back(m_linhas.celula(m_linhaEditada, c).copia());
    m_alterados.assign(static_cast<std::size_t>(colunas), false);
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
        gravarNoBanco();
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
    CodificadorLinha cod;
    cod.iniciar(m_linhas.colunas());
    for (std::size_t c = 0; c < m_buffer.size(); ++c)
        cod.definir(static_cast<int>(c), m_buffer[c]);
    m_linhas.substituir(linhaFisica, cod);
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

// ---------------------------------------------------------------- writing to the database

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

// ---------------------------------------------------------------- locate and filter

bool ConjuntoDados::localizar(const QString &coluna, const QString &valor)
{
    exigirAtivo();
    const int campo = indiceCampoOuErro(coluna);
    if (valor.isEmpty())
        return false;
    sairDaEdicao();
    const int posicao = posicaoDe(campo, valor);
    if (posicao < 0)
        return false;
    irPara(posicao, false, false);
    return true;
}

// The first position in view whose field equals the value, or -1. A stored
// column of a larger view is looked up in an index, so that locating one row
// among many costs the same as among few; look-up and calculated fields,
// whose values hang on other sets, are compared row by row.
int ConjuntoDados::posicaoDe(int campo, const QString &valor) const
{
    constexpr std::size_t kVarrerAte = 32;
    if (m_visiveis.size() > kVarrerAte && m_coluna[static_cast<std::size_t>(campo)] >= 0)
        return indiceVisao(campo)->posicao(Filtro::chaveDoValor(*this, campo, valor));
    const auto igual = Filtro::igualdade(*this, campo, valor);
    if (!igual)
        return -1;
    for (std::size_t p = 0; p < m_visiveis.size(); ++p)
        if (igual->aceita(*this, m_visiveis[p]))
            return static_cast<int>(p);
    return -1;
}

std::shared_ptr<const ConjuntoDados::IndiceVisao> ConjuntoDados::indiceVisao(int campo) const
{
    auto &cache = m_indicesVisao[static_cast<std::size_t>(campo)];
    if (cache.second && cache.first == m_versaoVisao)
        return cache.second;
    auto novo = std::make_shared<IndiceVisao>();
    novo->primeira.reserve(m_visiveis.size());
    std::vector<Filtro::Chave> chaves = Filtro::chavesDasLinhas(*this, campo, m_visiveis);
    for (std::size_t p = 0; p < chaves.size(); ++p) {
        const int posicao = static_cast<int>(p);
        switch (chaves[p].tipo) {
        case Filtro::Chave::Tipo::Nenhuma:
            continue;
        case Filtro::Chave::Tipo::Todas:
            novo->primeiraTodas = std::min(novo->primeiraTodas, posicao);
            break;
        case Filtro::Chave::Tipo::Valor:
            novo->primeira.try_emplace(std::move(chaves[p].bytes), posicao);
            break;
        }
        novo->primeiraComValor = std::min(novo->primeiraComValor, posicao);
    }
    cache = {m_versaoVisao, novo};
    return novo;
}

void ConjuntoDados::setFiltro(const QString &filtro)
{
    // Read first: a malformed filter leaves everything as it was.
    std::unique_ptr<Filtro> novo;
    if (m_declarados || ativo())
        novo = Filtro::analisar(filtro, *this);
    if (ativo() && m_filtrado)
        sairDaEdicao();
    m_textoFiltro = filtro;
    m_filtro = std::move(novo);
    if (ativo() && m_filtrado)
        reaplicarFiltro();
}

void ConjuntoDados::setFiltrado(bool filtrado)
{
    if (!ativo()) {
        m_filtrado = filtrado;
        return;
    }
    sairDaEdicao();
    if (m_filtrado == filtrado)
        return;
    m_filtrado = filtrado;
    reaplicarFiltro();
}

void ConjuntoDados::aplicarFiltro()
{
    ++m_versaoVisao;
    if (m_filtrado && m_filtro) {
        m_visiveis.clear();
        for (const int fis : m_ordem)
            if (m_filtro->aceita(*this, fis))
                m_visiveis.push_back(fis);
    } else {
        m_visiveis = m_ordem;
    }
}

// Changing the filter goes to the first row.
void ConjuntoDados::reaplicarFiltro()
{
    {
        Recarga r(*this);
        aplicarFiltro();
    }
    irPara(vazio() ? -1 : 0, true, false);
}

// ---------------------------------------------------------------- master-detail

void ConjuntoDados::setMestre(ConjuntoDados *mestre)
{
    if (m_mestre)
        std::erase(m_mestre->m_detalhes, this);
    m_mestre = mestre;
    if (m_mestre)
        m_mestre->m_detalhes.push_back(this);
}

bool ConjuntoDados::mestreTemLinhaGravada() const
{
    return m_mestre && m_mestre->ativo() && !m_mestre->vazio() && m_mestre->estado() != EstadoConjunto::Insercao;
}

// The values of the master's fields the parameters take; empty while the
// master has no saved row.
std::string ConjuntoDados::chaveDoMestre() const
{
    if (m_parametros.isEmpty() || !mestreTemLinhaGravada())
        return {};
    std::string chave = "+";
    for (const QString &p : m_parametros) {
        const int campo = m_mestre->indiceCampo(p);
        char buf[32];
        const Celula c = campo < 0 ? Celula() : m_mestre->celula(campo, kLinhaAtual);
        const std::string_view k = chaveDe(c, buf);
        chave += static_cast<char>(c.tipo);
        chave += std::to_string(k.size()) + ':';
        chave += k;
    }
    return chave;
}

void ConjuntoDados::atualizarPeloMestre(bool gravacao)
{
    // Rows not read yet will be read for the master's row of that moment.
    if (!ativo() || m_abrirAoUsar || m_parametros.isEmpty())
        return;
    sairDaEdicao();
    if (gravacao && !m_relerAoGravarMestre && chaveDoMestre() == m_chaveMestre) {
        irPara(vazio() ? -1 : 0, true, false);
        return;
    }
    if (chaveDoMestre() == m_chaveMestre && linhasComoNoBanco()) {
        // The query would bring back the same rows: only what reading them
        // does besides (look-up copies, filter, first row) is done.
        {
            Recarga r(*this);
            tomarCopiasDosLookups();
            aplicarFiltro();
            m_atual = vazio() ? -1 : 0;
            m_inicio = true;
            m_fim = vazio();
        }
        Q_EMIT dadosAlterados();
        avisarMudancaDeLinha();
        return;
    }
    buscarLinhas();
    Q_EMIT dadosAlterados();
    avisarMudancaDeLinha();
}
