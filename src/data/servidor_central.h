#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

struct pg_conn;
struct pg_result;

// The central database on a PostgreSQL server. Its data-link file names the
// server instead of a file:
//
//   [LINK]
//   DRIVER=QPSQL
//   HOST=central.empresa.com.br
//   PORT=5432
//   DATABASE=central
//   USER=rep_7
//   PASSFILE=central.pgpass   ; lines host:port:database:user:password
//   SSLMODE=verify-full
//
// The password never sits in the data-link file: it comes from the PASSFILE
// (relative to the data-link file's folder) or, without one, from libpq's own
// ~/.pgpass or PGPASSFILE. SSLMODE takes libpq's values; without it libpq's
// default ("prefer") holds.
struct LinkServidor {
    QString host;
    QString porta;
    QString banco;
    QString usuario;
    QString arquivoSenha;
    QString sslmode;
};

// The server a data-link file names, or nothing when the file names another
// driver (or does not exist): that central database is a file.
std::optional<LinkServidor> LerLinkServidor(const QString &arquivoLink);

// The data-link file "PATH-BKP" of the settings file names, resolved against
// the program's folder; "" when the key is missing.
QString ArquivoLinkCentral(const QString &arquivoIni, const QString &pathSistema);

// The rows of one statement; the result is freed with the object.
class ResultadoServidor
{
  public:
    explicit ResultadoServidor(pg_result *r) : m_r(r) {}
    ~ResultadoServidor();
    ResultadoServidor(ResultadoServidor &&o) noexcept : m_r(o.m_r) { o.m_r = nullptr; }
    ResultadoServidor(const ResultadoServidor &) = delete;
    ResultadoServidor &operator=(const ResultadoServidor &) = delete;
    ResultadoServidor &operator=(ResultadoServidor &&) = delete;

    int linhas() const;
    bool nulo(int linha, int coluna) const;
    QString texto(int linha, int coluna) const;

  private:
    pg_result *m_r;
};

// One open connection (libpq). Every failure throws Erro with the server's
// own reason; the password is never part of a message.
class ServidorCentral
{
  public:
    using Parametros = std::vector<std::optional<QByteArray>>;

    // Throws Erro when the server cannot be reached or refuses the login.
    explicit ServidorCentral(const LinkServidor &link);
    ~ServidorCentral();
    ServidorCentral(const ServidorCentral &) = delete;
    ServidorCentral &operator=(const ServidorCentral &) = delete;

    // One statement; parameters are $1, $2... as text, nothing for NULL.
    ResultadoServidor executar(const QString &sql, const Parametros &parametros = {});
    // Runs "COPY (<consulta>) TO STDOUT" and hands each row over as it
    // arrives, its fields decoded from the text format (nothing for NULL);
    // the rows are never all in memory.
    void copiarLinhas(const QString &consulta, const std::function<void(const Parametros &campos)> &linha);
    // Runs "COPY <tabela> FROM STDIN"; `proxima` fills each row as a line of
    // the text format (see LinhaCopy) and returns false after the last.
    void enviarLinhas(const QString &tabela, const std::function<bool(QByteArray &linha)> &proxima);
    // A text as an SQL literal, for statements that take no parameters.
    QString literal(const QString &texto) const;
    // The server process serving this connection.
    int processoServidor() const;

  private:
    [[noreturn]] void falhar(const QString &oQue) const;

    pg_conn *m_conexao = nullptr;
    QString m_nome;
};

// One row of COPY's text format, split at tabs and unescaped; and the
// reverse, ending in a line feed.
QByteArray LinhaCopy(const ServidorCentral::Parametros &campos);
void DecodificarLinhaCopy(const char *dados, int tamanho, ServidorCentral::Parametros &campos);
