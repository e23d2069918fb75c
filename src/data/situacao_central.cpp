#include "situacao_central.h"

#include "udm.h"

#include <QDateTime>

#include <sqlite3.h>

#include <memory>

QString SituacaoCentral(const QString &idfunc, const QString &nrPedido)
{
    if (!DM || !DM->ADOConexao.aberta() || nrPedido.isEmpty())
        return QString();
    sqlite3_stmt *bruto = nullptr;
    // The table exists once an update has read a central server.
    if (sqlite3_prepare_v2(DM->ADOConexao.handle(),
                           "SELECT status, dt_status FROM tbpedido_status WHERE idfunc = ?1 AND nr_pedido = ?2", -1,
                           &bruto, nullptr) != SQLITE_OK)
        return QString();
    const std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> instrucao(bruto, sqlite3_finalize);
    const QByteArray func = idfunc.toUtf8();
    sqlite3_bind_text(bruto, 1, func.constData(), static_cast<int>(func.size()), SQLITE_TRANSIENT);
    sqlite3_bind_int64(bruto, 2, nrPedido.toLongLong());
    if (sqlite3_step(bruto) != SQLITE_ROW)
        return QString();
    const QString status = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(bruto, 0)));
    const QDateTime quando = QDateTime::fromString(
        QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(bruto, 1))), Qt::ISODate);
    return quando.isValid() ? QStringLiteral("%1 em %2").arg(status, quando.toString(QStringLiteral("dd/MM/yyyy")))
                            : status;
}
