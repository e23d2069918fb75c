#include "carga_central.h"

#include "erro.h"
#include "servidor_central.h"

#include <sqlite3.h>

#include <memory>

namespace
{

const char *const kTabelas[] = {"tbproduto", "tbcliente", "tbfuncionario", "tbforma"};

void copiarTabela(sqlite3 *banco, const char *tabela, ServidorCentral &servidor)
{
    sqlite3_stmt *bruto = nullptr;
    const QByteArray sql = QByteArray("SELECT * FROM ") + tabela + " ORDER BY rowid";
    if (sqlite3_prepare_v2(banco, sql.constData(), -1, &bruto, nullptr) != SQLITE_OK)
        throw Erro(QStringLiteral("Erro no banco de dados: %1").arg(QString::fromUtf8(sqlite3_errmsg(banco))));
    const std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> instrucao(bruto, sqlite3_finalize);
    ServidorCentral::Parametros campos;
    servidor.enviarLinhas(QString::fromLatin1(tabela), [&](QByteArray &linha) {
        const int r = sqlite3_step(bruto);
        if (r != SQLITE_ROW) {
            if (r != SQLITE_DONE)
                throw Erro(QStringLiteral("Erro no banco de dados: %1").arg(QString::fromUtf8(sqlite3_errmsg(banco))));
            return false;
        }
        campos.clear();
        for (int i = 0; i < sqlite3_column_count(bruto); ++i) {
            switch (sqlite3_column_type(bruto, i)) {
            case SQLITE_NULL:
                campos.emplace_back(std::nullopt);
                break;
            // Every bit of a double, so the server holds the same number.
            case SQLITE_FLOAT:
                campos.emplace_back(QByteArray::number(sqlite3_column_double(bruto, i), 'g', 17));
                break;
            default:
                campos.emplace_back(QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(bruto, i)),
                                               sqlite3_column_bytes(bruto, i)));
            }
        }
        linha = LinhaCopy(campos);
        return true;
    });
}

} // namespace

void CarregarCentral(const QString &arquivoCentral, ServidorCentral &servidor)
{
    sqlite3 *bruto = nullptr;
    const int r = sqlite3_open_v2(arquivoCentral.toUtf8().constData(), &bruto, SQLITE_OPEN_READONLY, nullptr);
    const std::unique_ptr<sqlite3, decltype(&sqlite3_close)> banco(bruto, sqlite3_close);
    if (r != SQLITE_OK)
        throw Erro(QStringLiteral("Não foi possível abrir o banco de dados \"%1\".").arg(arquivoCentral));
    servidor.executar(QStringLiteral("BEGIN"));
    for (const char *tabela : kTabelas)
        copiarTabela(bruto, tabela, servidor);
    servidor.executar(QStringLiteral("COMMIT"));
}
