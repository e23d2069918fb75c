// The guard that puts shared data sets back after work that changed them:
// filter, current row, editing and typed drafts, on a normal exit and when an
// exception leaves the work.

#include "conexao.h"
#include "conjunto_dados.h"
#include "esquema.h"
#include "guarda_conjuntos.h"
#include "pasta_programa.h"
#include "transacao.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace
{

using Filtro = GuardaConjuntos::Filtro;

class GuardaConjuntosTeste : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        pasta.executar(QStringLiteral("INSERT INTO tbpedido (nr_pedido, idFunc, vl_total_item) VALUES (10, 'ABC', 1),"
                                      " (11, 'XYZ', 2), (12, 'ABC', 3), (13, 'ABC', 4), (14, 'ABC', 5);"
                                      "INSERT INTO tbpedido_item (nr_pedido, idfunc, codigo, quantidade) VALUES"
                                      " (12, 'ABC', 'P1', 1), (12, 'ABC', 'P2', 2);"));
        conexao.abrirBanco(pasta.bancoLocal());
        pedidos.setConexao(&conexao);
        pedidos.setTabela(QStringLiteral("tbpedido"));
        pedidos.setSql(QStringLiteral("select * from tbpedido order by nr_pedido desc"));
        pedidos.setFiltro(QStringLiteral("idFunc='ABC'"));
        pedidos.setFiltrado(true);
        pedidos.abrir();
        ASSERT_TRUE(pedidos.localizar(QStringLiteral("nr_pedido"), QStringLiteral("12")));
    }

    void filtrar(const char *filtro)
    {
        pedidos.setFiltro(QString::fromUtf8(filtro));
        pedidos.setFiltrado(true);
    }

    void irPara(int numero) { ASSERT_TRUE(pedidos.localizar(QStringLiteral("nr_pedido"), QString::number(numero))); }

    // Filter, rows in view, current row and whether it is being edited.
    QString vista()
    {
        QStringList nrs;
        for (int p = 0; p < pedidos.quantidade(); ++p)
            nrs << pedidos.registro(p).campo(QStringLiteral("nr_pedido")).texto();
        return QStringLiteral("%1 %2 [%3] %4%5")
            .arg(pedidos.filtro())
            .arg(pedidos.filtrado() ? "on" : "off")
            .arg(nrs.join(u','))
            .arg(pedidos.campo(QStringLiteral("nr_pedido")).texto())
            .arg(pedidos.emEdicao() ? " editando" : "");
    }

    PastaProgramaTeste pasta;
    Conexao conexao{QStringLiteral("ADOConexao")};
    ConjuntoDados pedidos{QStringLiteral("QyPedido"), &Esquema::pedido()};
};

// The work moves, stores a row that leaves the filter (it stays in view until
// the filter is applied again) and may narrow the list; the guard applies the
// old filter again, so the row leaves the view, and finds the row it was on,
// or the one it was told to find.
TEST_F(GuardaConjuntosTeste, FiltroERegistroVoltamAoSairEAoFalhar)
{
    struct Caso {
        bool estreitar;
        bool falhar;
        const char *valor;
        const char *esperado;
    };
    for (const Caso &caso : {
             Caso{false, false, "", "idFunc='ABC' on [13,12,10] 12"},
             Caso{true, false, "", "idFunc='ABC' on [13,12,10] 12"},
             Caso{false, true, "", "idFunc='ABC' on [13,12,10] 12"},
             Caso{true, true, "", "idFunc='ABC' on [13,12,10] 12"},
             Caso{true, true, "13", "idFunc='ABC' on [13,12,10] 13"},
         }) {
        SCOPED_TRACE(testing::Message() << caso.estreitar << caso.falhar << caso.valor);
        pasta.executar(QStringLiteral("UPDATE tbpedido SET idFunc = 'ABC' WHERE nr_pedido = 14"));
        pedidos.reabrir();
        irPara(12);
        try {
            const GuardaConjuntos guarda({{.conjunto = pedidos,
                                           .filtro = Filtro::Anterior,
                                           .chave = QStringLiteral("nr_pedido"),
                                           .valor = QString::fromUtf8(caso.valor)}});
            if (caso.estreitar)
                filtrar("vl_total_item>=4");
            irPara(14);
            pedidos.editar();
            pedidos.campo(QStringLiteral("idFunc")).setTexto(QStringLiteral("XYZ"));
            pedidos.gravar();
            ASSERT_TRUE(vista().contains(QStringLiteral("[14,13")));
            if (caso.falhar)
                throw std::runtime_error("falhou");
        } catch (const std::runtime_error &) {
        }
        EXPECT_EQ(vista(), QString::fromUtf8(caso.esperado));
    }
}

// A filter switched off at the end whatever it was, and a row the failed
// work left typed is abandoned, not stored by the change of filter.
TEST_F(GuardaConjuntosTeste, FiltroDesligadoEEdicaoAbandonada)
{
    EXPECT_THROW(
        {
            const GuardaConjuntos guarda(pedidos, Filtro::Desligado);
            irPara(13);
            pedidos.editar();
            pedidos.campo(QStringLiteral("vl_total_item")).setReal(99);
            throw std::runtime_error("falhou");
        },
        std::runtime_error);
    EXPECT_EQ(vista(), QStringLiteral(" off [14,13,12,11,10] 14"));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT vl_total_item FROM tbpedido WHERE nr_pedido = 13")),
              QStringLiteral("4"));
}

// An inner guard puts back what the outer work made, the outer one what
// was there before both.
TEST_F(GuardaConjuntosTeste, GuardasAninhadas)
{
    const QString antes = vista();
    {
        const GuardaConjuntos fora(pedidos, Filtro::Anterior, QStringLiteral("nr_pedido"));
        filtrar("vl_total_item>=3");
        irPara(13);
        EXPECT_THROW(
            {
                const GuardaConjuntos dentro(pedidos, Filtro::Anterior, QStringLiteral("nr_pedido"));
                filtrar("nr_pedido=14");
                throw std::runtime_error("falhou");
            },
            std::runtime_error);
        EXPECT_EQ(vista(), QStringLiteral("vl_total_item>=3 on [14,13,12] 13"));
    }
    EXPECT_EQ(vista(), antes);
}

// What was typed in a header and a new item comes back after a failed
// transaction rolled their rows back; after a kept one, nothing is touched.
TEST_F(GuardaConjuntosTeste, RascunhosVoltamSoQuandoOTrabalhoFalha)
{
    ConjuntoDados itens{QStringLiteral("QyPedidoItem"), &Esquema::pedidoItem()};
    itens.setConexao(&conexao);
    itens.setTabela(QStringLiteral("tbpedido_item"));
    itens.setSql(QStringLiteral("select * from tbpedido_item where nr_pedido = :nr_pedido"));
    itens.setMestre(&pedidos);
    itens.abrir();
    const auto digitar = [&] {
        pedidos.editar();
        pedidos.campo(QStringLiteral("vl_total_item")).setReal(77);
        itens.inserir();
        itens.campo(QStringLiteral("codigo")).setTexto(QStringLiteral("P9"));
        itens.campo(QStringLiteral("quantidade")).setInteiro(9);
    };
    const auto gravar = [&](bool falhar) {
        GuardaConjuntos rascunhos = GuardaConjuntos::rascunhos({&pedidos, &itens});
        Transacao transacao(conexao);
        itens.gravar();
        pedidos.gravar();
        if (falhar)
            throw std::runtime_error("falhou");
        transacao.confirmar();
        rascunhos.manter();
    };
    const auto banco = [&] {
        return pasta.consultar(QStringLiteral("SELECT vl_total_item FROM tbpedido WHERE nr_pedido = 12")) + u' ' +
               pasta.consultar(QStringLiteral("SELECT group_concat(codigo) FROM tbpedido_item WHERE nr_pedido = 12"));
    };

    digitar();
    EXPECT_THROW(gravar(true), std::runtime_error);
    EXPECT_EQ(banco(), QStringLiteral("3 P1,P2"));
    EXPECT_EQ(vista(), QStringLiteral("idFunc='ABC' on [14,13,12,10] 12 editando"));
    EXPECT_EQ(pedidos.campo(QStringLiteral("vl_total_item")).texto(), QStringLiteral("77"));
    EXPECT_EQ(itens.estado(), EstadoConjunto::Insercao);
    EXPECT_EQ(itens.campo(QStringLiteral("nr_pedido")).texto(), QStringLiteral("12"));
    EXPECT_EQ(itens.campo(QStringLiteral("codigo")).texto() + u' ' + itens.campo(QStringLiteral("quantidade")).texto(),
              QStringLiteral("P9 9"));

    gravar(false);
    EXPECT_EQ(banco(), QStringLiteral("77 P1,P2,P9"));
    EXPECT_FALSE(pedidos.emEdicao());
    EXPECT_FALSE(itens.emEdicao());
}

} // namespace
