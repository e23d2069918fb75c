#pragma once

#include "acoes_cabecalho.h"
#include "dialogos_roteiro.h"
#include "impressao_qt.h"
#include "pasta_programa.h"
#include "totais.h"
#include "udm.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <memory>

// A program folder with a representative (code 12), the settings row, two
// payment forms, a customer (57, trade name LOJA BOA) and two products, plus
// the "relatórios" folder. Tests add their orders with SQL and then open the
// data module on one of them.
class DocumentosTeste : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(pasta.caminho()).mkdir(QStringLiteral("relatórios")));
        pasta.executar(QStringLiteral(
            "INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('12', 'JOÃO DA SILVA');"
            "INSERT INTO tbconfiguracoes (cod_funcionario, ultima_atualizacao) VALUES ('12', '2026-11-30 08:15:00');"
            "INSERT INTO tbforma (idforma, codigo, Forma) VALUES (3, 'AV', 'À vista'), (5, '30D', '30 dias');"
            "INSERT INTO tbcliente (IdCliente, Nome, fantasia, cnpj, End, Bairro, Cidade, UF, CEP, Tel, Email,"
            " CliFPagto, ultimacompra, valultcompra) VALUES (57, 'MERCADO BOA VISTA LTDA', 'LOJA BOA',"
            " '12.345.678/0001-90', 'Rua 7, 120', 'Centro', 'Goiânia', 'GO', '74000-100', '(62) 3333-4444',"
            " 'compras@lojaboa.com.br', '3', '2026-10-05 00:00:00', 1234.5);"
            "INSERT INTO tbproduto (CODIGO, PRODUTO, UNID, ESTOQUE, FABRICANTE, PRECOVENDA) VALUES"
            " ('ABC123', 'PARAFUSO SEXTAVADO ZINCADO 1/4 X 2 POLEGADAS CAIXA COM 100 UNIDADES', 'PC', 100,"
            " 'FIXAMAX', 10.1538),"
            " ('7891000', 'ARRUELA LISA 1/4', 'UN', 500, 'FIXAMAX', 8.23);"));
    }

    // Creates the data module and makes order `nr` the current header.
    void abrir(int nr)
    {
        dm = std::make_unique<TDM>(pasta.caminho());
        ASSERT_TRUE(dialogos.registros().empty()) << dialogos.textos().join(QLatin1Char('\n')).toStdString();
        irPara(nr);
    }
    void irPara(int nr) { ASSERT_TRUE(dm->QyPedido.localizar(QStringLiteral("nr_pedido"), QString::number(nr))) << nr; }

    // The order list as the screen of the kind shows it.
    void abrirNaTela(int nr, const char *condicaoTipo)
    {
        abrir(nr);
        dm->QyPedido.setFiltro(dm->FiltroFuncionario + QStringLiteral(" AND ") + QString::fromUtf8(condicaoTipo));
        dm->QyPedido.setFiltrado(true);
        irPara(nr);
    }

    // The screen's header actions: its save re-totals and stores the order.
    AcoesCabecalho acoes(TipoPedido tipo)
    {
        return {[this] { dm->QyPedido.editar(); }, [tipo] { RecalcularTotais(tipo); }};
    }

    // A flag of a stored order header, "0" for NULL.
    QString marcado(const char *coluna, int nr)
    {
        return pasta.consultar(QStringLiteral("SELECT coalesce(%1, 0) FROM tbpedido WHERE nr_pedido = %2")
                                   .arg(QString::fromUtf8(coluna))
                                   .arg(nr));
    }

    // The order templates of the source tree and a logo, as an installation
    // has them.
    void instalarModelos()
    {
        // The source tree's templates folder.
        const QDir fonte(QStringLiteral(PASTA_FONTES "/templates"));
        for (const char *nome : {"pedido.rav", "venda_casada.rav", "pacote.rav", "troca.rav"}) {
            const QString arquivo = QString::fromUtf8(nome);
            ASSERT_TRUE(QFile::copy(fonte.filePath(arquivo), pasta.arquivo(arquivo))) << nome;
        }
        QImage logo(240, 64, QImage::Format_RGB32);
        logo.fill(QColor(31, 58, 95));
        ASSERT_TRUE(logo.save(pasta.arquivo(QStringLiteral("logo.bmp"))));
    }

    // The regular order 1234 of 25/03/2009 with its two items.
    void inserirPedido1234()
    {
        pasta.executar(QStringLiteral(
            "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido, vl_total_item, cif, observacao,"
            " impresso, enviado) VALUES (1234, '12', 57, '2009-03-25 09:30:00', 1336.038, 'Sim', 'Entregar pela manhã',"
            " 0, 0);"
            "INSERT INTO tbpedido_item (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal,"
            " cd_desconto1, cd_desconto2, cd_desconto3) VALUES"
            " (1234, '12', 'ABC123', 10, 10.1538, 101.538, 'A', '0', '0'),"
            " (1234, '12', '7891000', 150, 8.23, 1234.5, '0', '0', '0');"));
    }

    PastaProgramaTeste pasta;
    DialogosRoteiro dialogos;
    std::unique_ptr<TDM> dm;
};
