#include "copia_central.h"

#include "erro.h"
#include "esquema.h"

#include <QStringList>

#include <sqlite3.h>

namespace
{

constexpr qint64 kLote = 5000;
const char *const kApelido = "central";

// One prepared statement, finalized on every path.
class Instrucao
{
  public:
    Instrucao(sqlite3 *banco, const QString &sql) : m_banco(banco)
    {
        if (sqlite3_prepare_v2(banco, sql.toUtf8().constData(), -1, &m_instrucao, nullptr) != SQLITE_OK)
            falhar();
    }
    ~Instrucao() { sqlite3_finalize(m_instrucao); }
    Instrucao(const Instrucao &) = delete;
    Instrucao &operator=(const Instrucao &) = delete;

    Instrucao &ligar(int posicao, const QString &texto)
    {
        const QByteArray utf8 = texto.toUtf8();
        sqlite3_bind_text(m_instrucao, posicao, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Instrucao &ligar(int posicao, qint64 valor)
    {
        sqlite3_bind_int64(m_instrucao, posicao, valor);
        return *this;
    }
    // True while there is a row.
    bool passo()
    {
        const int r = sqlite3_step(m_instrucao);
        if (r == SQLITE_ROW)
            return true;
        if (r != SQLITE_DONE)
            falhar();
        return false;
    }
    void executar()
    {
        while (passo()) {
        }
        reiniciar();
    }
    void reiniciar() { sqlite3_reset(m_instrucao); }
    qint64 inteiro(int coluna) const { return sqlite3_column_int64(m_instrucao, coluna); }
    bool nulo(int coluna) const { return sqlite3_column_type(m_instrucao, coluna) == SQLITE_NULL; }
    QString texto(int coluna) const
    {
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(m_instrucao, coluna)));
    }

  private:
    [[noreturn]] void falhar() const
    {
        throw Erro(QStringLiteral("Erro no banco de dados: %1").arg(QString::fromUtf8(sqlite3_errmsg(m_banco))));
    }

    sqlite3 *m_banco;
    sqlite3_stmt *m_instrucao = nullptr;
};

QString aspasDuplas(const QString &nome)
{
    return u'"' + QString(nome).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

// A Boolean as the data sets read it: a non-zero number or a "yes" word.
const QString kInativo = QStringLiteral(
    "CASE typeof(inativo) WHEN 'integer' THEN inativo <> 0 WHEN 'real' THEN inativo <> 0 "
    "WHEN 'text' THEN lower(trim(inativo)) IN ('true', 't', 'sim', 's', 'verdadeiro', '1', '-1') ELSE 0 END");

} // namespace

CopiaCentral::CopiaCentral(sqlite3 *local, const QString &arquivoCentral, Andamento andamento)
    : m_local(local), m_andamento(std::move(andamento))
{
    Instrucao(m_local, QStringLiteral("ATTACH DATABASE ?1 AS %1").arg(QLatin1String(kApelido)))
        .ligar(1, arquivoCentral)
        .executar();
    // Reading the schema tells a database from any other file.
    try {
        quantidade("tbproduto");
    } catch (...) {
        sqlite3_exec(m_local, "DETACH DATABASE central", nullptr, nullptr, nullptr);
        throw;
    }
}

CopiaCentral::~CopiaCentral()
{
    sqlite3_exec(m_local, "DETACH DATABASE central", nullptr, nullptr, nullptr);
}

qint64 CopiaCentral::quantidade(const char *tabela)
{
    Instrucao contar(m_local, QStringLiteral("SELECT count(*) FROM central.%1").arg(QLatin1String(tabela)));
    contar.passo();
    return contar.inteiro(0);
}

// The column pairs by position: every central column goes into the local
// column at the same place; a central table wider than the local one is not
// the central database this program knows.
void CopiaCentral::exigirTabela(const char *tabela, const std::vector<DefCampo> &local, QStringList &central,
                                QStringList &destino)
{
    Instrucao colunas(m_local, QStringLiteral("SELECT name FROM pragma_table_info(?1, 'central') ORDER BY cid"));
    colunas.ligar(1, QString::fromLatin1(tabela));
    while (colunas.passo())
        central << aspasDuplas(colunas.texto(0));
    if (central.isEmpty())
        throw Erro(QStringLiteral("O banco de dados central não tem a tabela %1.").arg(QLatin1String(tabela)));
    for (const DefCampo &c : local)
        if (c.origem == Origem::Coluna && destino.size() < central.size())
            destino << aspasDuplas(QString::fromUtf8(c.nome));
    if (destino.size() < central.size())
        throw Erro(QStringLiteral("A tabela %1 do banco de dados central tem %2 colunas; são esperadas %3.")
                       .arg(QLatin1String(tabela))
                       .arg(central.size())
                       .arg(destino.size()));
}

// The gauge counts the rows of each batch gone through, or only those
// copied (`soCopiadas`).
void CopiaCentral::copiar(const char *tabela, const std::vector<DefCampo> &local, const QString &condicao,
                          const QString &valor, bool soCopiadas)
{
    QStringList central, destino;
    exigirTabela(tabela, local, central, destino);
    const QString nome = QString::fromLatin1(tabela);
    Instrucao(m_local, QStringLiteral("DELETE FROM main.%1").arg(nome)).executar();

    Instrucao limites(m_local, QStringLiteral("SELECT min(rowid), max(rowid) FROM central.%1").arg(nome));
    limites.passo();
    if (limites.nulo(0))
        return;
    const qint64 primeiro = limites.inteiro(0);
    const qint64 ultimo = limites.inteiro(1);

    const QString faixa = QStringLiteral("rowid >= ?1 AND rowid < ?2");
    Instrucao inserir(m_local, QStringLiteral("INSERT INTO main.%1 (%2) SELECT %3 FROM central.%1 WHERE %4%5")
                                   .arg(nome, destino.join(u','), central.join(u','), faixa,
                                        condicao.isEmpty() ? QString() : QStringLiteral(" AND (%1)").arg(condicao)));
    Instrucao contar(m_local, QStringLiteral("SELECT count(*) FROM central.%1 WHERE %2").arg(nome, faixa));
    for (qint64 inicio = primeiro; inicio <= ultimo; inicio += kLote) {
        inserir.ligar(1, inicio).ligar(2, inicio + kLote);
        if (!valor.isEmpty())
            inserir.ligar(3, valor);
        inserir.executar();
        if (soCopiadas) {
            m_feitos += sqlite3_changes(m_local);
        } else {
            contar.ligar(1, inicio).ligar(2, inicio + kLote);
            contar.passo();
            m_feitos += contar.inteiro(0);
            contar.reiniciar();
        }
        if (m_andamento)
            m_andamento(m_feitos);
    }
}

void CopiaCentral::copiarProdutos()
{
    copiar("tbproduto", Esquema::produto(), QStringLiteral("NOT (%1)").arg(kInativo), QString(), false);
}

QString CopiaCentral::copiarFuncionario(const QString &codigo)
{
    QStringList central, destino;
    exigirTabela("tbfuncionario", Esquema::funcionario(), central, destino);
    const bool supervisor = codigo == QLatin1String("999");
    Instrucao achar(m_local, supervisor
                                 ? QStringLiteral("SELECT rowid FROM central.tbfuncionario ORDER BY idfunc LIMIT 1")
                                 : QStringLiteral("SELECT rowid FROM central.tbfuncionario WHERE idfunc = ?1 "
                                                  "ORDER BY idfunc LIMIT 1"));
    if (!supervisor)
        achar.ligar(1, codigo);
    if (!achar.passo())
        throw Erro(QStringLiteral("O funcionário de código %1 não está no banco de dados central.").arg(codigo));
    const qint64 linha = achar.inteiro(0);
    Instrucao(m_local, QStringLiteral("DELETE FROM main.tbfuncionario")).executar();
    Instrucao(m_local, QStringLiteral("INSERT INTO main.tbfuncionario (%1) SELECT %2 FROM central.tbfuncionario "
                                      "WHERE rowid = ?1")
                           .arg(destino.join(u','), central.join(u',')))
        .ligar(1, linha)
        .executar();
    Instrucao copiado(m_local, QStringLiteral("SELECT idfunc FROM main.tbfuncionario"));
    copiado.passo();
    return copiado.texto(0);
}

void CopiaCentral::copiarClientes(const QString &regiao)
{
    copiar("tbcliente", Esquema::cliente(), regiao.isEmpty() ? QString() : QStringLiteral("regiao = ?3"), regiao, true);
}

qint64 CopiaCentral::quantidadeClientes(const QString &regiao)
{
    Instrucao contar(m_local, regiao.isEmpty()
                                  ? QStringLiteral("SELECT count(*) FROM central.tbcliente")
                                  : QStringLiteral("SELECT count(*) FROM central.tbcliente WHERE regiao = ?1"));
    if (!regiao.isEmpty())
        contar.ligar(1, regiao);
    contar.passo();
    return contar.inteiro(0);
}

QString RegiaoDoFuncionario(const QString &codigo)
{
    bool numero = false;
    const qlonglong valor = codigo.trimmed().toLongLong(&numero);
    if (!numero)
        throw Erro(QStringLiteral("O código do funcionário \"%1\" não é um número: não é possível escolher os "
                                  "clientes da sua região.")
                       .arg(codigo));
    return valor > 9 ? codigo : QStringLiteral("0") + codigo;
}
