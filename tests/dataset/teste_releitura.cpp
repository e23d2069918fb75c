// Reading again only what was stored, statements kept prepared, and rows read
// on first use: each must leave a data set exactly as the plain way would.

#include "conexao.h"
#include "conjunto_dados.h"
#include "erro.h"
#include "esquema.h"
#include "pasta_programa.h"
#include "transacao.h"

#include <gtest/gtest.h>

namespace
{

class ReleituraTeste : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        pasta.executar(QStringLiteral("INSERT INTO tbpedido (nr_pedido, idFunc, vl_total_item) VALUES (10, 'ABC', 1),"
                                      " (11, 'XYZ', 2), (12, 'ABC', 3), (13, 'ABC', 4), (14, 'ABC', 5);"
                                      "INSERT INTO tbpedido_item (nr_pedido, idfunc, codigo, quantidade) VALUES"
                                      " (12, 'ABC', 'P1', 1), (12, 'ABC', 'P2', 2), (14, 'ABC', 'P3', 3);"));
        conexao.abrirBanco(pasta.bancoLocal());
    }

    std::unique_ptr<ConjuntoDados> pedidos(const char *ordem = "desc")
    {
        auto c = std::make_unique<ConjuntoDados>(QStringLiteral("QyPedido"), &Esquema::pedido());
        c->setConexao(&conexao);
        c->setTabela(QStringLiteral("tbpedido"));
        c->setSql(QStringLiteral("select * from tbpedido order by nr_pedido %1").arg(QString::fromUtf8(ordem)));
        c->setFiltro(QStringLiteral("idFunc='ABC' AND vl_total_item>=0"));
        c->setFiltrado(true);
        c->abrir();
        return c;
    }
    std::unique_ptr<ConjuntoDados> itens(ConjuntoDados *mestre)
    {
        auto c = std::make_unique<ConjuntoDados>(QStringLiteral("QyPedidoItem"), &Esquema::pedidoItem());
        c->setConexao(&conexao);
        c->setTabela(QStringLiteral("tbpedido_item"));
        c->setSql(QStringLiteral("select * from tbpedido_item where nr_pedido = :nr_pedido"));
        c->setMestre(mestre);
        c->abrir();
        return c;
    }

    PastaProgramaTeste pasta;
    Conexao conexao{QStringLiteral("ADOConexao")};
};

// Everything a screen sees of a set: the rows in view with their totals, the
// current row and the marks.
QString vista(ConjuntoDados &c)
{
    QStringList linhas;
    for (int p = 0; p < c.quantidade(); ++p) {
        const Registro r = c.registro(p);
        linhas << r.campo(QStringLiteral("nr_pedido")).texto() + QLatin1Char(':') +
                      r.campo(QStringLiteral("vl_total_item")).texto();
    }
    return QStringLiteral("%1 | atual %2 %3%4")
        .arg(linhas.join(QLatin1Char(' ')))
        .arg(c.numeroRegistro())
        .arg(c.inicio() ? "I" : "-", c.fim() ? "F" : "-");
}

void editar(ConjuntoDados &c, int numero, double total)
{
    ASSERT_TRUE(c.localizar(QStringLiteral("nr_pedido"), QString::number(numero)));
    c.editar();
    c.campo(QStringLiteral("vl_total_item")).setReal(total);
    c.gravar();
}

// Stores, inserts, a row that leaves the filter, rows written behind the set's
// back, ascending and descending order: after each, the set read again by key
// shows what a set reopened and located shows.
TEST_F(ReleituraTeste, ReabrirLocalizandoMostraOQueReabrirMostraria)
{
    struct Caso {
        const char *nome;
        const char *ordem;
        std::function<void(ConjuntoDados &, PastaProgramaTeste &, Conexao &)> escrever;
        const char *procurar; // "" = the current row's number
    } casos[] = {
        {"um total alterado", "desc", [](ConjuntoDados &c, auto &, auto &) { editar(c, 12, 30); }, ""},
        {"um pedido novo vai para o topo", "desc",
         [](ConjuntoDados &c, auto &, auto &) {
             c.inserir();
             c.campo(QStringLiteral("idFunc")).setTexto(QStringLiteral("ABC"));
             c.campo(QStringLiteral("vl_total_item")).setReal(9);
             c.gravar();
         },
         ""},
        {"um pedido novo em ordem crescente vai para o fim", "asc",
         [](ConjuntoDados &c, auto &, auto &) {
             c.inserir();
             c.campo(QStringLiteral("idFunc")).setTexto(QStringLiteral("ABC"));
             c.campo(QStringLiteral("vl_total_item")).setReal(9);
             c.gravar();
         },
         ""},
        {"um pedido que sai do filtro: o primeiro fica atual", "desc",
         [](ConjuntoDados &c, auto &, auto &) { editar(c, 13, -1); }, ""},
        {"vários gravados, um excluído", "desc",
         [](ConjuntoDados &c, auto &, auto &) {
             editar(c, 10, 7);
             editar(c, 14, 8);
             ASSERT_TRUE(c.localizar(QStringLiteral("nr_pedido"), QStringLiteral("13")));
             c.excluir();
             editar(c, 12, 6);
         },
         ""},
        {"uma linha escrita por SQL direto", "desc",
         [](ConjuntoDados &c, auto &, Conexao &con) {
             editar(c, 12, 30);
             con.executar(QStringLiteral("UPDATE tbpedido SET vl_total_item = 99 WHERE nr_pedido = 10"));
         },
         ""},
        {"uma linha escrita por outro programa", "desc",
         [](ConjuntoDados &c, PastaProgramaTeste &p, auto &) {
             editar(c, 12, 30);
             p.executar(
                 QStringLiteral("INSERT INTO tbpedido (nr_pedido, idFunc, vl_total_item) VALUES (20, 'ABC', 1)"));
         },
         ""},
        {"um número que não está na lista", "desc", [](ConjuntoDados &c, auto &, auto &) { editar(c, 12, 30); }, "11"},
    };
    for (const Caso &caso : casos) {
        SCOPED_TRACE(caso.nome);
        pasta.executar(QStringLiteral("DELETE FROM tbpedido; INSERT INTO tbpedido (nr_pedido, idFunc, vl_total_item) "
                                      "VALUES (10, 'ABC', 1), (11, 'XYZ', 2), (12, 'ABC', 3), (13, 'ABC', 4), "
                                      "(14, 'ABC', 5)"));
        auto relido = pedidos(caso.ordem);
        caso.escrever(*relido, pasta, conexao);
        const QString numero =
            *caso.procurar ? QString::fromUtf8(caso.procurar) : relido->campo(QStringLiteral("nr_pedido")).texto();
        const bool achouRelido = relido->reabrirLocalizando(QStringLiteral("nr_pedido"), numero);

        auto reaberto = pedidos(caso.ordem);
        const bool achouReaberto = reaberto->localizar(QStringLiteral("nr_pedido"), numero);
        EXPECT_EQ(achouRelido, achouReaberto);
        EXPECT_EQ(vista(*relido), vista(*reaberto));
        EXPECT_EQ(relido->estado(), EstadoConjunto::Navegacao);
    }
}

// The items follow the order made current by the re-read, as after reopening.
TEST_F(ReleituraTeste, OsItensSeguemOPedidoRelido)
{
    auto ped = pedidos();
    auto its = itens(ped.get());
    editar(*ped, 12, 30);
    ped->primeiro();
    ASSERT_EQ(its->quantidade(), 1);
    ped->reabrirLocalizando(QStringLiteral("nr_pedido"), QStringLiteral("12"));
    EXPECT_EQ(ped->campo(QStringLiteral("vl_total_item")).texto(), QStringLiteral("30"));
    EXPECT_EQ(its->quantidade(), 2);
}

// The items of an order made current again keep their rows only when reading
// them would bring the same: whatever wrote their table behind their back,
// or a table their SQL also reads, they show what a set opened afresh shows.
TEST_F(ReleituraTeste, ItensDoMesmoPedidoMostramOQueOBancoTem)
{
    auto quantidades = [](ConjuntoDados &c) {
        QStringList q;
        for (c.primeiro(); !c.fim(); c.proximo())
            q << c.campo(QStringLiteral("codigo")).texto() + QLatin1Char('=') +
                     c.campo(QStringLiteral("quantidade")).texto();
        c.primeiro();
        return q.join(QLatin1Char(' '));
    };
    const struct {
        const char *nome;
        const char *sqlItens;
        std::function<void(ConjuntoDados &, PastaProgramaTeste &, Conexao &)> escrever;
    } casos[] = {
        {"nada mudou", "select * from tbpedido_item where nr_pedido = :nr_pedido",
         [](ConjuntoDados &, auto &, auto &) {}},
        {"os próprios itens gravados", "select * from tbpedido_item where nr_pedido = :nr_pedido",
         [](ConjuntoDados &its, auto &, auto &) {
             its.editar();
             its.campo(QStringLiteral("quantidade")).setTexto(QStringLiteral("7"));
             its.gravar();
         }},
        {"um item passado a outro pedido", "select * from tbpedido_item where nr_pedido = :nr_pedido",
         [](ConjuntoDados &its, auto &, auto &) {
             its.editar();
             its.campo(QStringLiteral("nr_pedido")).setTexto(QStringLiteral("14"));
             its.gravar();
         }},
        {"outro programa", "select * from tbpedido_item where nr_pedido = :nr_pedido",
         [](ConjuntoDados &, PastaProgramaTeste &p, auto &) {
             p.executar(QStringLiteral("UPDATE tbpedido_item SET quantidade = 8 WHERE codigo = 'P1'"));
         }},
        {"SQL direto na mesma conexão", "select * from tbpedido_item where nr_pedido = :nr_pedido",
         [](ConjuntoDados &, auto &, Conexao &con) {
             con.executar(
                 QStringLiteral("INSERT INTO tbpedido_item (nr_pedido, codigo, quantidade) VALUES (12, 'P9', 9)"));
         }},
        {"outro conjunto sobre a mesma tabela", "select * from tbpedido_item where nr_pedido = :nr_pedido",
         [](ConjuntoDados &, auto &, Conexao &con) {
             ConjuntoDados outro(QStringLiteral("outro"), &Esquema::pedidoItem());
             outro.setConexao(&con);
             outro.setTabela(QStringLiteral("tbpedido_item"));
             outro.setSql(QStringLiteral("select * from tbpedido_item where codigo = 'P2'"));
             outro.abrir();
             outro.editar();
             outro.campo(QStringLiteral("quantidade")).setTexto(QStringLiteral("5"));
             outro.gravar();
         }},
        {"uma tabela que a consulta também lê",
         "select * from tbpedido_item where nr_pedido = :nr_pedido and codigo in "
         "(select CODIGO from tbproduto where ESTOQUE > 0)",
         [](ConjuntoDados &, auto &, Conexao &con) {
             ConjuntoDados produtos(QStringLiteral("produtos"), &Esquema::produto());
             produtos.setConexao(&con);
             produtos.setTabela(QStringLiteral("tbproduto"));
             produtos.setSql(QStringLiteral("select * from tbproduto where CODIGO = 'P1'"));
             produtos.abrir();
             produtos.editar();
             produtos.campo(QStringLiteral("ESTOQUE")).setReal(0);
             produtos.gravar();
         }},
    };
    for (const auto &caso : casos) {
        SCOPED_TRACE(caso.nome);
        pasta.executar(QStringLiteral("UPDATE tbpedido SET vl_total_item = 3 WHERE nr_pedido = 12;"
                                      "DELETE FROM tbproduto; INSERT INTO tbproduto (CODIGO, ESTOQUE) VALUES "
                                      "('P1', 5), ('P2', 5);"
                                      "DELETE FROM tbpedido_item; INSERT INTO tbpedido_item (nr_pedido, idfunc, "
                                      "codigo, quantidade) VALUES (12, 'ABC', 'P1', 1), (12, 'ABC', 'P2', 2)"));
        auto ped = pedidos();
        auto its = itens(ped.get());
        its->setSql(QString::fromUtf8(caso.sqlItens));
        its->abrir();
        ASSERT_TRUE(ped->localizar(QStringLiteral("nr_pedido"), QStringLiteral("12")));
        caso.escrever(*its, pasta, conexao);
        ped->reabrirLocalizando(QStringLiteral("nr_pedido"), QStringLiteral("12"));

        auto afresco = pedidos();
        auto itsAfresco = itens(afresco.get());
        itsAfresco->setSql(QString::fromUtf8(caso.sqlItens));
        ASSERT_TRUE(afresco->localizar(QStringLiteral("nr_pedido"), QStringLiteral("12")));
        itsAfresco->abrir();
        EXPECT_EQ(quantidades(*its), quantidades(*itsAfresco));
        EXPECT_EQ(its->numeroRegistro(), 1);
    }
}

// What the database keeps in its own terms is read again after a store: a
// text a numeric column turns into a number, a column the table computes
// from the one written, a column a trigger writes (the connection counts the
// trigger's changes as another writer's). The items show what a set opened
// afresh shows.
TEST_F(ReleituraTeste, OQueOBancoGuardaASeuModoELidoDeNovo)
{
    const struct {
        const char *nome;
        const char *coluna; // the item table's column as this case declares it
        const char *campo;
        const char *valor;
        const char *gatilho = nullptr;
    } casos[] = {
        {"texto numa coluna numérica", "codigo NUMERIC", "codigo", "007"},
        {"coluna calculada", "codigo TEXT GENERATED ALWAYS AS ('Q' || quantidade)", "quantidade", "7"},
        {"gatilho", "codigo TEXT", "codigo", "P9",
         "CREATE TRIGGER marca AFTER UPDATE OF codigo ON outros_itens BEGIN"
         " UPDATE outros_itens SET quantidade = 99 WHERE rowid = new.rowid; END"},
    };
    auto abrirItens = [&](ConjuntoDados *mestre) {
        auto c = itens(mestre);
        c->setTabela(QStringLiteral("outros_itens"));
        c->setSql(QStringLiteral("select * from outros_itens where nr_pedido = :nr_pedido"));
        c->abrir();
        return c;
    };
    auto linhas = [](ConjuntoDados &c) {
        QStringList l;
        for (c.primeiro(); !c.fim(); c.proximo())
            l << c.campo(QStringLiteral("codigo")).texto() + QLatin1Char('=') +
                     c.campo(QStringLiteral("quantidade")).texto();
        return l.join(QLatin1Char(' '));
    };
    for (const auto &caso : casos) {
        SCOPED_TRACE(caso.nome);
        const QString coluna = QString::fromUtf8(caso.coluna);
        QStringList colunas;
        for (const DefCampo &c : Esquema::pedidoItem()) {
            const QString nome = QString::fromUtf8(c.nome);
            if (c.origem != Origem::Coluna)
                continue;
            if (coluna.startsWith(nome + QLatin1Char(' ')))
                colunas << coluna;
            else if (c.tipo == TipoCampo::AutoInc)
                colunas << nome + QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT");
            else
                colunas << nome + (c.tipo == TipoCampo::Texto ? QStringLiteral(" TEXT") : QStringLiteral(" NUMERIC"));
        }
        conexao.executar(QStringLiteral("DROP TABLE IF EXISTS outros_itens"));
        conexao.executar(QStringLiteral("CREATE TABLE outros_itens (%1)").arg(colunas.join(QLatin1Char(','))));
        if (caso.gatilho)
            conexao.executar(QString::fromUtf8(caso.gatilho));
        conexao.executar(QStringLiteral("INSERT INTO outros_itens (nr_pedido, quantidade) VALUES (12, 1), (12, 2)"));
        auto ped = pedidos();
        ASSERT_TRUE(ped->localizar(QStringLiteral("nr_pedido"), QStringLiteral("12")));
        auto its = abrirItens(ped.get());
        its->editar();
        its->campo(QString::fromUtf8(caso.campo)).setTexto(QString::fromUtf8(caso.valor));
        its->gravar();
        ped->reabrirLocalizando(QStringLiteral("nr_pedido"), QStringLiteral("12"));

        auto afresco = pedidos();
        ASSERT_TRUE(afresco->localizar(QStringLiteral("nr_pedido"), QStringLiteral("12")));
        auto itsAfresco = abrirItens(afresco.get());
        EXPECT_EQ(linhas(*its), linhas(*itsAfresco));
    }
}

// Statements kept prepared write every column set a set is stored with, still
// work once the connection is reopened, and keep nothing that stops it
// closing or holds a lock against another writer.
TEST_F(ReleituraTeste, InstrucoesPreparadasServemACadaEscrita)
{
    auto ped = pedidos();
    for (int vez = 0; vez < 2; ++vez) {
        SCOPED_TRACE(vez);
        editar(*ped, 12, 40 + vez);
        editar(*ped, 12, 50 + vez);
        ASSERT_TRUE(ped->localizar(QStringLiteral("nr_pedido"), QStringLiteral("13")));
        ped->editar();
        ped->campo(QStringLiteral("observacao")).setTexto(QStringLiteral("sem pressa"));
        ped->campo(QStringLiteral("vl_total_item")).setReal(60 + vez);
        ped->gravar();
        ped->inserir();
        ped->campo(QStringLiteral("idFunc")).setTexto(QStringLiteral("ABC"));
        ped->gravar();
        ped->excluir();
        EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT vl_total_item FROM tbpedido WHERE nr_pedido = 12")),
                  QString::number(50 + vez));
        EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT observacao || vl_total_item FROM tbpedido "
                                                 "WHERE nr_pedido = 13")),
                  QStringLiteral("sem pressa%1").arg(60 + vez));
        EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT count(*) FROM tbpedido")), QStringLiteral("5"));
        // Another program can write: nothing kept holds the file.
        pasta.executar(QStringLiteral("UPDATE tbpedido SET observacao = 'fora' WHERE nr_pedido = 10"));
        conexao.fechar();
        EXPECT_FALSE(conexao.aberta());
        conexao.abrirBanco(pasta.bancoLocal());
        ped->abrir();
    }
}

// A store refused by the database reports its reason and leaves the
// statement ready for the next one.
TEST_F(ReleituraTeste, UmaEscritaRecusadaNaoEstragaAProxima)
{
    pasta.executar(QStringLiteral("CREATE TRIGGER recusa BEFORE UPDATE ON tbpedido WHEN NEW.vl_total_item < 0 "
                                  "BEGIN SELECT RAISE(ABORT, 'total negativo'); END"));
    conexao.fechar();
    conexao.abrirBanco(pasta.bancoLocal());
    auto ped = pedidos();
    ASSERT_TRUE(ped->localizar(QStringLiteral("nr_pedido"), QStringLiteral("12")));
    ped->editar();
    ped->campo(QStringLiteral("vl_total_item")).setReal(-1);
    try {
        ped->gravar();
        ADD_FAILURE() << "a gravação recusada passou";
    } catch (const Erro &e) {
        EXPECT_TRUE(e.mensagem().contains(QStringLiteral("total negativo"))) << e.mensagem().toStdString();
    }
    ped->campo(QStringLiteral("vl_total_item")).setReal(7);
    ped->gravar();
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT vl_total_item FROM tbpedido WHERE nr_pedido = 12")),
              QStringLiteral("7"));
}

// Rows are read when first asked for, as the database has them then; a
// missing table is reported when the set is opened, as abrir() reports it.
TEST_F(ReleituraTeste, AbrirAoUsarLeNaPrimeiraVezQueSePergunta)
{
    auto ped = pedidos();
    auto its = itens(ped.get());
    ped->abrirAoUsar();
    its->abrirAoUsar();
    EXPECT_TRUE(ped->ativo());
    EXPECT_TRUE(ped->linhasPendentes());
    pasta.executar(QStringLiteral("INSERT INTO tbpedido (nr_pedido, idFunc, vl_total_item) VALUES (20, 'ABC', 1)"));
    // The detail asks its master for its row: both are read.
    EXPECT_EQ(its->quantidade(), 0);
    EXPECT_FALSE(ped->linhasPendentes());
    EXPECT_EQ(ped->campo(QStringLiteral("nr_pedido")).texto(), QStringLiteral("20"));
    EXPECT_EQ(ped->quantidade(), 5);
    ped->proximo();
    EXPECT_EQ(its->quantidade(), 1);

    ped->abrirAoUsar();
    ped->fechar();
    EXPECT_FALSE(ped->ativo());
    EXPECT_FALSE(ped->linhasPendentes());

    ConjuntoDados semTabela(QStringLiteral("QyProduto"), &Esquema::produto());
    semTabela.setConexao(&conexao);
    semTabela.setTabela(QStringLiteral("tbnada"));
    semTabela.setSql(QStringLiteral("select * from tbnada"));
    QString aoAbrir, aoUsar;
    try {
        semTabela.abrir();
    } catch (const Erro &e) {
        aoAbrir = e.mensagem();
    }
    try {
        semTabela.abrirAoUsar();
    } catch (const Erro &e) {
        aoUsar = e.mensagem();
    }
    EXPECT_FALSE(aoAbrir.isEmpty());
    EXPECT_EQ(aoUsar, aoAbrir);
    EXPECT_FALSE(semTabela.ativo());
}

} // namespace
