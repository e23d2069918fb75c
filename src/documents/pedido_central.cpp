#include "pedido_central.h"

#include "erro.h"
#include "esquema.h"
#include "regras_tipo_pedido.h"
#include "servidor_central.h"

#include <QStringList>

#include <sqlite3.h>

#include <memory>

namespace
{

QStringList colunas(const std::vector<DefCampo> &campos)
{
    QStringList nomes;
    for (const DefCampo &c : campos)
        if (c.origem == Origem::Coluna)
            nomes << QString::fromUtf8(c.nome);
    return nomes;
}

// The central's names: the same, in lower case.
QString nomesCentrais(const QStringList &locais)
{
    QStringList nomes;
    for (const QString &n : locais)
        nomes << u'"' + n.toLower() + u'"';
    return nomes.join(u',');
}

QString marcas(int quantas)
{
    QStringList m;
    for (int i = 1; i <= quantas; ++i)
        m << QStringLiteral("$%1").arg(i);
    return m.join(u',');
}

// The local rows of a table for the order, each value as text.
std::vector<ServidorCentral::Parametros> lerLocal(sqlite3 *local, const QString &tabela, const QStringList &nomes,
                                                  qint64 nrPedido)
{
    QStringList citadas;
    for (const QString &n : nomes)
        citadas << u'"' + n + u'"';
    const QByteArray sql = QStringLiteral("SELECT %1 FROM %2 WHERE nr_pedido = ?1 ORDER BY rowid")
                               .arg(citadas.join(u','), tabela)
                               .toUtf8();
    sqlite3_stmt *bruto = nullptr;
    if (sqlite3_prepare_v2(local, sql.constData(), -1, &bruto, nullptr) != SQLITE_OK)
        throw Erro(QStringLiteral("Erro no banco de dados: %1").arg(QString::fromUtf8(sqlite3_errmsg(local))));
    const std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> instrucao(bruto, sqlite3_finalize);
    sqlite3_bind_int64(bruto, 1, nrPedido);
    std::vector<ServidorCentral::Parametros> linhas;
    int r;
    while ((r = sqlite3_step(bruto)) == SQLITE_ROW) {
        ServidorCentral::Parametros linha;
        for (int i = 0; i < nomes.size(); ++i)
            if (sqlite3_column_type(bruto, i) == SQLITE_NULL)
                linha.emplace_back(std::nullopt);
            else
                linha.emplace_back(QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(bruto, i)),
                                              sqlite3_column_bytes(bruto, i)));
        linhas.push_back(std::move(linha));
    }
    if (r != SQLITE_DONE)
        throw Erro(QStringLiteral("Erro no banco de dados: %1").arg(QString::fromUtf8(sqlite3_errmsg(local))));
    return linhas;
}

void gravar(ServidorCentral &servidor, sqlite3 *local, TipoPedido tipo, qint64 nrPedido)
{
    const QStringList cabecalho = colunas(Esquema::pedido());
    const auto linhas = lerLocal(local, QStringLiteral("tbpedido"), cabecalho, nrPedido);
    if (linhas.empty())
        throw Erro(QStringLiteral("O pedido %1 não está no banco de dados.").arg(nrPedido));
    ServidorCentral::Parametros valores = linhas.front();
    const auto idFunc = valores[static_cast<std::size_t>(cabecalho.indexOf(QStringLiteral("idFunc")))];
    if (!idFunc || idFunc->trimmed().isEmpty())
        throw Erro(QStringLiteral("O pedido %1 não tem o código do representante.").arg(nrPedido));
    const QByteArray representante = idFunc->trimmed();

    QStringList atualizar;
    for (const QString &n : cabecalho)
        if (n != QLatin1String("nr_pedido"))
            atualizar << QStringLiteral("\"%1\" = EXCLUDED.\"%1\"").arg(n.toLower());
    valores.insert(valores.begin(), representante);
    const RegrasTipoPedido &regras = RegrasDoTipo(tipo);
    valores.emplace_back(QByteArray(regras.guarda.nomeCentral));
    servidor.executar(
        QStringLiteral("INSERT INTO tbpedido (representante,%1,tipo) VALUES (%2) "
                       "ON CONFLICT (representante, nr_pedido) DO UPDATE SET %3, tipo = EXCLUDED.tipo, "
                       "recebido_em = localtimestamp(0)")
            .arg(nomesCentrais(cabecalho), marcas(static_cast<int>(valores.size())), atualizar.join(u',')),
        valores);

    const QByteArray numero = QByteArray::number(nrPedido);
    for (const ListaDoTipo &lista : regras.guarda.listas) {
        const QString tabela = QString::fromLatin1(lista.tabela);
        const QStringList nomes = colunas(lista.campos());
        servidor.executar(QStringLiteral("DELETE FROM %1 WHERE representante = $1 AND nr_pedido = $2").arg(tabela),
                          {representante, numero});
        const QString inserir = QStringLiteral("INSERT INTO %1 (representante,%2) VALUES (%3)")
                                    .arg(tabela, nomesCentrais(nomes), marcas(static_cast<int>(nomes.size()) + 1));
        for (ServidorCentral::Parametros item : lerLocal(local, tabela, nomes, nrPedido)) {
            item.insert(item.begin(), representante);
            servidor.executar(inserir, item);
        }
    }
}

} // namespace

void GravarPedidoCentral(ServidorCentral &servidor, sqlite3 *local, TipoPedido tipo, qint64 nrPedido)
{
    servidor.executar(QStringLiteral("BEGIN"));
    try {
        gravar(servidor, local, tipo, nrPedido);
        servidor.executar(QStringLiteral("COMMIT"));
    } catch (...) {
        try {
            servidor.executar(QStringLiteral("ROLLBACK"));
        } catch (const Erro &) {
            // A connection that broke has rolled back on the server already.
        }
        throw;
    }
}

void GravarPedidoCentral(const LinkServidor &link, sqlite3 *local, TipoPedido tipo, qint64 nrPedido)
{
    ServidorCentral servidor(link);
    GravarPedidoCentral(servidor, local, tipo, nrPedido);
}
