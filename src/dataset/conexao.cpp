#include "conexao.h"

#include "conjunto_dados.h"
#include "erro.h"
#include "leitor_ini.h"
#include "ordem_texto.h"

#include <QDir>
#include <QFileInfo>
#include <atomic>
#include <sqlite3.h>

namespace
{

std::atomic<int> g_esperaOcupado{Conexao::kEsperaOcupadoPadrao};

QString mensagemEmUso(const QString &arquivo)
{
    return QStringLiteral("O banco de dados \"%1\" está em uso por outro programa. Feche o outro programa e tente "
                          "novamente.")
        .arg(arquivo);
}

} // namespace

Conexao::Conexao(const QString &nome, QObject *parent) : QObject(parent)
{
    setObjectName(nome);
}

Conexao::~Conexao()
{
    fechar();
    for (ConjuntoDados *c : m_conjuntos)
        c->m_conexao = nullptr;
}

void Conexao::setEsperaOcupado(int milissegundos)
{
    g_esperaOcupado = milissegundos;
}

void Conexao::abrir(const QString &arquivoLink)
{
    fechar();
    if (arquivoLink.trimmed().isEmpty())
        throw Erro(QStringLiteral("Não foi informado o arquivo de conexão com o banco de dados."));
    const QFileInfo link(arquivoLink);
    if (!link.isFile())
        throw Erro(QStringLiteral("O arquivo de conexão \"%1\" não foi encontrado.").arg(arquivoLink));
    const QString driver = LerIni(QStringLiteral("LINK"), QStringLiteral("DRIVER"), arquivoLink).trimmed();
    const QString banco = LerIni(QStringLiteral("LINK"), QStringLiteral("DATABASE"), arquivoLink).trimmed();
    if (driver.compare(QLatin1String("QSQLITE"), Qt::CaseInsensitive) != 0)
        throw Erro(QStringLiteral("O arquivo de conexão \"%1\" indica o driver \"%2\"; só o driver QSQLITE é aceito.")
                       .arg(arquivoLink, driver));
    if (banco.isEmpty())
        throw Erro(QStringLiteral("O arquivo de conexão \"%1\" não indica o banco de dados (chave DATABASE da seção "
                                  "LINK).")
                       .arg(arquivoLink));
    abrirBanco(QDir(link.absolutePath()).absoluteFilePath(banco));
}

void Conexao::abrirBanco(const QString &arquivoBanco)
{
    fechar();
    // Opening a missing file would create an empty database.
    if (!QFileInfo(arquivoBanco).isFile())
        throw Erro(QStringLiteral("O banco de dados \"%1\" não foi encontrado.").arg(arquivoBanco));
    // Never created here, even if it went away a moment ago; a read-only
    // file opens for reading. One thread uses a connection at a time.
    constexpr int kModo = SQLITE_OPEN_READWRITE | SQLITE_OPEN_PRIVATECACHE | SQLITE_OPEN_NOMUTEX;
    sqlite3 *db = nullptr;
    if (const int rc = sqlite3_open_v2(arquivoBanco.toUtf8().constData(), &db, kModo, nullptr); rc != SQLITE_OK) {
        const QString motivo = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close(db);
        throw Erro(QStringLiteral("Não foi possível abrir o banco de dados \"%1\": %2").arg(arquivoBanco, motivo));
    }
    m_handle = db;
    // Failures carry their precise cause; the checks here mask it down to
    // the primary code.
    sqlite3_extended_result_codes(m_handle, 1);
    sqlite3_busy_timeout(m_handle, g_esperaOcupado);
    try {
        OrdemTexto::registrar(m_handle);
    } catch (const Erro &) {
        fechar();
        throw;
    }
    // Any file opens; only reading it tells whether it is a database.
    char *erro = nullptr;
    const int rc = sqlite3_exec(m_handle, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &erro);
    if (rc != SQLITE_OK) {
        const QString motivo = QString::fromUtf8(erro);
        sqlite3_free(erro);
        fechar();
        // A lock held by another program says nothing about the file itself:
        // the user must not be led to replace a healthy database.
        if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED)
            throw Erro(mensagemEmUso(arquivoBanco));
        throw Erro(QStringLiteral("O arquivo \"%1\" não é um banco de dados válido: %2").arg(arquivoBanco, motivo));
    }
}

void Conexao::fechar()
{
    if (!aberta())
        return;
    const auto conjuntos = m_conjuntos;
    for (ConjuntoDados *c : conjuntos) {
        c->fechar();
        c->liberarInstrucoes();
    }
    if (emTransacao())
        sqlite3_exec(m_handle, "ROLLBACK", nullptr, nullptr, nullptr);
    m_escritas.clear();
    // A statement still unfinalized somewhere keeps the file open until it
    // goes, rather than failing the close.
    sqlite3_close_v2(m_handle);
    m_handle = nullptr;
}

int Conexao::executar(const QString &sql)
{
    if (!aberta())
        throw Erro(QStringLiteral("A conexão %1 com o banco de dados não está aberta.").arg(objectName()));
    exec(sql);
    return sqlite3_changes(m_handle);
}

void Conexao::exec(const QString &sql)
{
    if (sqlite3_exec(m_handle, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw Erro(textoDoErro(QStringLiteral("Erro no banco de dados")));
}

QString Conexao::textoDoErro(const QString &origem) const
{
    const QString arquivo = QString::fromUtf8(sqlite3_db_filename(m_handle, "main"));
    switch (sqlite3_extended_errcode(m_handle) & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return mensagemEmUso(arquivo);
    case SQLITE_READONLY:
        return QStringLiteral("O banco de dados \"%1\" não pode ser gravado: o arquivo ou a sua pasta é somente "
                              "leitura. Verifique as permissões e tente novamente.")
            .arg(arquivo);
    default:
        break;
    }
    return QStringLiteral("%1: %2").arg(origem, QString::fromUtf8(sqlite3_errmsg(m_handle)));
}

void Conexao::contarAlteracoes(const QString &tabela, qint64 alteradas)
{
    m_conhecidas += alteradas;
    m_porTabela[tabela.toCaseFolded()] += alteradas;
}

void Conexao::registrar(ConjuntoDados *c)
{
    m_conjuntos.push_back(c);
}

void Conexao::desregistrar(ConjuntoDados *c)
{
    std::erase(m_conjuntos, c);
}

void Conexao::anotarEscrita(ConjuntoDados *c)
{
    if (!emTransacao())
        return;
    auto &nivel = m_escritas.back();
    if (std::find(nivel.begin(), nivel.end(), c) == nivel.end())
        nivel.emplace_back(c);
}

void Conexao::iniciarTransacao()
{
    if (!aberta())
        throw Erro(QStringLiteral("A conexão %1 com o banco de dados não está aberta.").arg(objectName()));
    exec(m_escritas.empty() ? QStringLiteral("BEGIN") : QStringLiteral("SAVEPOINT nivel%1").arg(m_escritas.size()));
    m_escritas.emplace_back();
}

void Conexao::confirmarTransacao()
{
    if (!emTransacao())
        return;
    const std::size_t nivel = m_escritas.size() - 1;
    exec(nivel == 0 ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE nivel%1").arg(nivel));
    auto escritas = std::move(m_escritas.back());
    m_escritas.pop_back();
    // What an inner level wrote is undone if the outer level is.
    if (!m_escritas.empty())
        for (const auto &c : escritas)
            if (c && std::find(m_escritas.back().begin(), m_escritas.back().end(), c) == m_escritas.back().end())
                m_escritas.back().push_back(c);
}

void Conexao::desfazerTransacao() noexcept
{
    if (!emTransacao())
        return;
    const std::size_t nivel = m_escritas.size() - 1;
    const QByteArray sql =
        nivel == 0
            ? QByteArray("ROLLBACK")
            : QByteArray("ROLLBACK TO nivel%1; RELEASE nivel%1").replace("%1", QByteArray::number(qulonglong(nivel)));
    sqlite3_exec(m_handle, sql.constData(), nullptr, nullptr, nullptr);
    const auto escritas = std::move(m_escritas.back());
    m_escritas.pop_back();
    for (const auto &c : escritas) {
        if (!c)
            continue;
        try {
            c->recarregarAposDesfazer();
        } catch (...) {
            // The set stays closed; the rollback itself has happened.
        }
    }
}
