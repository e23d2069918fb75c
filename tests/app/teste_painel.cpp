#include "dialogos_roteiro.h"
#include "pasta_programa.h"
#include "pdf_teste.h"
#include "tela_painel.h"
#include "tela_pedido.h"
#include "udm.h"
#include "uprincipal.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <gtest/gtest.h>

namespace
{

// Acts on the next modal window named `nome` once it is on screen (and,
// for an order screen, once it has done what it does on opening).
class AoAbrir
{
  public:
    AoAbrir(const char *nome, std::function<void(QWidget *)> ato)
        : m_nome(QString::fromLatin1(nome)), m_ato(std::move(ato))
    {
        m_relogio.setInterval(10);
        QObject::connect(&m_relogio, &QTimer::timeout, [this] {
            QWidget *tela = QApplication::activeModalWidget();
            if (!tela || tela->objectName() != m_nome || !tela->isVisible())
                return;
            m_relogio.stop();
            QTimer::singleShot(0, tela, [this, tela] {
                m_ato(tela);
                m_feito = true;
            });
        });
        m_relogio.start();
    }
    bool feito() const { return m_feito; }

  private:
    QString m_nome;
    std::function<void(QWidget *)> m_ato;
    QTimer m_relogio;
    bool m_feito = false;
};

// Customers cold by the order screen's colours, one never served, recent
// ones; sales of every kind; dates taken from today so that they stay cold.
class PainelTela : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        pasta.executar(QStringLiteral(
            "INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('12', 'JOÃO SILVA');"
            "INSERT INTO tbconfiguracoes (cod_funcionario) VALUES ('12');"
            "INSERT INTO tbforma (idforma, Forma) VALUES (3, 'BOLETO 30 DIAS');"
            "INSERT INTO tbproduto (CODIGO, PRODUTO, PRECOVENDA, ESTOQUE) VALUES ('P1', 'PARAFUSO', 10, 100);"
            "INSERT INTO tbcliente (IdCliente, Nome, CliFPagto, ultimacompra, valultcompra, mediaatraso) VALUES"
            " (1, 'MERCEARIA VITÓRIA', '3', datetime('now', 'localtime', '-45 days'), 150.25, 40),"
            " (2, 'PADARIA ESTRELA', '3', datetime('now', 'localtime', '-70 days'), 1234.5, NULL),"
            " (3, 'ARMAZÉM CENTRAL', '3', datetime('now', 'localtime', '-3 days'), 80, NULL),"
            " (4, 'BAZAR NOVO', '3', NULL, NULL, NULL);"
            "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido, cif, vl_total_item) VALUES"
            " (10, '12', 3, datetime('now', 'localtime'), 'Não', 30);"
            "INSERT INTO tbpedido_item (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal) VALUES"
            " (10, '12', 'P1', 3, 10, 30);"));
        ASSERT_TRUE(QDir(pasta.caminho()).mkdir(QStringLiteral("relatórios")));
        dm = std::make_unique<TDM>(pasta.caminho());
        principal.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&principal));
        principal.activateWindow();
    }

    // Runs `acoes` once the dashboard is open, then closes it.
    void comPainel(const std::function<void()> &abrir, const std::function<void(TfrmPainel &)> &acoes)
    {
        AoAbrir painel("TfrmPainel", [&](QWidget *tela) {
            acoes(*qobject_cast<TfrmPainel *>(tela));
            tela->close();
        });
        abrir();
        QDeadlineTimer prazo(10000);
        while (!painel.feito() && !prazo.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        ASSERT_TRUE(painel.feito());
        principal.activateWindow();
        QCoreApplication::processEvents();
    }

    QString consultar(const QString &sql) const { return pasta.consultar(sql); }

    DialogosRoteiro dialogos;
    PastaProgramaTeste pasta;
    TfrmPrincipal principal;
    std::unique_ptr<TDM> dm;
};

// The list shows what plain SQL finds 40 days or more since the last
// purchase, longest first; a click on one opens a new regular order for
// that customer, which saved is in the database under the representative.
TEST_F(PainelTela, ClienteEsfriandoClicadoAbreNovoPedidoParaEle)
{
    comPainel(
        [this] { QTest::keyClick(&principal, Qt::Key_I, Qt::AltModifier); },
        [this](TfrmPainel &painel) {
            QTableWidget *tabela = painel.tabelaEsfriando();
            QStringList mostrados;
            for (int l = 0; l < tabela->rowCount(); ++l)
                mostrados << tabela->item(l, 0)->text() + u'|' + tabela->item(l, 1)->text() + u'|' +
                                 tabela->item(l, 3)->text();
            const QString frios = consultar(QStringLiteral(
                "SELECT group_concat(IdCliente || ' - ' || Nome || '|' || d, ',') FROM (SELECT IdCliente, Nome,"
                " CAST(julianday('now', 'localtime') - julianday(ultimacompra) AS INTEGER) d FROM tbcliente"
                " WHERE ultimacompra IS NOT NULL AND IdCliente NOT IN (SELECT idCliente FROM tbpedido) AND d >= 40"
                " ORDER BY d DESC)"));
            QStringList semValor;
            for (const QString &m : mostrados)
                semValor << m.section(u'|', 0, 1);
            EXPECT_EQ(semValor.join(u','), frios);
            EXPECT_EQ(mostrados,
                      (QStringList{"2 - PADARIA ESTRELA|70|R$ 1.234,50", "1 - MERCEARIA VITÓRIA|45|R$ 150,25"}));

            qint64 clienteNaTela = 0;
            bool inserindo = false;
            AoAbrir pedido("TfrmPedido", [&](QWidget *tela) {
                auto *t = qobject_cast<TfrmPedido *>(tela);
                ConjuntoDados &cabecalho = t->logica().cabecalho();
                inserindo = cabecalho.estado() == EstadoConjunto::Insercao;
                clienteNaTela = cabecalho.campo(QStringLiteral("idCliente")).inteiro();
                QTest::mouseClick(t->botao(AcaoPedido::Salvar), Qt::LeftButton);
                QTest::keyClick(tela, Qt::Key_Escape);
            });
            QTest::mouseClick(tabela->viewport(), Qt::LeftButton, {},
                              tabela->visualItemRect(tabela->item(0, 0)).center());
            EXPECT_TRUE(pedido.feito());
            EXPECT_TRUE(inserindo);
            EXPECT_EQ(clienteNaTela, 2);
            // Back on the dashboard, the figures are read again.
            EXPECT_EQ(painel.painel().mesAtual.pedidos, 2);
        });
    EXPECT_EQ(consultar(QStringLiteral("SELECT idFunc || ':' || idforma FROM tbpedido WHERE idCliente = 2")),
              QStringLiteral("12:3"));
    EXPECT_EQ(dm->QyPedido.filtro(), QStringLiteral("idFunc='12'"));
}

// Never served and in arrears are listed apart; the whole dashboard goes
// to "relatórios/painel-<ddmmyyyy>.pdf", a second export asks first, and
// each chart to a PNG of its own.
TEST_F(PainelTela, ListasAParteEExportacoes)
{
    comPainel(
        [this] { principal.findChild<QToolButton *>(QStringLiteral("BtnPainel"))->click(); },
        [this](TfrmPainel &painel) {
            auto *semCompra = painel.findChild<QTableWidget *>(QStringLiteral("tbSemCompra"));
            ASSERT_EQ(semCompra->rowCount(), 1);
            EXPECT_EQ(semCompra->item(0, 0)->text(), QStringLiteral("4 - BAZAR NOVO"));
            auto *emAlerta = painel.findChild<QTableWidget *>(QStringLiteral("tbEmAlerta"));
            ASSERT_EQ(emAlerta->rowCount(), 1);
            EXPECT_EQ(emAlerta->item(0, 3)->text(), QStringLiteral("40 dias"));

            painel.exportarPdf();
            const QString pdf =
                pasta.arquivo(QStringLiteral("relatórios/painel-") +
                              QDate::currentDate().toString(QStringLiteral("ddMMyyyy")) + QStringLiteral(".pdf"));
            EXPECT_EQ(dialogos.textos(QStringLiteral("abrir")), QStringList{pdf});
            const QString texto = TextoPdf(pdf).simplified();
            for (const char *esperado :
                 {"Painel do representante", "Vendas dos últimos 12 meses", "2 - PADARIA ESTRELA 70", "R$ 1.234,50",
                  "4 - BAZAR NOVO", "1 - MERCEARIA VITÓRIA", "40 dias", "Página 2 de 2"})
                EXPECT_TRUE(texto.contains(QString::fromUtf8(esperado))) << esperado << "\n" << texto.toStdString();
            dialogos.responder(Resposta::Nao);
            painel.exportarPdf();
            EXPECT_TRUE(dialogos.textos(QStringLiteral("pergunta")).last().contains(QStringLiteral("já existe")));
            EXPECT_EQ(dialogos.textos(QStringLiteral("abrir")).size(), 1);

            painel.exportarImagens();
            for (const char *nome : {"vendas", "produtos", "clientes"}) {
                const QString png = pasta.arquivo(
                    QStringLiteral("relatórios/painel-%1-%2.png")
                        .arg(QString::fromLatin1(nome), QDate::currentDate().toString(QStringLiteral("ddMMyyyy"))));
                EXPECT_FALSE(QImage(png).isNull()) << nome;
            }
        });
    EXPECT_TRUE(dialogos.roteiroEsgotado());
}

} // namespace
