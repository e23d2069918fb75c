#include "impressao_pedido.h"

#include "campos_esquema.h"
#include "estado_pedido.h"
#include "fonte_conjunto.h"
#include "fonte_itens_pedido.h"
#include "guarda_conjuntos.h"
#include "motor_relatorio.h"
#include "regras_tipo_pedido.h"
#include "udm.h"
#include "ufunc.h"

#include <QDir>
#include <QFile>

#include <memory>

namespace
{

const QString kAtencao = QStringLiteral("Atenção");

QString entreAspas(QString valor)
{
    return QLatin1Char('\'') + valor.replace(u'\'', QStringLiteral("''")) + u'\'';
}

QString texto(const ConjuntoDados &c, const QString &campo)
{
    return c.campo(campo).texto();
}

void filtrar(ConjuntoDados &c, const QString &filtro)
{
    c.setFiltro(filtro);
    c.setFiltrado(true);
}

void semFiltro(ConjuntoDados &c)
{
    c.setFiltro(QString());
    c.setFiltrado(false);
}

// The data sets narrowed to one order while its report runs.
void restringir(TipoPedido tipo, const QString &numero)
{
    const QString cliente = texto(DM->QyPedido, Campos::Pedido::idCliente);
    const QString representante = texto(DM->QyPedido, Campos::Pedido::idFunc);
    const QString pedido = QStringLiteral("nr_pedido=") + entreAspas(numero);
    const auto &documentos = RegrasDoTipo(tipo).documentos;
    if (documentos.filtraCliente) {
        semFiltro(DM->QyCliente);
        filtrar(DM->QyCliente, QStringLiteral("IDCLIENTE=") + entreAspas(cliente));
    } else {
        // The exchange form shows the order's customer: only the cursor moves.
        DM->QyCliente.localizar(Campos::Cliente::IdCliente, cliente);
    }
    const QString filtroPedido = DM->QyPedido.filtro();
    filtrar(DM->QyPedido, documentos.somaAoFiltroDoCabecalho && !filtroPedido.isEmpty()
                              ? filtroPedido + QStringLiteral(" AND ") + pedido
                              : pedido);
    // The order's own representative, whoever prints it: on the
    // supervisor's installation the order is another representative's.
    filtrar(DM->QyFuncionario, QStringLiteral("idfunc=") + entreAspas(representante));
}

// How restringir() is undone, also when the run fails: the order list as
// it was, on the order; lifting the customers' filter moves them to the
// first row, and the screen's summary boxes show the order's customer.
std::vector<GuardaConjuntos::Item> restricoesDesfeitas(TipoPedido tipo, const QString &numero)
{
    using Filtro = GuardaConjuntos::Filtro;
    std::vector<GuardaConjuntos::Item> itens;
    if (RegrasDoTipo(tipo).documentos.filtraCliente)
        itens.push_back({.conjunto = DM->QyCliente,
                         .filtro = Filtro::Desligado,
                         .chave = Campos::Cliente::IdCliente,
                         .valor = texto(DM->QyPedido, Campos::Pedido::idCliente)});
    itens.push_back(
        {.conjunto = DM->QyPedido, .filtro = Filtro::Anterior, .chave = Campos::Pedido::nr_pedido, .valor = numero});
    itens.push_back({.conjunto = DM->QyFuncionario, .filtro = Filtro::Anterior});
    return itens;
}

// The value of `campo` in the first row of `lista` whose `chave` is `valor`.
QString procurar(const ConjuntoDados &lista, const QString &chave, const QString &valor, const QString &campo)
{
    for (int i = 0; !valor.isEmpty() && i < lista.quantidade(); ++i) {
        const Registro r = lista.registro(i);
        if (r.campo(chave).texto() == valor)
            return r.campo(campo).texto();
    }
    return {};
}

// The order header as the templates see it, with the name of its payment
// form beside the form's number and the name of its delivery locality (the
// header keeps the locality's one-character code).
class FontePedido : public FonteConjunto
{
  public:
    FontePedido() : FonteConjunto(QStringLiteral("rvdsPedido"), DM->QyPedido) {}
    CamposRelatorio registroAtual() const override
    {
        CamposRelatorio campos = FonteConjunto::registroAtual();
        const QString forma = procurar(DM->QyFormaPagamento, Campos::Forma::idforma,
                                       campos.value(QStringLiteral("idforma")), Campos::Forma::Forma);
        if (!forma.isEmpty())
            campos.insert(QStringLiteral("FORMA_PAGAMENTO"), forma);
        const QString codigo = campos.value(QStringLiteral("tp_localidade"));
        const QString localidade =
            procurar(DM->QyLocalidade, Campos::Localidade::tp_localidade, codigo, Campos::Localidade::nm_localidade);
        campos.insert(QStringLiteral("nm_localidade"), localidade.isEmpty() ? codigo : localidade);
        return campos;
    }
};

QMap<QString, QString> parametros(TipoPedido tipo)
{
    QMap<QString, QString> p;
    const ConjuntoDados &cliente = DM->QyCliente;
    const QString formaPadrao = texto(cliente, Campos::Cliente::CliFPagto);
    if (RegrasDoTipo(tipo).documentos.formaPadraoDoCliente && !formaPadrao.isEmpty() &&
        DM->QyFormaPagamento.localizar(Campos::Forma::idforma, formaPadrao))
        p.insert(QStringLiteral("pFormaPgtoPadrao"), texto(DM->QyFormaPagamento, Campos::Forma::idforma) +
                                                         QStringLiteral(" - ") +
                                                         texto(DM->QyFormaPagamento, Campos::Forma::Forma));
    p.insert(QStringLiteral("pUltimaAtualizacao"),
             texto(DM->QyConfiguracoes, Campos::Configuracoes::ultima_atualizacao));
    // Money as every money value of the document shows it: "1.234,50".
    p.insert(QStringLiteral("pUltimaCompraDinheiro"), cliente.campo(Campos::Cliente::valultcompra).textoExibicao());
    p.insert(QStringLiteral("pUltimaCompraData"), texto(cliente, Campos::Cliente::ultimacompra));
    return p;
}

void gerarPdf(TipoPedido tipo, const QString &pdf)
{
    const FontePedido pedido;
    // Every list of every kind: a template names the ones it shows.
    std::vector<std::unique_ptr<FonteItensPedido>> itens;
    for (const RegrasTipoPedido &regras : TiposDePedido())
        for (const ListaDoTipo &lista : regras.guarda.listas)
            itens.push_back(
                std::make_unique<FonteItensPedido>(QString::fromUtf8(lista.fonteRelatorio), lista.conjunto()));
    const FonteConjunto outras[] = {
        {QStringLiteral("rvdsCliente"), DM->QyCliente},
        {QStringLiteral("rvdsFormaPagamento"), DM->QyFormaPagamento},
        {QStringLiteral("rvdsFuncionario"), DM->QyFuncionario},
        {QStringLiteral("rvdsLocalidades"), DM->QyLocalidade},
    };
    std::vector<const FonteRelatorio *> fontes{&pedido};
    for (const auto &f : itens)
        fontes.push_back(f.get());
    for (const FonteConjunto &f : outras)
        fontes.push_back(&f);
    const QMap<QString, QString> valores = parametros(tipo);
    GerarRelatorio(DM->ArquivoModelo(QString::fromUtf8(RegrasDoTipo(tipo).documentos.modelo)), fontes, valores, pdf);
}

// The screen's save re-prices every item from today's product prices and
// re-totals the order.
void salvarPedido(const AcoesCabecalho &acoes)
{
    if (!DM->QyPedido.emEdicao())
        DM->QyPedido.editar();
    acoes.salvar();
}

// The order was saved and re-priced just before its PDF: only the mark is
// left to store, so the header alone is written.
void marcarImpresso()
{
    if (!DM->QyPedido.emEdicao())
        DM->QyPedido.editar();
    DM->QyPedido.campo(Campos::Pedido::impresso).setBooleano(true);
    DM->QyPedido.gravar();
}

} // namespace

QString CaminhoPdfPedido(TipoPedido tipo, const QString &numero)
{
    return QDir(DM->PathSistema)
        .filePath(QStringLiteral("relatórios/") + QString::fromUtf8(RegrasDoTipo(tipo).documentos.prefixoPdf) + numero +
                  ".pdf");
}

void ImprimirPedido(TipoPedido tipo, const QString &numero, bool abrir, const AcoesCabecalho &acoes)
{
    if (!PedidoEmRepouso(tipo))
        return;
    const GuardaConjuntos guarda(restricoesDesfeitas(tipo, numero));
    const QString pdf = CaminhoPdfPedido(tipo, numero);
    QFile::remove(pdf);
    // Stored first, so that the PDF shows what the database and the
    // transfer file written after it hold; a save that fails leaves the
    // header in the editing begun here, which the guard abandons.
    salvarPedido(acoes);
    restringir(tipo, numero);
    gerarPdf(tipo, pdf);
    if (abrir)
        Dialogos::atual().abrirArquivo(pdf);
    marcarImpresso();
}

void ImprimirPedidoBotao(TipoPedido tipo, const AcoesCabecalho &acoes)
{
    ExecutarProtegido([&] {
        if (!PedidoEmRepouso(tipo)) {
            MsgInformacao(MensagemSalvarAntes(), kAtencao);
            return;
        }
        const RegrasTipoPedido &regras = RegrasDoTipo(tipo);
        if (regras.envio.imprimeSoComEstoque && !ItensEmEstoque(ItensDoPedido(tipo), true)) {
            MsgInformacao(QString::fromUtf8(regras.textos.semEstoqueAoImprimir), kAtencao);
            return;
        }
        if (!DM->QyPedido.vazio())
            ImprimirPedido(tipo, texto(DM->QyPedido, Campos::Pedido::nr_pedido), true, acoes);
    });
}
