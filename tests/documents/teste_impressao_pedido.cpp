#include "documentos_teste.h"
#include "estado_pedido.h"
#include "impressao_pedido.h"
#include "pdf_teste.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace
{

class ImpressaoPedido : public DocumentosTeste
{
  protected:
    void SetUp() override
    {
        DocumentosTeste::SetUp();
        instalarModelos();
    }

    // What the order list shows: its filter, whether it is on, its orders and
    // the current one.
    QString lista()
    {
        QStringList nrs;
        for (int i = 0; i < dm->QyPedido.quantidade(); ++i)
            nrs << dm->QyPedido.registro(i).campo(QStringLiteral("nr_pedido")).texto();
        return QStringLiteral("%1 %2 [%3] %4")
            .arg(dm->QyPedido.filtro())
            .arg(dm->QyPedido.filtrado())
            .arg(nrs.join(u','))
            .arg(dm->QyPedido.campo(QStringLiteral("nr_pedido")).texto());
    }

    void esperarRestricoesDesfeitas()
    {
        EXPECT_FALSE(dm->QyCliente.filtrado());
        EXPECT_TRUE(dm->QyCliente.filtro().isEmpty());
        EXPECT_FALSE(dm->QyFuncionario.filtrado());
    }
};

// A long regular order: every item on the pages, the header row repeated,
// the customer block, the parameters in their value texts, the order list
// as it was and the order marked printed through the screen's save.
TEST_F(ImpressaoPedido, PedidoRenderizadoDoModeloEMarcadoImpresso)
{
    inserirPedido1234();
    pasta.executar(
        QStringLiteral("INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, vl_total_item) VALUES"
                       " (1300, '12', 57, 0), (1301, '99', 57, 0), (1302, '12', 57, NULL);"
                       "UPDATE tbpedido SET idforma = 5, nm_forma_pagamento = '30/60 dias', tp_localidade = '0';"
                       "INSERT INTO tblocalidades (tp_localidade, nm_localidade) VALUES ('0', 'PNS');"
                       "UPDATE tbpedido SET vl_total_item = 91336.038 WHERE nr_pedido = 1234;"));
    QStringList codigos;
    for (int i = 1; i <= 45; ++i) {
        const QString codigo = QStringLiteral("PRD%1").arg(i, 3, 10, QLatin1Char('0'));
        codigos << codigo;
        pasta.executar(QStringLiteral("INSERT INTO tbproduto (CODIGO, PRODUTO, ESTOQUE, FABRICANTE) VALUES"
                                      " ('%1', 'PRODUTO DE TESTE %1', 100, 'FAB%1');"
                                      "INSERT INTO tbpedido_item (nr_pedido, codigo, quantidade, valorUnitario,"
                                      " valorTotal, cd_desconto1) VALUES (1234, '%1', 2, 1000, 2000, 'G');")
                           .arg(codigo));
    }
    abrirNaTela(1234, "vl_total_item>=0");
    const QString antes = lista();

    ImprimirPedidoBotao(TipoPedido::Pedido, acoes(TipoPedido::Pedido));

    const QString pdf = pasta.arquivo(QStringLiteral("relatórios/pedido-1234.pdf"));
    EXPECT_EQ(dialogos.textos(QStringLiteral("abrir")), QStringList{pdf});
    EXPECT_EQ(dialogos.textos(QStringLiteral("mensagem")), QStringList{});
    EXPECT_EQ(marcado("impresso", 1234), QStringLiteral("1"));
    // The save re-totalled the order: 1336,038 and 45 items of 2000.
    EXPECT_EQ(lista(), antes);
    esperarRestricoesDesfeitas();

    const int paginas = PaginasPdf(pdf);
    ASSERT_GE(paginas, 2);
    const QString texto = TextoPdf(pdf);
    for (const char *esperado :
         {"PEDIDO DE VENDA", "Nº 1234", "25/03/2009 09:30:00", "12 - JOÃO DA SILVA", "MERCADO BOA VISTA LTDA",
          "LOJA BOA", "12.345.678/0001-90", "Rua 7, 120", "Goiânia / GO", "(62) 3333-4444", "compras@lojaboa.com.br",
          "30 dias - 30/60 dias", "3 - À vista", "Entregar pela manhã", "PARAFUSO SEXTAVADO", "ARRUELA LISA 1/4",
          "101,54", "1.234,50", "FIXAMAX", "Total do pedido: R$ 91.336,04", "05/10/2026 (R$ 1.234,50)",
          // the locality's name, not its code
          "PNS",
          // unit prices with the decimals they were computed with
          "10,1538", "8,23", "1.000,00", "30/11/2026 08:15:00"})
        EXPECT_TRUE(texto.contains(QString::fromUtf8(esperado))) << esperado;
    for (const QString &codigo : codigos)
        EXPECT_TRUE(texto.contains(codigo)) << codigo.toStdString();
    for (int pagina = 1; pagina <= paginas; ++pagina) {
        SCOPED_TRACE(pagina);
        const QString naPagina = TextoPdf(pdf, pagina);
        EXPECT_TRUE(naPagina.contains(QStringLiteral("Descrição"))) << "cabeçalho da tabela";
        EXPECT_TRUE(naPagina.contains(QStringLiteral("Página %1 de %2").arg(pagina).arg(paginas)));
        // Pages after the first say whose order they belong to.
        EXPECT_EQ(naPagina.contains(QStringLiteral("Pedido Nº 1234 - MERCADO BOA VISTA LTDA")), pagina > 1);
    }
    EXPECT_EQ(ImagensPdf(pdf), 1) << "logotipo";
}

// The other kinds through their own templates, connections and totals.
TEST_F(ImpressaoPedido, CadaTipoComSeuModelo)
{
    pasta.executar(QStringLiteral(
        "INSERT INTO tbcliente (IdCliente, Nome, Cidade, CliFPagto) VALUES (58, 'PADARIA SÃO JOÃO', 'Anápolis', '77');"
        "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, vl_total_venda_casada) VALUES (20, '12', 58, 24.69);"
        "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, vl_total_pacote, vl_qtd_pacote, vl_media_pacote) VALUES"
        " (21, '12', 57, 37.7295, 4, 9.4324);"
        "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, vl_total_troca1, vl_total_troca2, vl_diferenca_troca)"
        " VALUES (22, '12', 57, 10, 16.46, 6.46);"
        "INSERT INTO tbpedido_venda_casada (nr_pedido, codigo, quantidade, valorUnitario, valorTotal)"
        " VALUES (20, '7891000', 3, 8.23, 24.69);"
        "INSERT INTO tbpedido_pacote (nr_pedido, codigo, quantidade, valorUnitario, valorTotal, cd_desconto1)"
        " VALUES (21, 'ABC123', 2.5, 10.1538, 25.3845, 'G'), (21, '7891000', 1.5, 8.23, 12.345, '0');"
        "INSERT INTO tbpedido_troca2 (nr_pedido, codigo, quantidade, valorUnitario, valorTotal)"
        " VALUES (22, 'ABC123', 1, 10, 10);"
        "INSERT INTO tbpedido_troca1 (nr_pedido, codigo, quantidade, valorUnitario, valorTotal)"
        " VALUES (22, '7891000', 2, 8.23, 16.46);"));
    struct Caso {
        TipoPedido tipo;
        int nr;
        const char *condicao;
        const char *pdf;
        std::vector<const char *> textos;
    } const casos[] = {
        {TipoPedido::VendaCasada,
         20,
         "vl_total_venda_casada>=0",
         "venda-20.pdf",
         {"VENDA CASADA", "Nº 20", "PADARIA SÃO JOÃO", "ARRUELA LISA 1/4", "Total do pedido: R$ 24,69"}},
        {TipoPedido::Pacote,
         21,
         "vl_total_pacote>=0",
         "pacote-21.pdf",
         {"PACOTE", "Nº 21", "MERCADO BOA VISTA LTDA", "2,5", "1,5", "25,38", "12,35",
          "Quantidade total: 4 Preço médio: R$ 9,43", "Total do pacote: R$ 37,73"}},
        {TipoPedido::Troca,
         22,
         "vl_total_troca1>=0",
         "troca-22.pdf",
         {"TROCA DE MERCADORIAS", "Nº 22", "MERCADO BOA VISTA LTDA", "ITENS DEVOLVIDOS", "PARAFUSO SEXTAVADO",
          // As stored by the save before the print, which re-priced the
          // returned item at today's 10,1538.
          "ITENS EM SUBSTITUIÇÃO", "ARRUELA LISA 1/4", "Total devolvido 10,15", "Total em substituição 16,46",
          "Diferença da troca: R$ 6,31"}},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.pdf);
        abrirNaTela(c.nr, c.condicao);
        const QString antes = lista();
        ImprimirPedidoBotao(c.tipo, acoes(c.tipo));
        const QString pdf = pasta.arquivo(QStringLiteral("relatórios/") + QString::fromUtf8(c.pdf));
        ASSERT_EQ(dialogos.textos(QStringLiteral("abrir")), QStringList{pdf})
            << dialogos.textos().join(u'\n').toStdString();
        const QString texto = TextoPdf(pdf).simplified();
        for (const char *esperado : c.textos)
            EXPECT_TRUE(texto.contains(QString::fromUtf8(esperado))) << esperado << "\n" << texto.toStdString();
        EXPECT_FALSE(texto.contains(QStringLiteral(" - À vista"))) << "forma padrão inexistente";
        EXPECT_EQ(marcado("impresso", c.nr), QStringLiteral("1"));
        EXPECT_EQ(lista(), antes);
        esperarRestricoesDesfeitas();
        dialogos.limpar();
        dm.reset();
    }
}

// The PDF names the order's own representative whoever prints it: on the
// supervisor's installation (999) too, and one the employee table does not
// hold is named by number alone, never by another's name.
TEST_F(ImpressaoPedido, PdfNomeiaORepresentanteDoProprioPedido)
{
    inserirPedido1234();
    pasta.executar(QStringLiteral("UPDATE tbconfiguracoes SET cod_funcionario = '999';"
                                  "DELETE FROM tbfuncionario;"
                                  "INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('999', 'SUPERVISOR GERAL'),"
                                  " ('12', 'JOÃO DA SILVA');"
                                  "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, vl_total_item, vl_total_pacote)"
                                  " VALUES (1240, '31', 57, 0, NULL), (1241, '12', 57, NULL, 0);"));
    const QRegularExpression representante(QStringLiteral("Representante: ([^\\n]*)"));
    const auto linhaDoRepresentante = [&](const char *pdf) {
        return representante.match(TextoPdf(pasta.arquivo(QStringLiteral("relatórios/") + QString::fromUtf8(pdf))))
            .captured(1)
            .trimmed();
    };
    abrir(1234);
    ASSERT_TRUE(dm->FiltroFuncionario.isEmpty()) << "o supervisor vê os pedidos de todos";
    dm->QyPedido.setFiltro(QStringLiteral("vl_total_item>=0"));
    dm->QyPedido.setFiltrado(true);
    irPara(1234);
    ImprimirPedidoBotao(TipoPedido::Pedido, acoes(TipoPedido::Pedido));
    EXPECT_EQ(linhaDoRepresentante("pedido-1234.pdf"), QStringLiteral("12 - JOÃO DA SILVA"));
    EXPECT_EQ(dm->QyFuncionario.quantidade(), 2);
    esperarRestricoesDesfeitas();

    irPara(1240);
    ImprimirPedidoBotao(TipoPedido::Pedido, acoes(TipoPedido::Pedido));
    EXPECT_EQ(linhaDoRepresentante("pedido-1240.pdf"), QStringLiteral("31"));
    esperarRestricoesDesfeitas();

    dm->QyPedido.setFiltro(QStringLiteral("vl_total_pacote>=0"));
    irPara(1241);
    ImprimirPedidoBotao(TipoPedido::Pacote, acoes(TipoPedido::Pacote));
    EXPECT_EQ(linhaDoRepresentante("pacote-1241.pdf"), QStringLiteral("12 - JOÃO DA SILVA"));
    EXPECT_EQ(dm->QyFuncionario.quantidade(), 2);
    EXPECT_EQ(dialogos.textos(QStringLiteral("mensagem")), QStringList{});
}

// Stock checks of the print button per kind, and the unsaved order.
TEST_F(ImpressaoPedido, BotaoBloqueiaSemEstoqueOuSemSalvar)
{
    pasta.executar(QStringLiteral(
        "INSERT INTO tbproduto (CODIGO, PRODUTO, ESTOQUE) VALUES ('POUCO', 'ITEM COM 1', 1), ('ZERO', 'SEM', 0);"
        "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, vl_total_item) VALUES (30, '12', 57, 0), (31, '12', 57, "
        "0),"
        " (32, '12', 57, 0), (33, '12', 57, 0), (34, '12', 57, 0), (35, '12', 57, 0), (36, '12', 57, 0);"
        "INSERT INTO tbpedido_item (nr_pedido, codigo, quantidade) VALUES (30, 'ABC123', 1), (30, 'POUCO', 5),"
        " (31, 'ZERO', 0), (32, 'SUMIU', 1), (33, 'POUCO', 1);"
        "INSERT INTO tbpedido_pacote (nr_pedido, codigo, quantidade) VALUES (34, 'POUCO', 1.5);"
        "INSERT INTO tbpedido_troca2 (nr_pedido, codigo, quantidade) VALUES (35, 'POUCO', 9);"
        "INSERT INTO tbpedido_venda_casada (nr_pedido, codigo, quantidade) VALUES (36, 'ZERO', 9);"));
    const QString pedido = QStringLiteral("O pedido não pode ser gerado. Verifique se os itens cadastrados estão no "
                                          "estoque.");
    struct Caso {
        TipoPedido tipo;
        int nr;
        QString mensagem; // empty: printed
    } const casos[] = {
        {TipoPedido::Pedido, 30, pedido},
        {TipoPedido::Pedido, 31, pedido},
        {TipoPedido::Pedido, 32, pedido},
        {TipoPedido::Pedido, 33, {}},
        {TipoPedido::Pacote, 34,
         QStringLiteral("O pacote não pode ser gerado. Verifique se os itens cadastrados estão no estoque.")},
        {TipoPedido::Troca, 35, {}},
        {TipoPedido::VendaCasada, 36, {}},
    };
    abrir(30);
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nr);
        irPara(c.nr);
        dialogos.limpar();
        ImprimirPedidoBotao(c.tipo, acoes(c.tipo));
        EXPECT_EQ(dialogos.textos(QStringLiteral("mensagem")),
                  c.mensagem.isEmpty() ? QStringList{} : QStringList{c.mensagem});
        EXPECT_EQ(dialogos.textos(QStringLiteral("abrir")).size(), c.mensagem.isEmpty() ? 1 : 0);
        EXPECT_EQ(marcado("impresso", c.nr), c.mensagem.isEmpty() ? QStringLiteral("1") : QStringLiteral("0"));
        const ConjuntoDados &itens = ItensDoPedido(c.tipo);
        EXPECT_EQ(itens.numeroRegistro(), itens.vazio() ? 0 : 1) << "lista no primeiro item";
    }

    dialogos.limpar();
    irPara(33);
    dm->QyPedidoItem.editar();
    dm->QyPedidoItem.campo(QStringLiteral("quantidade")).setInteiro(2);
    ImprimirPedidoBotao(TipoPedido::Pedido, acoes(TipoPedido::Pedido));
    ASSERT_EQ(dialogos.registros().size(), 1u);
    EXPECT_EQ(dialogos.registros()[0].texto,
              QStringLiteral("Clique em SALVAR o pedido/item antes de gerar o relatório."));
    EXPECT_EQ(dialogos.registros()[0].titulo, QStringLiteral("Atenção"));
    EXPECT_EQ(dialogos.registros()[0].icone, Icone::Informacao);
}

// A failed report run leaves no data set narrowed to the order and shows the
// error; the order is not marked printed.
TEST_F(ImpressaoPedido, FalhaDoRelatorioRestauraEMostraOErro)
{
    inserirPedido1234();
    pasta.executar(QStringLiteral("INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, vl_total_item) VALUES"
                                  " (1235, '12', 57, 0);"
                                  "INSERT INTO tbcliente (IdCliente, Nome) VALUES (60, 'OUTRO');"));
    ASSERT_TRUE(QFile::remove(pasta.arquivo(QStringLiteral("pedido.rav"))));
    abrirNaTela(1234, "vl_total_item>=0");
    const QString antes = lista();

    ImprimirPedidoBotao(TipoPedido::Pedido, acoes(TipoPedido::Pedido));

    ASSERT_EQ(dialogos.registros().size(), 1u);
    EXPECT_EQ(dialogos.registros()[0].icone, Icone::Erro);
    EXPECT_TRUE(dialogos.registros()[0].texto.startsWith(QStringLiteral("Modelo de relatório não encontrado")));
    EXPECT_EQ(lista(), antes);
    EXPECT_EQ(dm->QyCliente.quantidade(), 2);
    esperarRestricoesDesfeitas();
    EXPECT_EQ(dm->QyPedido.estado(), EstadoConjunto::Navegacao);
    EXPECT_EQ(marcado("impresso", 1234), QStringLiteral("0"));
    EXPECT_FALSE(QFileInfo::exists(pasta.arquivo(QStringLiteral("relatórios/pedido-1234.pdf"))));
}

} // namespace
