#include "dialogos_roteiro.h"
#include "erro.h"
#include "impressao_qt.h"
#include "pasta_programa.h"
#include "udm.h"

#include <QFile>
#include <sqlite3.h>

#include <gtest/gtest.h>

namespace
{

class DMTeste : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        pasta.executar(QStringLiteral(
            "INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('ABC', 'JOÃO SILVA');"
            "INSERT INTO tbcliente (IdCliente, Nome) VALUES (1, 'JOSÉ DA SILVA'), (2, 'MARIA');"
            "INSERT INTO tbproduto (idProduto, CODIGO, PRODUTO, PRECOVENDA) VALUES (1, 'P1', 'Parafuso', 100),"
            " (2, 'P2', 'Porca', 0.5);"
            "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, vl_total_item) VALUES (82, 'XYZ', 2, 1),"
            " (83, 'ABC', 1, 10), (84, 'ABC', 2, 0);"
            "INSERT INTO tbpedido_item (nr_pedido, idfunc, codigo) VALUES (83, 'ABC', 'P1'), (83, 'ABC', 'P2');"
            "INSERT INTO tbpedido_pacote (nr_pedido, idfunc, codigo) VALUES (83, 'ABC', 'P1');"
            "INSERT INTO tbpedido_troca1 (nr_pedido, idfunc, codigo) VALUES (83, 'ABC', 'P1');"
            "INSERT INTO tbpedido_troca2 (nr_pedido, idfunc, codigo) VALUES (83, 'ABC', 'P1');"
            "INSERT INTO tbpedido_venda_casada (nr_pedido, idfunc, codigo) VALUES (83, 'ABC', 'P1');"
            "INSERT INTO tbpedido_pendente (nr_pedido, item, codigo) VALUES (83, 1, 'P2');"));
    }

    std::vector<ConjuntoDados *> itens(TDM &dm)
    {
        return {&dm.QyPedidoItem, &dm.QyPacote, &dm.QyTrocaSub, &dm.QyTrocaDev, &dm.QyVendaCasada};
    }

    static QString pedidos(ConjuntoDados &c)
    {
        QStringList n;
        for (int i = 0; i < c.quantidade(); ++i)
            n << c.registro(i).campo(QStringLiteral("nr_pedido")).texto();
        return n.join(QLatin1Char(' '));
    }

    PastaProgramaTeste pasta;
    DialogosRoteiro dialogos;
};

TEST_F(DMTeste, CriacaoAbreTudoNaOrdemComOFiltroDoRepresentante)
{
    TDM dm(pasta.caminho());
    EXPECT_EQ(DM, &dm);
    EXPECT_TRUE(dialogos.registros().empty()) << dialogos.textos().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(dm.PathSistema, pasta.caminho());
    EXPECT_EQ(dm.ArquivoIni, pasta.caminho() + QStringLiteral("Mirvale.ini"));
    EXPECT_FALSE(dm.Confirmado);
    EXPECT_FALSE(dm.OnlineConectado);
    EXPECT_EQ(dm.FiltroFuncionario, QStringLiteral("idFunc='ABC'"));
    EXPECT_EQ(pedidos(dm.QyPedido), QStringLiteral("84 83"));

    QStringList tags, abertos;
    for (const ConjuntoDados *c : dm.conjuntos()) {
        tags << QStringLiteral("%1=%2").arg(c->objectName()).arg(c->tag());
        if (c->ativo())
            abertos << c->objectName();
    }
    EXPECT_EQ(tags.join(QLatin1Char(' ')),
              QStringLiteral("QyCliente=1 QyProduto=1 QyFuncionario=1 QyPedidoItem=1 QyFormaPagamento=1 QyPacote=1 "
                             "QyTrocaSub=1 QyTrocaDev=1 QyLocalidade=1 QyPesquisa=1 QyConfiguracoes=1 QyPendente=1 "
                             "QyVendaCasada=1 QyPedido=2 QySQL=0 QyVendas=0 QyOnlineProduto=4 QyOnlineCliente=4 "
                             "QyOnlineFuncionario=4 QyOnlineForma=4 cdsRelatGrupoClientes=0 cdsVendaTotais=0"));
    EXPECT_EQ(abertos.join(QLatin1Char(' ')),
              QStringLiteral("QyCliente QyProduto QyFuncionario QyPedidoItem QyFormaPagamento QyPacote QyTrocaSub "
                             "QyTrocaDev QyLocalidade QyPesquisa QyConfiguracoes QyPendente QyVendaCasada QyPedido"));
    EXPECT_EQ(dm.ADOConexao.tag(), 5);
    EXPECT_EQ(dm.ADOConnection1.tag(), 3);
    EXPECT_FALSE(dm.ADOConnection1.aberta());
    EXPECT_EQ(dm.QyPesquisa.campo(QStringLiteral("Quantidade")).nome(), QStringLiteral("Quantidade"));
}

TEST_F(DMTeste, FiltroDoFuncionarioPeloCodigo)
{
    struct Caso {
        const char *codigo; // nullptr: no employee row
        const char *filtro;
        const char *visiveis;
    } casos[] = {
        {"ABC", "idFunc='ABC'", "84 83"}, {"XYZ", "idFunc='XYZ'", "82"}, {"O'NEIL", "idFunc='O''NEIL'", ""},
        {"999", "", "84 83 82"},          {nullptr, "idFunc=''", ""},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.codigo ? c.codigo : "(vazio)");
        pasta.executar(QStringLiteral("DELETE FROM tbfuncionario"));
        if (c.codigo)
            pasta.executar(QStringLiteral("INSERT INTO tbfuncionario (idfunc) VALUES ('%1')")
                               .arg(QString::fromUtf8(c.codigo).replace(QLatin1Char('\''), QStringLiteral("''"))));
        pasta.executar(QStringLiteral("UPDATE tbpedido SET idFunc = 'O''NEIL' WHERE 0"));
        TDM dm(pasta.caminho());
        EXPECT_EQ(dm.FiltroFuncionario, QString::fromUtf8(c.filtro));
        EXPECT_EQ(dm.QyPedido.filtrado(), c.codigo == nullptr || QByteArray(c.codigo) != "999");
        EXPECT_EQ(pedidos(dm.QyPedido), QString::fromUtf8(c.visiveis));
    }
}

// One error box with the message of the failed step; what comes after it
// stays closed and start-up goes on.
// A database made before the indexes existed gets them when it is opened.
TEST_F(DMTeste, BancoSemIndicesGanhaOsIndicesAoAbrir)
{
    const QString indexados =
        QStringLiteral("SELECT group_concat(t, ' ') FROM (SELECT m.tbl_name || '.' || i.name AS t FROM sqlite_master m,"
                       " pragma_index_info(m.name) i WHERE m.type = 'index' AND m.sql IS NOT NULL ORDER BY t)");
    const QString esperado =
        QStringLiteral("tbpedido.dt_pedido tbpedido.idCliente tbpedido_item.nr_pedido tbpedido_pacote.nr_pedido "
                       "tbpedido_pendente.cod_cliente "
                       "tbpedido_pendente.nr_pedido tbpedido_troca1.nr_pedido tbpedido_troca2.nr_pedido "
                       "tbpedido_venda_casada.nr_pedido tbproduto.CODIGO");
    EXPECT_EQ(pasta.consultar(indexados), esperado) << "criados com o banco";
    const QStringList nomes = pasta
                                  .consultar(QStringLiteral("SELECT group_concat(name) FROM sqlite_master WHERE "
                                                            "type = 'index' AND sql IS NOT NULL"))
                                  .split(QLatin1Char(','));
    for (const QString &nome : nomes)
        pasta.executar(QStringLiteral("DROP INDEX \"%1\"").arg(nome));
    ASSERT_EQ(pasta.consultar(indexados), QString());

    TDM dm(pasta.caminho());
    EXPECT_TRUE(dialogos.registros().empty());
    EXPECT_EQ(pasta.consultar(indexados), esperado);
    ASSERT_TRUE(dm.QyPedido.localizar(QStringLiteral("nr_pedido"), QStringLiteral("83")));
    EXPECT_EQ(dm.QyPedidoItem.quantidade(), 2);
}

TEST_F(DMTeste, ErroNaCriacaoMostradoUmaVez)
{
    struct Caso {
        const char *nome;
        const char *arquivo;
        const char *conteudo;
        const char *mensagem; // beginning of the one message
    } casos[] = {
        {"sem a seção CONEXAO", "Mirvale.ini", "[OUTRA]\nPATH=local.udl\n",
         "O arquivo de configuração \"%1Mirvale.ini\" não indica o banco de dados local"},
        {"arquivo de conexão ausente", "Mirvale.ini", "[CONEXAO]\nPATH=ausente.udl\n",
         "O arquivo de conexão \"%1ausente.udl\" não foi encontrado."},
        {"banco ausente", "local.udl", "[LINK]\nDRIVER=QSQLITE\nDATABASE=ausente.db\n",
         "O banco de dados \"%1ausente.db\" não foi encontrado."},
        {"não é banco", "local.udl", "[LINK]\nDRIVER=QSQLITE\nDATABASE=Mirvale.ini\n",
         "O arquivo \"%1Mirvale.ini\" não é um banco de dados válido"},
        {"outro driver", "local.udl", "[LINK]\nDRIVER=QODBC\nDATABASE=corlando.db\n",
         "O arquivo de conexão \"%1local.udl\" indica o driver \"QODBC\""},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nome);
        PastaProgramaTeste p;
        DialogosRoteiro d;
        p.escrever(QString::fromUtf8(c.arquivo), QString::fromUtf8(c.conteudo));
        TDM dm(p.caminho());
        ASSERT_EQ(d.registros().size(), 1u);
        EXPECT_EQ(d.registros()[0].icone, Icone::Erro);
        EXPECT_TRUE(d.registros()[0].texto.startsWith(QString::fromUtf8(c.mensagem).arg(p.caminho())))
            << d.registros()[0].texto.toStdString();
        EXPECT_FALSE(dm.ADOConexao.aberta());
        for (const ConjuntoDados *q : dm.conjuntos())
            EXPECT_FALSE(q->ativo()) << q->objectName().toStdString();
        EXPECT_FALSE(QFile::exists(p.arquivo(QStringLiteral("ausente.db")))) << "nunca cria um banco vazio";
    }
}

// A database another program holds locked is healthy: the message says it
// is in use and invites a retry, never that the file is not a database.
TEST_F(DMTeste, BancoTravadoPorOutroProgramaDizQueEstaEmUso)
{
    sqlite3 *outro = nullptr;
    ASSERT_EQ(sqlite3_open(pasta.arquivo(QStringLiteral("corlando.db")).toUtf8().constData(), &outro), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(outro, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    {
        TDM dm(pasta.caminho());
        ASSERT_EQ(dialogos.registros().size(), 1u);
        EXPECT_EQ(dialogos.registros()[0].texto,
                  QStringLiteral("O banco de dados \"%1\" está em uso por outro programa. Feche o outro programa e "
                                 "tente novamente.")
                      .arg(pasta.arquivo(QStringLiteral("corlando.db"))));
        EXPECT_FALSE(dm.ADOConexao.aberta());
    }
    sqlite3_exec(outro, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(outro);
    dialogos.limpar();
    TDM dm(pasta.caminho());
    EXPECT_TRUE(dialogos.registros().empty());
    EXPECT_TRUE(dm.QyPedido.ativo());
}

TEST_F(DMTeste, ErroNumConjuntoDeixaOsSeguintesFechados)
{
    // A missing table is added when the database is opened: a view over a
    // table gone since fails as the data set opens.
    pasta.executar(QStringLiteral("DROP TABLE tblocalidades; CREATE TABLE antiga (a);"
                                  "CREATE VIEW tblocalidades AS SELECT a FROM antiga; DROP TABLE antiga;"));
    TDM dm(pasta.caminho());
    ASSERT_EQ(dialogos.registros().size(), 1u);
    EXPECT_EQ(dialogos.registros()[0].texto, QStringLiteral("QyLocalidade: no such table: main.antiga"));
    EXPECT_TRUE(dm.QyTrocaDev.ativo());
    EXPECT_FALSE(dm.QyLocalidade.ativo());
    EXPECT_FALSE(dm.QyPesquisa.ativo());
    EXPECT_FALSE(dm.QyPedido.ativo());
}

// The program's own start: the window's rows now, the rest read on first use
// (as the database has them then) with the same results; a faulty database
// is reported at creation as before, and creation stops at the same set.
TEST_F(DMTeste, PrincipalPrimeiroLeOsOutrosConjuntosNoPrimeiroUso)
{
    {
        TDM dm(pasta.caminho(), nullptr, TDM::Abertura::PrincipalPrimeiro);
        EXPECT_TRUE(dialogos.registros().empty()) << dialogos.textos().join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(dm.FiltroFuncionario, QStringLiteral("idFunc='ABC'"));
        QStringList pendentes;
        for (const ConjuntoDados *c : dm.conjuntos())
            if (c->linhasPendentes())
                pendentes << c->objectName();
        EXPECT_EQ(pendentes.join(QLatin1Char(' ')),
                  QStringLiteral("QyCliente QyProduto QyPedidoItem QyFormaPagamento QyPacote QyTrocaSub QyTrocaDev "
                                 "QyLocalidade QyPesquisa QyPendente QyVendaCasada QyPedido"));
        EXPECT_TRUE(dm.HaPendentes());
        pasta.executar(QStringLiteral("INSERT INTO tbproduto (idProduto, CODIGO, PRODUTO) VALUES (3, 'P3', 'Bucha')"));
        EXPECT_EQ(dm.QyProduto.quantidade(), 3);
        EXPECT_EQ(pedidos(dm.QyPedido), QStringLiteral("84 83"));
        ASSERT_TRUE(dm.QyPedido.localizar(QStringLiteral("nr_pedido"), QStringLiteral("83")));
        EXPECT_EQ(dm.QyPedidoItem.campo(QStringLiteral("item_descricao")).texto(), QStringLiteral("Parafuso"));
        EXPECT_EQ(dm.QyPedido.campo(QStringLiteral("CLIENTE_DESCRICAO")).texto(), QStringLiteral("JOSÉ DA SILVA"));
        dm.AbrirPendentes();
        EXPECT_FALSE(dm.HaPendentes());
        EXPECT_EQ(dm.QyPendente.quantidade(), 1);
    }

    // A missing table would be added on opening: a view over a table gone
    // since fails as the data set opens.
    pasta.executar(QStringLiteral("DROP TABLE tblocalidades; CREATE TABLE antiga (a);"
                                  "CREATE VIEW tblocalidades AS SELECT a FROM antiga; DROP TABLE antiga;"));
    for (const TDM::Abertura abertura : {TDM::Abertura::Completa, TDM::Abertura::PrincipalPrimeiro}) {
        dialogos.limpar();
        TDM dm(pasta.caminho(), nullptr, abertura);
        ASSERT_EQ(dialogos.registros().size(), 1u);
        EXPECT_EQ(dialogos.registros()[0].texto, QStringLiteral("QyLocalidade: no such table: main.antiga"));
        EXPECT_TRUE(dm.QyTrocaDev.ativo());
        EXPECT_FALSE(dm.QyLocalidade.ativo());
        EXPECT_FALSE(dm.QyPedido.ativo());
    }
}

TEST_F(DMTeste, ConexaoCentralAbreEFechaSemMensagens)
{
    pasta.executarCentral(QStringLiteral("INSERT INTO tbforma (idforma, Forma) VALUES (1, 'Dinheiro')"));
    TDM dm(pasta.caminho());
    dm.ConectarOnline();
    EXPECT_TRUE(dm.OnlineConectado);
    EXPECT_TRUE(dm.ADOConnection1.aberta());
    for (ConjuntoDados *c : {&dm.QyOnlineProduto, &dm.QyOnlineCliente, &dm.QyOnlineFuncionario, &dm.QyOnlineForma})
        EXPECT_TRUE(c->ativo()) << c->objectName().toStdString();
    EXPECT_EQ(dm.QyOnlineForma.campo(QStringLiteral("Forma")).texto(), QStringLiteral("Dinheiro"));
    dm.ConectarOnline(); // again: closed and opened anew
    EXPECT_TRUE(dm.OnlineConectado);
    dm.DesconectarOnline();
    EXPECT_FALSE(dm.ADOConnection1.aberta());
    EXPECT_FALSE(dm.QyOnlineForma.ativo());
    EXPECT_TRUE(dm.OnlineConectado) << "fechar não muda o indicador";
    dm.DesconectarOnline();

    pasta.escrever(QStringLiteral("Mirvale.ini"), QStringLiteral("[CONEXAO]\nPATH=local.udl\nPATH-BKP=ausente.udl\n"));
    dm.ConectarOnline();
    EXPECT_FALSE(dm.OnlineConectado);
    EXPECT_TRUE(dialogos.registros().empty());
}

TEST_F(DMTeste, CabecalhoNovoComPadroesESemTotais)
{
    TDM dm(pasta.caminho());
    const QDateTime antes = QDateTime::currentDateTime().addSecs(-1);
    dm.QyPedido.inserir();
    const QDateTime depois = QDateTime::currentDateTime();
    auto c = [&](const char *nome) { return dm.QyPedido.campo(QString::fromUtf8(nome)); };
    EXPECT_EQ(c("idFunc").texto(), QStringLiteral("ABC"));
    EXPECT_GE(c("dt_pedido").dataHora(), antes);
    EXPECT_LE(c("dt_pedido").dataHora(), depois);
    EXPECT_EQ(c("cif").texto(), QStringLiteral("Sim"));
    EXPECT_EQ(c("avista").valor(), QVariant(0LL));
    EXPECT_EQ(c("dv").valor(), QVariant(0LL));
    for (const char *flag : {"enviado", "impresso", "enviadoTroca"})
        EXPECT_EQ(c(flag).valor(), QVariant(false)) << flag;
    for (const char *total : {"vl_total_item", "vl_total_pacote", "vl_diferenca_troca", "vl_total_venda_casada"})
        EXPECT_TRUE(c(total).nulo()) << total;
    EXPECT_FALSE(dm.QyPedido.modificado());
    for (ConjuntoDados *i : itens(dm))
        EXPECT_TRUE(i->vazio()) << "pedido sem número: " << i->objectName().toStdString();

    // The kind rule: the regular-order screen writes only its own total.
    c("vl_total_item").setDinheiro(Dinheiro());
    dm.QyPedido.gravar();
    const QString nr = c("nr_pedido").texto();
    struct Tipo {
        const char *condicao;
        bool mostra;
    } tipos[] = {{"vl_total_item>=0", true},
                 {"vl_total_pacote>=0", false},
                 {"vl_diferenca_troca<>NULL", false},
                 {"vl_total_venda_casada>=0", false}};
    for (const Tipo &t : tipos) {
        dm.QyPedido.setFiltro(dm.FiltroFuncionario + QStringLiteral(" AND ") + QString::fromUtf8(t.condicao));
        EXPECT_EQ(dm.QyPedido.localizar(QStringLiteral("nr_pedido"), nr), t.mostra) << t.condicao;
    }

    // An exchange whose difference is negative is still an exchange.
    dm.QyPedido.inserir();
    c("vl_diferenca_troca").setTexto(QStringLiteral("-12,5"));
    dm.QyPedido.gravar();
    const QString troca = c("nr_pedido").texto();
    dm.QyPedido.setFiltro(dm.FiltroFuncionario + QStringLiteral(" AND vl_diferenca_troca<>NULL"));
    EXPECT_TRUE(dm.QyPedido.localizar(QStringLiteral("nr_pedido"), troca));
}

TEST_F(DMTeste, ItensDoPedidoAtual)
{
    TDM dm(pasta.caminho());
    ASSERT_TRUE(dm.QyPedido.localizar(QStringLiteral("nr_pedido"), QStringLiteral("83")));
    for (ConjuntoDados *i : itens(dm))
        EXPECT_FALSE(i->vazio()) << i->objectName().toStdString();
    EXPECT_EQ(dm.QyPedidoItem.campo(QStringLiteral("item_descricao")).texto(), QStringLiteral("Parafuso"));
    EXPECT_EQ(dm.QyPedido.campo(QStringLiteral("CLIENTE_DESCRICAO")).texto(), QStringLiteral("JOSÉ DA SILVA"));

    struct Padrao {
        ConjuntoDados *conjunto;
        bool codigos;
    } padroes[] = {{&dm.QyPedidoItem, true},
                   {&dm.QyPacote, true},
                   {&dm.QyVendaCasada, true},
                   {&dm.QyTrocaSub, false},
                   {&dm.QyTrocaDev, false}};
    for (const Padrao &p : padroes) {
        SCOPED_TRACE(p.conjunto->objectName().toStdString());
        p.conjunto->inserir();
        EXPECT_EQ(p.conjunto->campo(QStringLiteral("nr_pedido")).inteiro(), 83);
        EXPECT_EQ(p.conjunto->campo(QStringLiteral("idfunc")).texto(), QStringLiteral("ABC"));
        for (const char *cd : {"cd_desconto1", "cd_desconto2", "cd_desconto3"}) {
            if (p.conjunto->indiceCampo(QString::fromUtf8(cd)) >= 0) {
                EXPECT_EQ(p.conjunto->campo(QString::fromUtf8(cd)).texto(), QStringLiteral("0"));
            }
        }
        EXPECT_EQ(p.conjunto->indiceCampo(QStringLiteral("cd_desconto1")) >= 0, p.codigos);
        p.conjunto->campo(QStringLiteral("codigo")).setTexto(QStringLiteral("P2"));
        p.conjunto->gravar();
    }
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT count(*) FROM tbpedido_item WHERE nr_pedido = 83")),
              QStringLiteral("3"));
    dm.QyPendente.inserir();
    EXPECT_TRUE(dm.QyPendente.campo(QStringLiteral("nr_pedido")).nulo()) << "a lista de pendências não tem padrões";
    dm.QyPendente.cancelar();

    ASSERT_TRUE(dm.QyPedido.localizar(QStringLiteral("nr_pedido"), QStringLiteral("84")));
    for (ConjuntoDados *i : itens(dm))
        EXPECT_TRUE(i->vazio()) << i->objectName().toStdString();
    EXPECT_EQ(dm.QyPendente.quantidade(), 1);
}

TEST_F(DMTeste, PrecoComFreteECopiaDoProdutoCentralPorPosicao)
{
    pasta.executarCentral(QStringLiteral(
        "INSERT INTO tbproduto (idProduto, CODIGO, PRODUTO, ESTOQUE, PRECOVENDA, UltCompra, plista, descqtd, iss)"
        " VALUES (700, 'C7', 'Cabo flexível 2,5 mm²', 5.5, 12.3456, '2010-10-31 10:20:30', 1, 12, 0);"
        "INSERT INTO tbfuncionario (idfunc, Nome) VALUES (7, 'ANA');"));
    TDM dm(pasta.caminho());
    ASSERT_TRUE(dm.QyProduto.localizar(QStringLiteral("CODIGO"), QStringLiteral("P1")));
    EXPECT_EQ(dm.QyProduto.campo(QStringLiteral("PRECOCOMFRETE")).textoExibicao(), QStringLiteral("103,60"));
    EXPECT_DOUBLE_EQ(dm.QyProduto.campo(QStringLiteral("PRECOCOMFRETE")).real(), 103.6);

    dm.ConectarOnline();
    ASSERT_TRUE(dm.OnlineConectado);
    ASSERT_EQ(dm.QyOnlineProduto.quantidadeCampos(), 107);
    dm.QyProduto.inserir();
    dm.QyProduto.copiarPorPosicao(dm.QyOnlineProduto);
    dm.QyProduto.gravar();
    dm.QyProduto.reabrir();
    ASSERT_TRUE(dm.QyProduto.localizar(QStringLiteral("idProduto"), QStringLiteral("700")));
    for (int i = 0; i < 107; ++i)
        EXPECT_EQ(dm.QyProduto.campo(i).texto(), dm.QyOnlineProduto.campo(i).texto())
            << dm.QyProduto.campo(i).nome().toStdString();
    EXPECT_EQ(dm.QyProduto.campo(QStringLiteral("UltCompra")).texto(), QStringLiteral("31/10/2010 10:20:30"));
    EXPECT_EQ(dm.QyProduto.campo(QStringLiteral("PRECOVENDA")).dinheiro(),
              Dinheiro::deTexto(QStringLiteral("12,3456")));
    EXPECT_EQ(dm.QyProduto.campo(107).textoExibicao(), QStringLiteral("12,79"));

    // The central employee number becomes the local text code.
    dm.QyFuncionario.inserir();
    dm.QyFuncionario.copiarPorPosicao(dm.QyOnlineFuncionario);
    dm.QyFuncionario.gravar();
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT idfunc || '/' || typeof(idfunc) FROM tbfuncionario "
                                             "WHERE Nome = 'ANA'")),
              QStringLiteral("7/text"));
}

TEST_F(DMTeste, TabelasEmMemoriaEInstrucoesSemLinhas)
{
    TDM dm(pasta.caminho());
    dm.cdsVendaTotais.abrir();
    for (const char *codigo : {"P1", "P2"}) {
        dm.cdsVendaTotais.inserir();
        dm.cdsVendaTotais.campo(QStringLiteral("CODIGO")).setTexto(QString::fromUtf8(codigo));
        dm.cdsVendaTotais.campo(QStringLiteral("VALORTOTAL")).setReal(1234.5);
        dm.cdsVendaTotais.gravar();
    }
    EXPECT_EQ(dm.cdsVendaTotais.quantidade(), 2);
    EXPECT_EQ(dm.cdsVendaTotais.campo(QStringLiteral("VALORTOTAL")).textoExibicao(), QStringLiteral("1.234,50"));
    dm.cdsVendaTotais.fechar();
    dm.cdsVendaTotais.abrir();
    EXPECT_TRUE(dm.cdsVendaTotais.vazio());

    dm.QySQL.setSql(QStringLiteral("DELETE FROM tbproduto"));
    EXPECT_EQ(dm.QySQL.executar(), 2);
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT count(*) FROM tbproduto")), QStringLiteral("0"));
    EXPECT_FALSE(dm.QySQL.ativo());
}

} // namespace
