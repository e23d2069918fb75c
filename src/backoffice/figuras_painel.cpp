#include "figuras_painel.h"

#include "erro.h"

#include <sqlite3.h>

namespace
{

// An order's value, as the order lists count it: the total of its kind.
#define VALOR_PEDIDO "COALESCE(vl_total_item, vl_total_venda_casada, vl_total_pacote, vl_diferenca_troca)"
// Money read back in ten-thousandths, so that sums stay exact.
#define ESCALADO(x) "CAST(round(COALESCE(" x ", 0) * 10000) AS INTEGER)"
// The representative's orders, or every order for an empty code.
#define DO_FUNCIONARIO "(:func = '' OR idFunc = :func)"
#define NO_PERIODO "dt_pedido >= :inicio AND dt_pedido < :fim"

const char *const kSqlVendasPorMes =
    "SELECT substr(dt_pedido, 1, 7), SUM(" ESCALADO(VALOR_PEDIDO) "), COUNT(*)"
                                                                  " FROM tbpedido WHERE " NO_PERIODO
                                                                  " AND " DO_FUNCIONARIO
                                                                  " GROUP BY substr(dt_pedido, 1, 7)";

// The exchange's returned items count against it, as in its difference.
const char *const kSqlMaioresProdutos =
    "WITH p AS (SELECT nr_pedido FROM tbpedido WHERE " NO_PERIODO " AND " DO_FUNCIONARIO "),"
    " i AS (SELECT codigo, quantidade AS q, valorTotal AS v FROM tbpedido_item WHERE nr_pedido IN p"
    " UNION ALL SELECT codigo, quantidade, valorTotal FROM tbpedido_pacote WHERE nr_pedido IN p"
    " UNION ALL SELECT codigo, quantidade, valorTotal FROM tbpedido_venda_casada WHERE nr_pedido IN p"
    " UNION ALL SELECT codigo, quantidade, valorTotal FROM tbpedido_troca1 WHERE nr_pedido IN p"
    " UNION ALL SELECT codigo, -quantidade, -valorTotal FROM tbpedido_troca2 WHERE nr_pedido IN p)"
    " SELECT codigo, (SELECT PRODUTO FROM tbproduto WHERE CODIGO = t.codigo), q, v FROM"
    " (SELECT codigo, SUM(q) AS q, SUM(" ESCALADO("v") ") AS v FROM i GROUP BY codigo) t"
                                                       " ORDER BY v DESC, codigo LIMIT :limite";

const char *const kSqlMaioresClientes =
    "SELECT t.idCliente, c.Nome, t.n, t.v FROM"
    " (SELECT idCliente, COUNT(*) AS n, SUM(" ESCALADO(
        VALOR_PEDIDO) ") AS v FROM tbpedido"
                      " WHERE " NO_PERIODO " AND " DO_FUNCIONARIO " GROUP BY idCliente) t"
                      " LEFT JOIN tbcliente c ON c.IdCliente = t.idCliente ORDER BY t.v DESC, t.idCliente LIMIT "
                      ":limite";

// The last purchase is the later of the customer's `ultimacompra` (from the
// central offices) and the last order typed here, which the central offices
// may not know yet. SQLite gives the bare columns of a MAX() group from the
// row that holds the maximum: the last order's value.
const char *const kSqlEsfriando =
    "SELECT IdCliente, Nome, dias, dt, valor FROM"
    " (SELECT IdCliente, Nome, dt, valor, CAST(abs(julianday(:agora) - julianday(dt)) AS INTEGER) AS dias FROM"
    " (SELECT c.IdCliente, c.Nome,"
    " CASE WHEN u.dt IS NOT NULL AND (c.ultimacompra IS NULL OR u.dt > c.ultimacompra) THEN u.dt"
    " ELSE c.ultimacompra END AS dt,"
    " CASE WHEN u.dt IS NOT NULL AND (c.ultimacompra IS NULL OR u.dt > c.ultimacompra) THEN u.v"
    " ELSE " ESCALADO("c.valultcompra") " END AS valor"
                                        " FROM tbcliente c LEFT JOIN"
                                        " (SELECT idCliente, MAX(dt_pedido) AS dt, " ESCALADO(
                                            VALOR_PEDIDO) " AS v FROM tbpedido"
                                                          " WHERE " DO_FUNCIONARIO
                                                          " GROUP BY idCliente) u ON u.idCliente = c.IdCliente))"
                                                          " WHERE dias >= :dias ORDER BY dias DESC, Nome, IdCliente";

const char *const kSqlSemCompra =
    "SELECT IdCliente, Nome, Cidade FROM tbcliente c WHERE ultimacompra IS NULL AND NOT EXISTS"
    " (SELECT 1 FROM tbpedido p WHERE p.idCliente = c.IdCliente AND " DO_FUNCIONARIO ")"
    " ORDER BY Nome, IdCliente";

// An order not yet sent is still the representative's to change.
const char *const kSqlEmAlerta = "SELECT c.IdCliente, c.Nome, " ESCALADO(
    "c.credito") ", c.credito IS NOT NULL AND c.credito > 0,"
                 " a.maior, c.mediaatraso FROM tbcliente c LEFT JOIN"
                 " (SELECT idCliente, MAX(" ESCALADO(
                     VALOR_PEDIDO) ") AS maior FROM tbpedido"
                                   " WHERE (enviado IS NULL OR enviado = 0) AND " DO_FUNCIONARIO
                                   " GROUP BY idCliente) a"
                                   " ON a.idCliente = c.IdCliente"
                                   " WHERE c.mediaatraso > :limite OR (c.credito > 0 AND a.maior > " ESCALADO(
                                       "c.credito") ")"
                                                    " ORDER BY c.Nome, c.IdCliente";

// One prepared statement, its parameters bound by name, finalised on leaving.
class Consulta
{
  public:
    Consulta(sqlite3 *banco, const char *sql) : m_banco(banco)
    {
        if (sqlite3_prepare_v2(banco, sql, -1, &m_instrucao, nullptr) != SQLITE_OK)
            falhar();
    }
    ~Consulta() { sqlite3_finalize(m_instrucao); }
    Consulta(const Consulta &) = delete;
    Consulta &operator=(const Consulta &) = delete;

    Consulta &texto(const char *nome, const QString &valor)
    {
        const int i = sqlite3_bind_parameter_index(m_instrucao, nome);
        if (i > 0) {
            const QByteArray utf8 = valor.toUtf8();
            sqlite3_bind_text(m_instrucao, i, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        }
        return *this;
    }
    Consulta &inteiro(const char *nome, qint64 valor)
    {
        const int i = sqlite3_bind_parameter_index(m_instrucao, nome);
        if (i > 0)
            sqlite3_bind_int64(m_instrucao, i, valor);
        return *this;
    }
    Consulta &periodo(const QDate &inicio, const QDate &fimExclusivo)
    {
        return texto(":inicio", inicio.toString(Qt::ISODate)).texto(":fim", fimExclusivo.toString(Qt::ISODate));
    }

    bool proxima()
    {
        const int r = sqlite3_step(m_instrucao);
        if (r == SQLITE_ROW)
            return true;
        if (r != SQLITE_DONE)
            falhar();
        return false;
    }

    bool nulo(int c) const { return sqlite3_column_type(m_instrucao, c) == SQLITE_NULL; }
    qint64 inteiro(int c) const { return sqlite3_column_int64(m_instrucao, c); }
    double real(int c) const { return sqlite3_column_double(m_instrucao, c); }
    Dinheiro dinheiro(int c) const { return Dinheiro::deEscalado(inteiro(c)); }
    QString texto(int c) const
    {
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(m_instrucao, c)),
                                 sqlite3_column_bytes(m_instrucao, c));
    }

  private:
    [[noreturn]] void falhar() const
    {
        throw Erro(
            QStringLiteral("Não foi possível calcular o painel: %1").arg(QString::fromUtf8(sqlite3_errmsg(m_banco))));
    }

    sqlite3 *m_banco;
    sqlite3_stmt *m_instrucao = nullptr;
};

QDate inicioDoMes(const QDate &d)
{
    return QDate(d.year(), d.month(), 1);
}

// "YYYY-MM-DD HH:MM:SS" as stored, read by position: the list of customers
// going cold may hold thousands, and QDateTime's own parser costs more than
// the query.
QDateTime lerDataHora(QStringView texto)
{
    const auto numero = [texto](int inicio, int tamanho) { return texto.mid(inicio, tamanho).toInt(); };
    if (texto.size() < 10)
        return {};
    const QDate data(numero(0, 4), numero(5, 2), numero(8, 2));
    const QTime hora = texto.size() >= 19 ? QTime(numero(11, 2), numero(14, 2), numero(17, 2)) : QTime(0, 0);
    // The wall-clock time as written; no time zone lookup per row.
    return QDateTime(data, hora, Qt::UTC);
}

} // namespace

FigurasPainel::FigurasPainel(sqlite3 *banco, QString funcionario)
    : m_banco(banco), m_funcionario(std::move(funcionario))
{
}

std::vector<VendaMes> FigurasPainel::vendasPorMes(const QDate &primeiroMes, int meses) const
{
    const QDate inicio = inicioDoMes(primeiroMes);
    std::vector<VendaMes> vendas;
    for (int m = 0; m < meses; ++m)
        vendas.push_back({inicio.addMonths(m), {}, 0});
    Consulta c(m_banco, kSqlVendasPorMes);
    c.periodo(inicio, inicio.addMonths(meses)).texto(":func", m_funcionario);
    while (c.proxima()) {
        const QDate mes = QDate::fromString(c.texto(0) + QStringLiteral("-01"), Qt::ISODate);
        const int m = (mes.year() - inicio.year()) * 12 + mes.month() - inicio.month();
        if (m >= 0 && m < meses)
            vendas[std::size_t(m)] = {mes, c.dinheiro(1), int(c.inteiro(2))};
    }
    return vendas;
}

std::vector<ItemRanking> FigurasPainel::maioresProdutos(const QDate &inicio, const QDate &fim, int limite) const
{
    Consulta c(m_banco, kSqlMaioresProdutos);
    c.periodo(inicio, fim.addDays(1)).texto(":func", m_funcionario).inteiro(":limite", limite);
    std::vector<ItemRanking> ranking;
    while (c.proxima())
        ranking.push_back({c.texto(0), c.texto(1), c.real(2), c.dinheiro(3)});
    return ranking;
}

std::vector<ItemRanking> FigurasPainel::maioresClientes(const QDate &inicio, const QDate &fim, int limite) const
{
    Consulta c(m_banco, kSqlMaioresClientes);
    c.periodo(inicio, fim.addDays(1)).texto(":func", m_funcionario).inteiro(":limite", limite);
    std::vector<ItemRanking> ranking;
    while (c.proxima())
        ranking.push_back({c.texto(0), c.texto(1), c.real(2), c.dinheiro(3)});
    return ranking;
}

std::vector<ClienteEsfriando> FigurasPainel::clientesEsfriando(const QDateTime &agora) const
{
    Consulta c(m_banco, kSqlEsfriando);
    c.texto(":agora", agora.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
        .texto(":func", m_funcionario)
        .inteiro(":dias", kDiasEsfriando);
    std::vector<ClienteEsfriando> clientes;
    while (c.proxima())
        clientes.push_back({c.inteiro(0), c.texto(1), int(c.inteiro(2)), lerDataHora(c.texto(3)), c.dinheiro(4)});
    return clientes;
}

std::vector<ClienteSemCompra> FigurasPainel::clientesSemCompra() const
{
    Consulta c(m_banco, kSqlSemCompra);
    c.texto(":func", m_funcionario);
    std::vector<ClienteSemCompra> clientes;
    while (c.proxima())
        clientes.push_back({c.inteiro(0), c.texto(1), c.texto(2)});
    return clientes;
}

std::vector<ClienteEmAlerta> FigurasPainel::clientesEmAlerta(int limiteAtraso) const
{
    Consulta c(m_banco, kSqlEmAlerta);
    c.texto(":func", m_funcionario).inteiro(":limite", limiteAtraso);
    std::vector<ClienteEmAlerta> clientes;
    while (c.proxima()) {
        ClienteEmAlerta a{c.inteiro(0), c.texto(1), {}, {}, {}};
        if (c.inteiro(3)) {
            a.credito = c.dinheiro(2);
            if (!c.nulo(4) && c.dinheiro(4) > *a.credito)
                a.pedidoAcimaDoCredito = c.dinheiro(4);
        }
        if (!c.nulo(5) && c.inteiro(5) > limiteAtraso)
            a.mediaAtraso = int(c.inteiro(5));
        clientes.push_back(a);
    }
    return clientes;
}

// The figures read in one read transaction: one look at the database's
// lock and journal for all of them, and figures that agree with each other.
class LeituraUnica
{
  public:
    explicit LeituraUnica(sqlite3 *banco) : m_banco(banco)
    {
        sqlite3_exec(m_banco, "SAVEPOINT painel", nullptr, nullptr, nullptr);
    }
    ~LeituraUnica() { sqlite3_exec(m_banco, "RELEASE painel", nullptr, nullptr, nullptr); }
    LeituraUnica(const LeituraUnica &) = delete;
    LeituraUnica &operator=(const LeituraUnica &) = delete;

  private:
    sqlite3 *m_banco;
};

Painel CalcularPainel(const FigurasPainel &figuras, const PeriodoPainel &periodo)
{
    const LeituraUnica leitura(figuras.banco());
    const QDate hoje = periodo.agora.date();
    const QDate mes = inicioDoMes(hoje);
    Painel p;
    p.ultimos12Meses = figuras.vendasPorMes(mes.addMonths(-11), 12);
    p.ano = figuras.vendasPorMes(QDate(periodo.ano, 1, 1), 12);
    p.mesAtual = p.ultimos12Meses.back();
    p.mesmoMesAnoAnterior = figuras.vendasPorMes(mes.addMonths(-12), 1).front();
    p.produtos = figuras.maioresProdutos(periodo.inicio, periodo.fim);
    p.clientes = figuras.maioresClientes(periodo.inicio, periodo.fim);
    p.esfriando = figuras.clientesEsfriando(periodo.agora);
    p.semCompra = figuras.clientesSemCompra();
    p.emAlerta = figuras.clientesEmAlerta(periodo.limiteAtraso);
    return p;
}
