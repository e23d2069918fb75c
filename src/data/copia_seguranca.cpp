#include "copia_seguranca.h"

#include "erro.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

#include <sqlite3.h>

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
    // Page by page with the online backup: a consistent copy of the file as
    // it stands, without rebuilding every table and index as VACUUM INTO does.
    sqlite3 *copia = nullptr;
    const QByteArray caminho = QDir::toNativeSeparators(parcial).toUtf8();
    int resultado = sqlite3_open_v2(caminho.constData(), &copia, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (resultado == SQLITE_OK) {
        sqlite3_backup *passo = sqlite3_backup_init(copia, "main", banco, "main");
        resultado = passo ? sqlite3_backup_step(passo, -1) : sqlite3_errcode(copia);
        if (passo && sqlite3_backup_finish(passo) != SQLITE_OK && resultado == SQLITE_DONE)
            resultado = sqlite3_errcode(copia);
    }
    sqlite3_close(copia);
    if (resultado != SQLITE_DONE) {
        QFile::remove(parcial);
        QFile::remove(parcial + QStringLiteral("-journal"));
        throw Erro(QStringLiteral("Não foi possível gravar a cópia de segurança \"%1\": %2")
                       .arg(destino, QString::fromUtf8(sqlite3_errstr(resultado))));
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
