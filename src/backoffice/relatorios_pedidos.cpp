#include "campos_esquema.h"
#include "fonte_resumo.h"
#include "formatos.h"
#include "guarda_conjuntos.h"
#include "regras_tipo_pedido.h"
#include "relatorio_comum.h"
#include "relatorios.h"
#include "situacao_central.h"
#include "udm.h"

#include <QDate>

namespace
{

const QString kModelo = QStringLiteral("todos-pedidos.rav");

struct Situacao {
    const char *condicao;
    const char *prefixo;
    const char *titulo;
};

Situacao situacao(SituacaoPedidos s)
{
    switch (s) {
    case SituacaoPedidos::Enviados:
        return {"ENVIADO='True'", "pedidos-enviado-", "Pedidos enviados"};
    case SituacaoPedidos::NaoEnviados:
        return {"ENVIADO='False'", "pedidos-nao-enviado-", "Pedidos não enviados"};
    case SituacaoPedidos::Impressos:
        return {"IMPRESSO='True'", "pedidos-impresso-", "Pedidos impressos"};
    case SituacaoPedidos::NaoImpressos:
        break;
    }
    return {"IMPRESSO='False'", "pedidos-nao-impresso-", "Pedidos não impressos"};
}

QString simNao(const Campo &c)
{
    return c.booleano() ? QStringLiteral("Sim") : QStringLiteral("Não");
}

void camposDoPedido(const Registro &r, const SituacoesCentral &situacoes, CamposRelatorio &campos)
{
    // The kind of an order is told by the total that holds a value.
    for (const RegrasTipoPedido &tipo : TiposDePedido()) {
        const Campo total = r.campo(tipo.guarda.colunaTotal);
        if (!total.nulo()) {
            campos.insert(QStringLiteral("TIPO_PEDIDO"), QString::fromUtf8(tipo.textos.nome));
            campos.insert(QStringLiteral("VALOR_PEDIDO"), total.textoExibicao());
            break;
        }
    }
    campos.insert(QStringLiteral("IMPRESSO_SN"), simNao(r.campo(Campos::Pedido::impresso)));
    campos.insert(QStringLiteral("ENVIADO_SN"), simNao(r.campo(Campos::Pedido::enviado)));
    campos.insert(
        QStringLiteral("SITUACAO_CENTRAL"),
        situacoes.de(r.campo(Campos::Pedido::idFunc).texto(), r.campo(Campos::Pedido::nr_pedido).valor().toLongLong()));
}

// The order list under its filter, as todos-pedidos.rav reads it.
void gerar(const QString &titulo, const QString &prefixo, const QMap<QString, QString> &parametros = {})
{
    QStringList somados;
    for (const RegrasTipoPedido &tipo : TiposDePedido())
        somados << tipo.guarda.colunaTotal;
    // Read once for the whole list: a query per row would slow a long one.
    const SituacoesCentral situacoes;
    const FonteResumo pedidos(
        QStringLiteral("rvdsPedido"), DM->QyPedido,
        {{QStringLiteral("TITULO_RELATORIO"), titulo}, {QStringLiteral("DATA_EMISSAO"), DataEmissao()}}, somados,
        [&situacoes](const Registro &r, CamposRelatorio &campos) { camposDoPedido(r, situacoes, campos); });
    const FonteConjunto clientes(QStringLiteral("rvdsCliente"), DM->QyCliente);
    const FonteConjunto funcionarios(QStringLiteral("rvdsFuncionario"), DM->QyFuncionario);
    GerarRelatorioPDF(kModelo, CaminhoRelatorio(prefixo, QStringLiteral(".pdf")), {&pedidos, &clientes, &funcionarios},
                      parametros);
}

// Nothing is printed while an order or an exchange's items are being edited.
bool pedidosEmRepouso()
{
    return !DM->QyPedido.emEdicao() && !DM->QyTrocaSub.emEdicao() && !DM->QyTrocaDev.emEdicao();
}

// "1/2/2010" or "01/02/2010 10:00" as "01/02/2010".
QString dataDoParametro(const QString &texto)
{
    return Formatos::data(Formatos::lerDataHora(texto).date());
}

} // namespace

void RelatorioPedidosPorSituacao(SituacaoPedidos s)
{
    if (!pedidosEmRepouso())
        return;
    const Situacao sit = situacao(s);
    const GuardaConjuntos guarda(DM->QyPedido, GuardaConjuntos::Filtro::Anterior, Campos::Pedido::nr_pedido);
    const QString condicao = QString::fromUtf8(sit.condicao);
    const QString anterior = DM->QyPedido.filtro();
    Filtrar(DM->QyPedido, anterior.isEmpty() ? condicao : anterior + QStringLiteral(" AND ") + condicao);
    gerar(QString::fromUtf8(sit.titulo), QString::fromUtf8(sit.prefixo));
}

void RelatorioTodosPedidos()
{
    if (!pedidosEmRepouso())
        return;
    const GuardaConjuntos guarda(DM->QyPedido, GuardaConjuntos::Filtro::Anterior, Campos::Pedido::nr_pedido);
    gerar(QStringLiteral("Todos os pedidos"), QStringLiteral("todos-pedidos-"));
}

void RelatorioPedidosPorPeriodo()
{
    // The view and the current order come back whatever happens, a bad
    // date included: the user finds the main window as it was.
    const GuardaConjuntos guarda(DM->QyPedido, GuardaConjuntos::Filtro::Anterior, Campos::Pedido::nr_pedido);
    DM->QyPedido.setFiltro(QString());
    DM->QyPedido.setFiltrado(false);
    const QString titulo = QStringLiteral("Relatório por período");
    const QString hoje = Formatos::data(QDate::currentDate());
    const QString d1 = CaixaEntrada(titulo, QStringLiteral("Digite a data inicial:"), hoje);
    const QString d2 = CaixaEntrada(titulo, QStringLiteral("Digite a data final:"), hoje);
    if (d1.isEmpty() || d2.isEmpty())
        return;
    // Every representative's orders in the local database count.
    Filtrar(DM->QyPedido, QStringLiteral("dt_pedido >= ") + EntreAspas(d1 + QStringLiteral(" 00:00:00")) +
                              QStringLiteral(" AND dt_pedido <=") + EntreAspas(d2 + QStringLiteral(" 23:59:59")));
    gerar(QStringLiteral("Pedidos por período"), QStringLiteral("todos-pedidos-periodo-"),
          {{QStringLiteral("pDataInicial"), dataDoParametro(d1)}, {QStringLiteral("pDataFinal"), dataDoParametro(d2)}});
}
