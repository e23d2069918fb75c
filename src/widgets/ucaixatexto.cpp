#include "ucaixatexto.h"

#include "ui_ucaixatexto.h"

#include <QKeyEvent>

TFrmCaixaTexto::TFrmCaixaTexto(const QString &titulo, const QString &rotulo, const QString &padrao,
                               bool mascarado, QWidget *pai)
    : QDialog(pai, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                       Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      ui(std::make_unique<Ui::TFrmCaixaTexto>())
{
    ui->setupUi(this);
    setFixedSize(size());
    setWindowTitle(titulo);
    ui->lblCaixaTexto->setText(rotulo);
    ui->edtCaixaTexto->setText(padrao);
    ui->edtCaixaTexto->setEchoMode(mascarado ? QLineEdit::Password : QLineEdit::Normal);
    if (mascarado)
        ui->edtCaixaTexto->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
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
