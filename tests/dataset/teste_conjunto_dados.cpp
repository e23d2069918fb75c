#include "conexao.h"
#include "conjunto_dados.h"
#include "erro.h"
#include "esquema.h"
#include "impressao_qt.h"
#include "modelo_tabela.h"
#include "pasta_programa.h"
#include "transacao.h"

#include <QAbstractItemModelTester>
#include <functional>

#include <gtest/gtest.h>

namespace
{

class ConjuntoTeste : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        pasta.executar(QStringLiteral(
            "INSERT INTO tbcliente (IdCliente, Nome, Cidade) VALUES (1, 'JOSÉ DA SILVA', 'São Paulo'),"
            " (2, 'Maria', 'Campinas'), (3, 'O''NEIL', 'Goiânia');"
            "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, vl_total_item) VALUES (83, 'ABC', 1, 10),"
            " (84, 'ABC', 2, 0), (85, 'ABC', 3, 5);"
            "INSERT INTO tbproduto (idProduto, CODIGO, PRODUTO, FABRICANTE, ESTOQUE) VALUES"
            " (1, 'P1', 'Parafuso', 'Fixa', 10), (2, 'P2', 'Porca', 'Fixa', 2.5);"
            "INSERT INTO tbpedido_item (nr_pedido, idfunc, codigo, quantidade) VALUES (83, 'ABC', 'P1', 1),"
            " (83, 'ABC', 'P2', 2), (85, 'ABC', 'P1', 3);"
            "INSERT INTO tblocalidades VALUES ('P', 'Praça'), ('P', 'Praça'), ('N', 'Normal');"));
        conexao.abrirBanco(pasta.bancoLocal());
    }

    std::unique_ptr<ConjuntoDados> abrir(const char *nome, const std::vector<DefCampo> *campos, const char *tabela,
                                         const char *sql, ConjuntoDados *mestre = nullptr)
    {
        auto c = std::make_unique<ConjuntoDados>(QString::fromUtf8(nome), campos);
        c->setConexao(&conexao);
        c->setTabela(QString::fromUtf8(tabela));
        c->setSql(QString::fromUtf8(sql));
        c->setMestre(mestre);
        c->abrir();
        return c;
    }
    std::unique_ptr<ConjuntoDados> clientes()
    {
        return abrir("QyCliente", &Esquema::cliente(), "tbcliente", "select * from tbcliente order by idcliente");
    }
    std::unique_ptr<ConjuntoDados> pedidos()
    {
        return abrir("QyPedido", &Esquema::pedido(), "tbpedido", "select * from tbpedido order by nr_pedido desc");
    }
    std::unique_ptr<ConjuntoDados> itens(ConjuntoDados *mestre)
    {
        return abrir("QyPedidoItem", &Esquema::pedidoItem(), "tbpedido_item",
                     "select * from tbpedido_item where nr_pedido = :nr_pedido", mestre);
    }

    PastaProgramaTeste pasta;
    Conexao conexao{QStringLiteral("ADOConexao")};
};

QString marcas(const ConjuntoDados &c)
{
    return QStringLiteral("%1%2 %3").arg(c.inicio() ? "I" : "-", c.fim() ? "F" : "-").arg(c.numeroRegistro());
}

// The marks the Prior and Next buttons are enabled by, after each move.
TEST_F(ConjuntoTeste, MarcasDeInicioEFim)
{
    auto loc = abrir("QyLocalidade", &Esquema::localidade(), "tblocalidades", "select * from tblocalidades");
    struct Caso {
        const char *filtro; // 3, 1 and 0 rows
        const char *passos; // n next, p prior, f first, u last
        const char *esperado;
    } casos[] = {
        {"", "nnnnpppp", "-- 2|-- 3|-F 3|-F 3|-- 2|-- 1|I- 1|I- 1"},
        {"", "uf", "-F 3|I- 1"},
        {"tp_localidade='N'", "nnpp", "-F 1|-F 1|I- 1|I- 1"},
        {"tp_localidade='Z'", "nnppfu", "IF 0|IF 0|IF 0|IF 0|IF 0|IF 0"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.filtro);
        loc->setFiltrado(false);
        loc->setFiltro(QString::fromUtf8(c.filtro));
        loc->setFiltrado(true);
        QStringList obtido;
        const QString inicial = marcas(*loc);
        EXPECT_TRUE(inicial.startsWith(QStringLiteral("I"))) << "abrir ou filtrar marca o início";
        for (const char *p = c.passos; *p; ++p) {
            switch (*p) {
            case 'n':
                loc->proximo();
                break;
            case 'p':
                loc->anterior();
                break;
            case 'f':
                loc->primeiro();
                break;
            case 'u':
                loc->ultimo();
                break;
            }
            obtido << marcas(*loc);
        }
        EXPECT_EQ(obtido.join(QLatin1Char('|')), QString::fromUtf8(c.esperado));
    }
    loc->setFiltrado(false);
    loc->ultimo();
    loc->reabrir();
    EXPECT_EQ(marcas(*loc), QStringLiteral("I- 1"));
}

TEST_F(ConjuntoTeste, GravarAprendeAChaveQueNuncaSeRepete)
{
    auto ped = pedidos();
    ped->inserir();
    EXPECT_TRUE(ped->campo(QStringLiteral("nr_pedido")).nulo());
    EXPECT_EQ(ped->numeroRegistro(), 4) << "a linha nova vai para o fim";
    ped->campo(QStringLiteral("idFunc")).setTexto(QStringLiteral("XYZ"));
    ped->gravar();
    EXPECT_EQ(ped->estado(), EstadoConjunto::Navegacao);
    EXPECT_EQ(ped->campo(QStringLiteral("nr_pedido")).inteiro(), 86);
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT idFunc FROM tbpedido WHERE nr_pedido = 86")),
              QStringLiteral("XYZ"));
    // The newest key is deleted; the next order still gets a new number.
    ped->excluir();
    ped->inserir();
    ped->campo(QStringLiteral("idFunc")).setTexto(QStringLiteral("XYZ"));
    ped->gravar();
    EXPECT_EQ(ped->campo(QStringLiteral("nr_pedido")).inteiro(), 87);
}

TEST_F(ConjuntoTeste, CancelarRestauraOQueHavia)
{
    auto ped = pedidos();
    ped->proximo();
    ped->inserir();
    ped->campo(QStringLiteral("idFunc")).setTexto(QStringLiteral("NOVO"));
    ped->cancelar();
    EXPECT_EQ(ped->quantidade(), 3);
    EXPECT_EQ(ped->campo(QStringLiteral("nr_pedido")).inteiro(), 84) << "volta ao registro de antes";

    ped->editar();
    ped->campo(QStringLiteral("vl_total_item")).setTexto(QStringLiteral("99,5"));
    EXPECT_EQ(ped->campo(QStringLiteral("vl_total_item")).texto(), QStringLiteral("99,5"));
    ped->cancelar();
    EXPECT_EQ(ped->campo(QStringLiteral("vl_total_item")).texto(), QStringLiteral("0"));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT count(*) FROM tbpedido")), QStringLiteral("3"));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT vl_total_item FROM tbpedido WHERE nr_pedido=84")),
              QStringLiteral("0"));

    ped->editar();
    ped->campo(QStringLiteral("vl_total_item")).setTexto(QStringLiteral("99,5"));
    ped->gravar();
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT vl_total_item FROM tbpedido WHERE nr_pedido=84")),
              QStringLiteral("99.5"));
}

TEST_F(ConjuntoTeste, ExcluirTornaAtualOProximo)
{
    auto ped = pedidos(); // 85 84 83
    ped->proximo();
    ped->excluir();
    EXPECT_EQ(ped->campo(QStringLiteral("nr_pedido")).inteiro(), 83);
    ped->excluir();
    EXPECT_EQ(ped->campo(QStringLiteral("nr_pedido")).inteiro(), 85) << "sem próximo, o anterior";
    ped->excluir();
    EXPECT_TRUE(ped->vazio());
    EXPECT_EQ(marcas(*ped), QStringLiteral("IF 0"));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT count(*) FROM tbpedido")), QStringLiteral("0"));
    EXPECT_THROW(ped->excluir(), Erro);
}

TEST_F(ConjuntoTeste, MoverDuranteAEdicaoGravaOAlteradoEAbandonaOIntacto)
{
    struct Caso {
        const char *nome;
        bool inserir;
        bool alterar;
        std::function<void(ConjuntoDados &)> mover;
        const char *linhas;    // rows in the table afterwards
        const char *valorDe85; // idFunc of order 85 afterwards
    } casos[] = {
        {"editado, próximo", false, true, [](ConjuntoDados &c) { c.proximo(); }, "3", "MUDOU"},
        {"editado sem mudança, próximo", false, false, [](ConjuntoDados &c) { c.proximo(); }, "3", "ABC"},
        {"editado, localizar", false, true,
         [](ConjuntoDados &c) { c.localizar(QStringLiteral("nr_pedido"), QStringLiteral("83")); }, "3", "MUDOU"},
        {"editado, filtro", false, true,
         [](ConjuntoDados &c) {
             c.setFiltro(QStringLiteral("vl_total_item>=0"));
             c.setFiltrado(true);
         },
         "3", "MUDOU"},
        {"inserido, primeiro", true, true, [](ConjuntoDados &c) { c.primeiro(); }, "4", "ABC"},
        {"inserido sem mudança, primeiro", true, false, [](ConjuntoDados &c) { c.primeiro(); }, "3", "ABC"},
        {"inserido, inserir de novo", true, true, [](ConjuntoDados &c) { c.inserir(); }, "4", "ABC"},
    };
    for (const Caso &caso : casos) {
        SCOPED_TRACE(caso.nome);
        pasta.executar(QStringLiteral("DELETE FROM tbpedido WHERE nr_pedido > 85; UPDATE tbpedido SET idFunc='ABC'"));
        auto ped = pedidos();
        if (caso.inserir)
            ped->inserir();
        else
            ped->editar();
        if (caso.alterar)
            ped->campo(QStringLiteral("idFunc")).setTexto(QStringLiteral("MUDOU"));
        caso.mover(*ped);
        EXPECT_NE(ped->estado(), EstadoConjunto::Edicao);
        EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT count(*) FROM tbpedido")), QString::fromUtf8(caso.linhas));
        EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT idFunc FROM tbpedido WHERE nr_pedido=85")),
                  QString::fromUtf8(caso.valorDe85));
    }
}

TEST_F(ConjuntoTeste, EscritasRecusadasDizemPorque)
{
    auto ped = pedidos();
    auto mensagem = [](const std::function<void()> &f) {
        try {
            f();
        } catch (const Erro &e) {
            return e.mensagem();
        }
        return QStringLiteral("(sem erro)");
    };
    EXPECT_EQ(mensagem([&] { ped->campo(QStringLiteral("idFunc")).setTexto(QStringLiteral("X")); }),
              QStringLiteral("QyPedido: o conjunto de dados não está em modo de edição ou inserção."));
    ped->editar();
    EXPECT_EQ(mensagem([&] { ped->campo(QStringLiteral("dv")).setTexto(QStringLiteral("abc")); }),
              QStringLiteral("\"abc\" não é um número inteiro válido para o campo dv."));
    EXPECT_EQ(mensagem([&] { ped->campo(QStringLiteral("vl_total_item")).setTexto(QStringLiteral("1,2,3")); }),
              QStringLiteral("\"1,2,3\" não é um valor válido para o campo vl_total_item."));
    EXPECT_EQ(
        mensagem([&] { ped->campo(QStringLiteral("vl_total_item")).setTexto(QStringLiteral("900.000.000.000,01")); }),
        QStringLiteral("Valor fora do limite para moeda."));
    EXPECT_EQ(mensagem([&] {
                  ped->campo(QStringLiteral("vl_total_item")).setDinheiro(Dinheiro::deEscalado(Dinheiro::Limite + 1));
              }),
              QStringLiteral("Valor fora do limite para moeda."));
    EXPECT_EQ(mensagem([&] { ped->campo(QStringLiteral("nr_pedido")).setInteiro(1); }),
              QStringLiteral("O campo nr_pedido não pode ser modificado."));
    EXPECT_EQ(mensagem([&] { ped->campo(QStringLiteral("CLIENTE_DESCRICAO")).setTexto(QStringLiteral("x")); }),
              QStringLiteral("O campo CLIENTE_DESCRICAO não pode ser modificado."));
    EXPECT_EQ(mensagem([&] { ped->campo(QStringLiteral("naoexiste")); }),
              QStringLiteral("QyPedido: campo \"naoexiste\" não encontrado."));
    EXPECT_FALSE(ped->modificado()) << "uma escrita recusada não muda nada";
    ped->cancelar();
    ped->fechar();
    EXPECT_THROW(ped->proximo(), Erro);
    EXPECT_TRUE(ped->campo(QStringLiteral("idFunc")).nulo()) << "ler um conjunto fechado dá NULL";
}

TEST_F(ConjuntoTeste, DinheiroVoltaExatamenteComoFoiEscrito)
{
    const char *valores[] = {"1234,5678",         "0,0001",        "-9,99", "100",
                             "549755813887,9999", "-549755813888", "0,1",   "2,675"};
    auto ped = pedidos();
    for (const char *v : valores) {
        SCOPED_TRACE(v);
        const Dinheiro escrito = Dinheiro::deTexto(QString::fromUtf8(v));
        ped->editar();
        ped->campo(QStringLiteral("vl_total_item")).setDinheiro(escrito);
        ped->gravar();
        ped->reabrir();
        EXPECT_EQ(ped->campo(QStringLiteral("vl_total_item")).dinheiro(), escrito);
    }
}

// Tables without a key numbered by the database are written by SQLite rowid,
// so of two equal rows exactly one changes; a column the data set does not
// declare is left alone.
TEST_F(ConjuntoTeste, TabelaSemChaveMudaUmaLinhaSo)
{
    pasta.executar(QStringLiteral("ALTER TABLE tblocalidades ADD COLUMN extra INTEGER DEFAULT 7"));
    conexao.abrirBanco(pasta.bancoLocal()); // sees the new column
    auto loc = abrir("QyLocalidade", &Esquema::localidade(), "tblocalidades", "select * from tblocalidades");
    ASSERT_TRUE(loc->podeModificar());
    loc->editar();
    loc->campo(QStringLiteral("nm_localidade")).setTexto(QStringLiteral("Centro"));
    loc->gravar();
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT group_concat(nm_localidade, ',') FROM tblocalidades")),
              QStringLiteral("Centro,Praça,Normal"));
    loc->proximo();
    loc->excluir();
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT group_concat(nm_localidade, ',') FROM tblocalidades")),
              QStringLiteral("Centro,Normal"));
}

TEST_F(ConjuntoTeste, LocalizarIgnoraCaixaENaoMoveQuandoNaoAcha)
{
    auto cli = clientes();
    struct Caso {
        const char *coluna;
        const char *valor;
        bool achado;
        int posicao;
    } casos[] = {
        {"Nome", "josé da silva", true, 1}, {"nome", "o'neil", true, 3},         {"Cidade", "GOIÂNIA", true, 3},
        {"IdCliente", "2", true, 2},        {"Nome", "JOSE DA SILVA", false, 2}, {"Nome", "", false, 2},
        {"IdCliente", "dois", false, 2},    {"Nome", "Mari", false, 2},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.valor);
        EXPECT_EQ(cli->localizar(QString::fromUtf8(c.coluna), QString::fromUtf8(c.valor)), c.achado);
        EXPECT_EQ(cli->numeroRegistro(), c.posicao);
    }
    cli->setFiltro(QStringLiteral("Cidade<>'Campinas'"));
    cli->setFiltrado(true);
    EXPECT_FALSE(cli->localizar(QStringLiteral("Nome"), QStringLiteral("maria"))) << "só entre as linhas filtradas";
}

// Past a few rows locate goes through an index: it must find the row the
// equality filter keeps first, for every kind of value and after changes.
TEST_F(ConjuntoTeste, LocalizarPeloIndiceAchaOPrimeiroQueOFiltroDeIgualdadeMantem)
{
    pasta.executar(QStringLiteral(
        "INSERT INTO tbcliente (IdCliente, Nome, Cidade, regiao, mediaatraso, valultcompra, ultimacompra)"
        " WITH RECURSIVE n(i) AS (SELECT 101 UNION ALL SELECT i + 1 FROM n WHERE i < 140)"
        " SELECT i, 'Cliente ' || i, 'Cidade ' || i, '99', 1, 1, '2001-01-01 00:00:00' FROM n;"
        "INSERT INTO tbcliente (IdCliente, Nome, Cidade, regiao, mediaatraso, valultcompra, ultimacompra) VALUES"
        " (141, 'ÉDER', 'São Paulo', '07', 'x', 10.5, '2010-01-02 10:00:00'),"
        " (142, 'éder', 'SÃO PAULO', '7', 5, 10.50, '2010-01-02 10:00:00'),"
        " (143, 'ESCALA \u212A', NULL, NULL, 5, NULL, NULL), (144, 'Straße', 'Santos', '07', NULL, 0, NULL),"
        " (145, NULL, 'Santos', '', -0.0, -3, NULL);"));
    auto cli = clientes();
    ASSERT_GT(cli->quantidade(), 40);
    const struct {
        const char *coluna;
        const char *valor;
    } casos[] = {
        {"Nome", "éder"},
        {"nome", "ÉDER"},
        {"Nome", "eder"},
        {"Nome", "escala k"},
        {"Nome", "STRASSE"},
        {"Nome", "straße"},
        {"Cidade", "são paulo"},
        {"regiao", "7"},
        {"regiao", "07"},
        {"IdCliente", "142"},
        {"IdCliente", "142,0"},
        {"IdCliente", "dois"},
        {"mediaatraso", "5"},
        {"mediaatraso", "0"},
        {"valultcompra", "10,5"},
        {"valultcompra", "-3"},
        {"ultimacompra", "02/01/2010 10:00:00"},
        {"Nome", "cliente 120"},
    };
    const auto primeiroDoFiltro = [&](const QString &coluna, const QString &valor) {
        cli->setFiltro(QStringLiteral("%1='%2'").arg(coluna, valor));
        cli->setFiltrado(true);
        const QString achado = cli->vazio() ? QString() : cli->campo(QStringLiteral("IdCliente")).texto();
        cli->setFiltrado(false);
        return achado;
    };
    for (const auto &c : casos) {
        const QString coluna = QString::fromUtf8(c.coluna), valor = QString::fromUtf8(c.valor);
        SCOPED_TRACE((coluna + QLatin1Char('=') + valor).toStdString());
        QString esperado;
        try {
            esperado = primeiroDoFiltro(coluna, valor);
        } catch (const Erro &) {
            // A value the field cannot hold: the filter refuses it, locate finds nothing.
        }
        cli->primeiro();
        const bool achado = cli->localizar(coluna, valor);
        EXPECT_EQ(achado, !esperado.isEmpty());
        EXPECT_EQ(cli->campo(QStringLiteral("IdCliente")).texto(), achado ? esperado : QStringLiteral("1"));
        // Many values at once find what locate finds, one by one.
        const int posicao = achado ? cli->numeroRegistro() - 1 : -1;
        EXPECT_EQ(cli->posicoes(coluna, {valor, QString(), valor}), (std::vector<int>{posicao, -1, posicao}));
    }

    // The index follows the rows: a stored change, a deletion, a filter.
    ASSERT_TRUE(cli->localizar(QStringLiteral("Nome"), QStringLiteral("éder")));
    cli->editar();
    cli->campo(QStringLiteral("Nome")).setTexto(QStringLiteral("Outro"));
    cli->gravar();
    ASSERT_TRUE(cli->localizar(QStringLiteral("Nome"), QStringLiteral("éder")));
    EXPECT_EQ(cli->campo(QStringLiteral("IdCliente")).texto(), QStringLiteral("142"));
    cli->excluir();
    EXPECT_FALSE(cli->localizar(QStringLiteral("Nome"), QStringLiteral("éder")));
    EXPECT_TRUE(cli->localizar(QStringLiteral("Nome"), QStringLiteral("OUTRO")));
    cli->setFiltro(QStringLiteral("IdCliente<>141"));
    cli->setFiltrado(true);
    EXPECT_FALSE(cli->localizar(QStringLiteral("Nome"), QStringLiteral("outro"))) << "só entre as linhas filtradas";
    cli->inserir();
    cli->campo(QStringLiteral("Nome")).setTexto(QStringLiteral("Novo"));
    EXPECT_TRUE(cli->localizar(QStringLiteral("Nome"), QStringLiteral("novo"))) << "a linha nova, gravada antes";
}

TEST_F(ConjuntoTeste, ItensSeguemOPedidoAtual)
{
    auto ped = pedidos();
    auto item = itens(ped.get());
    auto pend = abrir("QyPendente", &Esquema::pendente(), "tbpedido_pendente",
                      "select * from tbpedido_pendente order by nr_pedido", ped.get());
    pend->inserir();
    pend->campo(QStringLiteral("codigo")).setTexto(QStringLiteral("P9"));
    pend->gravar();
    EXPECT_TRUE(pend->campo(QStringLiteral("nr_pedido")).nulo()) << "ligação sem parâmetro não dá a chave";

    EXPECT_EQ(item->quantidade(), 1); // order 85
    ASSERT_TRUE(ped->localizar(QStringLiteral("nr_pedido"), QStringLiteral("83")));
    EXPECT_EQ(item->quantidade(), 2);
    item->inserir();
    EXPECT_EQ(item->campo(QStringLiteral("nr_pedido")).inteiro(), 83);
    EXPECT_FALSE(item->modificado()) << "a chave do mestre não conta como mudança";
    item->campo(QStringLiteral("codigo")).setTexto(QStringLiteral("P2"));
    ped->anterior(); // to 84, which has no items: the new item is stored first
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT count(*) FROM tbpedido_item WHERE nr_pedido=83")),
              QStringLiteral("3"));
    EXPECT_TRUE(item->vazio());
    EXPECT_EQ(pend->quantidade(), 1);

    ped->inserir();
    EXPECT_TRUE(item->vazio()) << "pedido novo ainda sem número";
    ped->campo(QStringLiteral("idFunc")).setTexto(QStringLiteral("ABC"));
    ped->gravar();
    item->inserir();
    EXPECT_EQ(item->campo(QStringLiteral("nr_pedido")).inteiro(), 86);
    item->cancelar();
    ped->excluir();

    ped->fechar();
    EXPECT_TRUE(item->vazio());
    ped->abrir();
    EXPECT_EQ(item->quantidade(), 1) << "reaberto, o primeiro pedido (85) tem um item";
}

TEST_F(ConjuntoTeste, LookupAtualOuCopiaTiradaAoAbrir)
{
    auto cli = clientes();
    auto prod = abrir("QyProduto", &Esquema::produto(), "tbproduto", "select * from tbproduto order by codigo");
    auto ped = std::make_unique<ConjuntoDados>(QStringLiteral("QyPedido"), &Esquema::pedido());
    ped->ligarLookup(QStringLiteral("CLIENTE_DESCRICAO"), QStringLiteral("idCliente"), cli.get(),
                     QStringLiteral("IdCliente"), ModoLookup::Atual);
    ped->setConexao(&conexao);
    ped->setTabela(QStringLiteral("tbpedido"));
    ped->setSql(QStringLiteral("select * from tbpedido order by nr_pedido"));
    auto item = std::make_unique<ConjuntoDados>(QStringLiteral("QyPedidoItem"), &Esquema::pedidoItem());
    for (const char *campo : {"item_descricao", "codigo_descricao", "estoque"})
        item->ligarLookup(QString::fromUtf8(campo), QStringLiteral("codigo"), prod.get(), QStringLiteral("CODIGO"),
                          ModoLookup::Copia);
    item->setConexao(&conexao);
    item->setTabela(QStringLiteral("tbpedido_item"));
    item->setSql(QStringLiteral("select * from tbpedido_item where nr_pedido = :nr_pedido"));
    item->setMestre(ped.get());
    item->abrir();
    ped->abrir(); // order 83

    EXPECT_EQ(ped->campo(QStringLiteral("CLIENTE_DESCRICAO")).texto(), QStringLiteral("JOSÉ DA SILVA"));
    EXPECT_EQ(item->campo(QStringLiteral("item_descricao")).texto(), QStringLiteral("Parafuso"));
    EXPECT_EQ(item->registro(1).campo(QStringLiteral("estoque")).real(), 2.5);
    EXPECT_EQ(item->campo(QStringLiteral("codigo_descricao")).texto(), QStringLiteral("Fixa"));

    cli->editar();
    cli->campo(QStringLiteral("Nome")).setTexto(QStringLiteral("JOSÉ DA SILVA LTDA"));
    cli->gravar();
    prod->editar(); // P1
    prod->campo(QStringLiteral("PRODUTO")).setTexto(QStringLiteral("Parafuso sextavado"));
    prod->gravar();
    EXPECT_EQ(ped->campo(QStringLiteral("CLIENTE_DESCRICAO")).texto(), QStringLiteral("JOSÉ DA SILVA LTDA"));
    EXPECT_EQ(item->campo(QStringLiteral("item_descricao")).texto(), QStringLiteral("Parafuso"))
        << "a cópia é a de quando os itens abriram";
    ped->primeiro(); // the master moves: the items reopen with a new copy
    EXPECT_EQ(item->campo(QStringLiteral("item_descricao")).texto(), QStringLiteral("Parafuso sextavado"));

    // A new item's look-ups follow its code as it is typed.
    item->inserir();
    EXPECT_TRUE(item->campo(QStringLiteral("item_descricao")).nulo());
    item->campo(QStringLiteral("codigo")).setTexto(QStringLiteral("P2"));
    EXPECT_EQ(item->campo(QStringLiteral("item_descricao")).texto(), QStringLiteral("Porca"));
    item->cancelar();
}

TEST_F(ConjuntoTeste, TransacaoDesfeitaNaoDeixaLinhasFantasma)
{
    auto cli = clientes();
    auto ped = pedidos();
    auto inserirCliente = [&](const char *nome) {
        cli->inserir();
        cli->campo(QStringLiteral("Nome")).setTexto(QString::fromUtf8(nome));
        cli->gravar();
    };
    {
        Transacao t(conexao);
        inserirCliente("NOVO 1");
        ped->editar();
        ped->campo(QStringLiteral("idFunc")).setTexto(QStringLiteral("MUDOU"));
        ped->gravar();
        ped->proximo(); // 84
        // leaving without confirmar()
    }
    EXPECT_EQ(cli->quantidade(), 3);
    EXPECT_FALSE(cli->localizar(QStringLiteral("Nome"), QStringLiteral("NOVO 1")));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT count(*) FROM tbcliente")), QStringLiteral("3"));
    ped->primeiro();
    EXPECT_EQ(ped->campo(QStringLiteral("idFunc")).texto(), QStringLiteral("ABC"));

    {
        Transacao fora(conexao);
        inserirCliente("FORA");
        {
            Transacao dentro(conexao);
            inserirCliente("DENTRO");
        }
        fora.confirmar();
    }
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT group_concat(Nome, ',') FROM tbcliente WHERE IdCliente > 3")),
              QStringLiteral("FORA"));
    EXPECT_TRUE(cli->localizar(QStringLiteral("Nome"), QStringLiteral("FORA")));
    EXPECT_FALSE(cli->localizar(QStringLiteral("Nome"), QStringLiteral("DENTRO")));
}

// Without a declared list the fields are those of the result, named as it
// names them, and change with the SQL text.
TEST_F(ConjuntoTeste, CamposDoResultadoQuandoNaoHaLista)
{
    pasta.executar(QStringLiteral("UPDATE tbpedido_item SET valorTotal = quantidade * 2.5"));
    ConjuntoDados pesquisa(QStringLiteral("QyPesquisa"));
    pesquisa.setConexao(&conexao);
    pesquisa.setSql(QStringLiteral("SELECT codigo,SUM(Quantidade) as Quantidade,SUM(ValorTotal) as Totais FROM "
                                   "tbpedido_item GROUP BY codigo ORDER BY SUM(Quantidade) ASC"));
    pesquisa.abrir();
    ASSERT_EQ(pesquisa.quantidadeCampos(), 3);
    EXPECT_EQ(pesquisa.campo(0).nome(), QStringLiteral("codigo"));
    EXPECT_EQ(pesquisa.campo(1).tipo(), TipoCampo::Inteiro);
    EXPECT_EQ(pesquisa.campo(2).tipo(), TipoCampo::Float);
    EXPECT_EQ(pesquisa.campo(QStringLiteral("CODIGO")).texto(), QStringLiteral("P2"));
    EXPECT_EQ(pesquisa.campo(QStringLiteral("totais")).real(), 5.0);
    EXPECT_FALSE(pesquisa.podeModificar());

    pesquisa.setSql(QStringLiteral("select Nome, Cidade from tbcliente"));
    pesquisa.setFiltro(QStringLiteral("Cidade LIKE 'goi*'"));
    pesquisa.setFiltrado(true);
    pesquisa.abrir();
    EXPECT_EQ(pesquisa.quantidadeCampos(), 2);
    EXPECT_EQ(pesquisa.campo(QStringLiteral("Nome")).texto(), QStringLiteral("O'NEIL"));
    EXPECT_THROW(pesquisa.campo(QStringLiteral("codigo")), Erro);
}

TEST_F(ConjuntoTeste, ModeloDaGradeAcompanhaOConjunto)
{
    auto ped = pedidos();
    ModeloTabela modelo(ped.get());
    QAbstractItemModelTester verificador(&modelo, QAbstractItemModelTester::FailureReportingMode::Fatal);
    modelo.setColunas({QStringLiteral("nr_pedido"), QStringLiteral("vl_total_item")},
                      {QStringLiteral("Pedido"), QStringLiteral("Total")});
    ped->reabrir();
    EXPECT_EQ(modelo.columnCount(), 2);
    EXPECT_EQ(modelo.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Total"));
    ped->editar();
    ped->campo(QStringLiteral("vl_total_item")).setTexto(QStringLiteral("1234,5"));
    EXPECT_EQ(modelo.data(modelo.index(0, 1)).toString(), QStringLiteral("1.234,50")) << "a linha em edição";
    ped->gravar();
    ped->inserir();
    EXPECT_EQ(modelo.rowCount(), 4);
    ped->cancelar();
    EXPECT_EQ(modelo.rowCount(), 3);
    ped->excluir();
    ped->setFiltro(QStringLiteral("vl_total_item>=5"));
    ped->setFiltrado(true);
    EXPECT_EQ(modelo.rowCount(), 1);
    EXPECT_EQ(modelo.data(modelo.index(0, 0)).toString(), QStringLiteral("83"));
    ped->fechar();
    EXPECT_EQ(modelo.rowCount(), 0);
}

} // namespace
