#include "logica_produto.h"

#include "conjunto_dados.h"
#include "udm.h"
#include "ufunc.h"

ConjuntoDados &LogicaProduto::produtos() const
{
    return DM->QyProduto;
}

QString LogicaProduto::abrir()
{
    QString contador;
    ExecutarProtegido([&] {
        if (produtos().ativo())
            produtos().primeiro();
        contador = QString::number(produtos().ativo() ? produtos().quantidade() : 0) + QStringLiteral(" Produto(s)");
    });
    return contador;
}

void LogicaProduto::ordenar(const QString &coluna)
{
    ExecutarProtegido([&] {
        ConjuntoDados &p = produtos();
        p.fechar();
        p.setSql(QStringLiteral("select * from tbproduto order by ") + coluna);
        p.abrir();
    });
}

void LogicaProduto::pesquisar()
{
    ExecutarProtegido([this] {
        if (produtos().emEdicao())
            return;
        const QString codigo =
            DM->Pesquisar(QStringLiteral("tbproduto order by codigo"),
                          QStringLiteral("codigo, produto, estoque, fabricante"), QStringLiteral("codigo"));
        if (!codigo.isEmpty())
            produtos().localizar(QStringLiteral("codigo"), codigo);
    });
}

// A list still in code order only goes back to its first row: reading every
// product again would show nothing new.
void LogicaProduto::aoFechar()
{
    ExecutarProtegido([this] {
        ConjuntoDados &p = produtos();
        const QString padrao = QString::fromUtf8(kSqlPadrao);
        if (p.sql() != padrao) {
            p.fechar();
            p.setSql(padrao);
            p.abrir();
        }
        if (p.ativo())
            p.primeiro();
    });
}

QColor LogicaProduto::fundoDaLinha(int linha)
{
    return (linha + 1) % 2 == 1 ? QColor(192, 192, 192) : QColor(Qt::white);
}
