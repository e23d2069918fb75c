#include "cadastros_teste.h"
#include "controles_vinculados.h"
#include "tela_cliente.h"
#include "tela_produto.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QTest>
#include <QToolButton>

class JanelaClienteTeste : public CadastrosTeste
{
  protected:
    void abrirJanela(int cliente = 1)
    {
        abrirDados();
        irParaCliente(cliente);
        tela = std::make_unique<TfrmCliente>();
        tela->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(tela.get()));
        tela->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(tela.get()));
    }
    void alt(Qt::Key tecla) { QTest::keyClick(tela.get(), tecla, Qt::AltModifier); }
    bool habilitado(AcaoCliente acao) const { return tela->botao(acao)->isEnabled(); }
    void digitar(CaixaCliente caixa, const QString &texto)
    {
        CaixaVinculada *c = tela->caixa(caixa);
        c->setFocus();
        c->selectAll();
        QTest::keyClicks(c, texto);
    }

    std::unique_ptr<TfrmCliente> tela;
};

TEST_F(JanelaClienteTeste, TeclasDosBotoesEDigitacaoSoEmEdicao)
{
    abrirJanela(3);
    EXPECT_EQ(tela->windowTitle(), QStringLiteral("Corlando - Cliente"));
    EXPECT_EQ(tela->contador()->text(), QStringLiteral("12 Cliente(s)"));
    EXPECT_EQ(tela->findChild<QComboBox *>(QStringLiteral("dbUF"))->currentText(), QStringLiteral("TO"));
    EXPECT_EQ(tela->botao(AcaoCliente::Excluir)->text(), QStringLiteral("E&xcluir"));

    digitar(CaixaCliente::Telefone, QStringLiteral("123"));
    EXPECT_EQ(tela->caixa(CaixaCliente::Telefone)->text(), QString()); // browsing: nothing typed

    alt(Qt::Key_E);
    EXPECT_EQ(dm->QyCliente.estado(), EstadoConjunto::Edicao);
    EXPECT_FALSE(habilitado(AcaoCliente::Editar));
    EXPECT_TRUE(habilitado(AcaoCliente::Salvar));
    digitar(CaixaCliente::Telefone, QStringLiteral("(63) 3215-0000"));
    digitar(CaixaCliente::Contato, QStringLiteral("Maria"));
    EXPECT_TRUE(dm->QyCliente.campo(QStringLiteral("Tel")).nulo()); // written on saving only
    alt(Qt::Key_S);
    EXPECT_FALSE(dm->QyCliente.emEdicao());
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT Tel || '/' || Contato FROM tbcliente WHERE IdCliente = 3")),
              QStringLiteral("(63) 3215-0000/Maria"));

    alt(Qt::Key_R);
    EXPECT_EQ(cliente("IdCliente"), QStringLiteral("4"));
    alt(Qt::Key_A);
    EXPECT_EQ(cliente("IdCliente"), QStringLiteral("3"));
}

TEST_F(JanelaClienteTeste, NovoClienteMascarasEConferencia)
{
    abrirJanela();
    alt(Qt::Key_I);
    EXPECT_TRUE(tela->caixa(CaixaCliente::NomeResumido)->hasFocus());
    EXPECT_EQ(tela->findChild<QLineEdit *>(QStringLiteral("dbCodigo"))->text(), QString());
    QTest::keyClicks(tela->caixa(CaixaCliente::NomeResumido), QStringLiteral("ARMAZÉM"));
    digitar(CaixaCliente::RazaoSocial, QStringLiteral("ARMAZÉM CENTRAL LTDA"));
    // The mask puts the punctuation in: only digits are typed.
    digitar(CaixaCliente::Cnpj, QStringLiteral("11222333000182"));
    EXPECT_EQ(tela->caixa(CaixaCliente::Cnpj)->text(), QStringLiteral("11.222.333/0001-82"));
    digitar(CaixaCliente::Cidade, QStringLiteral("Palmas"));
    // A masked box typed in and emptied again leaves its field empty.
    digitar(CaixaCliente::Nascimento, QStringLiteral("1"));
    QTest::keyClick(tela->caixa(CaixaCliente::Nascimento), Qt::Key_Backspace);

    QTest::mouseClick(tela->botao(AcaoCliente::Salvar), Qt::LeftButton);
    EXPECT_EQ(dialogos.textos(QStringLiteral("mensagem")),
              QStringList{"O CNPJ 11.222.333/0001-82 não é válido. Confira os 14 dígitos."});
    EXPECT_TRUE(tela->caixa(CaixaCliente::Cnpj)->hasFocus());
    EXPECT_EQ(tela->caixa(CaixaCliente::Cidade)->text(), QStringLiteral("Palmas"));
    EXPECT_EQ(dm->QyCliente.estado(), EstadoConjunto::Insercao);

    digitar(CaixaCliente::Cnpj, QStringLiteral("11222333000181"));
    QTest::mouseClick(tela->botao(AcaoCliente::Salvar), Qt::LeftButton);
    ASSERT_FALSE(dm->QyCliente.emEdicao()) << dialogos.textos().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(tela->findChild<QLineEdit *>(QStringLiteral("dbCodigo"))->text(), QStringLiteral("13"));
    EXPECT_EQ(pasta.consultar(QStringLiteral(
                  "SELECT fantasia || '|' || cnpj || '|' || Cidade || '|' || IFNULL(CEP, 'nulo') || '|' ||"
                  " IFNULL(Nasc, 'nulo') FROM tbcliente WHERE IdCliente = 13")),
              QStringLiteral("ARMAZÉM|11.222.333/0001-81|Palmas|nulo|nulo"));
    EXPECT_EQ(dialogos.textos(QStringLiteral("mensagem")).size(), 1);
}

TEST_F(JanelaClienteTeste, ProcurarEmEdicaoNadaFazEEscFechaPelaPergunta)
{
    abrirJanela();
    alt(Qt::Key_E);
    alt(Qt::Key_P); // no search dialog: the script has none
    EXPECT_TRUE(dm->QyCliente.emEdicao());
    dialogos.responder(Resposta::Nao);
    QTest::keyClick(tela.get(), Qt::Key_Escape);
    EXPECT_TRUE(tela->isVisible());
    alt(Qt::Key_C);
    QTest::keyClick(tela.get(), Qt::Key_Escape);
    EXPECT_FALSE(tela->isVisible());
}

class JanelaProdutoTeste : public CadastrosTeste
{
  protected:
    void abrirJanela()
    {
        abrirDados();
        tela = std::make_unique<TFrmProduto>();
        tela->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(tela.get()));
    }
    QString atual() const { return dm->QyProduto.campo(QStringLiteral("CODIGO")).texto(); }

    std::unique_ptr<TFrmProduto> tela;
};

TEST_F(JanelaProdutoTeste, TituloOrdenaGradeSegueALista)
{
    abrirJanela();
    QTableView *grade = tela->grade();
    QAbstractItemModel *m = grade->model();
    EXPECT_EQ(tela->contador()->text(), QStringLiteral("4 Produto(s)"));
    EXPECT_EQ(m->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Preço de venda"));
    EXPECT_EQ(tela->botaoPesquisar()->statusTip(), QStringLiteral("Pesquisar produto(s)"));

    const QHeaderView *titulos = grade->horizontalHeader();
    QTest::mouseClick(titulos->viewport(), Qt::LeftButton, {},
                      QPoint(titulos->sectionViewportPosition(3) + 10, titulos->height() / 2));
    EXPECT_EQ(m->index(0, 0).data().toString(), QStringLiteral("D"));
    EXPECT_EQ(grade->currentIndex().row(), 0);
    EXPECT_EQ(m->index(1, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));
    EXPECT_EQ(m->index(2, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(192, 192, 192));
    EXPECT_EQ(m->index(0, 3).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask,
              Qt::AlignRight);
    EXPECT_EQ(m->index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignCenter);

    // Keys in the grid move the list, and a move of the list moves the grid.
    grade->setFocus();
    QTest::keyClick(grade, Qt::Key_Down);
    EXPECT_EQ(atual(), QStringLiteral("B"));
    dm->QyProduto.ultimo();
    EXPECT_EQ(grade->currentIndex().row(), 3);
    EXPECT_EQ(m->headerData(3, Qt::Vertical).toString(), QStringLiteral("▶"));

    tela->close();
    EXPECT_EQ(dm->QyProduto.sql(), QStringLiteral("select * from tbproduto order by codigo"));
    EXPECT_EQ(atual(), QStringLiteral("A"));
}
