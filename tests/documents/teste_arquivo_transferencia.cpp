#include "arquivo_transferencia.h"
#include "documentos_teste.h"
#include "erro.h"

#include <QDir>
#include <QFile>

#include <functional>

namespace
{

const QDateTime kMomento(QDate(2009, 3, 25), QTime(14, 5, 9));

class ArquivoTransferencia : public DocumentosTeste
{
  protected:
    QByteArray lerArquivo(const QString &nome)
    {
        QFile arquivo(pasta.arquivo(QStringLiteral("relatórios/") + nome));
        EXPECT_TRUE(arquivo.open(QIODevice::ReadOnly)) << nome.toStdString();
        return arquivo.readAll();
    }
    // The item lines of the file written for the current order.
    QStringList itens(TipoPedido tipo)
    {
        QStringList linhas = LinhasArquivoTransferencia(tipo, kMomento);
        return linhas.mid(1, linhas.size() - 2);
    }
};

TEST_F(ArquivoTransferencia, ExemploDoPedidoSaiByteAByte)
{
    inserirPedido1234();
    abrir(1234);
    GerarArquivoTransferencia(TipoPedido::Pedido, kMomento);

    const QByteArray esperado = "[ARQUIVO DE TRANSFERENCIA]25/03/2009-14:05:09\r\n"
                                "001ABC123              PARAFUSO SEXTAVADO ZINCADO 1/4 X 2 POLEGADAS CAIXA "
                                "250320090000001000000000010154012"
                                "1234  PC12345678000190\r\n"
                                "0027891000             ARRUELA LISA 1/4                                   "
                                "250320090000015000000000123450012"
                                "1234  UN12345678000190\r\n"
                                "[FIM DE ARQUIVO]\r\n";
    EXPECT_EQ(lerArquivo(QStringLiteral("pedido-1234cliente-57-LOJA BOAdata-25032009.txt")), esperado);
    EXPECT_EQ(esperado.split('\n').at(1).size(), 129 + 1);

    // Where the routine leaves the data sets.
    EXPECT_TRUE(dm->QyPedidoItem.fim());
    EXPECT_EQ(dm->QyProduto.campo(QStringLiteral("CODIGO")).texto(), QStringLiteral("7891000"));
    EXPECT_EQ(dm->QyCliente.campo(QStringLiteral("IdCliente")).texto(), QStringLiteral("57"));
    EXPECT_EQ(CaminhoArquivoTransferencia(TipoPedido::Pedido, kMomento.date()),
              pasta.arquivo(QStringLiteral("relatórios/pedido-1234cliente-57-LOJA BOAdata-25032009.txt")));
}

// Each kind walks its own list under its own prefix; an exchange writes only
// its replacement items; package quantities keep their decimals.
TEST_F(ArquivoTransferencia, CadaTipoComSuaListaESeuPrefixo)
{
    pasta.executar(QStringLiteral(
        "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido) VALUES (7, '12', 57, '2026-12-01 00:00:00');"
        "INSERT INTO tbpedido_pacote (nr_pedido, codigo, quantidade, valorTotal) VALUES (7, 'ABC123', 2.5, 25.384);"
        "INSERT INTO tbpedido_venda_casada (nr_pedido, codigo, quantidade, valorTotal) VALUES (7, '7891000', 3, 0);"
        "INSERT INTO tbpedido_troca2 (nr_pedido, codigo, quantidade, valorTotal) VALUES (7, 'ABC123', 1, 10);"
        "INSERT INTO tbpedido_troca1 (nr_pedido, codigo, quantidade, valorTotal) VALUES (7, '7891000', 0.25, 2.06);"));
    abrir(7);
    struct Caso {
        TipoPedido tipo;
        const char *arquivo;
        const char *quantidadeETotal;
    } const casos[] = {
        {TipoPedido::Pacote, "pacote-7cliente-57-LOJA BOAdata-25032009.txt", "000002,500000000002538"},
        {TipoPedido::VendaCasada, "pedido-7cliente-57-LOJA BOAdata-25032009.txt", "0000000300000000000000"},
        {TipoPedido::Troca, "troca-7cliente-57-LOJA BOAdata-25032009.txt", "00000,2500000000000206"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.arquivo);
        GerarArquivoTransferencia(c.tipo, kMomento);
        const QList<QByteArray> linhas = lerArquivo(QString::fromUtf8(c.arquivo)).split('\n');
        ASSERT_EQ(linhas.size(), 4); // three lines and the empty rest after the last CRLF
        EXPECT_EQ(linhas[1].mid(82, 22), QByteArray(c.quantidadeETotal));
    }
    // Only the regular order's file is missing: its list is empty here.
    GerarArquivoTransferencia(TipoPedido::Pedido, kMomento);
    EXPECT_EQ(lerArquivo(QStringLiteral("pedido-7cliente-57-LOJA BOAdata-25032009.txt")),
              "[ARQUIVO DE TRANSFERENCIA]25/03/2009-14:05:09\r\n[FIM DE ARQUIVO]\r\n");
}

TEST_F(ArquivoTransferencia, CamposQueFaltamOuTransbordam)
{
    pasta.executar(QStringLiteral(
        "INSERT INTO tbcliente (IdCliente, Nome, fantasia, cnpj) VALUES (58, 'SEM CNPJ', 'X', NULL),"
        " (59, 'INCOMPLETO', 'Y', '12.345.678/____-__');"
        "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido) VALUES"
        " (1, '12', 57, '2026-12-01 00:00:00'), (2, '12', 58, '2026-12-01 00:00:00'),"
        " (3, '12', 59, '2026-12-01 00:00:00'), (1234567, '12', 57, '2026-12-01 00:00:00');"
        "INSERT INTO tbpedido_item (nr_pedido, codigo, quantidade, valorTotal) VALUES"
        " (1, 'SUMIU', 1, 1), (1, 'CODIGO-COM-MAIS-DE-20', 123456789, 1), (2, 'abc123', 1, 1), (3, 'ABC123', 1, 1),"
        " (1234567, 'ABC123', 1, 1);"));
    abrir(1);
    const QString semProduto = itens(TipoPedido::Pedido).at(0);
    EXPECT_EQ(semProduto.size(), 127);
    EXPECT_EQ(semProduto.right(23), QStringLiteral("0121     12345678000190"));
    const QString longos = itens(TipoPedido::Pedido).at(1);
    EXPECT_TRUE(longos.startsWith(QStringLiteral("002CODIGO-COM-MAIS-DE-20 "))) << longos.toStdString();
    EXPECT_EQ(longos.mid(3 + 21 + 51 + 8, 11), QStringLiteral("12345678900"));
    EXPECT_EQ(longos.size(), 127 + 1 + 1);

    struct Caso {
        int nr;
        const char *final; // order number, unit and CNPJ fields
    } const casos[] = {
        {2, "2     PC              "},
        {3, "3     PC12345678______"},
        {1234567, "1234567PC12345678000190"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nr);
        irPara(c.nr);
        const QString linha = itens(TipoPedido::Pedido).value(0);
        EXPECT_TRUE(linha.endsWith(QString::fromUtf8(c.final))) << linha.toStdString();
    }
}

TEST_F(ArquivoTransferencia, TextoEmWindows1252EArquivoSubstituido)
{
    pasta.executar(QStringLiteral(
        "UPDATE tbcliente SET fantasia = 'AÇÃO' WHERE IdCliente = 57;"
        "INSERT INTO tbproduto (CODIGO, PRODUTO, UNID) VALUES ('AÇ1', 'AÇÚCAR CRISTAL', 'KG');"
        "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido) VALUES (8, '12', 57, '2026-12-01 00:00:00');"
        "INSERT INTO tbpedido_item (nr_pedido, codigo, quantidade, valorTotal) VALUES (8, 'AÇ1', 1, 1);"));
    abrir(8);
    GerarArquivoTransferencia(TipoPedido::Pedido, kMomento);
    pasta.executar(QStringLiteral("DELETE FROM tbpedido_item"));
    dm->QyPedidoItem.reabrir();
    GerarArquivoTransferencia(TipoPedido::Pedido, kMomento.addSecs(60));
    const QByteArray bytes = lerArquivo(QStringLiteral("pedido-8cliente-57-AÇÃOdata-25032009.txt"));
    EXPECT_EQ(bytes, "[ARQUIVO DE TRANSFERENCIA]25/03/2009-14:06:09\r\n[FIM DE ARQUIVO]\r\n");

    dm->QyPedidoItem.reabrir();
    pasta.executar(QStringLiteral("INSERT INTO tbpedido_item (nr_pedido, codigo, quantidade) VALUES (8, 'AÇ1', 1)"));
    dm->QyPedidoItem.reabrir();
    GerarArquivoTransferencia(TipoPedido::Pedido, kMomento);
    const QByteArray linha = lerArquivo(QStringLiteral("pedido-8cliente-57-AÇÃOdata-25032009.txt")).split('\n').at(1);
    EXPECT_TRUE(linha.startsWith("001A\xC7"
                                 "1                 A\xC7\xDA"
                                 "CAR CRISTAL"))
        << linha.toStdString();
}

// Every item line keeps its 129 bytes whatever the texts hold: a character
// the code page lacks is "?" (never Ctrl-Z), counted as one; a line break
// inside a text is a space; an order without a date has blanks there.
TEST_F(ArquivoTransferencia, TextosEstranhosNaoQuebramAsLarguras)
{
    pasta.executar(
        QStringLiteral("INSERT INTO tbproduto (CODIGO, PRODUTO, UNID) VALUES"
                       " ('CAF😀', 'CAFÉ ☕ FORTE' || char(13,10) || 'MOÍDO' || char(9) || 'FINO', 'P' || char(10)),"
                       " ('CHÁ', 'CHA' || char(769) || ' VERDE', 'UN');"
                       "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido) VALUES (9, '12', 57, NULL);"
                       "INSERT INTO tbpedido_item (nr_pedido, codigo, quantidade, valorTotal) VALUES"
                       " (9, 'CAF😀', 1, 1), (9, 'CHÁ', 2, 2);"));
    abrir(9);
    GerarArquivoTransferencia(TipoPedido::Pedido, kMomento);
    const QList<QByteArray> linhas =
        lerArquivo(QStringLiteral("pedido-9cliente-57-LOJA BOAdata-25032009.txt")).split('\n');
    ASSERT_EQ(linhas.size(), 5); // header, two items, trailer, and the empty rest after the last CRLF
    const QByteArray descricao = "CAF\xC9 ? FORTE  MO\xCD"
                                 "DO FINO";
    EXPECT_EQ(linhas[1], "001" + QByteArray("CAF?").leftJustified(20) + descricao.leftJustified(51) +
                             QByteArray(8, ' ') + "0000000100" + "000000000100" + "012" + "9     " + "P " +
                             "12345678000190\r");
    // A decomposed accent is written as the one character it shows.
    EXPECT_TRUE(linhas[2].startsWith("002CH\xC1                 CH\xC1 VERDE")) << linhas[2].toStdString();
    for (int i = 1; i <= 2; ++i) {
        EXPECT_EQ(linhas[i].size(), 129 + 1) << i;
        EXPECT_FALSE(linhas[i].contains('\x1A')) << i;
    }
}

// A trade name with a line break or a tab still gives one file in the
// reports folder, its name free of control characters.
TEST_F(ArquivoTransferencia, NomeFantasiaComControleNaoEntraNoNomeDoArquivo)
{
    inserirPedido1234();
    pasta.executar(QStringLiteral("UPDATE tbcliente SET fantasia = 'LOJA' || char(13, 10) || 'BOA' || char(9) || 'X'"));
    abrir(1234);
    GerarArquivoTransferencia(TipoPedido::Pedido, kMomento);
    const QStringList arquivos = QDir(pasta.arquivo(QStringLiteral("relatórios"))).entryList(QDir::Files);
    ASSERT_EQ(arquivos.size(), 1);
    EXPECT_EQ(arquivos[0], QStringLiteral("pedido-1234cliente-57-LOJA  BOA Xdata-25032009.txt"));
}

TEST_F(ArquivoTransferencia, ArquivoQueNaoPodeSerGravadoDaErro)
{
    inserirPedido1234();
    abrir(1234);
    struct Caso {
        const char *nome;
        std::function<void()> estragar;
    } const casos[] = {
        {"pasta ausente", [&] { QDir(pasta.caminho()).rmdir(QStringLiteral("relatórios")); }},
        {"barra no nome fantasia",
         [&] {
             QDir(pasta.caminho()).mkdir(QStringLiteral("relatórios"));
             QDir(pasta.caminho()).mkpath(QStringLiteral("relatórios/pedido-1234cliente-57-A"));
             pasta.executar(QStringLiteral("UPDATE tbcliente SET fantasia = 'A/B'"));
             dm->QyCliente.reabrir();
         }},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nome);
        c.estragar();
        EXPECT_THROW(GerarArquivoTransferencia(TipoPedido::Pedido, kMomento), Erro);
    }
    EXPECT_TRUE(QDir(pasta.arquivo(QStringLiteral("relatórios/pedido-1234cliente-57-A"))).isEmpty());
}

} // namespace
