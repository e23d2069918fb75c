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

} // namespace

void JanelaTabela::mostrar(const TabelaDialogo &t, QWidget *pai)
{
    QDialog janela(pai);
    janela.setObjectName(QStringLiteral("JanelaTabela"));
    janela.setWindowTitle(t.titulo);
    janela.resize(760, 460);
    auto *v = new QVBoxLayout(&janela);
    if (!t.introducao.isEmpty())
        v->addWidget(texto(t.introducao));
    v->addWidget(tabelaDe(t), 1);
    if (!t.observacao.isEmpty())
        v->addWidget(texto(t.observacao));
    auto *botoes = new QDialogButtonBox;
    botoes->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QObject::connect(botoes, &QDialogButtonBox::accepted, &janela, &QDialog::accept);
    v->addWidget(botoes);
    janela.exec();
}
