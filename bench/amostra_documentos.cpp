// Prints every document the program ships a template for, on a copy of the
// demo installation, into one folder with a name per document, so that two
// builds can be compared page by page (pdftoppm) and by text (pdftotext).
// Adds to the copy an order of each kind and a long order (many items, a
// long description, a long observation) to show page breaks.
//
// Usage: amostra_documentos <copy of the program folder> <output folder>

#include "banco_bench.h"
#include "logica_pedido.h"
#include "pendencia.h"
#include "relatorios.h"
#include "udm.h"
#include "variante_pedido.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

namespace
{

class VisaoMuda : public VisaoPedido
{
  public:
    void focar(CaixaPedido, int) override {}
    void confirmar(CaixaPedido, int) override {}
    void confirmarFoco() override {}
    void colorirPainel(const QColor &) override {}
    void fechar() override {}
};

// Every period covers the demo's orders; the price list alternates CIF1
// and CIF2; nothing is purged or mailed.
class DialogosAmostra : public DialogosTerminal
{
  public:
    Resposta pergunta(const QString &texto, const QString &, Resposta) override
    {
        if (texto.contains(QStringLiteral("CIF1")))
            return (m_cif++ % 2 == 0) ? Resposta::Sim : Resposta::Nao;
        return Resposta::Nao;
    }
    QString caixaEntrada(const QString &titulo, const QString &rotulo, const QString &) override
    {
        if (titulo == QLatin1String("Data Inicial") || rotulo.contains(QStringLiteral("inicial")))
            return QStringLiteral("01/01/2000");
        if (titulo == QLatin1String("Data Final") || rotulo.contains(QStringLiteral("final")))
            return QStringLiteral("31/12/2099");
        return {};
    }

  private:
    int m_cif = 0;
};

const char *const kPedidos = R"(
INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido, impresso, enviado, vl_total_pacote, vl_qtd_pacote, vl_media_pacote, observacao)
  SELECT 901, idFunc, idCliente, dt_pedido, 0, 0, 0, 0, 0, 'Pacote de amostra' FROM tbpedido ORDER BY nr_pedido LIMIT 1;
INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido, impresso, enviado, vl_total_troca1, vl_total_troca2, vl_diferenca_troca)
  SELECT 902, idFunc, idCliente, dt_pedido, 0, 0, 0, 0, 0 FROM tbpedido ORDER BY nr_pedido LIMIT 1;
INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido, impresso, enviado, vl_total_venda_casada)
  SELECT 903, idFunc, idCliente, dt_pedido, 0, 0, 0 FROM tbpedido ORDER BY nr_pedido LIMIT 1;
INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido, impresso, enviado, vl_total_item, observacao)
  SELECT 904, idFunc, idCliente, dt_pedido, 0, 0, 0,
         'Entregar pela manhã, portão lateral. ' || replace(hex(zeroblob(400)), '00', 'Conferir as caixas na entrega. ')
  FROM tbpedido ORDER BY nr_pedido LIMIT 1;
UPDATE tbproduto SET PRODUTO = PRODUTO || ' — embalagem econômica com doze unidades de quinhentos gramas cada, linha profissional'
  WHERE CODIGO = (SELECT CODIGO FROM tbproduto WHERE ESTOQUE > 50 ORDER BY CODIGO LIMIT 1 OFFSET 3);
CREATE TEMP TABLE amostra AS SELECT CODIGO, PRECOVENDA FROM tbproduto WHERE ESTOQUE > 50 ORDER BY CODIGO LIMIT 90;
INSERT INTO tbpedido_pacote (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal, cd_desconto1)
  SELECT 901, '12', CODIGO, 2, PRECOVENDA, 2 * PRECOVENDA, 'A' FROM amostra LIMIT 6;
INSERT INTO tbpedido_troca1 (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal)
  SELECT 902, '12', CODIGO, 1, PRECOVENDA, PRECOVENDA FROM amostra LIMIT 4;
INSERT INTO tbpedido_troca2 (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal)
  SELECT 902, '12', CODIGO, 1, PRECOVENDA, PRECOVENDA FROM amostra LIMIT 3 OFFSET 10;
INSERT INTO tbpedido_venda_casada (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal)
  SELECT 903, '12', CODIGO, 3, PRECOVENDA, 3 * PRECOVENDA FROM amostra LIMIT 5;
INSERT INTO tbpedido_item (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal, cd_desconto1, cd_desconto2)
  SELECT 904, '12', CODIGO, 1 + rowid % 5, PRECOVENDA, (1 + rowid % 5) * PRECOVENDA, 'B', 'K' FROM amostra;
)";

void imprimir(const VariantePedido &variante, int numero)
{
    VisaoMuda visao;
    LogicaPedido logica(variante, visao);
    logica.abrir();
    if (!DM->QyPedido.localizar(QStringLiteral("nr_pedido"), QString::number(numero)))
        std::printf("pedido %d não encontrado\n", numero);
    logica.clicar(AcaoPedido::Imprimir);
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "uso: amostra_documentos <pasta do programa> <pasta de saída>\n");
        return 2;
    }
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    const QString pasta = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + QLatin1Char('/');
    const QDir saida(QString::fromLocal8Bit(argv[2]));
    QDir().mkpath(saida.path());
    sqlite3 *db = nullptr;
    sqlite3_open((pasta + QStringLiteral("corlando.db")).toUtf8().constData(), &db);
    exec(db, kPedidos);
    sqlite3_close(db);

    DialogosAmostra dialogos;
    Dialogos::definir(&dialogos);
    TDM dm(pasta);
    const QDir relatorios(pasta + QStringLiteral("relatórios"));
    auto guardar = [&](const char *nome) {
        for (const QString &f : relatorios.entryList(QDir::Files)) {
            QFile::remove(saida.filePath(QString::fromUtf8(nome)));
            QFile::rename(relatorios.filePath(f), saida.filePath(QString::fromUtf8(nome)));
        }
    };
    imprimir(VariantePedidoRegular(), 1);
    guardar("pedido.pdf");
    imprimir(VariantePedidoRegular(), 904);
    guardar("pedido-longo.pdf");
    imprimir(VariantePedidoPacote(), 901);
    guardar("pacote.pdf");
    imprimir(VariantePedidoTroca(), 902);
    guardar("troca.pdf");
    imprimir(VariantePedidoVendaCasada(), 903);
    guardar("venda_casada.pdf");
    ChecarPendencia();
    guardar("pendente.pdf");
    RelatorioTodosPedidos();
    guardar("todos-pedidos.pdf");
    RelatorioPedidosPorPeriodo();
    guardar("todos-pedidos-periodo.pdf");
    RelatorioClientes(ListaClientes::Simples);
    guardar("todos-clientes-simples.pdf");
    RelatorioClientes(ListaClientes::Completa);
    guardar("todos-clientes.pdf");
    RelatorioClientesPorCidades();
    guardar("grupo-clientes.pdf");
    RelatorioTodosProdutos();
    guardar("todos-produtos-cif1.pdf");
    RelatorioTodosProdutos();
    guardar("todos-produtos-cif2.pdf");
    RelatorioVendasTotais();
    guardar("vendas_totais.pdf");
    return 0;
}
