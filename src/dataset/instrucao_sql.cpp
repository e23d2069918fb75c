#include "instrucao_sql.h"

#include "conexao.h"
#include "erro.h"

#include <sqlite3.h>

namespace
{

const QString kOrigem = QStringLiteral("Erro no banco de dados");

// A null text is NULL, not an empty text.
bool nulo(const QVariant &v)
{
    if (v.isNull())
        return true;
    if (v.typeId() == QMetaType::QString)
        return v.toString().isNull();
    if (v.typeId() == QMetaType::QByteArray)
        return v.toByteArray().isNull();
    return false;
}

} // namespace

InstrucaoSql::InstrucaoSql(Conexao &conexao, const QString &sql) : m_conexao(conexao)
{
    if (!conexao.aberta())
        throw Erro(QStringLiteral("A conexão %1 com o banco de dados não está aberta.").arg(conexao.objectName()));
    const QByteArray texto = sql.toUtf8();
    if (sqlite3_prepare_v2(conexao.handle(), texto.constData(), static_cast<int>(texto.size()), &m_st, nullptr) !=
        SQLITE_OK) {
        sqlite3_finalize(m_st);
        m_st = nullptr;
        throw Erro(conexao.textoDoErro(kOrigem));
    }
}

InstrucaoSql::~InstrucaoSql()
{
    sqlite3_finalize(m_st);
}

void InstrucaoSql::vincular(const QVariant &valor)
{
    const int p = ++m_parametro;
    int rc = SQLITE_OK;
    if (nulo(valor)) {
        rc = sqlite3_bind_null(m_st, p);
    } else {
        switch (valor.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::Bool:
            rc = sqlite3_bind_int64(m_st, p, valor.toLongLong());
            break;
        case QMetaType::Double:
            rc = sqlite3_bind_double(m_st, p, valor.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray b = valor.toByteArray();
            rc = sqlite3_bind_blob(m_st, p, b.constData(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray t = valor.toString().toUtf8();
            rc = sqlite3_bind_text(m_st, p, t.constData(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
            break;
        }
        }
    }
    if (rc != SQLITE_OK)
        throw Erro(m_conexao.textoDoErro(kOrigem));
}

bool InstrucaoSql::proxima()
{
    const int rc = sqlite3_step(m_st);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw Erro(m_conexao.textoDoErro(kOrigem));
}

int InstrucaoSql::colunas() const
{
    return sqlite3_column_count(m_st);
}

QVariant InstrucaoSql::valor(int coluna) const
{
    switch (sqlite3_column_type(m_st, coluna)) {
    case SQLITE_INTEGER:
        return QVariant::fromValue<qlonglong>(sqlite3_column_int64(m_st, coluna));
    case SQLITE_FLOAT:
        return sqlite3_column_double(m_st, coluna);
    case SQLITE_TEXT: {
        const auto *t = reinterpret_cast<const char *>(sqlite3_column_text(m_st, coluna));
        return QString::fromUtf8(t, sqlite3_column_bytes(m_st, coluna));
    }
    case SQLITE_BLOB: {
        const auto *b = static_cast<const char *>(sqlite3_column_blob(m_st, coluna));
        return QByteArray(b, sqlite3_column_bytes(m_st, coluna));
    }
    default:
        return {};
    }
}
