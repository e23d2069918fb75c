#include "situacao_central.h"

#include "udm.h"

#include <QDateTime>

#include <sqlite3.h>

#include <memory>

namespace
{

using Instrucao = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

// The table exists once an update has read a central server; without it
// there is no statement and no status.
Instrucao preparar(const char *sql)
{
    sqlite3_stmt *bruto = nullptr;
    if (!DM || !DM->ADOConexao.aberta() ||
        sqlite3_prepare_v2(DM->ADOConexao.handle(), sql, -1, &bruto, nullptr) != SQLITE_OK) {
        sqlite3_finalize(bruto);
        return Instrucao(nullptr, sqlite3_finalize);
    }
    return Instrucao(bruto, sqlite3_finalize);
}

QString coluna(sqlite3_stmt *instrucao, int i)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(instrucao, i)));
}

// "status, dt_status" of the current row as "faturado em 01/12/2026".
QString texto(sqlite3_stmt *instrucao, int primeira)
{
    const QString status = coluna(instrucao, primeira);
    const QDateTime quando = QDateTime::fromString(coluna(instrucao, primeira + 1), Qt::ISODate);
    return quando.isValid() ? QStringLiteral("%1 em %2").arg(status, quando.toString(QStringLiteral("dd/MM/yyyy")))
                            : status;
}

QString chave(const QString &idfunc, qint64 nrPedido)
{
    return idfunc + QLatin1Char('\t') + QString::number(nrPedido);
}

} // namespace

QString SituacaoCentral(const QString &idfunc, const QString &nrPedido)
{
    if (nrPedido.isEmpty())
        return QString();
    const Instrucao instrucao =
        preparar("SELECT status, dt_status FROM tbpedido_status WHERE idfunc = ?1 AND nr_pedido = ?2");
    if (!instrucao)
        return QString();
    const QByteArray func = idfunc.toUtf8();
    sqlite3_bind_text(instrucao.get(), 1, func.constData(), static_cast<int>(func.size()), SQLITE_TRANSIENT);
    sqlite3_bind_int64(instrucao.get(), 2, nrPedido.toLongLong());
    if (sqlite3_step(instrucao.get()) != SQLITE_ROW)
        return QString();
    return texto(instrucao.get(), 0);
}

SituacoesCentral::SituacoesCentral()
{
    const Instrucao instrucao = preparar("SELECT idfunc, nr_pedido, status, dt_status FROM tbpedido_status");
    if (!instrucao)
        return;
    while (sqlite3_step(instrucao.get()) == SQLITE_ROW)
        m_porPedido.insert(chave(coluna(instrucao.get(), 0), sqlite3_column_int64(instrucao.get(), 1)),
                           texto(instrucao.get(), 2));
}

QString SituacoesCentral::de(const QString &idfunc, qint64 nrPedido) const
{
    return m_porPedido.value(chave(idfunc, nrPedido));
}
