#include "servidor_postgres.h"

#include "servidor_smtp.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <libpq-fe.h>
#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include <stdexcept>

namespace
{

const QString kAdministrador = QStringLiteral("postgres");
const QString kSenhaAdministrador = QStringLiteral("adm-teste");

[[noreturn]] void falhar(const QString &motivo)
{
    throw std::runtime_error("PostgreSQL de teste: " + motivo.toStdString());
}

// The newest server installed by Debian's postgresql package.
QString pastaBinarios()
{
    QDir raiz(QStringLiteral("/usr/lib/postgresql"));
    QStringList versoes = raiz.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(versoes.begin(), versoes.end(), [](const QString &a, const QString &b) { return a.toInt() > b.toInt(); });
    for (const QString &v : versoes)
        if (QFile::exists(raiz.filePath(v + QStringLiteral("/bin/initdb"))))
            return raiz.filePath(v + QStringLiteral("/bin/"));
    falhar(QStringLiteral("initdb não encontrado em /usr/lib/postgresql/*/bin; instale o pacote postgresql "
                          "(scripts/install-deps.sh)"));
}

void escrever(const QString &arquivo, const QByteArray &conteudo, QFile::Permissions permissoes)
{
    QFile f(arquivo);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(conteudo) != conteudo.size())
        falhar(QStringLiteral("não foi possível escrever %1").arg(arquivo));
    f.close();
    f.setPermissions(permissoes);
}

} // namespace

ServidorPostgres::ServidorPostgres() : m_bin(pastaBinarios()), m_root(geteuid() == 0)
{
    if (!m_dir.isValid())
        falhar(QStringLiteral("pasta temporária"));
    m_dados = m_dir.filePath(QStringLiteral("dados"));
    const QString senhaAdm = m_dir.filePath(QStringLiteral("senha-adm"));
    QDir().mkpath(m_dados);
    escrever(senhaAdm, kSenhaAdministrador.toUtf8() + '\n', QFile::ReadOwner | QFile::WriteOwner);
    if (m_root) {
        // The server's user must reach its folder.
        const passwd *pg = getpwnam("postgres");
        if (!pg)
            falhar(QStringLiteral("o usuário postgres não existe; instale o pacote postgresql"));
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther |
                                                QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);
        if (chown(m_dados.toLocal8Bit().constData(), pg->pw_uid, pg->pw_gid) != 0 ||
            chown(senhaAdm.toLocal8Bit().constData(), pg->pw_uid, pg->pw_gid) != 0)
            falhar(QStringLiteral("chown da pasta de dados"));
    }
    rodar(m_bin + QStringLiteral("initdb"),
          {QStringLiteral("-D"), m_dados, QStringLiteral("-U"), kAdministrador, QStringLiteral("-A"),
           QStringLiteral("scram-sha-256"), QStringLiteral("--pwfile=") + senhaAdm, QStringLiteral("-E"),
           QStringLiteral("UTF8"), QStringLiteral("--no-locale"), QStringLiteral("--no-sync")},
          true);
    m_porta = portaLivre();
    rodar(m_bin + QStringLiteral("pg_ctl"),
          {QStringLiteral("-D"), m_dados, QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("120"),
           QStringLiteral("-l"), m_dados + QStringLiteral("/servidor.log"), QStringLiteral("-o"),
           QStringLiteral("-h 127.0.0.1 -p %1 -c unix_socket_directories='' -c fsync=off -c max_connections=120")
               .arg(m_porta),
           QStringLiteral("start")},
          true);
    esperarPronto();
    rodar(m_bin + QStringLiteral("psql"),
          {QStringLiteral("-d"), QStringLiteral("postgres"), QStringLiteral("-c"),
           QStringLiteral("CREATE DATABASE central")},
          false);
    rodar(m_bin + QStringLiteral("psql"), {QStringLiteral("-f"), QStringLiteral(ESQUEMA_CENTRAL)}, false);
}

ServidorPostgres::~ServidorPostgres()
{
    try {
        rodar(
            m_bin + QStringLiteral("pg_ctl"),
            {QStringLiteral("-D"), m_dados, QStringLiteral("-m"), QStringLiteral("immediate"), QStringLiteral("stop")},
            true);
    } catch (const std::exception &) {
        // Already gone.
    }
}

QString ServidorPostgres::rodar(const QString &programa, const QStringList &argumentos, bool comoServidor)
{
    QProcess p;
    QStringList args = argumentos;
    QString executavel = programa;
    if (comoServidor && m_root) {
        args = QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"), programa} + args;
        executavel = QStringLiteral("runuser");
    }
    if (!comoServidor) {
        // psql, as the superuser, on this server.
        args = QStringList{QStringLiteral("-X"),     QStringLiteral("-q"),        QStringLiteral("-A"),
                           QStringLiteral("-t"),     QStringLiteral("-v"),        QStringLiteral("ON_ERROR_STOP=1"),
                           QStringLiteral("-h"),     QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                           QString::number(m_porta), QStringLiteral("-U"),        kAdministrador} +
               (args.contains(QStringLiteral("-d")) ? QStringList()
                                                    : QStringList{QStringLiteral("-d"), QStringLiteral("central")}) +
               args;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PGPASSWORD"), kSenhaAdministrador);
        p.setProcessEnvironment(env);
    }
    p.setWorkingDirectory(m_dir.path());
    p.start(executavel, args);
    if (!p.waitForFinished(180000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        QFile log(m_dados + QStringLiteral("/servidor.log"));
        log.open(QIODevice::ReadOnly);
        falhar(QStringLiteral("%1 falhou: %2\n%3\n%4")
                   .arg(programa, QString::fromLocal8Bit(p.readAllStandardError()),
                        QString::fromLocal8Bit(p.readAllStandardOutput()), QString::fromLocal8Bit(log.readAll())));
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

void ServidorPostgres::esperarPronto()
{
    const QByteArray info =
        QStringLiteral("host=127.0.0.1 port=%1 dbname=postgres connect_timeout=5").arg(m_porta).toUtf8();
    const QDeadlineTimer prazo(120000);
    while (PQping(info.constData()) != PQPING_OK) {
        if (prazo.hasExpired())
            falhar(QStringLiteral("o servidor não voltou a aceitar conexões"));
        QThread::msleep(20);
    }
}

QString ServidorPostgres::arquivoSenha(const QString &usuario, const QString &senha)
{
    const QString arquivo = m_dir.filePath(usuario + QStringLiteral(".pgpass"));
    escrever(arquivo, QStringLiteral("127.0.0.1:%1:central:%2:%3\n").arg(m_porta).arg(usuario, senha).toUtf8(),
             QFile::ReadOwner | QFile::WriteOwner);
    return arquivo;
}

LinkServidor ServidorPostgres::link(const QString &usuario, const QString &senha)
{
    LinkServidor l;
    l.host = QStringLiteral("127.0.0.1");
    l.porta = QString::number(m_porta);
    l.banco = QStringLiteral("central");
    l.usuario = usuario;
    l.arquivoSenha = arquivoSenha(usuario, senha);
    l.sslmode = QStringLiteral("disable");
    return l;
}

LinkServidor ServidorPostgres::linkAdministrador()
{
    return link(kAdministrador, kSenhaAdministrador);
}

LinkServidor ServidorPostgres::criarRepresentante(const QString &usuario, const QString &senha, const QString &codigo)
{
    executar(QStringLiteral("DO $$ BEGIN IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = '%1') THEN "
                            "CREATE ROLE %1 LOGIN IN ROLE representante; END IF; END $$;"
                            "ALTER ROLE %1 PASSWORD '%2';"
                            "INSERT INTO tbrepresentante_usuario VALUES ('%1', '%3') "
                            "ON CONFLICT (usuario) DO UPDATE SET idfunc = EXCLUDED.idfunc;")
                 .arg(usuario, senha, codigo));
    return link(usuario, senha);
}

void ServidorPostgres::escreverLink(const QString &arquivo, const LinkServidor &link)
{
    escrever(arquivo,
             QStringLiteral("[LINK]\nDRIVER=QPSQL\nHOST=%1\nPORT=%2\nDATABASE=%3\nUSER=%4\nPASSFILE=%5\nSSLMODE=%6\n")
                 .arg(link.host, link.porta, link.banco, link.usuario, link.arquivoSenha, link.sslmode)
                 .toUtf8(),
             QFile::ReadOwner | QFile::WriteOwner);
}

void ServidorPostgres::executar(const QString &sql)
{
    rodar(m_bin + QStringLiteral("psql"), {QStringLiteral("-c"), sql}, false);
}

QString ServidorPostgres::consultar(const QString &sql)
{
    return rodar(m_bin + QStringLiteral("psql"), {QStringLiteral("-c"), sql}, false).trimmed();
}

void ServidorPostgres::limpar()
{
    executar(QStringLiteral("TRUNCATE tbproduto, tbcliente, tbfuncionario, tbforma, tbpedido CASCADE"));
}

void ServidorPostgres::matarProcesso(int pid)
{
    if (pid <= 0 || ::kill(pid, SIGKILL) != 0)
        falhar(QStringLiteral("não foi possível matar o processo %1").arg(pid));
    // Once the postmaster has reaped it, it is recovering and refuses
    // connections until it is done.
    const QDeadlineTimer prazo(60000);
    while (::kill(pid, 0) == 0) {
        if (prazo.hasExpired())
            falhar(QStringLiteral("o processo %1 não terminou").arg(pid));
        QThread::msleep(10);
    }
    esperarPronto();
}
