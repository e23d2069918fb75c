// The customer screen driven as a person does: Alt letters, Tab from box to
// box, clicks into boxes, typing and pasting; the database is read after.

#include "cadastros_teste.h"
#include "controles_vinculados.h"
#include "tela_cliente.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QToolButton>

namespace
{

class CenarioCliente : public CadastrosTeste
{
  protected:
    void abrirJanela(int cliente)
    {
        abrirDados();
        irParaCliente(cliente);
        tela = std::make_unique<TfrmCliente>();
        tela->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(tela.get()));
        tela->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(tela.get()));
    }
    QWidget *foco() const { return QApplication::focusWidget(); }
    void alt(Qt::Key tecla) { QTest::keyClick(foco() ? foco() : tela.get(), tecla, Qt::AltModifier); }
    void tab(int vezes = 1)
    {
        for (int i = 0; i < vezes; ++i)
            QTest::keyClick(foco(), Qt::Key_Tab);
    }
    void digitar(const QString &texto) { QTest::keyClicks(foco(), texto); }
    // A click towards the right end of the box, past anything typed.
    void clicarNoFim(CaixaCliente caixa)
    {
        QWidget *c = tela->caixa(caixa);
        QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(c->width() - 6, c->height() / 2));
    }
    QString texto(CaixaCliente caixa) const { return tela->caixa(caixa)->text(); }
    QStringList mensagens() const { return dialogos.textos(QStringLiteral("mensagem")); }
    QString noBanco(const char *sql) const { return pasta.consultar(QString::fromUtf8(sql)); }

    std::unique_ptr<TfrmCliente> tela;
};

// Masked boxes reached by Tab or by a click take the digits typed; one left
// incomplete is refused by Salvar, naming it, with the focus on it ready to
// be finished; a box in focus when Editar is pressed takes digits too.
TEST_F(CenarioCliente, MascarasPorTabECliqueRecebemOsDigitos)
{
    abrirJanela(1);
    alt(Qt::Key_I);
    ASSERT_EQ(foco(), tela->caixa(CaixaCliente::NomeResumido));
    digitar(QStringLiteral("ARMAZÉM"));
    tab();
    digitar(QStringLiteral("ARMAZÉM CENTRAL LTDA"));
    tab();
    ASSERT_EQ(foco(), tela->caixa(CaixaCliente::Cnpj));
    digitar(QStringLiteral("11222333000181"));
    EXPECT_EQ(texto(CaixaCliente::Cnpj), QStringLiteral("11.222.333/0001-81"));
    tab(3);
    ASSERT_EQ(foco(), tela->caixa(CaixaCliente::Endereco));
    digitar(QStringLiteral("Rua 7, 120"));
    tab();
    ASSERT_EQ(foco(), tela->caixa(CaixaCliente::Cep));
    digitar(QStringLiteral("7400010")); // one digit short
    clicarNoFim(CaixaCliente::Nascimento);
    ASSERT_EQ(foco(), tela->caixa(CaixaCliente::Nascimento));
    digitar(QStringLiteral("120519")); // the year unfinished
    clicarNoFim(CaixaCliente::CobrancaCep);
    digitar(QStringLiteral("74000200"));
    EXPECT_EQ(texto(CaixaCliente::CobrancaCep), QStringLiteral("74000-200"));

    alt(Qt::Key_S);
    EXPECT_EQ(mensagens(), QStringList{"O campo \"CEP\" deve ter os 8 dígitos do CEP (99999-999)."});
    EXPECT_EQ(foco(), tela->caixa(CaixaCliente::Cep));
    digitar(QStringLiteral("0"));
    EXPECT_EQ(texto(CaixaCliente::Cep), QStringLiteral("74000-100"));

    dialogos.limpar();
    alt(Qt::Key_S);
    EXPECT_EQ(mensagens(), QStringList{"A data de nascimento 12/05/19 não é uma data válida (dd/mm/aaaa)."});
    EXPECT_EQ(foco(), tela->caixa(CaixaCliente::Nascimento));
    EXPECT_EQ(dm->QyCliente.estado(), EstadoConjunto::Insercao);
    EXPECT_EQ(noBanco("SELECT COUNT(*) FROM tbcliente"), QStringLiteral("12"));
    digitar(QStringLiteral("80"));

    dialogos.limpar();
    alt(Qt::Key_S);
    ASSERT_FALSE(dm->QyCliente.emEdicao()) << dialogos.textos().join(u'\n').toStdString();
    EXPECT_EQ(noBanco("SELECT cnpj || '|' || End || '|' || CEP || '|' || Nasc || '|' || cepcorr FROM tbcliente "
                      "WHERE IdCliente = 13"),
              QStringLiteral("11.222.333/0001-81|Rua 7, 120|74000-100|1980-05-12 00:00:00|74000-200"));

    // Customer 2 has no CNPJ: the box clicked while browsing, then Editar.
    irParaCliente(2);
    clicarNoFim(CaixaCliente::Cnpj);
    alt(Qt::Key_E);
    ASSERT_EQ(foco(), tela->caixa(CaixaCliente::Cnpj));
    digitar(QStringLiteral("11444777000161"));
    alt(Qt::Key_S);
    EXPECT_FALSE(dm->QyCliente.emEdicao()) << dialogos.textos().join(u'\n').toStdString();
    EXPECT_EQ(noBanco("SELECT cnpj FROM tbcliente WHERE IdCliente = 2"), QStringLiteral("11.444.777/0001-61"));
}

// A pasted line break in a name, a CNPJ of one repeated digit and a birth
// date in the future are refused one after the other, each naming its box
// and taking the focus there; nothing typed is lost, nothing is stored until
// every box passes.
TEST_F(CenarioCliente, ConferenciaRecusaCnpjRepetidoDataFuturaEQuebraDeLinha)
{
    abrirJanela(1);
    alt(Qt::Key_I);
    QApplication::clipboard()->setText(QStringLiteral("ARMAZÉM\nNOVO"));
    QTest::keyClick(foco(), Qt::Key_V, Qt::ControlModifier);
    tab();
    digitar(QStringLiteral("ARMAZÉM NOVO LTDA"));
    tab();
    digitar(QStringLiteral("00000000000000"));
    clicarNoFim(CaixaCliente::Nascimento);
    const QDate amanha = QDate::currentDate().addDays(1);
    digitar(amanha.toString(QStringLiteral("ddMMyyyy")));

    alt(Qt::Key_S);
    EXPECT_EQ(mensagens(), QStringList{"O campo \"Nome resumido\" contém uma quebra de linha ou outro caractere de "
                                       "controle. Retire-o para salvar o cliente."});
    ASSERT_EQ(foco(), tela->caixa(CaixaCliente::NomeResumido));
    QTest::keyClick(foco(), Qt::Key_A, Qt::ControlModifier);
    digitar(QStringLiteral("ARMAZÉM NOVO"));

    dialogos.limpar();
    alt(Qt::Key_S);
    EXPECT_EQ(mensagens(), QStringList{"O CNPJ 00.000.000/0000-00 não é válido. Confira os 14 dígitos."});
    ASSERT_EQ(foco(), tela->caixa(CaixaCliente::Cnpj));
    digitar(QStringLiteral("11222333000181")); // typed over the whole box

    dialogos.limpar();
    alt(Qt::Key_S);
    EXPECT_EQ(mensagens(), QStringList{QStringLiteral("A data de nascimento %1 deve estar entre 01/01/1900 e hoje.")
                                           .arg(amanha.toString(QStringLiteral("dd/MM/yyyy")))});
    ASSERT_EQ(foco(), tela->caixa(CaixaCliente::Nascimento));
    EXPECT_EQ(noBanco("SELECT COUNT(*) FROM tbcliente"), QStringLiteral("12"));
    digitar(QStringLiteral("01011900"));

    dialogos.limpar();
    alt(Qt::Key_S);
    ASSERT_FALSE(dm->QyCliente.emEdicao()) << dialogos.textos().join(u'\n').toStdString();
    EXPECT_EQ(noBanco("SELECT fantasia || '|' || Nome || '|' || cnpj || '|' || Nasc FROM tbcliente "
                      "WHERE IdCliente = 13"),
              QStringLiteral("ARMAZÉM NOVO|ARMAZÉM NOVO LTDA|11.222.333/0001-81|1900-01-01 00:00:00"));
}

} // namespace
