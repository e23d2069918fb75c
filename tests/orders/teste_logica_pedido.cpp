#include "tela_pedido_teste.h"

#include "erro.h"
#include "logica_pesquisa.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <sqlite3.h>

namespace
{

const QString kAtencao = QStringLiteral("Atenção");

// The search dialog's user picks the row whose column holds a value.
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

} // namespace

TEST_F(TelaPedidoTeste, AberturaFiltraOsPedidosRegularesDoRepresentanteEDevolveOFiltroAoFechar)
{
    abrirTela();
    EXPECT_EQ(dm->QyPedido.filtro(), QStringLiteral("idFunc='12' AND vl_total_item>=0"));
    EXPECT_EQ(dm->QyPedido.quantidade(), 2); // 10 and 12; 11 is another's, 13 a package
    EXPECT_EQ(pedidoAtual(), QStringLiteral("12"));
    EXPECT_EQ(dm->QyCliente.campo(QStringLiteral("IdCliente")).texto(), QStringLiteral("1"));
    EXPECT_EQ(visao.focos, std::vector<CaixaPedido>{CaixaPedido::Grade});
    logica->aoFechar();
    EXPECT_EQ(dm->QyPedido.filtro(), QStringLiteral("idFunc='12'"));
    EXPECT_TRUE(dm->QyPedido.filtrado());
}

TEST_F(TelaPedidoTeste, SupervisorVeOsPedidosRegularesDeTodos)
{
    pasta.executar(QStringLiteral("UPDATE tbfuncionario SET idfunc='999'"));
    abrirTela();
    EXPECT_EQ(dm->QyPedido.filtro(), QStringLiteral("vl_total_item>=0"));
    EXPECT_EQ(dm->QyPedido.quantidade(), 3);
    logica->aoFechar();
    EXPECT_EQ(dm->QyPedido.filtro(), QString());
}

TEST_F(TelaPedidoTeste, SemPedidosOsBotoesDeNavegarEExcluirFicamDesabilitadosEAGradeBranca)
{
    pasta.executar(QStringLiteral("DELETE FROM tbpedido; DELETE FROM tbpedido_item;"));
    abrirTela();
    EXPECT_EQ(dm->QyCliente.numeroRegistro(), 1);
    for (AcaoPedido a : {AcaoPedido::Anterior, AcaoPedido::Proximo, AcaoPedido::Excluir, AcaoPedido::Salvar,
                         AcaoPedido::ExcluirItem, AcaoPedido::ProximoItem})
        EXPECT_FALSE(logica->habilitado(a)) << static_cast<int>(a);
    for (AcaoPedido a : {AcaoPedido::Novo, AcaoPedido::NovoItem, AcaoPedido::Enviar, AcaoPedido::PesquisarPedido})
        EXPECT_TRUE(logica->habilitado(a)) << static_cast<int>(a);
    const CoresCelula cores = logica->coresCelula(0);
    EXPECT_EQ(cores.texto, QColor(Qt::black));
    EXPECT_EQ(cores.fundo, QColor(Qt::white));
}

TEST_F(TelaPedidoTeste, RegrasDosBotoesSeguemOEstadoDasListas)
{
    abrirTela();
    EXPECT_TRUE(logica->habilitado(AcaoPedido::Editar));
    EXPECT_FALSE(logica->habilitado(AcaoPedido::Salvar));
    EXPECT_FALSE(logica->habilitado(AcaoPedido::Anterior)); // just opened: at the beginning
    EXPECT_TRUE(logica->habilitado(AcaoPedido::Proximo));
    logica->clicar(AcaoPedido::Editar);
    EXPECT_FALSE(logica->habilitado(AcaoPedido::Editar));
    EXPECT_TRUE(logica->habilitado(AcaoPedido::Salvar));
    EXPECT_TRUE(logica->habilitado(AcaoPedido::Cancelar));
    logica->clicar(AcaoPedido::Cancelar);
    logica->clicar(AcaoPedido::Proximo);
    logica->clicar(AcaoPedido::Proximo); // past the last: the end is marked
    EXPECT_FALSE(logica->habilitado(AcaoPedido::Proximo));
    EXPECT_TRUE(logica->habilitado(AcaoPedido::Anterior));
}

TEST_F(TelaPedidoTeste, NovoPedidoSeguidoDeNovoItemGravaOCabecalhoAntes)
{
    abrirTela();
    logica->clicar(AcaoPedido::Novo);
    EXPECT_EQ(visao.focos.back(), CaixaPedido::CodigoCliente);
    EXPECT_EQ(dm->QyPedido.estado(), EstadoConjunto::Insercao);
    EXPECT_EQ(dm->QyPedido.campo(QStringLiteral("cif")).texto(), QStringLiteral("Não"));
    dm->QyPedido.campo(QStringLiteral("idCliente")).setInteiro(1); // an order is never stored without its customer
    logica->clicar(AcaoPedido::NovoItem);

    const QString numero = pasta.consultar(QStringLiteral("SELECT max(nr_pedido) FROM tbpedido"));
    EXPECT_EQ(numero, QStringLiteral("14"));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT vl_total_item || '/' || cif FROM tbpedido WHERE nr_pedido=14")),
              QStringLiteral("0/Não"));
    EXPECT_EQ(pedidoAtual(), numero);
    EXPECT_EQ(dm->QyPedido.estado(), EstadoConjunto::Edicao);
    EXPECT_EQ(dm->QyPedidoItem.estado(), EstadoConjunto::Insercao);
    EXPECT_EQ(item("nr_pedido"), numero);
    EXPECT_EQ(visao.focos.back(), CaixaPedido::ItemCodigo);
    EXPECT_TRUE(dialogos.registros().empty());
}

TEST_F(TelaPedidoTeste, SalvarItemConfereCodigoQuantidadeMultiploEEstoque)
{
    struct Caso {
        const char *codigo;
        const char *quantidade;
        const char *texto; // the question or message shown, "" for none
        bool gravado;
    };
    const QString multiplo =
        QStringLiteral("Esse produto é multiplo de: %1 Quantidade(s).\nAltere a(s) quantidade(s).");
    const QString estoque =
        QStringLiteral("Quantidade não disponível no estoque atual. Deseja colocar esse item em "
                       "pendência?\nO sistema irá lhe avisar quando esse produto estiver disponivel.");
    const QString codigo = QStringLiteral("O código está em branco ou inválido. Deseja cancelar a alteração do item?");
    const QString quantidade =
        QStringLiteral("A quantidade está em branco ou inválido. Deseja cancelar a alteração do item?");
    const Caso casos[] = {
        {"", "1", "codigo", false},   {"P1", "", "quantidade", false}, {"P1", "0", "quantidade", false},
        {"XX", "1", "codigo", false}, {"M6", "12", "", true},          {"M6", "10", "6", false},
        {"M25", "4", "", true},       {"M25", "5", "2,5", false},      {"MP", "7", "", true},
        {"E5", "5", "", true},        {"E55", "6", "estoque", false},
    };
    abrirTela();
    for (const Caso &c : casos) {
        SCOPED_TRACE(std::string(c.codigo) + " x " + c.quantidade);
        dialogos.limpar();
        const QString antes = contar(QStringLiteral("tbpedido_item"));
        novoItem(QString::fromUtf8(c.codigo), QString::fromUtf8(c.quantidade));
        const QString esperado = QString::fromUtf8(c.texto);
        const bool pergunta = esperado.size() > 3; // the multiple's message takes no answer
        if (pergunta)
            dialogos.responder(Resposta::Nao);
        logica->clicar(AcaoPedido::SalvarItem);
        QString texto = esperado == QLatin1String("codigo")       ? codigo
                        : esperado == QLatin1String("quantidade") ? quantidade
                        : esperado == QLatin1String("estoque")    ? estoque
                        : esperado.isEmpty()                      ? QString()
                                                                  : multiplo.arg(esperado);
        EXPECT_EQ(dialogos.textos(), texto.isEmpty() ? QStringList() : QStringList{texto});
        EXPECT_EQ(dm->QyPedidoItem.emEdicao(), !c.gravado);
        EXPECT_EQ(contar(QStringLiteral("tbpedido_item")).toInt(), antes.toInt() + (c.gravado ? 1 : 0));
        logica->clicar(AcaoPedido::CancelarItem);
    }
    EXPECT_TRUE(dialogos.roteiroEsgotado());
}

TEST_F(TelaPedidoTeste, ItemGravadoEPrecificadoAtualizaOsTotais)
{
    abrirTela();
    novoItem(QStringLiteral("P1"), QStringLiteral("4"));
    logica->clicar(AcaoPedido::SalvarItem);
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT valorTotal FROM tbpedido_item WHERE quantidade=4")),
              QStringLiteral("40"));
    // 10 + 27 + 40: the two old items keep their stored prices until a save.
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT vl_total_item FROM tbpedido WHERE nr_pedido=12")),
              QStringLiteral("77"));
    EXPECT_FALSE(dm->QyPedido.emEdicao());
}

// Storing the header after an item reads the screen's own items again, not
// the lists of the other kinds; moving to another order reads them all.
TEST_F(TelaPedidoTeste, GravarItemReleSoOsItensDoTipoDaTela)
{
    abrirTela();
    ConjuntoDados *outras[] = {&dm->QyPacote, &dm->QyTrocaSub, &dm->QyTrocaDev, &dm->QyVendaCasada};
    std::vector<std::unique_ptr<QSignalSpy>> lidas;
    for (ConjuntoDados *c : outras)
        lidas.push_back(std::make_unique<QSignalSpy>(c, &ConjuntoDados::recarregado));
    QSignalSpy itensLidos(&dm->QyPedidoItem, &ConjuntoDados::recarregado);
    novoItem(QStringLiteral("P1"), QStringLiteral("4"));
    logica->clicar(AcaoPedido::SalvarItem);
    ASSERT_FALSE(dm->QyPedidoItem.emEdicao());
    EXPECT_GE(itensLidos.count(), 1);
    EXPECT_EQ(dm->QyPedidoItem.quantidade(), 3);
    EXPECT_EQ(dm->QyPedidoItem.numeroRegistro(), 1) << "relida, a lista fica no primeiro item";
    for (const auto &l : lidas)
        EXPECT_EQ(l->count(), 0) << l->signal().toStdString();

    logica->clicar(AcaoPedido::Proximo);
    for (const auto &l : lidas)
        EXPECT_GE(l->count(), 1);

    logica->aoFechar();
    for (const auto &l : lidas)
        l->clear();
    dm->QyPedido.editar();
    dm->QyPedido.campo(QStringLiteral("observacao")).setTexto(QStringLiteral("fora da tela"));
    dm->QyPedido.gravar();
    for (const auto &l : lidas)
        EXPECT_EQ(l->count(), 1) << "fora da tela toda gravação relê todas";
}

TEST_F(TelaPedidoTeste, RespostaSimAoEstoqueLevaOItemParaAPendencia)
{
    abrirTela();
    // A new item: abandoned, a pending row with the customer.
    novoItem(QStringLiteral("E55"), QStringLiteral("6"));
    dialogos.responder(Resposta::Sim);
    logica->clicar(AcaoPedido::SalvarItem);
    EXPECT_FALSE(dm->QyPedidoItem.emEdicao());
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT codigo || '/' || quantidade || '/' || cod_cliente || '/' || "
                                             "nr_pedido FROM tbpedido_pendente")),
              QStringLiteral("E55/6/1/12"));
    EXPECT_EQ(contar(QStringLiteral("tbpedido_item WHERE nr_pedido=12")), QStringLiteral("2"));

    // An existing item: removed from the order; the totals keep their values.
    ASSERT_TRUE(dm->QyPedidoItem.localizar(QStringLiteral("codigo"), QStringLiteral("E5")));
    logica->clicar(AcaoPedido::EditarItem);
    dialogos.responder(Resposta::Sim);
    logica->clicar(AcaoPedido::SalvarItem);
    EXPECT_EQ(contar(QStringLiteral("tbpedido_item WHERE nr_pedido=12")), QStringLiteral("1"));
    EXPECT_EQ(contar(QStringLiteral("tbpedido_pendente WHERE codigo='E5' AND quantidade=9")), QStringLiteral("1"));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT vl_total_item FROM tbpedido WHERE nr_pedido=12")),
              QStringLiteral("20"));
}

TEST_F(TelaPedidoTeste, ImportarPendenciaTomaAPrimeiraPorNumeroDePedido)
{
    pasta.executar(QStringLiteral(
        "INSERT INTO tbpedido_pendente (nr_pedido, idfunc, codigo, quantidade, cd_desconto1, cd_desconto2,"
        " cd_desconto3, situacao, data_pendente) VALUES"
        " (9, '12', 'P1', 7, 'A', '0', '0', 'Indisponível', '2026-11-01 09:00:00'),"
        " (8, '12', 'p1', 5, 'B', '0', '0', 'Disponível', '2026-11-01 09:00:00');"));
    abrirTela();
    logica->clicar(AcaoPedido::ImportarPendencia); // nothing being edited: nothing happens
    EXPECT_TRUE(dialogos.registros().empty());

    novoItem(QString(), QString());
    dialogos.pesquisa(escolher(QStringLiteral("codigo"), QStringLiteral("p1")));
    logica->clicar(AcaoPedido::ImportarPendencia);
    EXPECT_FALSE(dm->QyPedidoItem.emEdicao());
    // Order 8's row, though its code was typed in another case.
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT codigo || '/' || quantidade || '/' || cd_desconto1 FROM "
                                             "tbpedido_item WHERE nr_pedido=12 ORDER BY item DESC")),
              QStringLiteral("p1/5/B"));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT group_concat(nr_pedido) FROM tbpedido_pendente")),
              QStringLiteral("9"));
}

TEST_F(TelaPedidoTeste, ExcluirItemSoComAListaEmRepousoERecalculaOsTotais)
{
    abrirTela();
    logica->clicar(AcaoPedido::EditarItem);
    logica->clicar(AcaoPedido::ExcluirItem); // being edited: nothing happens
    EXPECT_TRUE(dialogos.registros().empty());
    logica->clicar(AcaoPedido::CancelarItem);

    ASSERT_TRUE(dm->QyPedidoItem.localizar(QStringLiteral("codigo"), QStringLiteral("E5")));
    dialogos.responder(Resposta::Sim);
    logica->clicar(AcaoPedido::ExcluirItem);
    EXPECT_EQ(dialogos.textos(), QStringList{QStringLiteral("Deseja realmente deletar o item: ( E5 ) ?")});
    EXPECT_EQ(dialogos.registros().front().titulo, kAtencao);
    EXPECT_EQ(dialogos.registros().front().padrao, Resposta::Nao);
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT vl_total_item FROM tbpedido WHERE nr_pedido=12")),
              QStringLiteral("10"));
}

TEST_F(TelaPedidoTeste, ExcluirPedidoPerguntaEApagaSoOCabecalho)
{
    abrirTela();
    dialogos.responder(Resposta::Nao).responder(Resposta::Sim);
    logica->clicar(AcaoPedido::Excluir);
    EXPECT_EQ(contar(QStringLiteral("tbpedido WHERE nr_pedido=12")), QStringLiteral("1"));
    logica->clicar(AcaoPedido::Excluir);
    EXPECT_EQ(dialogos.textos().back(), QStringLiteral("Deseja realmente deletar o pedido: ( 12 ) ?"));
    EXPECT_EQ(contar(QStringLiteral("tbpedido WHERE nr_pedido=12")), QStringLiteral("0"));
    EXPECT_EQ(pedidoAtual(), QStringLiteral("10"));
}

TEST_F(TelaPedidoTeste, SalvarPedidoRepreciaTudoEDeixaOPedidoAtual)
{
    pasta.executar(QStringLiteral("UPDATE tbproduto SET PRECOVENDA=11 WHERE CODIGO='P1'"));
    abrirTela();
    logica->clicar(AcaoPedido::Editar);
    dm->QyPedido.campo(QStringLiteral("observacao")).setTexto(QStringLiteral("Entregar pela manhã"));
    logica->clicar(AcaoPedido::Salvar);
    EXPECT_EQ(visao.confirmadas, (std::vector<CaixaPedido>{CaixaPedido::Observacao, CaixaPedido::FormaPagtoDetalhado}));
    EXPECT_FALSE(dm->QyPedido.emEdicao());
    EXPECT_EQ(pedidoAtual(), QStringLiteral("12"));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT vl_total_item || '/' || observacao FROM tbpedido WHERE "
                                             "nr_pedido=12")),
              QStringLiteral("38/Entregar pela manhã"));
}

TEST_F(TelaPedidoTeste, FalhaAoGravarOCabecalhoDeixaOBancoComoEstavaENadaSePerde)
{
    pasta.executar(QStringLiteral("UPDATE tbproduto SET PRECOVENDA=11 WHERE CODIGO='P1';"
                                  "CREATE TRIGGER recusa BEFORE UPDATE ON tbpedido WHEN NEW.observacao='RECUSE' BEGIN"
                                  " SELECT RAISE(ABORT, 'pedido recusado'); END;"));
    abrirTela();
    logica->clicar(AcaoPedido::Editar);
    dm->QyPedido.campo(QStringLiteral("observacao")).setTexto(QStringLiteral("RECUSE"));
    logica->clicar(AcaoPedido::Salvar);
    ASSERT_EQ(dialogos.registros().size(), 1u);
    EXPECT_TRUE(dialogos.textos().front().contains(QStringLiteral("pedido recusado")));
    // The items' new prices were rolled back with the header.
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT valorTotal FROM tbpedido_item WHERE nr_pedido=12 AND "
                                             "codigo='P1'")),
              QStringLiteral("10"));
    EXPECT_EQ(dm->QyPedido.estado(), EstadoConjunto::Edicao);
    EXPECT_EQ(dm->QyPedido.campo(QStringLiteral("observacao")).texto(), QStringLiteral("RECUSE"));
}

// The commit is a save's last step: when another program reading the file
// keeps it from being made, the database stays as it was and the screen
// shows the order as typed; once the other program ends, the same save goes
// through.
TEST_F(TelaPedidoTeste, SalvarQueNaoConfirmaDeixaOBancoComoEstavaENadaSePerde)
{
    pasta.executar(QStringLiteral("UPDATE tbproduto SET PRECOVENDA=11 WHERE CODIGO='P1'"));
    abrirTela();
    sqlite3_busy_timeout(dm->ADOConexao.handle(), 0);
    logica->clicar(AcaoPedido::Editar);
    dm->QyPedido.campo(QStringLiteral("observacao")).setTexto(QStringLiteral("não perder"));
    sqlite3 *leitor = nullptr;
    ASSERT_EQ(sqlite3_open(pasta.bancoLocal().toUtf8().constData(), &leitor), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(leitor, "BEGIN; SELECT count(*) FROM tbpedido;", nullptr, nullptr, nullptr), SQLITE_OK);
    logica->clicar(AcaoPedido::Salvar);
    ASSERT_EQ(dialogos.registros().size(), 1u);
    EXPECT_TRUE(dialogos.textos().front().contains(QStringLiteral("em uso")))
        << dialogos.textos().front().toStdString();
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT ifnull(observacao, '') || '/' || vl_total_item FROM tbpedido "
                                             "WHERE nr_pedido=12")),
              QStringLiteral("/20"));
    EXPECT_EQ(pedidoAtual(), QStringLiteral("12"));
    EXPECT_EQ(dm->QyPedido.estado(), EstadoConjunto::Edicao);
    EXPECT_EQ(dm->QyPedido.campo(QStringLiteral("observacao")).texto(), QStringLiteral("não perder"));

    sqlite3_exec(leitor, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(leitor);
    logica->clicar(AcaoPedido::Salvar);
    EXPECT_FALSE(dm->QyPedido.emEdicao());
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT observacao || '/' || vl_total_item FROM tbpedido WHERE "
                                             "nr_pedido=12")),
              QStringLiteral("não perder/38"));
    EXPECT_EQ(dm->QyPedidoItem.quantidade(), 2);
}

TEST_F(TelaPedidoTeste, SalvarPedidoComItemRecusadoMantemTudoEmEdicao)
{
    abrirTela();
    novoItem(QStringLiteral("M6"), QStringLiteral("10"));
    dm->QyPedido.campo(QStringLiteral("observacao")).setTexto(QStringLiteral("não perder"));
    logica->clicar(AcaoPedido::Salvar);
    EXPECT_EQ(dialogos.textos().size(), 1);
    EXPECT_TRUE(dm->QyPedido.emEdicao());
    EXPECT_TRUE(dm->QyPedidoItem.emEdicao());
    EXPECT_EQ(dm->QyPedido.campo(QStringLiteral("observacao")).texto(), QStringLiteral("não perder"));
}

TEST_F(TelaPedidoTeste, AnteriorDuranteAEdicaoGravaOCabecalhoComoEsta)
{
    pasta.executar(QStringLiteral("UPDATE tbproduto SET PRECOVENDA=11 WHERE CODIGO='P1'"));
    abrirTela();
    logica->clicar(AcaoPedido::Proximo);
    ASSERT_EQ(pedidoAtual(), QStringLiteral("10"));
    logica->clicar(AcaoPedido::Editar);
    dm->QyPedido.campo(QStringLiteral("observacao")).setTexto(QStringLiteral("como está"));
    logica->clicar(AcaoPedido::Anterior);
    EXPECT_EQ(pedidoAtual(), QStringLiteral("12"));
    // Stored without re-pricing or totals.
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT observacao || '/' || vl_total_item FROM tbpedido WHERE "
                                             "nr_pedido=10")),
              QStringLiteral("como está/30"));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT valorTotal FROM tbpedido_item WHERE nr_pedido=10")),
              QStringLiteral("30"));
}

TEST_F(TelaPedidoTeste, CodigoDoClienteTrazAFormaDePagamentoEACorDaUltimaCompra)
{
    abrirTela();
    logica->saiuCodigoCliente(); // at rest: nothing
    EXPECT_FALSE(visao.painel.isValid());
    logica->clicar(AcaoPedido::Editar);
    struct Caso {
        const char *cliente;
        const char *forma;
        QColor cor;
    };
    for (const Caso &c :
         {Caso{"1", "3", QColor(0, 0, 255)}, Caso{"2", "", QColor(Qt::black)}, Caso{"3", "", QColor(Qt::black)}}) {
        dm->QyPedido.campo(QStringLiteral("idCliente")).setTexto(QString::fromUtf8(c.cliente));
        logica->saiuCodigoCliente();
        EXPECT_EQ(dm->QyPedido.campo(QStringLiteral("idforma")).texto(), QString::fromUtf8(c.forma)) << c.cliente;
        EXPECT_EQ(visao.painel, c.cor) << c.cliente;
    }
    const QDateTime agora = QDateTime::currentDateTime();
    EXPECT_EQ(CorUltimaCompra(agora.addDays(-19), agora), QColor(0, 128, 0));
    EXPECT_EQ(CorUltimaCompra(agora.addSecs(-59 * 86400 - 3600), agora), QColor(255, 0, 0));
    EXPECT_EQ(CorUltimaCompra(agora.addDays(-60), agora), QColor(Qt::black));
}

TEST_F(TelaPedidoTeste, PesquisaDeClienteDefineOClienteEFocaAEntrega)
{
    abrirTela();
    logica->clicar(AcaoPedido::Editar);
    dialogos.pesquisa(cancelar());
    logica->pesquisarCliente();
    EXPECT_EQ(dm->QyPedido.campo(QStringLiteral("idCliente")).texto(), QStringLiteral("1"));
    dialogos.pesquisa(escolher(QStringLiteral("idcliente"), QStringLiteral("2")));
    logica->pesquisarCliente();
    EXPECT_EQ(dm->QyPedido.campo(QStringLiteral("idCliente")).texto(), QStringLiteral("2"));
    EXPECT_TRUE(dm->QyPedido.campo(QStringLiteral("idforma")).nulo());
    EXPECT_EQ(visao.painel, QColor(Qt::black));
    EXPECT_EQ(visao.focos.back(), CaixaPedido::Entrega);
}

TEST_F(TelaPedidoTeste, SaidaDasCaixasDoItemConfereOProdutoEMoveOFoco)
{
    abrirTela();
    logica->clicar(AcaoPedido::NovoItem);
    escreverItem("codigo", QStringLiteral("NAOEXISTE"));
    logica->saiu(CaixaPedido::ItemCodigo);
    EXPECT_TRUE(dm->QyPedidoItem.campo(QStringLiteral("codigo")).nulo());
    EXPECT_EQ(visao.focos.back(), CaixaPedido::ItemQuantidade);
    escreverItem("codigo", QStringLiteral("P1"));
    escreverItem("quantidade", QStringLiteral("3"));
    logica->saiu(CaixaPedido::ItemDesconto1);
    EXPECT_EQ(item("valorTotal"), QStringLiteral("30"));
    EXPECT_EQ(item("item_descricao"), QStringLiteral("Parafuso"));
    logica->saiu(CaixaPedido::ItemDesconto3);
    EXPECT_EQ(visao.focos.back(), CaixaPedido::ItemGordura);
    logica->saiu(CaixaPedido::ItemGordura);
    EXPECT_EQ(visao.focos.back(), CaixaPedido::ItemCodigo);
    logica->saiu(CaixaPedido::Observacao);
    EXPECT_EQ(visao.focos.back(), CaixaPedido::Grade);

    dialogos.pesquisa(cancelar());
    logica->pesquisarItem();
    EXPECT_TRUE(dm->QyPedidoItem.campo(QStringLiteral("codigo")).nulo());
    dialogos.pesquisa(escolher(QStringLiteral("codigo"), QStringLiteral("M6")));
    logica->pesquisarItem();
    EXPECT_EQ(item("codigo"), QStringLiteral("M6"));
}

TEST_F(TelaPedidoTeste, PesquisaDePedidoSoEmRepousoESoDentroDoFiltro)
{
    abrirTela();
    dialogos.pesquisa(escolher(QStringLiteral("nr_pedido"), QStringLiteral("10")));
    logica->clicar(AcaoPedido::PesquisarPedido);
    EXPECT_EQ(pedidoAtual(), QStringLiteral("10"));
    dialogos.pesquisa(escolher(QStringLiteral("nr_pedido"), QStringLiteral("11"))); // another's order
    logica->clicar(AcaoPedido::PesquisarPedido);
    EXPECT_EQ(pedidoAtual(), QStringLiteral("10"));
    const std::size_t vistos = dialogos.registros().size();
    logica->clicar(AcaoPedido::Editar);
    logica->clicar(AcaoPedido::PesquisarPedido); // editing: no dialog
    EXPECT_EQ(dialogos.registros().size(), vistos);
}

TEST_F(TelaPedidoTeste, FecharPerguntaQuandoHaAlgoEmUso)
{
    abrirTela();
    EXPECT_TRUE(logica->podeFechar());
    logica->clicar(AcaoPedido::Editar);
    dialogos.responder(Resposta::Nao);
    EXPECT_FALSE(logica->podeFechar());
    EXPECT_EQ(dialogos.textos().back(), QStringLiteral("O pedido (12) está em uso, deseja salvar e sair?"));
    EXPECT_EQ(dialogos.registros().back().padrao, Resposta::Sim);
    EXPECT_TRUE(dm->QyPedido.emEdicao());

    // An item that fails its checks keeps the window open.
    novoItem(QStringLiteral("M6"), QStringLiteral("10"));
    dialogos.responder(Resposta::Sim);
    EXPECT_FALSE(logica->podeFechar());
    EXPECT_TRUE(dm->QyPedidoItem.emEdicao());
    escreverItem("quantidade", QStringLiteral("12"));
    dialogos.responder(Resposta::Sim);
    EXPECT_TRUE(logica->podeFechar());
    EXPECT_EQ(contar(QStringLiteral("tbpedido_item WHERE codigo='M6' AND quantidade=12")), QStringLiteral("1"));
}

TEST_F(TelaPedidoTeste, CoresDaGradePeloEstoque)
{
    abrirTela();
    // Order 12: P1 1 of 100 (blue), E5 9 of 5 (red); the first row is current.
    ASSERT_EQ(item("codigo"), QStringLiteral("P1"));
    const QColor azul(0, 0, 255), vermelho(255, 0, 0);
    EXPECT_EQ(logica->coresCelula(0).fundo, azul);
    EXPECT_EQ(logica->coresCelula(0).texto, QColor(Qt::white));
    EXPECT_EQ(logica->coresCelula(1).texto, vermelho);
    EXPECT_EQ(logica->coresCelula(1).fundo, QColor(Qt::white));
    logica->clicar(AcaoPedido::EditarItem); // editing: no highlighted row
    EXPECT_EQ(logica->coresCelula(0).texto, azul);
    EXPECT_EQ(logica->coresCelula(0).fundo, QColor(Qt::white));
}

TEST_F(TelaPedidoTeste, TecladoDaGradeAltDepoisCtrl)
{
    pasta.executar(QStringLiteral("UPDATE tbproduto SET ESTOQUE=0 WHERE CODIGO='E5'"));
    abrirTela();
    EXPECT_TRUE(logica->teclaGrade(Qt::Key_1, true, true)); // send, then a new item
    EXPECT_EQ(dialogos.textos(), QStringList{QStringLiteral("O pedido não pode ser enviado. Verifique se os itens "
                                                            "cadastrados estão no estoque.")});
    EXPECT_EQ(dm->QyPedidoItem.estado(), EstadoConjunto::Insercao);
    EXPECT_TRUE(logica->teclaGrade(Qt::Key_4, false, true)); // cancel the item
    EXPECT_FALSE(dm->QyPedidoItem.emEdicao());
    EXPECT_FALSE(logica->teclaGrade(Qt::Key_8, false, true)); // no Ctrl+8
    EXPECT_FALSE(logica->teclaGrade(Qt::Key_A, true, false));
    EXPECT_TRUE(logica->teclaGrade(Qt::Key_9, true, false));
    EXPECT_EQ(pedidoAtual(), QStringLiteral("10"));
    EXPECT_TRUE(logica->teclaGrade(Qt::Key_0, true, false));
    EXPECT_EQ(visao.fechamentos, 1);
}

TEST_F(TelaPedidoTeste, ImprimirMarcaImpressoPelaGravacaoDaTela)
{
    const QDir fonte(QStringLiteral(PASTA_FONTES "/templates"));
    ASSERT_TRUE(QFile::copy(fonte.filePath(QStringLiteral("pedido.rav")), pasta.arquivo(QStringLiteral("pedido.rav"))));
    ASSERT_TRUE(QDir(pasta.caminho()).mkdir(QStringLiteral("relatórios")));
    pasta.executar(QStringLiteral("UPDATE tbproduto SET PRECOVENDA=11 WHERE CODIGO='P1'"));
    abrirTela();
    logica->clicar(AcaoPedido::Imprimir); // order 12: 9 of E5 with 5 in stock
    EXPECT_EQ(dialogos.textos(), QStringList{QStringLiteral("O pedido não pode ser gerado. Verifique se os itens "
                                                            "cadastrados estão no estoque.")});
    logica->clicar(AcaoPedido::Proximo);
    logica->clicar(AcaoPedido::Imprimir);
    const QString pdf = pasta.arquivo(QStringLiteral("relatórios/pedido-10.pdf"));
    EXPECT_TRUE(QFile::exists(pdf));
    EXPECT_EQ(dialogos.textos(QStringLiteral("abrir")), QStringList{pdf});
    // Saved through the screen: re-priced and re-totalled.
    EXPECT_EQ(
        pasta.consultar(QStringLiteral("SELECT impresso || '/' || vl_total_item FROM tbpedido WHERE nr_pedido=10")),
        QStringLiteral("1/33"));
    EXPECT_EQ(pedidoAtual(), QStringLiteral("10"));
    EXPECT_EQ(dm->QyPedido.filtro(), QStringLiteral("idFunc='12' AND vl_total_item>=0"));
    EXPECT_FALSE(dm->QyPedido.emEdicao());
}

// The item and the header's totals are one store: a totals store that fails
// leaves neither the item nor a total without it.
TEST_F(TelaPedidoTeste, ItemETotaisGravadosJuntosOuNenhum)
{
    pasta.executar(QStringLiteral("CREATE TRIGGER recusa BEFORE UPDATE OF vl_total_item ON tbpedido"
                                  " WHEN NEW.vl_total_item <> OLD.vl_total_item BEGIN"
                                  " SELECT RAISE(ABORT, 'totais recusados'); END;"));
    abrirTela();
    novoItem(QStringLiteral("P1"), QStringLiteral("4"));
    logica->clicar(AcaoPedido::SalvarItem);
    ASSERT_EQ(dialogos.registros().size(), 1u);
    EXPECT_TRUE(dialogos.textos().front().contains(QStringLiteral("totais recusados")));
    EXPECT_EQ(contar(QStringLiteral("tbpedido_item WHERE nr_pedido=12")), QStringLiteral("2"));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT vl_total_item FROM tbpedido WHERE nr_pedido=12")),
              QStringLiteral("20"));
    EXPECT_EQ(dm->QyPedidoItem.quantidade(), 2); // no row the database does not have
}

// When the order list could not be opened the item buttons have no header
// to store under: nothing is inserted with an empty order number.
TEST_F(TelaPedidoTeste, SemAListaDePedidosNenhumItemSemCabecalho)
{
    // A missing column would be added on opening: a view over a table gone
    // since fails as the order list opens.
    pasta.executar(QStringLiteral("DROP TABLE tbpedido; CREATE TABLE antiga (a);"
                                  "CREATE VIEW tbpedido AS SELECT a FROM antiga; DROP TABLE antiga;"));
    dm = std::make_unique<TDM>(pasta.caminho());
    ASSERT_FALSE(dm->QyPedido.ativo());
    dialogos.limpar();
    logica = std::make_unique<LogicaPedido>(VariantePedidoRegular(), visao);
    logica->abrir();
    for (AcaoPedido a : {AcaoPedido::NovoItem, AcaoPedido::EditarItem, AcaoPedido::SalvarItem})
        EXPECT_FALSE(logica->habilitado(a)) << static_cast<int>(a);
    logica->clicar(AcaoPedido::NovoItem);
    EXPECT_FALSE(dm->QyPedidoItem.emEdicao());
    EXPECT_EQ(contar(QStringLiteral("tbpedido_item WHERE nr_pedido IS NULL")), QStringLiteral("0"));
}
