#include "janela_escolha.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace JanelaEscolha
{

std::optional<QList<bool>> escolher(const QString &titulo, const QString &texto, const QList<OpcaoMarcada> &opcoes,
                                    QWidget *pai)
{
    QDialog janela(pai);
    janela.setObjectName(QStringLiteral("JanelaEscolha"));
    janela.setWindowTitle(titulo);
    auto *layout = new QVBoxLayout(&janela);
    layout->addWidget(new QLabel(texto, &janela));
    QList<QCheckBox *> caixas;
    for (const OpcaoMarcada &opcao : opcoes) {
        auto *caixa = new QCheckBox(opcao.texto, &janela);
        caixa->setChecked(opcao.marcada);
        caixa->setEnabled(opcao.habilitada);
        layout->addWidget(caixa);
        caixas << caixa;
    }
    auto *botoes = new QDialogButtonBox(&janela);
    botoes->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    botoes->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    QObject::connect(botoes, &QDialogButtonBox::accepted, &janela, &QDialog::accept);
    QObject::connect(botoes, &QDialogButtonBox::rejected, &janela, &QDialog::reject);
    layout->addWidget(botoes);
    if (janela.exec() != QDialog::Accepted)
        return std::nullopt;
    QList<bool> marcas;
    for (const QCheckBox *caixa : caixas)
        marcas << caixa->isChecked();
    return marcas;
}

} // namespace JanelaEscolha
