#include "pasta_programa.h"

#include "esquema.h"

#include <QFile>
#include <sqlite3.h>

#include <gtest/gtest.h>

PastaProgramaTeste::PastaProgramaTeste()
{
    Esquema::criarBancoLocal(bancoLocal());
    Esquema::criarBancoCentral(bancoCentral());
    // The tests' mail servers listen on loopback without STARTTLS.
    escrever(QStringLiteral("Mirvale.ini"),
             QStringLiteral("[CONEXAO]\nPATH=local.udl\nPATH-BKP=central.udl\n[EMAIL]\nTLS=desligado\n"));
    escrever(QStringLiteral("local.udl"), QStringLiteral("[LINK]\nDRIVER=QSQLITE\nDATABASE=corlando.db\n"));
    escrever(QStringLiteral("central.udl"), QStringLiteral("[LINK]\nDRIVER=QSQLITE\nDATABASE=central.db\n"));
}

QString PastaProgramaTeste::caminho() const
{
    return m_dir.path() + QLatin1Char('/');
}

QString PastaProgramaTeste::arquivo(const QString &nome) const
{
    return m_dir.filePath(nome);
}

void PastaProgramaTeste::executarEm(const QString &banco, const QString &sql)
{
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(banco.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    char *erro = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &erro);
    const QString motivo = erro ? QString::fromUtf8(erro) : QString();
    sqlite3_free(erro);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << motivo.toStdString() << "\n" << sql.toStdString();
}

QString PastaProgramaTeste::consultar(const QString &sql) const
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(bancoLocal().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *st = nullptr;
    QString valor;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        valor = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
    else
        ADD_FAILURE() << "consulta sem resultado: " << sql.toStdString() << ": " << sqlite3_errmsg(db);
    sqlite3_finalize(st);
    sqlite3_close(db);
    return valor;
}

void PastaProgramaTeste::escrever(const QString &nome, const QString &conteudo) const
{
    QFile f(arquivo(nome));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(conteudo.toUtf8());
}
