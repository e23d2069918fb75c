#include "ucaixatexto.h"

#include "ui_ucaixatexto.h"

#include <QKeyEvent>
#include <QProxyStyle>

namespace
{

// Masked text shows "*". A style sheet property would be lost under a
// window with a style sheet of its own (the main window's), where the
// platform's bullet came back; a style's hint is kept beneath any sheet.
class EstiloAsterisco : public QProxyStyle
{
  public:
    int styleHint(StyleHint dica, const QStyleOption *opcao, const QWidget *widget,
                  QStyleHintReturn *retorno) const override
    {
        if (dica == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(dica, opcao, widget, retorno);
    }
};

} // namespace

TFrmCaixaTexto::TFrmCaixaTexto(const QString &titulo, const QString &rotulo, const QString &padrao, bool mascarado,
                               QWidget *pai)
    : QDialog(pai, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                       Qt::CustomizeWindowHint),
      ui(std::make_unique<Ui::TFrmCaixaTexto>())
{
    ui->setupUi(this);
    setFixedSize(size());
    setWindowTitle(titulo);
    ui->lblCaixaTexto->setText(rotulo);
    ui->edtCaixaTexto->setText(padrao);
    if (mascarado) {
        auto *estilo = new EstiloAsterisco;
        estilo->setParent(ui->edtCaixaTexto);
        ui->edtCaixaTexto->setStyle(estilo);
    }
    ui->edtCaixaTexto->setEchoMode(mascarado ? QLineEdit::Password : QLineEdit::Normal);
    connect(ui->btnOk, &QPushButton::clicked, this, &TFrmCaixaTexto::confirmar);
    connect(ui->btnCancelar, &QPushButton::clicked, this, &TFrmCaixaTexto::cancelar);
    connect(ui->edtCaixaTexto, &QLineEdit::returnPressed, this, &TFrmCaixaTexto::confirmar);
    ui->edtCaixaTexto->setFocus();
}

TFrmCaixaTexto::~TFrmCaixaTexto() = default;

RespostaTexto TFrmCaixaTexto::perguntar(const QString &titulo, const QString &rotulo, const QString &padrao,
                                        bool mascarado, QWidget *pai)
{
    TFrmCaixaTexto dialogo(titulo, rotulo, padrao, mascarado, pai);
    dialogo.exec();
    return dialogo.resposta();
}

void TFrmCaixaTexto::confirmar()
{
    m_resposta = {true, ui->edtCaixaTexto->text()};
    accept();
}

void TFrmCaixaTexto::cancelar()
{
    m_resposta = {};
    QDialog::reject();
}

void TFrmCaixaTexto::keyPressEvent(QKeyEvent *evento)
{
    // Esc leaves the dialog open.
    if (evento->key() == Qt::Key_Escape) {
        evento->accept();
        return;
    }
    QDialog::keyPressEvent(evento);
}

void TFrmCaixaTexto::reject()
{
    // Reached by the close box: nothing is confirmed.
    m_resposta = {};
    QDialog::reject();
}
