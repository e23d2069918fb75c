#include "copia_servidor.h"

#include "erro.h"
#include "esquema.h"
#include "servidor_central.h"

#include <sqlite3.h>

namespace
{

constexpr qint64 kLote = 5000;

QString aspasDuplas(const QString &nome)
{
    return u'"' + QString(nome).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

[[noreturn]] void falharLocal(sqlite3 *banco)
{
    throw Erro(QStringLiteral("Erro no banco de dados: %1").arg(QString::fromUtf8(sqlite3_errmsg(banco))));
}

// The local INSERT of one table, fed row by row.
class Insercao
{
  public:
    Insercao(sqlite3 *banco, const QString &tabela, const QStringList &colunas) : m_banco(banco)
    {
        QStringList marcas;
        for (int i = 1; i <= colunas.size(); ++i)
            marcas << QStringLiteral("?%1").arg(i);
        const QByteArray sql = QStringLiteral("INSERT INTO main.%1 (%2) VALUES (%3)")
                                   .arg(tabela, colunas.join(u','), marcas.join(u','))
                                   .toUtf8();
        if (sqlite3_prepare_v2(banco, sql.constData(), -1, &m_instrucao, nullptr) != SQLITE_OK)
            falharLocal(banco);
    }
    ~Insercao() { sqlite3_finalize(m_instrucao); }
    Insercao(const Insercao &) = delete;
    Insercao &operator=(const Insercao &) = delete;

    // Texts go in as the central file's values would: the local column's
    // affinity makes numbers of numeric texts.
    void inserir(const ServidorCentral::Parametros &campos, std::size_t desde)
    {
        for (std::size_t i = desde; i < campos.size(); ++i) {
            const int posicao = static_cast<int>(i - desde + 1);
            if (campos[i])
                sqlite3_bind_text(m_instrucao, posicao, campos[i]->constData(), static_cast<int>(campos[i]->size()),
                                  SQLITE_STATIC);
            else
                sqlite3_bind_null(m_instrucao, posicao);
        }
        const int r = sqlite3_step(m_instrucao);
        sqlite3_reset(m_instrucao);
        if (r != SQLITE_DONE)
            falharLocal(m_banco);
    }

  private:
    sqlite3 *m_banco;
    sqlite3_stmt *m_instrucao = nullptr;
};

void executarLocal(sqlite3 *banco, const QString &sql)
{
    if (sqlite3_exec(banco, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        falharLocal(banco);
}

} // namespace

CopiaServidor::CopiaServidor(sqlite3 *local, ServidorCentral &servidor, Andamento andamento)
    : m_local(local), m_servidor(servidor), m_andamento(std::move(andamento))
{
}

qint64 CopiaServidor::quantidade(const char *tabela)
{
    const ResultadoServidor r =
        m_servidor.executar(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(tabela)));
    return r.texto(0, 0).toLongLong();
}

qint64 CopiaServidor::quantidadeClientes(const QString &regiao)
{
    const ResultadoServidor r = m_servidor.executar(
        QStringLiteral("SELECT count(*) FROM tbcliente%1")
            .arg(regiao.isEmpty() ? QString() : QStringLiteral(" WHERE regiao = %1").arg(m_servidor.literal(regiao))));
    return r.texto(0, 0).toLongLong();
}

// The column pairs by position, as for the central file. Booleans come as
// 0/1, the way the local tables keep them.
CopiaServidor::Colunas CopiaServidor::exigirTabela(const char *tabela, const std::vector<DefCampo> &local)
{
    const ResultadoServidor r = m_servidor.executar(
        QStringLiteral("SELECT column_name, data_type FROM information_schema.columns WHERE table_schema = "
                       "current_schema() AND table_name = $1 ORDER BY ordinal_position"),
        {QByteArray(tabela)});
    Colunas c;
    for (int i = 0; i < r.linhas(); ++i) {
        const QString nome = aspasDuplas(r.texto(i, 0));
        c.central << (r.texto(i, 1) == QLatin1String("boolean") ? nome + QStringLiteral("::int") : nome);
    }
    if (c.central.isEmpty())
        throw Erro(QStringLiteral("O banco de dados central não tem a tabela %1.").arg(QLatin1String(tabela)));
    for (const DefCampo &d : local)
        if (d.origem == Origem::Coluna && c.destino.size() < c.central.size())
            c.destino << aspasDuplas(QString::fromUtf8(d.nome));
    if (c.destino.size() < c.central.size())
        throw Erro(QStringLiteral("A tabela %1 do banco de dados central tem %2 colunas; são esperadas %3.")
                       .arg(QLatin1String(tabela))
                       .arg(c.central.size())
                       .arg(c.destino.size()));
    return c;
}

void CopiaServidor::copiar(const char *tabela, const std::vector<DefCampo> &local, const QString &condicao,
                           bool semInativos)
{
    const Colunas colunas = exigirTabela(tabela, local);
    const QString nome = QString::fromLatin1(tabela);
    executarLocal(m_local, QStringLiteral("DELETE FROM main.%1").arg(nome));
    Insercao insercao(m_local, nome, colunas.destino);

    // Skipped products still move the gauge, so they come too, flagged.
    const QString chave = QString(colunas.central.first()).remove(QStringLiteral("::int"));
    const QString consulta = QStringLiteral("SELECT %1%2 FROM %3%4 ORDER BY %5")
                                 .arg(semInativos ? QStringLiteral("coalesce(inativo, false)::int, ") : QString(),
                                      colunas.central.join(u','), nome,
                                      condicao.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condicao, chave);
    const std::size_t desde = semInativos ? 1 : 0;
    qint64 noLote = 0;
    m_servidor.copiarLinhas(consulta, [&](const ServidorCentral::Parametros &campos) {
        if (campos.size() != static_cast<std::size_t>(colunas.central.size()) + desde)
            throw Erro(QStringLiteral("O servidor central enviou uma linha de %1 com colunas a menos.").arg(nome));
        if (!semInativos || campos[0] != QByteArray("1"))
            insercao.inserir(campos, desde);
        ++m_feitos;
        if (++noLote == kLote) {
            noLote = 0;
            if (m_andamento)
                m_andamento(m_feitos);
        }
    });
    if (noLote > 0 && m_andamento)
        m_andamento(m_feitos);
}

void CopiaServidor::copiarProdutos()
{
    copiar("tbproduto", Esquema::produto(), QString(), true);
}

QString CopiaServidor::copiarFuncionario(const QString &codigo)
{
    const Colunas colunas = exigirTabela("tbfuncionario", Esquema::funcionario());
    const bool supervisor = codigo == QLatin1String("999");
    const QString chave = QString(colunas.central.first()).remove(QStringLiteral("::int"));
    const ResultadoServidor r =
        supervisor ? m_servidor.executar(QStringLiteral("SELECT %1 FROM tbfuncionario ORDER BY %2 LIMIT 1")
                                             .arg(colunas.central.join(u','), chave))
                   : m_servidor.executar(QStringLiteral("SELECT %1 FROM tbfuncionario WHERE %2::text = $1 "
                                                        "ORDER BY %2 LIMIT 1")
                                             .arg(colunas.central.join(u','), chave),
                                         {codigo.toUtf8()});
    if (r.linhas() == 0)
        throw Erro(QStringLiteral("O funcionário de código %1 não está no banco de dados central.").arg(codigo));
    ServidorCentral::Parametros campos;
    for (int i = 0; i < colunas.central.size(); ++i)
        campos.push_back(r.nulo(0, i) ? std::nullopt : std::optional<QByteArray>(r.texto(0, i).toUtf8()));
    executarLocal(m_local, QStringLiteral("DELETE FROM main.tbfuncionario"));
    Insercao(m_local, QStringLiteral("tbfuncionario"), colunas.destino).inserir(campos, 0);
    return campos.front() ? QString::fromUtf8(*campos.front()) : QString();
}

void CopiaServidor::copiarClientes(const QString &regiao)
{
    copiar("tbcliente", Esquema::cliente(),
           regiao.isEmpty() ? QString() : QStringLiteral("regiao = %1").arg(m_servidor.literal(regiao)), false);
}

// The server shows a representative only its own orders.
void CopiaServidor::copiarStatusPedidos()
{
    executarLocal(m_local, QStringLiteral("CREATE TABLE IF NOT EXISTS main.tbpedido_status (idfunc TEXT NOT NULL, "
                                          "nr_pedido INTEGER NOT NULL, status TEXT, dt_status DATETIME, "
                                          "PRIMARY KEY (idfunc, nr_pedido))"));
    executarLocal(m_local, QStringLiteral("DELETE FROM main.tbpedido_status"));
    Insercao insercao(
        m_local, QStringLiteral("tbpedido_status"),
        {QStringLiteral("idfunc"), QStringLiteral("nr_pedido"), QStringLiteral("status"), QStringLiteral("dt_status")});
    m_servidor.copiarLinhas(QStringLiteral("SELECT representante, nr_pedido, status, dt_status FROM tbpedido "
                                           "ORDER BY representante, nr_pedido"),
                            [&](const ServidorCentral::Parametros &campos) { insercao.inserir(campos, 0); });
}
