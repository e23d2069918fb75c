#include "conjunto_dados.h"
#include "dialogos_roteiro.h"
#include "logica_pesquisa.h"
#include "pasta_programa.h"
#include "udm.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace
{

QStringList coluna(ConjuntoDados &c, const char *nome)
{
    QStringList v;
    for (int i = 0; i < c.quantidade(); ++i)
        v << c.registro(i).campo(QString::fromUtf8(nome)).texto();
    return v;
}

// Lists ordered in SQL read as a Brazilian reader expects: case and accents
// folded first, the exact text breaking ties; numbers still as numbers.
TEST(OrdemAlfabetica, PesquisaEConjuntosOrdenamComoEmPortugues)
{
    PastaProgramaTeste pasta;
    DialogosRoteiro dialogos;
    const char *nomes[] = {"Zinco", "arruela", "Ácido", "Arruela", "acido", "Émbolo", "ébano", "Carro", "Caçamba"};
    int codigo = 1;
    for (const char *n : nomes)
        pasta.executar(QStringLiteral("INSERT INTO tbproduto (idProduto, CODIGO, PRODUTO, PRECOVENDA) VALUES (%1, "
                                      "'P%1', '%2', 1)")
                           .arg(codigo++)
                           .arg(QString::fromUtf8(n)));
    pasta.executar(QStringLiteral("INSERT INTO tbpedido (nr_pedido, idFunc) VALUES (9, 'A'), (10, 'A'), (100, 'A')"));
    TDM dm(pasta.caminho());
    const QStringList esperado = {QStringLiteral("acido"),   QStringLiteral("Ácido"),   QStringLiteral("arruela"),
                                  QStringLiteral("Arruela"), QStringLiteral("Caçamba"), QStringLiteral("Carro"),
                                  QStringLiteral("ébano"),   QStringLiteral("Émbolo"),  QStringLiteral("Zinco")};
    QStringList mostrados;
    dialogos.pesquisa([&](LogicaPesquisa &l) { mostrados = coluna(l.dados(), "produto"); });
    DM->Pesquisar(QStringLiteral("tbproduto order by produto"), QStringLiteral("codigo, produto, precovenda, estoque"),
                  QStringLiteral("codigo"));
    EXPECT_EQ(mostrados, esperado);

    ConjuntoDados lista(QStringLiteral("lista"));
    lista.setConexao(dm.QyProduto.conexao());
    lista.setSql(QStringLiteral("select produto from tbproduto order by produto desc"));
    lista.abrir();
    QStringList inverso = esperado;
    std::reverse(inverso.begin(), inverso.end());
    EXPECT_EQ(coluna(lista, "produto"), inverso);

    ConjuntoDados numeros(QStringLiteral("numeros"));
    numeros.setConexao(dm.QyProduto.conexao());
    numeros.setSql(QStringLiteral("select nr_pedido from tbpedido order by nr_pedido desc"));
    numeros.abrir();
    EXPECT_EQ(coluna(numeros, "nr_pedido"),
              (QStringList{QStringLiteral("100"), QStringLiteral("10"), QStringLiteral("9")}));
}

} // namespace
