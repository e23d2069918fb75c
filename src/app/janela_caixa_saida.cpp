#include "janela_caixa_saida.h"

#include "caixa_saida.h"
#include "remessa_caixa_saida.h"
#include "udm.h"
#include "ufunc.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace
{

const QStringList kColunas = {QStringLiteral("Pedido"),
                              QStringLiteral("Destino"),
                              QStringLiteral("Para"),
                              QStringLiteral("Situação"),
                              QStringLiteral("Tentativas"),
                              QStringLiteral("Última tentativa"),
                              QStringLiteral("Resposta do servidor")};

} // namespace

JanelaCaixaSaida::JanelaCaixaSaida(RemessaCaixaSaida &remessa, QWidget *pai)
    : QDialog(pai), m_remessa(remessa), m_tabela(new QTableWidget(this)),
      m_tentar(new QPushButton(QStringLiteral("&Tentar agora"), this)),
      m_descartar(new QPushButton(QStringLiteral("&Descartar"), this))
{
    setObjectName(QStringLiteral("JanelaCaixaSaida"));
    setWindowTitle(QStringLiteral("Caixa de saída"));
    m_tabela->setObjectName(QStringLiteral("tabelaCaixaSaida"));
    m_tabela->setColumnCount(static_cast<int>(kColunas.size()));
    m_tabela->setHorizontalHeaderLabels(kColunas);
    m_tabela->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tabela->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tabela->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tabela->verticalHeader()->hide();
    m_tabela->horizontalHeader()->setStretchLastSection(true);
    m_tentar->setObjectName(QStringLiteral("btnTentarAgora"));
    m_descartar->setObjectName(QStringLiteral("btnDescartar"));

    auto *botoes = new QDialogButtonBox(this);
    botoes->addButton(m_tentar, QDialogButtonBox::ActionRole);
    botoes->addButton(m_descartar, QDialogButtonBox::ActionRole);
    QPushButton *fechar = botoes->addButton(QStringLiteral("&Fechar"), QDialogButtonBox::RejectRole);
    fechar->setObjectName(QStringLiteral("btnFechar"));
    connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_tentar, &QPushButton::clicked, this, [this] { ExecutarProtegido([this] { tentarAgora(); }); });
    connect(m_descartar, &QPushButton::clicked, this, [this] { ExecutarProtegido([this] { descartar(); }); });
    connect(&m_remessa, &RemessaCaixaSaida::mudou, this, [this] { ExecutarProtegido([this] { preencher(); }); });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabela);
    layout->addWidget(botoes);
    resize(960, 420);
    ExecutarProtegido([this] { preencher(); });
}

void JanelaCaixaSaida::preencher()
{
    const qint64 antes = escolhida();
    const QList<LinhaCaixa> linhas = CaixaSaidaBanco::linhas(DM->ADOConexao);
    m_tabela->setRowCount(static_cast<int>(linhas.size()));
    for (int i = 0; i < linhas.size(); ++i) {
        const LinhaCaixa &l = linhas[i];
        const QStringList valores = {
            l.nrPedido,
            l.destino,
            l.para,
            TextoSituacao(l.situacao),
            QString::number(l.tentativas),
            l.ultimaTentativa.isValid() ? l.ultimaTentativa.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")) : QString(),
            l.resposta};
        for (int coluna = 0; coluna < valores.size(); ++coluna) {
            auto *item = new QTableWidgetItem(valores[coluna]);
            item->setData(Qt::UserRole, l.id);
            m_tabela->setItem(i, coluna, item);
        }
        if (l.id == antes)
            m_tabela->selectRow(i);
    }
    m_tabela->resizeColumnsToContents();
}

qint64 JanelaCaixaSaida::escolhida() const
{
    const QList<QTableWidgetItem *> itens = m_tabela->selectedItems();
    return itens.isEmpty() ? 0 : itens.first()->data(Qt::UserRole).toLongLong();
}

void JanelaCaixaSaida::tentarAgora()
{
    if (const qint64 id = escolhida())
        m_remessa.tentarDeNovo(id);
    else
        m_remessa.enviarPendentes();
}

void JanelaCaixaSaida::descartar()
{
    const qint64 id = escolhida();
    if (!id)
        return;
    if (MsgPergunta(QStringLiteral("Deseja descartar a mensagem escolhida? Ela não será enviada."),
                    QStringLiteral("Atenção")) == Resposta::Sim)
        m_remessa.descartar(id);
}
