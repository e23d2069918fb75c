#include "copia_seguranca.h"

#include "erro.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

#include <sqlite3.h>

namespace
{

void falhar(sqlite3 *banco, const QString &destino)
{
    throw Erro(QStringLiteral("Não foi possível gravar a cópia de segurança \"%1\": %2")
                   .arg(destino, QString::fromUtf8(sqlite3_errmsg(banco))));
}

} // namespace

QString CopiarBanco(sqlite3 *banco, int manter)
{
    const QFileInfo arquivo(QString::fromUtf8(sqlite3_db_filename(banco, "main")));
    QDir pasta(arquivo.absolutePath());
    const QString nomePasta = QStringLiteral("backup");
    if (!pasta.mkpath(nomePasta) || !pasta.cd(nomePasta))
        throw Erro(QStringLiteral("Não foi possível criar a pasta \"%1\".").arg(pasta.filePath(nomePasta)));

    // The name sorts by time, to the millisecond.
    const QString prefixo = arquivo.completeBaseName() + u'-';
    const QString destino = pasta.filePath(
        prefixo + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")) + QStringLiteral(".db"));

    // Written under a passing name first: a copy cut short never looks like
    // one of the kept copies.
    const QString parcial = destino + QStringLiteral(".parcial");
    for (const QString &resto : pasta.entryList({QStringLiteral("*.parcial")}, QDir::Files))
        QFile::remove(pasta.filePath(resto));
    sqlite3_stmt *instrucao = nullptr;
    if (sqlite3_prepare_v2(banco, "VACUUM main INTO ?1", -1, &instrucao, nullptr) != SQLITE_OK)
        falhar(banco, destino);
    const QByteArray caminho = QDir::toNativeSeparators(parcial).toUtf8();
    sqlite3_bind_text(instrucao, 1, caminho.constData(), -1, SQLITE_TRANSIENT);
    const int resultado = sqlite3_step(instrucao);
    sqlite3_finalize(instrucao);
    if (resultado != SQLITE_DONE) {
        QFile::remove(parcial);
        falhar(banco, destino);
    }
    if (!QFile::rename(parcial, destino)) {
        QFile::remove(parcial);
        throw Erro(QStringLiteral("Não foi possível gravar a cópia de segurança \"%1\".").arg(destino));
    }

    // Plain character order is the order of the names' times.
    QStringList copias = pasta.entryList({prefixo + QStringLiteral("*.db")}, QDir::Files, QDir::NoSort);
    std::sort(copias.begin(), copias.end());
    while (copias.size() > manter)
        QFile::remove(pasta.filePath(copias.takeFirst()));
    return destino;
}
