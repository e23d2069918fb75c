#pragma once

#include <QString>
#include <QTemporaryDir>

// A program folder for tests, in a temporary directory: Mirvale.ini naming
// local.udl and central.udl (and mail without TLS), the two data-link files, and empty local and
// central databases with every table. Rows are added with executar() before
// or while the program's connections are open.
class PastaProgramaTeste
{
  public:
    PastaProgramaTeste();

    // The folder, ending in "/", as TDM takes it.
    QString caminho() const;
    QString arquivo(const QString &nome) const;
    QString bancoLocal() const { return arquivo(QStringLiteral("corlando.db")); }
    QString bancoCentral() const { return arquivo(QStringLiteral("central.db")); }

    // Runs SQL statements on a database file; a failure fails the test.
    void executar(const QString &sql) const { executarEm(bancoLocal(), sql); }
    void executarCentral(const QString &sql) const { executarEm(bancoCentral(), sql); }
    static void executarEm(const QString &banco, const QString &sql);
    // The first column of the first row of a query, as text ("" for NULL).
    QString consultar(const QString &sql) const;

    // Replaces a file of the folder.
    void escrever(const QString &nome, const QString &conteudo) const;

  private:
    QTemporaryDir m_dir;
};
