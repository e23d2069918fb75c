#include "caixa_saida.h"

#include "conexao.h"
#include "erro.h"

#include <sqlite3.h>

namespace
{

const char *const kSituacoes[] = {"aguardando", "enviado", "recusado"};
const char *const kFormatoData = "yyyy-MM-dd HH:mm:ss";

// One prepared statement on the connection's handle.
class Comando
{
  public:
    Comando(Conexao &conexao, const char *sql) : m_db(conexao.handle())
    {
        if (!m_db)
            throw Erro(QStringLiteral("A conexão com o banco de dados não está aberta."));
        if (sqlite3_prepare_v2(m_db, sql, -1, &m_st, nullptr) != SQLITE_OK)
            falhar();
    }
    ~Comando() { sqlite3_finalize(m_st); }
    Comando(const Comando &) = delete;
    Comando &operator=(const Comando &) = delete;

    Comando &texto(int n, const QString &valor)
    {
        const QByteArray bytes = valor.toUtf8();
        sqlite3_bind_text(m_st, n, bytes.constData(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Comando &inteiro(int n, qint64 valor)
    {
        sqlite3_bind_int64(m_st, n, valor);
        return *this;
    }
    Comando &bytes(int n, const QByteArray &valor)
    {
        sqlite3_bind_blob(m_st, n, valor.constData(), static_cast<int>(valor.size()), SQLITE_TRANSIENT);
        return *this;
    }
    // True while there is a row.
    bool passo()
    {
        const int rc = sqlite3_step(m_st);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            falhar();
        return rc == SQLITE_ROW;
    }
    QString texto(int coluna) const
    {
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(m_st, coluna)),
                                 sqlite3_column_bytes(m_st, coluna));
    }
    qint64 inteiro(int coluna) const { return sqlite3_column_int64(m_st, coluna); }
    QByteArray bytes(int coluna) const
    {
        return QByteArray(static_cast<const char *>(sqlite3_column_blob(m_st, coluna)),
                          sqlite3_column_bytes(m_st, coluna));
    }

  private:
    [[noreturn]] void falhar() const
    {
        throw Erro(
            QStringLiteral("Erro no banco de dados (caixa de saída): %1").arg(QString::fromUtf8(sqlite3_errmsg(m_db))));
    }

    sqlite3 *m_db;
    sqlite3_stmt *m_st = nullptr;
};

QString agora()
{
    return QDateTime::currentDateTime().toString(QString::fromLatin1(kFormatoData));
}

QDateTime data(const QString &texto)
{
    return QDateTime::fromString(texto, QString::fromLatin1(kFormatoData));
}

SituacaoCaixa situacaoDoTexto(const QString &texto)
{
    for (int i = 0; i < 3; ++i)
        if (texto == QLatin1String(kSituacoes[i]))
            return static_cast<SituacaoCaixa>(i);
    return SituacaoCaixa::Aguardando;
}

const char *const kColunasLinha =
    "SELECT id, nr_pedido, destino, marca_enviado, para, assunto, id_mensagem, situacao, tentativas, criado,"
    " ultima_tentativa, resposta FROM tbcaixa_saida";

LinhaCaixa lerLinha(const Comando &c)
{
    LinhaCaixa l;
    l.id = c.inteiro(0);
    l.nrPedido = c.texto(1);
    l.destino = c.texto(2);
    l.marcaEnviado = c.inteiro(3) != 0;
    l.para = c.texto(4);
    l.assunto = c.texto(5);
    l.idMensagem = c.texto(6);
    l.situacao = situacaoDoTexto(c.texto(7));
    l.tentativas = static_cast<int>(c.inteiro(8));
    l.criado = data(c.texto(9));
    l.ultimaTentativa = data(c.texto(10));
    l.resposta = c.texto(11);
    return l;
}

} // namespace

QString TextoSituacao(SituacaoCaixa situacao)
{
    return QString::fromLatin1(kSituacoes[static_cast<int>(situacao)]);
}

namespace CaixaSaidaBanco
{

void criarTabela(Conexao &conexao)
{
    // The kind says how an item is carried out; only "email" exists today.
    conexao.executar(QStringLiteral(
        "CREATE TABLE IF NOT EXISTS tbcaixa_saida (id INTEGER PRIMARY KEY AUTOINCREMENT, tipo TEXT NOT NULL,"
        " nr_pedido TEXT, destino TEXT, marca_enviado INTEGER NOT NULL DEFAULT 0, remetente TEXT,"
        " destinatarios TEXT, para TEXT, assunto TEXT, id_mensagem TEXT, conteudo BLOB,"
        " situacao TEXT NOT NULL DEFAULT 'aguardando', tentativas INTEGER NOT NULL DEFAULT 0, criado TEXT,"
        " ultima_tentativa TEXT, resposta TEXT)"));
}

qint64 guardar(Conexao &conexao, const ItemCaixa &item)
{
    criarTabela(conexao);
    Comando c(conexao, "INSERT INTO tbcaixa_saida (tipo, nr_pedido, destino, marca_enviado, remetente, destinatarios,"
                       " para, assunto, id_mensagem, conteudo, criado) VALUES ('email', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    c.texto(1, item.nrPedido)
        .texto(2, item.destino)
        .inteiro(3, item.marcaEnviado ? 1 : 0)
        .texto(4, item.remetente)
        .texto(5, item.destinatarios.join(u'\n'))
        .texto(6, item.para)
        .texto(7, item.assunto)
        .texto(8, item.idMensagem)
        .bytes(9, item.conteudo)
        .texto(10, agora());
    c.passo();
    return sqlite3_last_insert_rowid(conexao.handle());
}

QList<LinhaCaixa> linhas(Conexao &conexao)
{
    criarTabela(conexao);
    Comando c(conexao, (QByteArray(kColunasLinha) + " ORDER BY id DESC").constData());
    QList<LinhaCaixa> lista;
    while (c.passo())
        lista << lerLinha(c);
    return lista;
}

LinhaCaixa linha(Conexao &conexao, qint64 id)
{
    criarTabela(conexao);
    Comando c(conexao, (QByteArray(kColunasLinha) + " WHERE id = ?").constData());
    c.inteiro(1, id);
    return c.passo() ? lerLinha(c) : LinhaCaixa{};
}

int quantidadeNaoEnviada(Conexao &conexao)
{
    criarTabela(conexao);
    Comando c(conexao, "SELECT count(*) FROM tbcaixa_saida WHERE situacao <> 'enviado'");
    c.passo();
    return static_cast<int>(c.inteiro(0));
}

void descartar(Conexao &conexao, qint64 id)
{
    criarTabela(conexao);
    Comando c(conexao, "DELETE FROM tbcaixa_saida WHERE id = ?");
    c.inteiro(1, id);
    c.passo();
}

void voltarAAguardar(Conexao &conexao, qint64 id)
{
    criarTabela(conexao);
    Comando c(conexao, "UPDATE tbcaixa_saida SET situacao = 'aguardando' WHERE id = ? AND situacao = 'recusado'");
    c.inteiro(1, id);
    c.passo();
}

QList<Envio> aguardando(Conexao &conexao)
{
    criarTabela(conexao);
    Comando c(conexao, "SELECT id, remetente, destinatarios, conteudo FROM tbcaixa_saida"
                       " WHERE situacao = 'aguardando' AND tipo = 'email' ORDER BY id");
    QList<Envio> lista;
    while (c.passo())
        lista << Envio{c.inteiro(0), c.texto(1), c.texto(2).split(u'\n', Qt::SkipEmptyParts), c.bytes(3)};
    return lista;
}

void registrarTentativa(Conexao &conexao, qint64 id, SituacaoCaixa situacao, const QString &resposta)
{
    criarTabela(conexao);
    Comando c(conexao, "UPDATE tbcaixa_saida SET situacao = ?, tentativas = tentativas + 1, ultima_tentativa = ?,"
                       " resposta = ?, conteudo = CASE WHEN ? = 'enviado' THEN NULL ELSE conteudo END"
                       " WHERE id = ? AND situacao = 'aguardando'");
    const QString texto = TextoSituacao(situacao);
    c.texto(1, texto).texto(2, agora()).texto(3, resposta).texto(4, texto).inteiro(5, id);
    c.passo();
}

} // namespace CaixaSaidaBanco
