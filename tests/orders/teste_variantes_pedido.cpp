#include "tela_pedido_teste.h"

#include "grade_itens.h"
#include "logica_pesquisa.h"
#include "telas_variantes.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

namespace
{

const QString kSalvarAntes = QStringLiteral("Clique em SALVAR o pedido/item antes de gerar o relatório.");
const QString kEstoque = QStringLiteral("Quantidade não disponível no estoque atual. Deseja colocar esse item em "
                                        "pendência?\nO sistema irá lhe avisar quando esse produto estiver disponivel.");

DialogosRoteiro::PassosPesquisa escolher(const QString &coluna, const QString &valor)
{
    return [coluna, valor](LogicaPesquisa &p) {
        ASSERT_TRUE(p.dados().localizar(coluna, valor)) << valor.toStdString();
        p.escolherLinhaAtual();
    };
}

DialogosRoteiro::PassosPesquisa cancelar()
{
    return [](LogicaPesquisa &) {};
}

// The package and tied-sale screens over the regular screen's folder, with
// package 13 (two items) and tied sales 20 and 21 of representative 12, and a
// tied sale of another representative.
class VariantesPedidoTeste : public TelaPedidoTeste
{
  protected:
    void SetUp() override
    {
        TelaPedidoTeste::SetUp();
        pasta.executar(QStringLiteral(
            "INSERT INTO tbproduto (CODIGO, PRODUTO, PRECOVENDA, ESTOQUE, multiplo, FABRICANTE) VALUES"
            " ('S3', 'Três no estoque', 4, 3, 0, 'ACME');"
            "INSERT INTO tblocalidades (tp_localidade, nm_localidade) VALUES ('P', 'PNS'), ('R', 'RETIRA');"
            "UPDATE tbpedido SET cif = 'Não', dv = 0, avista = 0 WHERE nr_pedido = 13;"
            "INSERT INTO tbpedido_pacote (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal,"
            " cd_desconto1, cd_desconto2, cd_desconto3) VALUES"
            " (13, '12', 'P1', 2, 10, 20, '0', '0', '0'), (13, '12', 'S3', 1.5, 4, 6, '0', '0', '0');"
            "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido, vl_total_venda_casada, cif) VALUES"
            " (20, '12', 2, '2026-11-06 10:00:00', 10, 'Não'), (21, '12', 1, '2026-11-07 10:00:00', 0, 'Não'),"
            " (22, '99', 1, '2026-11-07 10:00:00', 0, 'Não');"
            "INSERT INTO tbpedido_venda_casada (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal,"
            " cd_desconto1, cd_desconto2, cd_desconto3) VALUES (21, '12', 'P1', 1, 10, 10, '0', '0', '0'),"
            " (21, '12', 'E5', 9, 3, 27, '0', '0', '0');"));
    }

    void abrir(const VariantePedido &variante)
    {
        dm = std::make_unique<TDM>(pasta.caminho());
        ASSERT_TRUE(dialogos.registros().empty()) << dialogos.textos().join(QLatin1Char('\n')).toStdString();
        logica = std::make_unique<LogicaPedido>(variante, visao);
        logica->abrir();
    }
    void abrirPacote() { abrir(VariantePedidoPacote()); }
    void abrirVendaCasada() { abrir(VariantePedidoVendaCasada()); }

    ConjuntoDados &itens() const { return logica->itens(); }
    QString campoItem(const char *campo) const { return itens().campo(QString::fromUtf8(campo)).texto(); }
    QString campoPedido(const char *campo) const { return dm->QyPedido.campo(QString::fromUtf8(campo)).texto(); }
    void escrever(const char *campo, const QString &valor) { itens().campo(QString::fromUtf8(campo)).setTexto(valor); }
    void novo(const QString &codigo, const QString &quantidade)
    {
        logica->clicar(AcaoPedido::NovoItem);
        escrever("codigo", codigo);
        logica->saiu(CaixaPedido::ItemCodigo);
        escrever("quantidade", quantidade);
    }
};

TEST_F(VariantesPedidoTeste, AberturaDeCadaTipoComSuaCondicao)
{
    struct Caso {
        const VariantePedido &variante;
        bool supervisor;
        const char *filtro;
        int pedidos;
        const char *atual;
        bool focaGrade;
    } const casos[] = {
        {VariantePedidoPacote(), false, "idFunc='12' AND vl_total_pacote>=0", 1, "13", false},
        {VariantePedidoPacote(), true, "vl_total_pacote>=0", 1, "13", false},
        {VariantePedidoVendaCasada(), false, "idFunc='12' AND vl_total_venda_casada>=0", 2, "21", true},
        {VariantePedidoVendaCasada(), true, "vl_total_venda_casada>=0", 3, "22", true},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.filtro);
        pasta.executar(QStringLiteral("UPDATE tbfuncionario SET idfunc='%1'").arg(c.supervisor ? "999" : "12"));
        visao.focos.clear();
        abrir(c.variante);
        EXPECT_EQ(dm->QyPedido.filtro(), QString::fromUtf8(c.filtro));
        EXPECT_EQ(dm->QyPedido.quantidade(), c.pedidos);
        EXPECT_EQ(campoPedido("nr_pedido"), QString::fromUtf8(c.atual));
        EXPECT_EQ(visao.focos, c.focaGrade ? std::vector<CaixaPedido>{CaixaPedido::Grade} : std::vector<CaixaPedido>{});
        logica->aoFechar();
        EXPECT_EQ(dm->QyPedido.filtro(), c.supervisor ? QString() : QStringLiteral("idFunc='12'"));
        logica.reset();
        dm.reset();
    }
}

// The checks of saving an item, per kind: the package takes decimal
// quantities and checks only the stock; the tied sale checks the multiple
// but never the stock.
TEST_F(VariantesPedidoTeste, SalvarItemConfereOQueOTipoPede)
{
    struct Caso {
        const VariantePedido &variante;
        const char *codigo;
        const char *quantidade;
        QString texto; // the question or message, empty for none
        bool gravado;
    };
    const QString quantidade =
        QStringLiteral("A quantidade está em branco ou inválido. Deseja cancelar a alteração do item?");
    const QString multiplo = QStringLiteral("Esse produto é multiplo de: 6 Quantidade(s).\nAltere a(s) quantidade(s).");
    const Caso casos[] = {
        {VariantePedidoPacote(), "S3", "2,5", {}, true},
        {VariantePedidoPacote(), "S3", "3", {}, true},
        {VariantePedidoPacote(), "S3", "3,5", kEstoque, false},
        {VariantePedidoPacote(), "P1", "0,5", {}, true},
        {VariantePedidoPacote(), "P1", "0", quantidade, false},
        {VariantePedidoPacote(), "M6", "10", {}, true},
        {VariantePedidoVendaCasada(), "E5", "9", {}, true},
        {VariantePedidoVendaCasada(), "M6", "10", multiplo, false},
        {VariantePedidoVendaCasada(), "M6", "12", {}, true},
        {VariantePedidoVendaCasada(), "P1", "0", quantidade, false},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(std::string(c.variante.titulo) + ": " + c.codigo + " x " + c.quantidade);
        abrir(c.variante);
        const QString tabela = c.variante.tipo == TipoPedido::Pacote ? QStringLiteral("tbpedido_pacote")
                                                                     : QStringLiteral("tbpedido_venda_casada");
        const int antes = contar(tabela).toInt();
        novo(QString::fromUtf8(c.codigo), QString::fromUtf8(c.quantidade));
        if (!c.texto.isEmpty() && c.texto != multiplo)
            dialogos.responder(Resposta::Nao);
        logica->clicar(AcaoPedido::SalvarItem);
        EXPECT_EQ(dialogos.textos(), c.texto.isEmpty() ? QStringList() : QStringList{c.texto});
        EXPECT_EQ(itens().emEdicao(), !c.gravado);
        EXPECT_EQ(contar(tabela).toInt(), antes + (c.gravado ? 1 : 0));
        EXPECT_EQ(contar(QStringLiteral("tbpedido_pendente")), QStringLiteral("0"));
        dialogos.limpar();
        logica.reset();
        dm.reset();
    }
}

// Three items whose prices are 40356.4146, 63716.61 and 32298.4542: every item
// takes the average, its total the quantity times the average in cents as a
// double (589009.6117 for the first, not the decimal 589009.6118).
TEST_F(VariantesPedidoTeste, PacoteSalvoTomaOPrecoMedioEmTodosOsItens)
{
    pasta.executar(QStringLiteral(
        "INSERT INTO tbproduto (CODIGO, PRODUTO, PRECOVENDA, ESTOQUE) VALUES ('W1', 'Um', 40356.4146, 1000),"
        " ('W2', 'Dois', 63716.61, 1000), ('W3', 'Três', 32298.4542, 1000);"));
    abrirPacote();
    logica->clicar(AcaoPedido::Novo);
    EXPECT_EQ(campoPedido("cif"), QStringLiteral("Sim")); // a new package keeps the default
    EXPECT_EQ(visao.focos, std::vector<CaixaPedido>{CaixaPedido::CodigoCliente});
    dm->QyPedido.campo(QStringLiteral("cif")).setTexto(QStringLiteral("Não"));
    dm->QyPedido.campo(QStringLiteral("idCliente")).setInteiro(1);
    const std::pair<const char *, const char *> digitados[] = {{"W1", "14,505"}, {"W2", "58,162"}, {"W3", "161,326"}};
    for (const auto &[codigo, quantidade] : digitados) {
        novo(QString::fromUtf8(codigo), QString::fromUtf8(quantidade));
        logica->clicar(AcaoPedido::SalvarItem);
        ASSERT_FALSE(itens().emEdicao()) << dialogos.textos().join(u'\n').toStdString();
    }
    logica->clicar(AcaoPedido::Editar);
    logica->clicar(AcaoPedido::Salvar);
    EXPECT_TRUE(dialogos.registros().empty()) << dialogos.textos().join(u'\n').toStdString();
    EXPECT_FALSE(dm->QyPedido.emEdicao());
    EXPECT_EQ(campoPedido("nr_pedido"), QStringLiteral("23"));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT group_concat(codigo || ' ' || valorUnitario || ' ' || valorTotal,"
                                             " ' | ') FROM tbpedido_pacote WHERE nr_pedido = 23 ORDER BY item")),
              QStringLiteral("W1 40607.3502 589009.6117 | W2 40607.3502 2361804.6907 | W3 40607.3502 6551021.3461"));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT vl_total_pacote || ' ' || coalesce(vl_total_item, '-') FROM"
                                             " tbpedido WHERE nr_pedido = 23")),
              QStringLiteral("9501835.6485 -"));
    EXPECT_EQ(campoPedido("vl_total_pacote"), QStringLiteral("9501835,6485"));
}

// A refused store of the header undoes the re-pricing of every item and
// leaves on screen what was typed.
TEST_F(VariantesPedidoTeste, PacoteQueNaoGravaDeixaOBancoComoEstava)
{
    pasta.executar(QStringLiteral("CREATE TRIGGER recusa BEFORE UPDATE ON tbpedido WHEN NEW.observacao='RECUSE'"
                                  " BEGIN SELECT RAISE(ABORT, 'pacote recusado'); END;"));
    const QString antes =
        QStringLiteral("SELECT group_concat(valorUnitario || '/' || valorTotal) FROM tbpedido_pacote");
    const QString valores = pasta.consultar(antes);
    abrirPacote();
    logica->clicar(AcaoPedido::Editar);
    dm->QyPedido.campo(QStringLiteral("observacao")).setTexto(QStringLiteral("RECUSE"));
    logica->clicar(AcaoPedido::Salvar);
    ASSERT_EQ(dialogos.registros().size(), 1u);
    EXPECT_TRUE(dialogos.textos().front().contains(QStringLiteral("pacote recusado")));
    EXPECT_EQ(pasta.consultar(antes), valores);
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT vl_total_pacote FROM tbpedido WHERE nr_pedido=13")),
              QStringLiteral("0"));
    EXPECT_EQ(dm->QyPedido.estado(), EstadoConjunto::Edicao);
    EXPECT_EQ(campoPedido("observacao"), QStringLiteral("RECUSE"));
    EXPECT_EQ(itens().registro(0).campo(QStringLiteral("valorTotal")).texto(), QStringLiteral("20"));

    // An item whose averaging cannot be stored is not kept either.
    logica->clicar(AcaoPedido::Cancelar);
    pasta.executar(QStringLiteral("CREATE TRIGGER grande BEFORE UPDATE ON tbpedido WHEN NEW.vl_total_pacote > 100"
                                  " BEGIN SELECT RAISE(ABORT, 'pacote recusado'); END;"));
    dialogos.limpar();
    novo(QStringLiteral("P1"), QStringLiteral("50"));
    logica->clicar(AcaoPedido::SalvarItem);
    ASSERT_EQ(dialogos.registros().size(), 1u);
    EXPECT_TRUE(dialogos.textos().front().contains(QStringLiteral("pacote recusado")));
    EXPECT_EQ(pasta.consultar(antes), valores);
    EXPECT_EQ(contar(QStringLiteral("tbpedido_pacote")), QStringLiteral("2"));
}

TEST_F(VariantesPedidoTeste, PacoteItemAcimaDoEstoqueVaiParaAPendenciaArredondadoParaCima)
{
    abrirPacote();
    novo(QStringLiteral("S3"), QStringLiteral("3,5"));
    dialogos.responder(Resposta::Sim);
    logica->clicar(AcaoPedido::SalvarItem);
    EXPECT_EQ(dialogos.textos(), QStringList{kEstoque});
    EXPECT_FALSE(itens().emEdicao());
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT codigo || '/' || quantidade || '/' || cod_cliente || '/' ||"
                                             " nr_pedido FROM tbpedido_pendente")),
              QStringLiteral("S3/4/1/13"));
    EXPECT_EQ(contar(QStringLiteral("tbpedido_pacote WHERE nr_pedido=13")), QStringLiteral("2"));

    // And back: the pending whole quantity becomes the item's decimal one.
    pasta.executar(QStringLiteral("UPDATE tbpedido_pendente SET situacao='Disponível'"));
    dm->QyPendente.reabrir();
    logica->clicar(AcaoPedido::NovoItem);
    dialogos.pesquisa(escolher(QStringLiteral("codigo"), QStringLiteral("S3")));
    logica->clicar(AcaoPedido::ImportarPendencia);
    EXPECT_FALSE(itens().emEdicao());
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT quantidade FROM tbpedido_pacote ORDER BY item DESC")),
              QStringLiteral("4"));
    EXPECT_EQ(contar(QStringLiteral("tbpedido_pendente")), QStringLiteral("0"));
}

// The package's record buttons where they differ from the regular screen.
TEST_F(VariantesPedidoTeste, PacoteBotoesDeRegistro)
{
    abrirPacote();
    ASSERT_EQ(campoItem("codigo"), QStringLiteral("P1"));
    logica->clicar(AcaoPedido::ProximoItem);
    ASSERT_EQ(campoItem("codigo"), QStringLiteral("S3"));

    // Editing an item with the header at rest edits the header, same item.
    logica->clicar(AcaoPedido::EditarItem);
    EXPECT_EQ(dm->QyPedido.estado(), EstadoConjunto::Edicao);
    EXPECT_EQ(itens().estado(), EstadoConjunto::Edicao);
    EXPECT_EQ(campoItem("codigo"), QStringLiteral("S3"));
    EXPECT_EQ(visao.focos.back(), CaixaPedido::ItemCodigo);

    // The item buttons do not move while an item is typed.
    logica->clicar(AcaoPedido::AnteriorItem);
    EXPECT_EQ(campoItem("codigo"), QStringLiteral("S3"));
    EXPECT_TRUE(itens().emEdicao());

    // The order's cancel reloads the items: the item being typed is
    // abandoned with the header rather than stored unchecked.
    escrever("quantidade", QStringLiteral("2,75"));
    logica->clicar(AcaoPedido::Cancelar);
    EXPECT_FALSE(dm->QyPedido.emEdicao());
    EXPECT_FALSE(itens().emEdicao());
    EXPECT_EQ(contar(QStringLiteral("tbpedido_pacote WHERE quantidade = 1.5")), QStringLiteral("1"));
    logica->clicar(AcaoPedido::AnteriorItem);
    EXPECT_EQ(campoItem("codigo"), QStringLiteral("P1"));

    // No " ?" after the delete questions; closing asks about the package.
    dialogos.responder(Resposta::Nao).responder(Resposta::Nao);
    logica->clicar(AcaoPedido::ExcluirItem);
    logica->clicar(AcaoPedido::Excluir);
    logica->clicar(AcaoPedido::Editar);
    dialogos.responder(Resposta::Nao);
    EXPECT_FALSE(logica->podeFechar());
    EXPECT_EQ(dialogos.textos(),
              QStringList({"Deseja realmente deletar o item: ( P1 )", "Deseja realmente deletar o pedido: ( 13 )",
                           "O pacote (13) está em uso, deseja salvar e sair?"}));
    EXPECT_EQ(dialogos.registros().back().padrao, Resposta::Sim);

    // No keys in the grid.
    EXPECT_FALSE(logica->teclaGrade(Qt::Key_1, true, false));
    EXPECT_FALSE(logica->teclaGrade(Qt::Key_6, false, true));
    EXPECT_TRUE(dm->QyPedido.emEdicao());
}

TEST_F(VariantesPedidoTeste, PacoteClienteSoConferido)
{
    abrirPacote();
    logica->clicar(AcaoPedido::Editar);
    struct Caso {
        const char *digitado;
        const char *fica;
        bool volta;
    } const casos[] = {{"404", "", true}, {"", "", true}, {"3", "3", false}};
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.digitado);
        visao.focos.clear();
        dm->QyPedido.campo(QStringLiteral("idCliente")).setTexto(QString::fromUtf8(c.digitado));
        logica->saiuCodigoCliente();
        EXPECT_EQ(campoPedido("idCliente"), QString::fromUtf8(c.fica));
        EXPECT_EQ(visao.focos,
                  c.volta ? std::vector<CaixaPedido>{CaixaPedido::CodigoCliente} : std::vector<CaixaPedido>{});
    }
    // Customer 3 has no payment form, customer 1 has form 3: neither is taken.
    dm->QyPedido.campo(QStringLiteral("idforma")).setInteiro(3);
    dm->QyPedido.campo(QStringLiteral("idCliente")).setInteiro(2);
    logica->saiuCodigoCliente();
    EXPECT_EQ(campoPedido("idforma"), QStringLiteral("3"));
    EXPECT_FALSE(visao.painel.isValid());

    // The search writes its result, cancelled or not; the customers stay put.
    const QString atual = dm->QyCliente.campo(QStringLiteral("IdCliente")).texto();
    dialogos.pesquisa(escolher(QStringLiteral("idcliente"), QStringLiteral("1")));
    logica->pesquisarCliente();
    EXPECT_EQ(campoPedido("idCliente"), QStringLiteral("1"));
    EXPECT_EQ(campoPedido("idforma"), QStringLiteral("3"));
    dialogos.pesquisa(cancelar());
    logica->pesquisarCliente();
    EXPECT_EQ(campoPedido("idCliente"), QString());
    EXPECT_EQ(dm->QyCliente.campo(QStringLiteral("IdCliente")).texto(), atual);
    EXPECT_EQ(visao.focos, std::vector<CaixaPedido>{});
}

// Leaving any of the package's item boxes prices the item; an unknown code
// is emptied and takes the focus back; no other box moves the focus.
TEST_F(VariantesPedidoTeste, PacoteSaidaDasCaixasPrecifica)
{
    abrirPacote();
    logica->clicar(AcaoPedido::NovoItem);
    visao.focos.clear();
    escrever("codigo", QStringLiteral("XX"));
    logica->saiu(CaixaPedido::ItemCodigo);
    EXPECT_TRUE(itens().campo(QStringLiteral("codigo")).nulo());
    EXPECT_EQ(visao.focos, std::vector<CaixaPedido>{CaixaPedido::ItemCodigo});
    escrever("codigo", QStringLiteral("P1"));
    logica->saiu(CaixaPedido::ItemCodigo);
    for (CaixaPedido caixa : {CaixaPedido::ItemQuantidade, CaixaPedido::ItemUnitario, CaixaPedido::ItemTotal,
                              CaixaPedido::ItemDescricao, CaixaPedido::ItemDesconto3}) {
        SCOPED_TRACE(static_cast<int>(caixa));
        escrever("quantidade", QString::number(static_cast<int>(caixa)) + QStringLiteral(",5"));
        logica->saiu(caixa);
        // cif "Não": 10 each; no gordura1, so desconto 0,16.
        EXPECT_EQ(campoItem("valorTotal"), QString::number(static_cast<int>(caixa) * 10 + 5));
        EXPECT_EQ(campoItem("desconto"), QStringLiteral("0,16"));
    }
    escrever("quantidade", QStringLiteral("1"));
    logica->saiu(CaixaPedido::ItemGordura);
    logica->saiu(CaixaPedido::Observacao);
    EXPECT_EQ(campoItem("valorTotal"), QStringLiteral("125")); // G prices nothing
    EXPECT_EQ(visao.focos, std::vector<CaixaPedido>{CaixaPedido::ItemCodigo});

    // The order search is refused while anything is typed.
    logica->clicar(AcaoPedido::PesquisarPedido);
    EXPECT_EQ(dialogos.textos(), QStringList{kSalvarAntes});
}

TEST_F(VariantesPedidoTeste, VendaCasadaSemEstoqueNemPendencia)
{
    abrirVendaCasada();
    // Sale 21: P1 1 of 100 and E5 9 of 5; every row red, the current one
    // white on red while the items are at rest.
    const QColor vermelho(255, 0, 0);
    EXPECT_EQ(logica->coresCelula(0).fundo, vermelho);
    EXPECT_EQ(logica->coresCelula(0).texto, QColor(Qt::white));
    EXPECT_EQ(logica->coresCelula(1).texto, vermelho);
    EXPECT_EQ(logica->coresCelula(1).fundo, QColor(Qt::white));

    // No pending items to import.
    logica->clicar(AcaoPedido::NovoItem);
    logica->clicar(AcaoPedido::ImportarPendencia);
    EXPECT_TRUE(dialogos.registros().empty());
    EXPECT_EQ(campoPedido("cif"), QStringLiteral("Não")); // sale 21 as stored

    // D3 sends the focus back to the code; G does nothing.
    visao.focos.clear();
    logica->saiu(CaixaPedido::ItemDesconto3);
    logica->saiu(CaixaPedido::ItemGordura);
    EXPECT_EQ(visao.focos, std::vector<CaixaPedido>{CaixaPedido::ItemCodigo});
    logica->clicar(AcaoPedido::CancelarItem);

    // A new sale keeps cif "Sim" and the focus goes to the customer first.
    logica->clicar(AcaoPedido::Cancelar);
    logica->clicar(AcaoPedido::Novo);
    EXPECT_EQ(campoPedido("cif"), QStringLiteral("Sim"));
    EXPECT_EQ(visao.focos.back(), CaixaPedido::CodigoCliente);
    // The customer brings its payment form, without a colour.
    dm->QyPedido.campo(QStringLiteral("idCliente")).setInteiro(1);
    logica->saiuCodigoCliente();
    EXPECT_EQ(campoPedido("idforma"), QStringLiteral("3"));
    EXPECT_FALSE(visao.painel.isValid());
    // Alt+5 saves the sale.
    EXPECT_TRUE(logica->teclaGrade(Qt::Key_5, true, false));
    EXPECT_FALSE(dm->QyPedido.emEdicao());
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT vl_total_venda_casada || '/' || idforma || '/' || cif FROM"
                                             " tbpedido WHERE nr_pedido = 23")),
              QStringLiteral("0/3/Sim"));
}

TEST_F(VariantesPedidoTeste, VendaCasadaPesquisasDeClienteEDePedido)
{
    abrirVendaCasada();
    // At rest the search opens, and the choice is dropped.
    dialogos.pesquisa(escolher(QStringLiteral("idcliente"), QStringLiteral("2")));
    logica->pesquisarCliente();
    EXPECT_EQ(campoPedido("idCliente"), QStringLiteral("1"));
    EXPECT_TRUE(dialogos.roteiroEsgotado());

    logica->clicar(AcaoPedido::Editar);
    dialogos.pesquisa(escolher(QStringLiteral("idcliente"), QStringLiteral("2")));
    logica->pesquisarCliente();
    EXPECT_EQ(campoPedido("idCliente"), QStringLiteral("2"));
    EXPECT_TRUE(dm->QyPedido.campo(QStringLiteral("idforma")).nulo());
    EXPECT_EQ(visao.focos.back(), CaixaPedido::Entrega);

    logica->clicar(AcaoPedido::PesquisarPedido);
    EXPECT_EQ(dialogos.textos(QStringLiteral("mensagem")), QStringList{kSalvarAntes});
    logica->clicar(AcaoPedido::Cancelar);
    dialogos.pesquisa(escolher(QStringLiteral("nr_pedido"), QStringLiteral("20")));
    logica->clicar(AcaoPedido::PesquisarPedido);
    EXPECT_EQ(campoPedido("nr_pedido"), QStringLiteral("20"));
}

// The two windows as a user meets them: names, hints, lists and keys.
TEST_F(VariantesPedidoTeste, JanelasDoPacoteEDaVendaCasada)
{
    dm = std::make_unique<TDM>(pasta.caminho());
    {
        const std::unique_ptr<TfrmPedido> tela = CriarTelaPedido(VariantePedidoPacote());
        tela->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(tela.get()));
        EXPECT_EQ(tela->objectName(), QStringLiteral("TfrmPedidoPacote"));
        EXPECT_EQ(tela->windowTitle(), QStringLiteral("Corlando - Pacote"));
        for (const char *nome :
             {"BtnNovo", "BtnSalvarItem", "BtnEnviar", "btnImprimirPedido", "BtnImportarPendencia", "btnPesquisarItem"})
            EXPECT_NE(tela->findChild<QToolButton *>(QString::fromUtf8(nome)), nullptr) << nome;
        EXPECT_EQ(tela->findChild<QToolButton *>(QStringLiteral("btnNovo")), nullptr);
        EXPECT_EQ(tela->botao(AcaoPedido::PesquisarPedido)->statusTip(), QStringLiteral("Pesquisar pacote(s)"));
        EXPECT_EQ(tela->findChild<QToolButton *>(QStringLiteral("btnPesquisarItem"))->statusTip(),
                  QStringLiteral("Pesquisar item(ns)"));
        EXPECT_TRUE(tela->findChild<QToolButton *>(QStringLiteral("BtnProcurarCliente"))->statusTip().isEmpty());
        // Only the buttons carry hints.
        for (QWidget *w : tela->findChildren<QWidget *>()) {
            if (!qobject_cast<QToolButton *>(w)) {
                EXPECT_TRUE(w->statusTip().isEmpty()) << w->objectName().toStdString();
            }
        }
        EXPECT_EQ(tela->findChild<QFrame *>(QStringLiteral("Panel1")), nullptr);
        auto *entrega = tela->findChild<QComboBox *>(QStringLiteral("dbEntrega"));
        ASSERT_NE(entrega, nullptr);
        EXPECT_EQ(entrega->count(), 2);
        EXPECT_EQ(entrega->itemText(1), QStringLiteral("RETIRA"));
        EXPECT_EQ(tela->findChild<QComboBox *>(QStringLiteral("dbDV"))->count(), 6);
        GradeItens *grade = tela->grade();
        EXPECT_EQ(grade->objectName(), QStringLiteral("dbgPedidoItem"));
        EXPECT_EQ(grade->model()->headerData(4, Qt::Horizontal).toString(), QStringLiteral("Valor total"));
        EXPECT_EQ(grade->model()->index(1, 2).data().toString(), QStringLiteral("1,5"));
        // No keys in the grid; the description last in the tab order.
        grade->setFocus();
        QTest::keyClick(grade, Qt::Key_3, Qt::AltModifier);
        EXPECT_FALSE(dm->QyPedido.emEdicao());
        EXPECT_EQ(tela->caixa(CaixaPedido::ItemDescricao)->previousInFocusChain()->objectName(),
                  QStringLiteral("dbItemGordura"));
        tela->close();
    }
    {
        const std::unique_ptr<TfrmPedido> tela = CriarTelaPedido(VariantePedidoVendaCasada());
        tela->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(tela.get()));
        EXPECT_EQ(tela->objectName(), QStringLiteral("TfrmVendaCasada"));
        EXPECT_EQ(tela->windowTitle(), QStringLiteral("Corlando - Pedido Venda Casada"));
        EXPECT_EQ(tela->findChild<QToolButton *>(QStringLiteral("BtnImportarPendencia")), nullptr);
        EXPECT_NE(tela->findChild<QToolButton *>(QStringLiteral("btnNovo")), nullptr);
        EXPECT_EQ(tela->findChild<QFrame *>(QStringLiteral("Panel1")), nullptr);
        EXPECT_EQ(tela->findChild<QComboBox *>(QStringLiteral("dbEntrega"))->statusTip(),
                  QStringLiteral("Escolha o tipo de entrega"));
        EXPECT_EQ(tela->findChild<QComboBox *>(QStringLiteral("dbDV"))->count(), 6);
        QStringList quadros;
        for (QGroupBox *g : tela->findChildren<QGroupBox *>())
            if (!g->statusTip().isEmpty())
                quadros << g->title() + g->statusTip();
        EXPECT_TRUE(quadros.contains(QStringLiteral(" Volumes Volumes")));
        GradeItens *grade = tela->grade();
        EXPECT_EQ(grade->objectName(), QStringLiteral("dbgVendaCasada"));
        ASSERT_EQ(grade->model()->columnCount(), 9);
        EXPECT_EQ(grade->model()->headerData(8, Qt::Horizontal).toString(), QStringLiteral("Estoque"));
        EXPECT_EQ(grade->model()->index(0, 8).data().toString(), QString()); // no stock on a tied sale
        EXPECT_EQ(grade->model()->index(0, 0).data().toString(), QStringLiteral("P1"));
        // The keys of the regular screen: Alt+4 edits the sale.
        grade->setFocus();
        QTest::keyClick(grade, Qt::Key_4, Qt::AltModifier);
        EXPECT_TRUE(dm->QyPedido.emEdicao());
        QTest::keyClick(grade, Qt::Key_6, Qt::AltModifier);
        EXPECT_FALSE(dm->QyPedido.emEdicao());
        tela->close();
    }
}

} // namespace
