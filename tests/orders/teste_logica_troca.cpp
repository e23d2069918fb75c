#include "troca_teste.h"

#include "logica_pesquisa.h"

namespace
{

const QString kAtencao = QStringLiteral("Atenção");
const QString kCodigoEmBranco =
    QStringLiteral("O código está em branco ou inválido. Deseja cancelar a alteração do item?");
const QString kQuantidadeInvalida =
    QStringLiteral("A quantidade está em branco ou inválido. Deseja cancelar a alteração do item?");

DialogosRoteiro::PassosPesquisa escolher(const QString &coluna, const QString &valor)
{
    return [coluna, valor](LogicaPesquisa &p) {
        ASSERT_TRUE(p.dados().localizar(coluna, valor)) << valor.toStdString();
        p.escolherLinhaAtual();
    };
}

} // namespace

TEST_F(TrocaTeste, AberturaListaAsTrocasDoRepresentanteSemMoverOFoco)
{
    abrirTroca();
    EXPECT_EQ(dm->QyPedido.filtro(), QStringLiteral("idFunc='12' AND vl_diferenca_troca<>NULL"));
    EXPECT_EQ(dm->QyPedido.quantidade(), 1); // 21 has no difference, 22 is another's
    EXPECT_EQ(pedidoAtual(), QStringLiteral("20"));
    EXPECT_TRUE(visao.focos.empty());
    EXPECT_EQ(itemDe(kDev, "codigo"), QStringLiteral("P1"));
    EXPECT_EQ(itemDe(kSub, "codigo"), QStringLiteral("E5"));
    logica->aoFechar();
    EXPECT_EQ(dm->QyPedido.filtro(), QStringLiteral("idFunc='12'"));

    pasta.executar(QStringLiteral("UPDATE tbfuncionario SET idfunc='999'"));
    abrirTroca();
    EXPECT_EQ(dm->QyPedido.filtro(), QStringLiteral("vl_diferenca_troca<>NULL"));
    EXPECT_EQ(dm->QyPedido.quantidade(), 2);
}

// More returned than replaced: the difference goes below zero, the exchange
// stays in the list, and the exchange search does not offer it.
TEST_F(TrocaTeste, DiferencaNegativaPassaPelosTotais)
{
    abrirTroca();
    logica->clicar(AcaoPedido::Novo);
    EXPECT_EQ(dm->QyPedido.estado(), EstadoConjunto::Insercao);
    EXPECT_EQ(dm->QyPedido.campo(QStringLiteral("cif")).texto(), QStringLiteral("Sim"));
    EXPECT_EQ(visao.focos, std::vector<CaixaPedido>{CaixaPedido::CodigoCliente});
    dm->QyPedido.campo(QStringLiteral("idCliente")).setInteiro(1);
    logica->clicar(AcaoPedido::EditarItem, kDev); // an empty list: nothing to edit
    EXPECT_FALSE(lista(kDev).emEdicao());

    logica->clicar(AcaoPedido::NovoItem, kDev);
    const QString numero = pasta.consultar(QStringLiteral("SELECT max(nr_pedido) FROM tbpedido"));
    EXPECT_EQ(numero, QStringLiteral("23"));
    EXPECT_EQ(totais(23), QStringLiteral("0/0/0"));
    EXPECT_EQ(lista(kDev).estado(), EstadoConjunto::Insercao);
    EXPECT_EQ(visao.focos.back(), CaixaPedido::ItemCodigo);
    EXPECT_EQ(visao.listasFocadas.back(), kDev);
    escreverEm(kDev, "codigo", QStringLiteral("p1"));
    logica->saiu(CaixaPedido::ItemCodigo, kDev);
    escreverEm(kDev, "quantidade", QStringLiteral("5"));
    logica->saiu(CaixaPedido::ItemQuantidade, kDev);
    EXPECT_EQ(itemDe(kDev, "valorTotal"), QStringLiteral("50"));
    logica->clicar(AcaoPedido::SalvarItem, kDev);

    EXPECT_TRUE(dialogos.registros().empty()) << dialogos.textos().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(totais(23), QStringLiteral("50/0/-50"));
    EXPECT_FALSE(dm->QyPedido.emEdicao());
    EXPECT_EQ(pedidoAtual(), numero);
    EXPECT_EQ(dm->QyPedido.campo(QStringLiteral("vl_diferenca_troca")).texto(), QStringLiteral("-50"));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT enviadoTroca FROM tbpedido WHERE nr_pedido=23")),
              QStringLiteral("0"));

    dialogos.pesquisa([](LogicaPesquisa &p) {
        EXPECT_FALSE(p.dados().localizar(QStringLiteral("nr_pedido"), QStringLiteral("23")));
        ASSERT_TRUE(p.dados().localizar(QStringLiteral("nr_pedido"), QStringLiteral("20")));
        p.escolherLinhaAtual();
    });
    logica->clicar(AcaoPedido::PesquisarPedido);
    EXPECT_EQ(pedidoAtual(), QStringLiteral("20"));
    logica->clicar(AcaoPedido::Anterior);
    ASSERT_EQ(pedidoAtual(), numero);

    novoItemEm(kSub, QStringLiteral("P1"), QStringLiteral("8"));
    logica->clicar(AcaoPedido::SalvarItem, kSub);
    EXPECT_EQ(totais(23), QStringLiteral("50/80/30"));
}

TEST_F(TrocaTeste, SalvarItemSoConfereCodigoEQuantidadeNasDuasListas)
{
    struct Caso {
        const char *codigo;
        const char *quantidade;
        const QString *pergunta; // none: stored
    };
    const Caso casos[] = {
        {"", "1", &kCodigoEmBranco},
        {"XX", "1", &kCodigoEmBranco},
        {"P1", "0", &kQuantidadeInvalida},
        {"P1", "", &kQuantidadeInvalida},
        {"P1", "-1", &kQuantidadeInvalida},
        {"P1", "0,5", nullptr},
        {"E55", "6", nullptr}, // above stock
        {"M6", "10", nullptr}, // no multiple
    };
    abrirTroca();
    for (int l : {kSub, kDev})
        for (const Caso &c : casos) {
            SCOPED_TRACE(std::to_string(l) + ": " + c.codigo + " x " + c.quantidade);
            dialogos.limpar();
            const QString tabela = l == kSub ? QStringLiteral("tbpedido_troca1") : QStringLiteral("tbpedido_troca2");
            const int antes = contar(tabela).toInt();
            novoItemEm(l, QString(), QString::fromUtf8(c.quantidade));
            // Typed and saved without leaving the code box.
            escreverEm(l, "codigo", QString::fromUtf8(c.codigo));
            if (c.pergunta)
                dialogos.responder(Resposta::Nao);
            logica->clicar(AcaoPedido::SalvarItem, l);
            EXPECT_EQ(dialogos.textos(), c.pergunta ? QStringList{*c.pergunta} : QStringList());
            EXPECT_EQ(lista(l).emEdicao(), c.pergunta != nullptr);
            EXPECT_EQ(contar(tabela).toInt(), antes + (c.pergunta ? 0 : 1));
            logica->clicar(AcaoPedido::CancelarItem, l);
        }
    EXPECT_TRUE(dialogos.roteiroEsgotado());
    // 10 + 0,5 x 10 + 6 x 3 + 10 x 5 returned; 30 + the same replaced.
    EXPECT_EQ(totais(20), QStringLiteral("83/103/20"));

    // Yes to the question abandons the item.
    novoItemEm(kDev, QString(), QStringLiteral("1"));
    dialogos.responder(Resposta::Sim);
    logica->clicar(AcaoPedido::SalvarItem, kDev);
    EXPECT_FALSE(lista(kDev).emEdicao());
}

TEST_F(TrocaTeste, EditarItemEditaOCabecalhoEProximoSoComTudoEmRepouso)
{
    pasta.executar(QStringLiteral("INSERT INTO tbpedido_troca1 (nr_pedido, idfunc, codigo, quantidade) VALUES"
                                  " (20, '12', 'P1', 2)"));
    abrirTroca();
    logica->clicar(AcaoPedido::ProximoItem, kSub);
    ASSERT_EQ(itemDe(kSub, "codigo"), QStringLiteral("P1"));
    logica->clicar(AcaoPedido::EditarItem, kSub);
    EXPECT_EQ(dm->QyPedido.estado(), EstadoConjunto::Edicao);
    EXPECT_EQ(lista(kSub).estado(), EstadoConjunto::Edicao);
    EXPECT_EQ(itemDe(kSub, "codigo"), QStringLiteral("P1"));
    EXPECT_EQ(visao.focos.back(), CaixaPedido::ItemCodigo);
    EXPECT_EQ(visao.listasFocadas.back(), kSub);
    logica->clicar(AcaoPedido::Cancelar);
    EXPECT_FALSE(lista(kSub).emEdicao());

    logica->clicar(AcaoPedido::AnteriorItem, kSub);
    logica->clicar(AcaoPedido::Editar);
    logica->clicar(AcaoPedido::ProximoItem, kSub); // the header is being edited: nothing happens
    EXPECT_EQ(itemDe(kSub, "codigo"), QStringLiteral("E5"));
    logica->clicar(AcaoPedido::Cancelar);
    logica->clicar(AcaoPedido::ProximoItem, kSub);
    EXPECT_EQ(itemDe(kSub, "codigo"), QStringLiteral("P1"));
}

TEST_F(TrocaTeste, ExcluirItemRecalculaETerminaComOCabecalhoEmEdicao)
{
    pasta.executar(QStringLiteral("UPDATE tbproduto SET PRECOVENDA=4 WHERE CODIGO='E5'"));
    abrirTroca();
    dialogos.responder(Resposta::Sim);
    logica->clicar(AcaoPedido::ExcluirItem, kDev);
    EXPECT_EQ(dialogos.textos(), QStringList{QStringLiteral("Deseja realmente deletar o item: ( P1 ) ?")});
    EXPECT_EQ(dialogos.registros().front().padrao, Resposta::Nao);
    EXPECT_EQ(contar(QStringLiteral("tbpedido_troca2")), QStringLiteral("0"));
    // The replacement item was priced again on the way.
    EXPECT_EQ(totais(20), QStringLiteral("0/40/40"));
    EXPECT_EQ(dm->QyPedido.estado(), EstadoConjunto::Edicao);
    EXPECT_EQ(pedidoAtual(), QStringLiteral("20"));

    logica->clicar(AcaoPedido::Cancelar);
    dialogos.responder(Resposta::Nao);
    logica->clicar(AcaoPedido::Excluir);
    EXPECT_EQ(dialogos.textos().back(), QStringLiteral("Deseja realmente deletar o pedido: ( 20 )"));
}

TEST_F(TrocaTeste, ImportarPendenciaSoNumaSubstituicaoEmEdicao)
{
    pasta.executar(QStringLiteral(
        "INSERT INTO tbpedido_pendente (nr_pedido, idfunc, codigo, quantidade, cd_desconto1, cd_desconto2,"
        " cd_desconto3, situacao, data_pendente) VALUES"
        " (8, '12', 'P1', 7, 'B', '0', '0', 'Disponível', '2026-11-01 09:00:00');"));
    abrirTroca();
    logica->clicar(AcaoPedido::NovoItem, kDev);
    logica->clicar(AcaoPedido::ImportarPendencia, kSub); // only a returned item is being edited
    EXPECT_TRUE(dialogos.registros().empty());
    logica->clicar(AcaoPedido::CancelarItem, kDev);

    logica->clicar(AcaoPedido::NovoItem, kSub);
    dialogos.pesquisa(escolher(QStringLiteral("codigo"), QStringLiteral("P1")));
    logica->clicar(AcaoPedido::ImportarPendencia, kSub);
    EXPECT_FALSE(lista(kSub).emEdicao());
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT codigo || '/' || quantidade || '/' || valorTotal FROM "
                                             "tbpedido_troca1 WHERE codigo='P1'")),
              QStringLiteral("P1/7/70"));
    EXPECT_EQ(contar(QStringLiteral("tbpedido_pendente")), QStringLiteral("0"));
}

TEST_F(TrocaTeste, PesquisaDeClienteSoEscreveOCodigoESaidaDoCodigoNaoFazNada)
{
    abrirTroca();
    logica->clicar(AcaoPedido::Editar);
    dialogos.pesquisa(escolher(QStringLiteral("idcliente"), QStringLiteral("2")));
    logica->pesquisarCliente();
    EXPECT_EQ(dm->QyPedido.campo(QStringLiteral("idCliente")).texto(), QStringLiteral("2"));
    EXPECT_EQ(dm->QyCliente.campo(QStringLiteral("IdCliente")).texto(), QStringLiteral("1"));
    dialogos.pesquisa([](LogicaPesquisa &) {});
    logica->pesquisarCliente();
    EXPECT_TRUE(dm->QyPedido.campo(QStringLiteral("idCliente")).nulo());

    dm->QyPedido.campo(QStringLiteral("idCliente")).setTexto(QStringLiteral("1"));
    logica->saiuCodigoCliente();
    EXPECT_TRUE(dm->QyPedido.campo(QStringLiteral("idforma")).nulo());
    EXPECT_TRUE(visao.focos.empty());
}

TEST_F(TrocaTeste, SaidaDeQualquerCaixaDoBlocoConfereOProdutoDaSuaLista)
{
    abrirTroca();
    logica->clicar(AcaoPedido::NovoItem, kDev);
    escreverEm(kDev, "codigo", QStringLiteral("NAOEXISTE"));
    logica->saiu(CaixaPedido::ItemTotal, kDev);
    EXPECT_TRUE(lista(kDev).campo(QStringLiteral("codigo")).nulo());
    EXPECT_EQ(visao.focos.back(), CaixaPedido::ItemCodigo);
    EXPECT_EQ(visao.listasFocadas.back(), kDev);
    const std::size_t focos = visao.focos.size();
    escreverEm(kDev, "codigo", QStringLiteral("M25"));
    escreverEm(kDev, "quantidade", QStringLiteral("2,5"));
    logica->saiu(CaixaPedido::ItemDescricao, kDev);
    EXPECT_EQ(itemDe(kDev, "valorTotal"), QStringLiteral("5"));
    EXPECT_EQ(visao.focos.size(), focos); // a known product moves no focus
    EXPECT_EQ(itemDe(kSub, "codigo"), QStringLiteral("E5"));

    logica->saiu(CaixaPedido::ItemCodigo, kSub); // that list is at rest: nothing
    dialogos.pesquisa(escolher(QStringLiteral("codigo"), QStringLiteral("M6")));
    logica->pesquisarItem(kDev);
    EXPECT_EQ(itemDe(kDev, "codigo"), QStringLiteral("M6"));
    logica->pesquisarItem(kSub); // at rest: no search
    EXPECT_EQ(dialogos.registros().size(), 1u);
}

TEST_F(TrocaTeste, PesquisaDeTrocaComAlgoEmEdicaoPedeParaSalvar)
{
    abrirTroca();
    logica->clicar(AcaoPedido::NovoItem, kSub);
    logica->clicar(AcaoPedido::PesquisarPedido);
    EXPECT_EQ(dialogos.textos(),
              QStringList{QStringLiteral("Clique em SALVAR o pedido/item antes de gerar o relatório.")});
    EXPECT_EQ(dialogos.registros().front().titulo, kAtencao);
}

// Closing asks nothing: what is unsaved is saved with its totals, so a new
// exchange never stays stored without them (and out of the list).
TEST_F(TrocaTeste, FecharSemPerguntaSalvaATrocaComSeusTotais)
{
    abrirTroca();
    logica->clicar(AcaoPedido::Novo);
    dm->QyPedido.campo(QStringLiteral("idCliente")).setInteiro(1);
    dm->QyPedido.campo(QStringLiteral("observacao")).setTexto(QStringLiteral("troca nova"));
    EXPECT_TRUE(logica->podeFechar());
    EXPECT_TRUE(dialogos.registros().empty());
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT vl_diferenca_troca FROM tbpedido WHERE observacao='troca nova'")),
              QStringLiteral("0"));

    // An item that fails its checks keeps the window open.
    novoItemEm(kSub, QString(), QStringLiteral("1"));
    dialogos.responder(Resposta::Nao);
    EXPECT_FALSE(logica->podeFechar());
    EXPECT_EQ(dialogos.textos(), QStringList{kCodigoEmBranco});
    EXPECT_TRUE(lista(kSub).emEdicao());
}

TEST_F(TrocaTeste, FalhaAoGravarATrocaDeixaOBancoComoEstavaEODigitadoNaTela)
{
    pasta.executar(QStringLiteral("CREATE TRIGGER recusa BEFORE UPDATE ON tbpedido WHEN NEW.observacao='RECUSE' BEGIN"
                                  " SELECT RAISE(ABORT, 'troca recusada'); END;"));
    abrirTroca();
    logica->clicar(AcaoPedido::EditarItem, kSub);
    escreverEm(kSub, "quantidade", QStringLiteral("4"));
    novoItemEm(kDev, QStringLiteral("M6"), QStringLiteral("3")); // saves the edited replacement first
    ASSERT_EQ(totais(20), QStringLiteral("10/12/2"));
    dm->QyPedido.campo(QStringLiteral("observacao")).setTexto(QStringLiteral("RECUSE"));
    logica->clicar(AcaoPedido::SalvarItem, kDev);

    ASSERT_EQ(dialogos.registros().size(), 1u);
    EXPECT_TRUE(dialogos.textos().front().contains(QStringLiteral("troca recusada")));
    EXPECT_EQ(contar(QStringLiteral("tbpedido_troca2")), QStringLiteral("1"));
    EXPECT_EQ(totais(20), QStringLiteral("10/12/2"));
    EXPECT_EQ(dm->QyPedido.estado(), EstadoConjunto::Edicao);
    EXPECT_EQ(dm->QyPedido.campo(QStringLiteral("observacao")).texto(), QStringLiteral("RECUSE"));
    EXPECT_EQ(lista(kDev).estado(), EstadoConjunto::Insercao);
    EXPECT_EQ(itemDe(kDev, "codigo"), QStringLiteral("M6"));
    EXPECT_EQ(itemDe(kDev, "quantidade"), QStringLiteral("3"));
    EXPECT_EQ(itemDe(kDev, "nr_pedido"), QStringLiteral("20"));

    dm->QyPedido.campo(QStringLiteral("observacao")).setTexto(QStringLiteral("aceita"));
    logica->clicar(AcaoPedido::SalvarItem, kDev);
    EXPECT_EQ(totais(20), QStringLiteral("25/12/-13"));
    EXPECT_FALSE(lista(kDev).emEdicao());
}

// Cancelling the exchange abandons the item being typed too, instead of
// storing it unchecked when the list follows the header.
TEST_F(TrocaTeste, CancelarATrocaAbandonaOItemEmDigitacao)
{
    abrirTroca();
    novoItemEm(kDev, QStringLiteral("P1"), QStringLiteral("2"));
    logica->clicar(AcaoPedido::Cancelar);
    EXPECT_FALSE(dm->QyPedido.emEdicao());
    EXPECT_FALSE(lista(kDev).emEdicao());
    EXPECT_EQ(contar(QStringLiteral("tbpedido_troca2")), QStringLiteral("1"));
}

TEST_F(TrocaTeste, CoresDasGrades)
{
    pasta.executar(QStringLiteral("INSERT INTO tbpedido_troca2 (nr_pedido, idfunc, codigo, quantidade) VALUES"
                                  " (20, '12', 'E5', 90)"));
    abrirTroca();
    const QColor azul(0, 0, 255), vermelho(255, 0, 0), branco(Qt::white);
    // Replacement: 10 E5 with 5 in stock is red; returned items are always blue.
    EXPECT_EQ(logica->coresCelula(0, kSub).texto, branco);
    EXPECT_EQ(logica->coresCelula(0, kSub).fundo, vermelho);
    EXPECT_EQ(logica->coresCelula(0, kDev).fundo, azul);
    EXPECT_EQ(logica->coresCelula(1, kDev).texto, azul);
    EXPECT_EQ(logica->coresCelula(1, kDev).fundo, branco);
    EXPECT_FALSE(logica->teclaGrade(Qt::Key_1, true, false)); // no keys in the grids
}
