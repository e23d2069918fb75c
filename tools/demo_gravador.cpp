#include "demo_gravador.h"

#include "erro.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <cstring>

namespace
{

const DefConjunto &procurarTabela(const std::vector<DefConjunto> &tabelas, const char *nome)
{
    for (const DefConjunto &t : tabelas)
        if (std::strcmp(t.tabela, nome) == 0)
            return t;
    throw Erro(QStringLiteral("A tabela %1 não existe.").arg(QString::fromUtf8(nome)));
}

const DefCampo &procurarColuna(const DefConjunto &tabela, const char *nome)
{
    for (const DefCampo &c : tabela.campos)
        if (std::strcmp(c.nome, nome) == 0 && c.origem == Origem::Coluna)
            return c;
    throw Erro(
        QStringLiteral("A coluna %1.%2 não existe.").arg(QString::fromUtf8(tabela.tabela), QString::fromUtf8(nome)));
}

void conferirLargura(const DefConjunto &tabela, const DefCampo &coluna, const QVariant &valor)
{
    const bool texto = coluna.tipo == TipoCampo::Texto || coluna.tipo == TipoCampo::TextoAnsi;
    if (!texto || coluna.largura == 0 || valor.isNull())
        return;
    const QString s = valor.toString();
    if (s.size() > coluna.largura)
        throw Erro(QStringLiteral("O valor \"%1\" não cabe em %2.%3 (%4 caracteres).")
                       .arg(s, QString::fromUtf8(tabela.tabela), QString::fromUtf8(coluna.nome))
                       .arg(coluna.largura));
}

} // namespace

Gravador::Gravador(const QString &arquivo, const std::vector<DefConjunto> &tabelas)
    : m_tabelas(tabelas), m_conexao(QStringLiteral("gravador_demo"))
{
    QString erro;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_conexao);
        db.setDatabaseName(arquivo);
        if (db.open() && db.transaction())
            return;
        erro = db.lastError().text();
    }
    QSqlDatabase::removeDatabase(m_conexao);
    throw Erro(QStringLiteral("Não foi possível abrir o banco de dados %1: %2").arg(arquivo, erro));
}

Gravador::~Gravador()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_conexao, false);
        if (!m_confirmado)
            db.rollback();
        db.close();
    }
    QSqlDatabase::removeDatabase(m_conexao);
}

void Gravador::inserir(const char *tabela, const Linha &linha)
{
    const DefConjunto &def = procurarTabela(m_tabelas, tabela);
    QStringList colunas;
    QStringList marcas;
    for (const auto &[nome, valor] : linha) {
        conferirLargura(def, procurarColuna(def, nome), valor);
        colunas << QStringLiteral("\"%1\"").arg(QString::fromUtf8(nome));
        marcas << QStringLiteral("?");
    }
    QSqlQuery q(QSqlDatabase::database(m_conexao, false));
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(QString::fromUtf8(tabela), colunas.join(u','), marcas.join(u','));
    if (!q.prepare(sql))
        throw Erro(QStringLiteral("Não foi possível preparar \"%1\": %2").arg(sql, q.lastError().text()));
    for (const auto &par : linha)
        q.addBindValue(par.second);
    if (!q.exec())
        throw Erro(
            QStringLiteral("Não foi possível gravar em %1: %2").arg(QString::fromUtf8(tabela), q.lastError().text()));
}

void Gravador::confirmar()
{
    QSqlDatabase db = QSqlDatabase::database(m_conexao, false);
    if (!db.commit())
        throw Erro(QStringLiteral("Não foi possível confirmar a gravação: %1").arg(db.lastError().text()));
    m_confirmado = true;
}
