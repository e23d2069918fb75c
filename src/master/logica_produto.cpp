#include "logica_produto.h"

#include "campos_esquema.h"
#include "conjunto_dados.h"
#include "dinheiro.h"
#include "udm.h"
#include "ufunc.h"
#include "valor_campo.h"

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
        const bool decrescente = coluna == m_coluna && !m_decrescente;
        emOrdem(coluna, decrescente);
        m_coluna = coluna;
        m_decrescente = decrescente;
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
            produtos().localizar(Campos::Produto::CODIGO, codigo);
    });
}

void LogicaProduto::aoFechar()
{
    ExecutarProtegido([this] {
        ConjuntoDados &p = produtos();
        if (p.sql() != QString::fromUtf8(kSqlPadrao))
            emOrdem(QStringLiteral("codigo"), false);
        m_coluna.clear();
        m_decrescente = false;
        if (p.ativo())
            p.primeiro();
    });
}

// The products were read when the list opened and nothing changes them
// while the screen is open: only the new order is asked of the database, so
// a large catalogue sorts without reading every product again.
void LogicaProduto::emOrdem(const QString &coluna, bool decrescente)
{
    ConjuntoDados &p = produtos();
    const QString ordem =
        QStringLiteral(" from tbproduto order by ") + coluna + (decrescente ? QStringLiteral(" desc") : QString());
    if (p.ativo()) {
        p.reordenar(QStringLiteral("select *") + ordem, QStringLiteral("select rowid") + ordem);
        return;
    }
    p.setSql(QStringLiteral("select *") + ordem);
    p.abrir();
}

QColor LogicaProduto::fundoDaLinha(int linha)
{
    return (linha + 1) % 2 == 1 ? QColor(192, 192, 192) : QColor(Qt::white);
}

QString LogicaProduto::textoPreco(const Dinheiro &preco)
{
    QString texto = ValorCampo::formatar(preco, "###,###,###,###,##0.0000");
    while (texto.endsWith(u'0') && texto.size() - texto.indexOf(u',') > 3)
        texto.chop(1);
    return texto;
}
