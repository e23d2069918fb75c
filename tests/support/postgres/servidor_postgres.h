#pragma once

#include "servidor_central.h"

#include <QString>
#include <QTemporaryDir>

// A real PostgreSQL server on 127.0.0.1 for the length of a test program: a
// cluster of its own in a temporary folder, on a free port, with the central
// schema loaded into the database "central". PostgreSQL refuses to run as
// root, so under root the server runs as the "postgres" user. Construction
// returns once the server accepts connections and throws when it cannot
// start: a test that needs it then fails, it never passes without it.
class ServidorPostgres
{
  public:
    ServidorPostgres();
    ~ServidorPostgres();
    ServidorPostgres(const ServidorPostgres &) = delete;
    ServidorPostgres &operator=(const ServidorPostgres &) = delete;

    quint16 porta() const { return m_porta; }
    // The superuser's link to the database "central".
    LinkServidor linkAdministrador();
    // A representative's login role (member of "representante") for the
    // employee code, with a password file of its own; its link.
    LinkServidor criarRepresentante(const QString &usuario, const QString &senha, const QString &codigo);
    // A data-link file naming this server for the login and its password
    // file, written to `arquivo`.
    static void escreverLink(const QString &arquivo, const LinkServidor &link);

    // Runs SQL as the superuser on "central" (several statements allowed).
    void executar(const QString &sql);
    QString consultar(const QString &sql);
    // Empties the catalogue and order tables.
    void limpar();
    // Kills the server process with SIGKILL; the postmaster recovers, and this
    // returns once it accepts connections again.
    void matarProcesso(int pid);

  private:
    QString rodar(const QString &programa, const QStringList &argumentos, bool comoServidor);
    void esperarPronto();
    QString arquivoSenha(const QString &usuario, const QString &senha);
    LinkServidor link(const QString &usuario, const QString &senha);

    QTemporaryDir m_dir;
    QString m_dados;
    QString m_bin;
    quint16 m_porta = 0;
    bool m_root = false;
};
