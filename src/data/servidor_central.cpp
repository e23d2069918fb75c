#include "servidor_central.h"

#include "erro.h"
#include "leitor_ini.h"

#include <QDir>
#include <QFileInfo>

#include <cctype>
#include <exception>

#include <libpq-fe.h>

namespace
{

const QString kLink = QStringLiteral("LINK");

QString chave(const QString &arquivo, const char *nome)
{
    return LerIni(kLink, QString::fromLatin1(nome), arquivo).trimmed();
}

QString motivo(const PGconn *c)
{
    return QString::fromUtf8(PQerrorMessage(c)).trimmed();
}

} // namespace

std::optional<LinkServidor> LerLinkServidor(const QString &arquivoLink)
{
    const QFileInfo info(arquivoLink);
    if (arquivoLink.isEmpty() || !info.isFile())
        return std::nullopt;
    if (chave(arquivoLink, "DRIVER").compare(QLatin1String("QPSQL"), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    LinkServidor link;
    link.host = chave(arquivoLink, "HOST");
    link.porta = chave(arquivoLink, "PORT");
    link.banco = chave(arquivoLink, "DATABASE");
    link.usuario = chave(arquivoLink, "USER");
    link.sslmode = chave(arquivoLink, "SSLMODE");
    const QString senha = chave(arquivoLink, "PASSFILE");
    if (!senha.isEmpty())
        link.arquivoSenha = QDir(info.absolutePath()).absoluteFilePath(senha);
    if (link.host.isEmpty() || link.banco.isEmpty())
        throw Erro(QStringLiteral("O arquivo de conexão \"%1\" indica o driver QPSQL mas não o servidor e o banco de "
                                  "dados (chaves HOST e DATABASE da seção LINK).")
                       .arg(arquivoLink));
    return link;
}

QString ArquivoLinkCentral(const QString &arquivoIni, const QString &pathSistema)
{
    const QString valor = LerIni(QStringLiteral("CONEXAO"), QStringLiteral("PATH-BKP"), arquivoIni);
    return valor.isEmpty() ? QString() : QDir(pathSistema).absoluteFilePath(valor);
}

ResultadoServidor::~ResultadoServidor()
{
    PQclear(m_r);
}

int ResultadoServidor::linhas() const
{
    return PQntuples(m_r);
}

bool ResultadoServidor::nulo(int linha, int coluna) const
{
    return PQgetisnull(m_r, linha, coluna) != 0;
}

QString ResultadoServidor::texto(int linha, int coluna) const
{
    return QString::fromUtf8(PQgetvalue(m_r, linha, coluna), PQgetlength(m_r, linha, coluna));
}

ServidorCentral::ServidorCentral(const LinkServidor &link)
    : m_nome(link.porta.isEmpty() ? link.host : link.host + u':' + link.porta)
{
    std::vector<QByteArray> chaves, valores;
    auto par = [&](const char *k, const QString &v) {
        if (!v.isEmpty()) {
            chaves.emplace_back(k);
            valores.push_back(v.toUtf8());
        }
    };
    par("host", link.host);
    par("port", link.porta);
    par("dbname", link.banco);
    par("user", link.usuario);
    par("passfile", link.arquivoSenha);
    par("sslmode", link.sslmode);
    par("connect_timeout", QStringLiteral("15"));
    par("client_encoding", QStringLiteral("UTF8"));
    par("application_name", QStringLiteral("corlando"));
    // Dates and numbers in the forms the local database stores.
    par("options", QStringLiteral("-c DateStyle=ISO -c extra_float_digits=1"));
    std::vector<const char *> k, v;
    for (std::size_t i = 0; i < chaves.size(); ++i) {
        k.push_back(chaves[i].constData());
        v.push_back(valores[i].constData());
    }
    k.push_back(nullptr);
    v.push_back(nullptr);
    m_conexao = PQconnectdbParams(k.data(), v.data(), 0);
    if (PQstatus(m_conexao) != CONNECTION_OK) {
        const QString razao = motivo(m_conexao);
        PQfinish(m_conexao);
        m_conexao = nullptr;
        throw Erro(QStringLiteral("Não foi possível conectar ao servidor central %1: %2").arg(m_nome, razao));
    }
}

ServidorCentral::~ServidorCentral()
{
    PQfinish(m_conexao);
}

void ServidorCentral::falhar(const QString &oQue) const
{
    throw Erro(QStringLiteral("Erro no servidor central %1 (%2): %3").arg(m_nome, oQue, motivo(m_conexao)));
}

ResultadoServidor ServidorCentral::executar(const QString &sql, const Parametros &parametros)
{
    std::vector<const char *> valores;
    for (const auto &p : parametros)
        valores.push_back(p ? p->constData() : nullptr);
    PGresult *r = PQexecParams(m_conexao, sql.toUtf8().constData(), static_cast<int>(valores.size()), nullptr,
                               valores.data(), nullptr, nullptr, 0);
    const ExecStatusType estado = PQresultStatus(r);
    if (estado != PGRES_COMMAND_OK && estado != PGRES_TUPLES_OK) {
        const QString razao = QString::fromUtf8(r ? PQresultErrorMessage(r) : PQerrorMessage(m_conexao)).trimmed();
        PQclear(r);
        throw Erro(QStringLiteral("Erro no servidor central %1: %2").arg(m_nome, razao));
    }
    return ResultadoServidor(r);
}

void ServidorCentral::copiarLinhas(const QString &consulta, const std::function<void(const Parametros &campos)> &linha)
{
    const QByteArray sql = QStringLiteral("COPY (%1) TO STDOUT").arg(consulta).toUtf8();
    {
        PGresult *inicio = PQexec(m_conexao, sql.constData());
        const bool copiando = PQresultStatus(inicio) == PGRES_COPY_OUT;
        const QString razao = QString::fromUtf8(PQresultErrorMessage(inicio)).trimmed();
        PQclear(inicio);
        if (!copiando)
            throw Erro(QStringLiteral("Erro no servidor central %1: %2").arg(m_nome, razao));
    }
    Parametros campos;
    QString falha;
    // An error of the caller's still drains the copy, or the connection
    // would be left unusable; the remaining rows are skipped.
    std::exception_ptr erroLinha;
    for (;;) {
        char *dados = nullptr;
        const int n = PQgetCopyData(m_conexao, &dados, 0);
        if (n < 0) {
            if (n == -2)
                falha = motivo(m_conexao);
            break;
        }
        if (!erroLinha) {
            try {
                // The row ends in a line feed.
                DecodificarLinhaCopy(dados, n > 0 && dados[n - 1] == '\n' ? n - 1 : n, campos);
                linha(campos);
            } catch (...) {
                erroLinha = std::current_exception();
            }
        }
        PQfreemem(dados);
    }
    while (PGresult *fim = PQgetResult(m_conexao)) {
        if (falha.isEmpty() && PQresultStatus(fim) != PGRES_COMMAND_OK)
            falha = QString::fromUtf8(PQresultErrorMessage(fim)).trimmed();
        PQclear(fim);
    }
    if (falha.isEmpty() && PQstatus(m_conexao) != CONNECTION_OK)
        falha = motivo(m_conexao);
    if (erroLinha)
        std::rethrow_exception(erroLinha);
    if (!falha.isEmpty())
        throw Erro(QStringLiteral("A leitura do servidor central %1 foi interrompida: %2").arg(m_nome, falha));
}

void ServidorCentral::enviarLinhas(const QString &tabela, const std::function<bool(QByteArray &linha)> &proxima)
{
    {
        PGresult *inicio = PQexec(m_conexao, QStringLiteral("COPY %1 FROM STDIN").arg(tabela).toUtf8().constData());
        const bool copiando = PQresultStatus(inicio) == PGRES_COPY_IN;
        const QString razao = QString::fromUtf8(PQresultErrorMessage(inicio)).trimmed();
        PQclear(inicio);
        if (!copiando)
            throw Erro(QStringLiteral("Erro no servidor central %1: %2").arg(m_nome, razao));
    }
    QByteArray linha;
    QString falha;
    while (falha.isEmpty() && proxima(linha))
        if (PQputCopyData(m_conexao, linha.constData(), static_cast<int>(linha.size())) != 1)
            falha = motivo(m_conexao);
    PQputCopyEnd(m_conexao, falha.isEmpty() ? nullptr : "interrompida");
    while (PGresult *fim = PQgetResult(m_conexao)) {
        if (falha.isEmpty() && PQresultStatus(fim) != PGRES_COMMAND_OK)
            falha = QString::fromUtf8(PQresultErrorMessage(fim)).trimmed();
        PQclear(fim);
    }
    if (!falha.isEmpty())
        throw Erro(QStringLiteral("Erro no servidor central %1 (%2): %3").arg(m_nome, tabela, falha));
}

QString ServidorCentral::literal(const QString &texto) const
{
    const QByteArray utf8 = texto.toUtf8();
    char *l = PQescapeLiteral(m_conexao, utf8.constData(), static_cast<size_t>(utf8.size()));
    if (!l)
        falhar(QStringLiteral("texto inválido"));
    const QString resultado = QString::fromUtf8(l);
    PQfreemem(l);
    return resultado;
}

int ServidorCentral::processoServidor() const
{
    return PQbackendPID(m_conexao);
}

void DecodificarLinhaCopy(const char *dados, int tamanho, ServidorCentral::Parametros &campos)
{
    campos.clear();
    QByteArray atual;
    bool nulo = false;
    auto fechar = [&] {
        if (nulo)
            campos.emplace_back(std::nullopt);
        else
            campos.emplace_back(atual);
        atual.clear();
        nulo = false;
    };
    for (int i = 0; i < tamanho; ++i) {
        const char c = dados[i];
        if (c == '\t') {
            fechar();
            continue;
        }
        if (c != '\\' || i + 1 >= tamanho) {
            atual += c;
            continue;
        }
        const char e = dados[++i];
        switch (e) {
        case 'N':
            nulo = true;
            break;
        case 'b':
            atual += '\b';
            break;
        case 'f':
            atual += '\f';
            break;
        case 'n':
            atual += '\n';
            break;
        case 'r':
            atual += '\r';
            break;
        case 't':
            atual += '\t';
            break;
        case 'v':
            atual += '\v';
            break;
        default:
            if (e >= '0' && e <= '7') {
                int valor = e - '0';
                for (int k = 0; k < 2 && i + 1 < tamanho && dados[i + 1] >= '0' && dados[i + 1] <= '7'; ++k)
                    valor = valor * 8 + (dados[++i] - '0');
                atual += static_cast<char>(valor);
            } else if (e == 'x' && i + 1 < tamanho && std::isxdigit(static_cast<unsigned char>(dados[i + 1]))) {
                int valor = 0;
                for (int k = 0; k < 2 && i + 1 < tamanho && std::isxdigit(static_cast<unsigned char>(dados[i + 1]));
                     ++k)
                    valor = valor * 16 + QByteArray(1, dados[++i]).toInt(nullptr, 16);
                atual += static_cast<char>(valor);
            } else {
                atual += e;
            }
        }
    }
    fechar();
}

QByteArray LinhaCopy(const ServidorCentral::Parametros &campos)
{
    QByteArray linha;
    for (std::size_t i = 0; i < campos.size(); ++i) {
        if (i > 0)
            linha += '\t';
        if (!campos[i]) {
            linha += "\\N";
            continue;
        }
        for (const char c : *campos[i]) {
            switch (c) {
            case '\\':
                linha += "\\\\";
                break;
            case '\t':
                linha += "\\t";
                break;
            case '\n':
                linha += "\\n";
                break;
            case '\r':
                linha += "\\r";
                break;
            default:
                linha += c;
            }
        }
    }
    linha += '\n';
    return linha;
}
