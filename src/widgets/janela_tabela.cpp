#include "janela_tabela.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace
{

QLabel *texto(const QString &t)
{
    auto *rotulo = new QLabel(t);
    rotulo->setWordWrap(true);
    return rotulo;
}

QTableWidget *tabelaDe(const TabelaDialogo &t)
{
    auto *tabela = new QTableWidget(static_cast<int>(t.linhas.size()), static_cast<int>(t.colunas.size()));
    tabela->setObjectName(QStringLiteral("tabela"));
    tabela->setHorizontalHeaderLabels(t.colunas);
    tabela->verticalHeader()->hide();
    tabela->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabela->setSelectionBehavior(QAbstractItemView::SelectRows);
    tabela->setWordWrap(true);
    for (int l = 0; l < t.linhas.size(); ++l)
        for (int c = 0; c < t.linhas[l].size() && c < t.colunas.size(); ++c) {
            auto *item = new QTableWidgetItem(t.linhas[l][c]);
            // Factors and results are numbers: right-aligned, so the digits line up.
            if (c > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            tabela->setItem(l, c, item);
        }
    tabela->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int c = 1; c < t.colunas.size(); ++c)
        tabela->horizontalHeader()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    tabela->resizeRowsToContents();
    return tabela;
}

// The window with its texts and table; the buttons are the caller's.
QTableWidget *montar(QDialog &janela, const TabelaDialogo &t, QDialogButtonBox *botoes)
{
    janela.setObjectName(QStringLiteral("JanelaTabela"));
    janela.setWindowTitle(t.titulo);
    janela.resize(760, 460);
    auto *v = new QVBoxLayout(&janela);
    if (!t.introducao.isEmpty())
        v->addWidget(texto(t.introducao));
    QTableWidget *tabela = tabelaDe(t);
    v->addWidget(tabela, 1);
    if (!t.observacao.isEmpty())
        v->addWidget(texto(t.observacao));
    QObject::connect(botoes, &QDialogButtonBox::accepted, &janela, &QDialog::accept);
    QObject::connect(botoes, &QDialogButtonBox::rejected, &janela, &QDialog::reject);
    v->addWidget(botoes);
    return tabela;
}

} // namespace

void JanelaTabela::mostrar(const TabelaDialogo &t, QWidget *pai)
{
    QDialog janela(pai);
    auto *botoes = new QDialogButtonBox;
    botoes->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    montar(janela, t, botoes);
    janela.exec();
}

std::optional<int> JanelaTabela::escolherLinha(const TabelaDialogo &t, QWidget *pai)
{
    QDialog janela(pai);
    auto *botoes = new QDialogButtonBox;
    QPushButton *ok = botoes->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    botoes->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    QTableWidget *tabela = montar(janela, t, botoes);
    tabela->setSelectionMode(QAbstractItemView::SingleSelection);
    QObject::connect(tabela, &QTableWidget::cellDoubleClicked, &janela, &QDialog::accept);
    ok->setDefault(true);
    if (tabela->rowCount() > 0)
        tabela->selectRow(0);
    tabela->setFocus();
    if (janela.exec() != QDialog::Accepted || tabela->currentRow() < 0)
        return std::nullopt;
    return tabela->currentRow();
}
