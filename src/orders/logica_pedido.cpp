#include "logica_pedido.h"
#include "campos_esquema.h"
#include "entrada_preco.h"
#include "negociacao_pedido.h"
#include "previa_pedido.h"

#include "calculo_preco.h"
#include "envio_pedido.h"
#include "erro.h"
#include "estado_pedido.h"
#include "formatos.h"
#include "guarda_conjuntos.h"
#include "impressao_pedido.h"
#include "totais.h"
#include "transacao.h"
#include "udm.h"
#include "ufunc.h"

#include <cmath>

namespace
{

const QString kAtencao = QStringLiteral("Atenção");

QString S(const char *texto)
{
    return QString::fromUtf8(texto);
}

enum class Regra { Sempre, Inserir, Editar, SalvarCancelar, Excluir, Anterior, Proximo };

Regra regraDe(AcaoPedido acao)
{
    switch (acao) {
    case AcaoPedido::Novo:
    case AcaoPedido::NovoItem:
        return Regra::Inserir;
    case AcaoPedido::Editar:
    case AcaoPedido::EditarItem:
        return Regra::Editar;
    case AcaoPedido::Salvar:
    case AcaoPedido::Cancelar:
    case AcaoPedido::SalvarItem:
    case AcaoPedido::CancelarItem:
        return Regra::SalvarCancelar;
    case AcaoPedido::Excluir:
    case AcaoPedido::ExcluirItem:
        return Regra::Excluir;
    case AcaoPedido::Anterior:
    case AcaoPedido::AnteriorItem:
        return Regra::Anterior;
    case AcaoPedido::Proximo:
    case AcaoPedido::ProximoItem:
        return Regra::Proximo;
    case AcaoPedido::PesquisarPedido:
    case AcaoPedido::Enviar:
    case AcaoPedido::Imprimir:
    case AcaoPedido::ImportarPendencia:
        break;
    }
    return Regra::Sempre;
}

bool acaoDeItem(AcaoPedido acao)
{
    return acao >= AcaoPedido::NovoItem;
}

// The keyboard table of the item grid, by digit.
constexpr AcaoPedido kTeclasAlt[] = {AcaoPedido::Enviar,  AcaoPedido::Imprimir, AcaoPedido::Novo,
                                     AcaoPedido::Editar,  AcaoPedido::Salvar,   AcaoPedido::Cancelar,
                                     AcaoPedido::Excluir, AcaoPedido::Anterior, AcaoPedido::Proximo};
constexpr AcaoPedido kTeclasCtrl[] = {AcaoPedido::NovoItem,     AcaoPedido::EditarItem,  AcaoPedido::SalvarItem,
                                      AcaoPedido::CancelarItem, AcaoPedido::ExcluirItem, AcaoPedido::AnteriorItem,
                                      AcaoPedido::ProximoItem};

// The search dialog's choice; a search that fails shows its error and
// chooses nothing.
QString pesquisar(const PesquisaPedido &p)
{
    try {
        return DM->Pesquisar(S(p.tabela), S(p.campos), S(p.resultado));
    } catch (const Erro &e) {
        MsgErroPadrao(e.mensagem());
    }
    return {};
}

// A field of the row being edited gets a text; an empty text empties it.
void escreverTexto(Campo campo, const QString &texto)
{
    if (texto.isEmpty())
        campo.limpar();
    else
        campo.setTexto(texto);
}

// Quantities are compared as the numbers they hold; an empty stock is 0.
double numero(const Campo &campo)
{
    return campo.nulo() ? 0.0 : campo.real();
}

} // namespace

QColor CorUltimaCompra(const QDateTime &ultimaCompra, const QDateTime &agora)
{
    if (!ultimaCompra.isValid())
        return Qt::black;
    const qint64 dias = std::abs(ultimaCompra.secsTo(agora)) / 86400;
    if (dias < 20)
        return QColor(0, 128, 0);
    if (dias < 40)
        return QColor(0, 0, 255);
    if (dias < 60)
        return QColor(255, 0, 0);
    return Qt::black;
}

LogicaPedido::LogicaPedido(const VariantePedido &variante, VisaoPedido &visao) : m_variante(variante), m_visao(visao) {}

ConjuntoDados &LogicaPedido::cabecalho() const
{
    return DM->QyPedido;
}

ConjuntoDados &LogicaPedido::itens(int lista) const
{
    return ItensDoPedido(m_variante.tipo, lista);
}

bool LogicaPedido::algoModificado() const
{
    for (const ConjuntoDados *c : conjuntos())
        if (c->emEdicao() && c->modificado())
            return true;
    return false;
}

bool LogicaPedido::itemEmEdicao() const
{
    for (int l = 0; l < quantidadeListas(); ++l)
        if (itens(l).emEdicao())
            return true;
    return false;
}

std::vector<ConjuntoDados *> LogicaPedido::conjuntos() const
{
    std::vector<ConjuntoDados *> todos{&cabecalho()};
    for (int l = 0; l < quantidadeListas(); ++l)
        todos.push_back(&itens(l));
    return todos;
}

// ---------------------------------------------------------------- opening and closing

void LogicaPedido::abrir()
{
    ExecutarProtegido([this] {
        m_filtroAnterior = DM->FiltroFuncionario;
        ItensQueSeguemOCabecalho(m_variante.tipo);
        const QString condicao = S(m_variante.regras().guarda.condicaoCabecalho);
        ConjuntoDados &pedidos = cabecalho();
        pedidos.setFiltro(m_filtroAnterior.isEmpty() ? condicao
                                                     : m_filtroAnterior + QStringLiteral(" AND ") + condicao);
        pedidos.setFiltrado(true);
        pedidos.primeiro();
        DM->QyCliente.primeiro();
        const QString cliente = pedidos.campo(Campos::Pedido::idCliente).texto();
        if (!cliente.isEmpty())
            DM->QyCliente.localizar(Campos::Cliente::IdCliente, cliente);
        if (m_variante.foco.gradeAoAbrir)
            focar(CaixaPedido::Grade);
    });
}

// An order or an item still being typed is "in use": the user chooses
// between saving it and staying (a screen without the question saves). The
// window closes only when the save left nothing unsaved, so an item that
// fails its checks is never dropped, and an order never stays stored
// without its totals.
bool LogicaPedido::podeFechar()
{
    if (!cabecalho().emEdicao() && !itemEmEdicao())
        return true;
    if (m_variante.gravacao.perguntaAoFechar) {
        const QString pergunta = S(m_variante.inicioPerguntaFechar) +
                                 cabecalho().campo(Campos::Pedido::nr_pedido).texto() +
                                 QStringLiteral(") está em uso, deseja salvar e sair?");
        if (MsgPergunta(pergunta, kAtencao, Resposta::Sim) != Resposta::Sim)
            return false;
    }
    // Without the question nothing the user did not change is stored (nor
    // re-priced by the save); what is being typed counts as a change.
    m_visao.confirmarFoco();
    if (!m_variante.gravacao.perguntaAoFechar && !algoModificado()) {
        cancelarPedido();
        return true;
    }
    bool salvo = false;
    ExecutarProtegido([&] {
        if (cabecalho().emEdicao())
            executar(AcaoPedido::Salvar);
        else
            for (int l = 0; l < quantidadeListas(); ++l)
                if (itens(l).emEdicao())
                    executar(AcaoPedido::SalvarItem, l);
        salvo = true;
    });
    return salvo && !cabecalho().emEdicao() && !itemEmEdicao();
}

void LogicaPedido::aoFechar()
{
    ExecutarProtegido([this] {
        ItensQueSeguemOCabecalho(std::nullopt);
        cabecalho().setFiltro(m_filtroAnterior);
        cabecalho().setFiltrado(true);
    });
}

// ---------------------------------------------------------------- buttons

bool LogicaPedido::habilitado(AcaoPedido acao, int numeroLista) const
{
    const Regra regra = regraDe(acao);
    if (regra == Regra::Sempre)
        return true;
    const ConjuntoDados &lista = acaoDeItem(acao) ? itens(numeroLista) : cabecalho();
    // Items exist only under a stored header: without the order list none
    // of the item buttons has anything to work on.
    if (!lista.ativo() || !cabecalho().ativo())
        return false;
    switch (regra) {
    case Regra::Inserir:
        return lista.podeModificar();
    case Regra::Editar:
        return lista.podeModificar() && !lista.emEdicao();
    case Regra::SalvarCancelar:
        return lista.podeModificar() && lista.emEdicao();
    case Regra::Excluir:
        return lista.podeModificar() && !lista.vazio();
    case Regra::Anterior:
        return !lista.inicio();
    case Regra::Proximo:
        return !lista.fim();
    case Regra::Sempre:
        break;
    }
    return true;
}

void LogicaPedido::clicar(AcaoPedido acao, int lista)
{
    ExecutarProtegido([this, acao, lista] {
        m_visao.confirmarFoco();
        executar(acao, lista);
    });
}

bool LogicaPedido::teclaGrade(int tecla, bool alt, bool ctrl)
{
    if (!m_variante.teclas.digitosDaGrade || tecla < Qt::Key_0 || tecla > Qt::Key_9)
        return false;
    const int digito = tecla - Qt::Key_0;
    bool tratada = false;
    if (alt) {
        tratada = true;
        if (digito == 0)
            m_visao.fechar();
        else
            clicar(kTeclasAlt[digito - 1]);
    }
    if (ctrl && digito >= 1 && digito <= 7) {
        tratada = true;
        clicar(kTeclasCtrl[digito - 1]);
    }
    return tratada;
}

void LogicaPedido::executar(AcaoPedido acao, int lista)
{
    if (!habilitado(acao, lista))
        return;
    switch (acao) {
    case AcaoPedido::PesquisarPedido:
        pesquisarPedido();
        break;
    case AcaoPedido::Enviar:
        EnviarPedido(m_variante.tipo, acoesCabecalho());
        break;
    case AcaoPedido::Imprimir:
        ImprimirPedidoBotao(m_variante.tipo, acoesCabecalho());
        break;
    case AcaoPedido::Novo:
        inserirPedido();
        break;
    case AcaoPedido::Editar:
        cabecalho().editar();
        break;
    case AcaoPedido::Salvar:
        salvarPedido();
        break;
    case AcaoPedido::Cancelar:
        cancelarPedido();
        break;
    case AcaoPedido::Excluir:
        excluirPedido();
        break;
    case AcaoPedido::Anterior:
        cabecalho().anterior();
        break;
    case AcaoPedido::Proximo:
        cabecalho().proximo();
        break;
    case AcaoPedido::ImportarPendencia:
        importarPendencia(lista);
        break;
    case AcaoPedido::NovoItem:
        inserirItem(lista);
        break;
    case AcaoPedido::EditarItem:
        editarItem(lista);
        break;
    case AcaoPedido::SalvarItem:
        salvarItem(lista);
        break;
    case AcaoPedido::CancelarItem:
        itens(lista).cancelar();
        break;
    case AcaoPedido::ExcluirItem:
        excluirItem(lista);
        break;
    case AcaoPedido::AnteriorItem:
        if (podeNavegarItens(lista))
            itens(lista).anterior();
        break;
    case AcaoPedido::ProximoItem:
        proximoItem(lista);
        break;
    }
}

// Printing and sending mark the order through this screen's own buttons.
AcoesCabecalho LogicaPedido::acoesCabecalho()
{
    return {[this] { executar(AcaoPedido::Editar); }, [this] { executar(AcaoPedido::Salvar); }};
}

void LogicaPedido::focar(CaixaPedido caixa, int lista)
{
    const bool antes = m_focando;
    m_focando = true;
    m_visao.focar(caixa, lista);
    m_focando = antes;
}

// Leaving a box moves the focus on, unless the box was left because the
// logic itself sent the focus elsewhere: that target wins.
void LogicaPedido::focarAoSair(CaixaPedido caixa, int lista)
{
    if (!m_focando)
        m_visao.focar(caixa, lista);
}

void LogicaPedido::confirmarCaixasDoCabecalho()
{
    m_visao.confirmar(CaixaPedido::Observacao);
    m_visao.confirmar(CaixaPedido::FormaPagtoDetalhado);
}

// ---------------------------------------------------------------- the order

void LogicaPedido::pesquisarPedido()
{
    if (cabecalho().emEdicao() || itemEmEdicao()) {
        if (m_variante.teclas.pesquisaEmEdicaoAvisa)
            MsgInformacao(MensagemSalvarAntes(), kAtencao);
        return;
    }
    const QString numero = pesquisar(m_variante.pesquisaPedido);
    if (!numero.isEmpty())
        cabecalho().localizar(Campos::Pedido::nr_pedido, numero);
}

bool LogicaPedido::podeRepetir() const
{
    const ConjuntoDados &pedidos = cabecalho();
    return m_variante.teclas.repetePedido && pedidos.ativo() && !pedidos.vazio() && !pedidos.emEdicao() &&
           !itemEmEdicao();
}

void LogicaPedido::repetirPedido()
{
    ExecutarProtegido([this] {
        if (podeRepetir())
            repetir();
    });
}

void LogicaPedido::repetir()
{
    ConjuntoDados &pedidos = cabecalho();
    ConjuntoDados &lista = itens(0);
    struct ItemRepetido {
        QString codigo;
        QVariant quantidade;
        QVariant descontos[4];
    };
    const NomeCampo descontos[] = {Campos::Item::cd_desconto1, Campos::Item::cd_desconto2, Campos::Item::cd_desconto3,
                                   Campos::Item::gordura1};
    std::vector<ItemRepetido> origem;
    for (int i = 0; i < lista.quantidade(); ++i) {
        const Registro r = lista.registro(i);
        ItemRepetido item{r.campo(Campos::Item::codigo).texto(), r.campo(Campos::Item::quantidade).valor(), {}};
        for (int d = 0; d < 4; ++d)
            item.descontos[d] = r.campo(descontos[d]).valor();
        origem.push_back(item);
    }
    const QString cliente = pedidos.campo(Campos::Pedido::idCliente).texto();

    QStringList ausentes, foraDoPedido;
    Transacao transacao(DM->ADOConexao);
    // The header as a new order for this customer gets it: the customer's
    // payment form, the screen's defaults for freight, dv and avista.
    inserirPedido();
    pedidos.campo(Campos::Pedido::idCliente).setTexto(cliente);
    if (DM->QyCliente.localizar(Campos::Cliente::IdCliente, cliente))
        aplicarCliente();
    pedidos.gravar();
    pedidos.editar();
    for (const ItemRepetido &item : origem) {
        if (!DM->QyProduto.localizar(Campos::Produto::CODIGO, item.codigo)) {
            ausentes << item.codigo;
            continue;
        }
        lista.inserir();
        lista.campo(Campos::Item::codigo).setTexto(item.codigo);
        lista.campo(Campos::Item::quantidade).setValor(item.quantidade);
        for (int d = 0; d < 4; ++d)
            lista.campo(descontos[d]).setValor(item.descontos[d]);
        conferirProduto(0);
        salvarItem(0);
        // Kept back by the stock or the sale multiple: this one stays out.
        if (lista.emEdicao()) {
            lista.cancelar();
            foraDoPedido << item.codigo;
        }
    }
    salvarPedido();
    transacao.confirmar();

    QStringList avisos;
    if (!ausentes.isEmpty())
        avisos << QStringLiteral("Produtos que não existem mais e ficaram fora do pedido: ") +
                      ausentes.join(QStringLiteral(", ")) + QLatin1Char('.');
    if (!foraDoPedido.isEmpty())
        avisos << QStringLiteral("Itens que não foram repetidos: ") + foraDoPedido.join(QStringLiteral(", ")) +
                      QLatin1Char('.');
    if (!avisos.isEmpty())
        MsgInformacao(avisos.join(QLatin1Char('\n')), kAtencao);
}

void LogicaPedido::inserirPedido()
{
    focar(CaixaPedido::CodigoCliente);
    cabecalho().inserir();
    if (m_variante.gravacao.cifNaoAoInserir)
        cabecalho().campo(Campos::Pedido::cif).setTexto(QStringLiteral("Não"));
}

// An order belongs to a customer: a header without one is never stored.
// The user is told which box to fill, and finds it with the focus.
bool LogicaPedido::clienteInformado()
{
    if (!cabecalho().campo(Campos::Pedido::idCliente).nulo())
        return true;
    MsgInformacao(QStringLiteral("Preencha o \"Código do Cliente\": um pedido não pode ser salvo sem o cliente."),
                  kAtencao);
    focar(CaixaPedido::CodigoCliente);
    return false;
}

void LogicaPedido::salvarPedido()
{
    ConjuntoDados &pedidos = cabecalho();
    confirmarCaixasDoCabecalho();
    if (!clienteInformado())
        return;
    for (int l = 0; l < quantidadeListas(); ++l)
        if (itens(l).emEdicao())
            executar(AcaoPedido::SalvarItem, l);
    // An item that did not pass its checks stays on screen with the header
    // as typed; reloading here would drop one or store the other unchecked.
    if (itemEmEdicao())
        return;
    // An item whose save saved the whole order has left nothing to do.
    if (m_variante.gravacao.itemSalvaPedido && !pedidos.emEdicao())
        return;
    // When the save fails the database is as it was and the screen shows
    // again what was typed.
    GuardaConjuntos rascunhos = GuardaConjuntos::rascunhos(conjuntos());
    Transacao transacao(*pedidos.conexao());
    if (m_variante.regras().precos.precoMedio)
        precificarPacote();
    else if (!m_variante.gravacao.itemSalvaPedido)
        for (int l = 0; l < quantidadeListas(); ++l)
            PrecificarItensDaLista(m_variante.tipo, l);
    RecalcularTotais(m_variante.tipo);
    // Only what this save wrote is read again: the cost follows the order,
    // not the number of orders on file. Read before the commit, under the
    // lock the save already holds; should the commit fail, the rollback
    // reopens what was read and the drafts come back.
    pedidos.reabrirLocalizando(Campos::Pedido::nr_pedido, pedidos.campo(Campos::Pedido::nr_pedido).texto());
    transacao.confirmar();
    rascunhos.manter();
}

// The first item priced on its own, then the one average over all items.
void LogicaPedido::precificarPacote()
{
    ConjuntoDados &lista = itens();
    if (lista.vazio())
        return;
    lista.primeiro();
    lista.editar();
    precificar(0);
    lista.gravar();
    AplicarPrecoMedio(m_variante.tipo);
}

// Items first: abandoning the header alone would store a changed item as
// it stands when the item list follows the header.
void LogicaPedido::cancelarPedido()
{
    for (int l = 0; l < quantidadeListas(); ++l)
        itens(l).cancelar();
    cabecalho().cancelar();
}

void LogicaPedido::excluirPedido()
{
    if (cabecalho().emEdicao())
        return;
    const QString pergunta = QStringLiteral("Deseja realmente deletar o pedido: ( ") +
                             cabecalho().campo(Campos::Pedido::nr_pedido).texto() + QStringLiteral(" )") +
                             S(m_variante.fimPerguntaExcluir);
    if (MsgPergunta(pergunta, kAtencao) == Resposta::Sim && !cabecalho().emEdicao())
        cabecalho().excluir();
}

// ---------------------------------------------------------------- items

void LogicaPedido::inserirItem(int l)
{
    ConjuntoDados &pedidos = cabecalho();
    // The item being typed passes its checks first; one that does not stays.
    if (itens(l).emEdicao()) {
        executar(AcaoPedido::SalvarItem, l);
        if (itens(l).emEdicao())
            return;
    }
    const bool cabecalhoEmEdicao = pedidos.emEdicao();
    if (!cabecalhoEmEdicao)
        executar(AcaoPedido::Editar);
    // A new item needs its order's number: a header being typed is stored
    // first (editing an empty list starts a new header, stored here too).
    if (cabecalhoEmEdicao || pedidos.estado() == EstadoConjunto::Insercao) {
        confirmarCaixasDoCabecalho();
        executar(AcaoPedido::Salvar);
        executar(AcaoPedido::Editar);
    }
    // An item takes its order's number: never one under a header not stored.
    if (pedidos.campo(Campos::Pedido::nr_pedido).nulo())
        return;
    focar(CaixaPedido::ItemCodigo, l);
    itens(l).inserir();
}

void LogicaPedido::editarItem(int l)
{
    ConjuntoDados &lista = itens(l);
    // Editing an empty list starts a new item: it follows the insert's rule,
    // which stores a new header first, so no item is stored without its
    // order. Where editing must not insert, an empty list has nothing to edit.
    if (lista.vazio()) {
        if (!m_variante.gravacao.editarItemExigeItem)
            inserirItem(l);
        return;
    }
    if (m_variante.gravacao.editarItemEditaPedido) {
        // Editing the header does not reload the items: the same item stays
        // current.
        if (!cabecalho().emEdicao())
            executar(AcaoPedido::Editar);
        focar(CaixaPedido::ItemCodigo, l);
    }
    lista.editar();
}

bool LogicaPedido::podeNavegarItens(int l) const
{
    return !m_variante.teclas.itensNavegamSoEmRepouso || !itens(l).emEdicao();
}

void LogicaPedido::perguntarCancelarItem(const QString &texto, int l)
{
    if (MsgPergunta(texto, kAtencao) == Resposta::Sim)
        executar(AcaoPedido::CancelarItem, l);
}

void LogicaPedido::salvarItem(int l)
{
    ConjuntoDados &lista = itens(l);
    const ListaPedido &def = definicao(l);
    m_visao.confirmar(CaixaPedido::ItemCodigo, l);
    m_visao.confirmar(CaixaPedido::ItemQuantidade, l);
    // A code typed and saved without leaving its box gets the check leaving
    // would have given it, so an unknown product is never stored (nor moved
    // to the pending list).
    if (lista.emEdicao())
        conferirProduto(l);
    const QString codigo = lista.campo(Campos::Item::codigo).texto();
    if (codigo.isEmpty()) {
        perguntarCancelarItem(
            QStringLiteral("O código está em branco ou inválido. Deseja cancelar a alteração do item?"), l);
        return;
    }
    const Campo campoQuantidade = lista.campo(Campos::Item::quantidade);
    if (campoQuantidade.nulo() ||
        (def.aoSalvar.quantidadeDecimal ? campoQuantidade.real() <= 0 : campoQuantidade.real() < 1)) {
        perguntarCancelarItem(
            QStringLiteral("A quantidade está em branco ou inválido. Deseja cancelar a alteração do item?"), l);
        return;
    }
    if (def.aoSalvar.exigeProduto && !DM->QyProduto.localizar(Campos::Produto::CODIGO, codigo))
        return;
    const double quantidade = campoQuantidade.real();
    if (def.aoSalvar.confereMultiplo) {
        const double multiplo = numero(DM->QyProduto.campo(Campos::Produto::multiplo));
        // Half goes to the even neighbour; a multiple that rounds to 0 sets
        // no condition, as every whole quantity is a multiple of it.
        const double m = std::nearbyint(multiplo);
        if (m != 0 && std::fmod(quantidade, m) != 0) {
            MsgInformacao(QStringLiteral("Esse produto é multiplo de: ") + Formatos::numero(multiplo) +
                              QStringLiteral(" Quantidade(s).\nAltere a(s) quantidade(s)."),
                          kAtencao);
            return;
        }
    }
    if (def.aoSalvar.perguntaEstoque && quantidade > numero(lista.campo(Campos::Item::estoque))) {
        if (MsgPergunta(QStringLiteral("Quantidade não disponível no estoque atual. Deseja colocar esse item em "
                                       "pendência?\nO sistema irá lhe avisar quando esse produto estiver disponivel."),
                        kAtencao) == Resposta::Sim)
            colocarItemEmPendencia(l);
        else
            focar(CaixaPedido::ItemQuantidade, l);
        return;
    }
    if (m_variante.regras().precos.precoMedio) {
        gravarItemDoPacote(l);
        return;
    }
    if (m_variante.gravacao.itemSalvaPedido) {
        // The item and the order it changes are stored together, or neither;
        // what was typed comes back on the screen when they fail.
        GuardaConjuntos rascunhos = GuardaConjuntos::rascunhos(conjuntos());
        Transacao transacao(*cabecalho().conexao());
        if (lista.emEdicao())
            lista.gravar();
        if (cabecalho().emEdicao())
            executar(AcaoPedido::Salvar);
        transacao.confirmar();
        rascunhos.manter();
        return;
    }
    precificar(l);
    // The item and the header's totals together: a failure or a kill between
    // them must not leave a total that disagrees with the lines.
    Transacao transacao(DM->ADOConexao);
    if (lista.emEdicao())
        lista.gravar();
    RecalcularTotais(m_variante.tipo);
    transacao.confirmar();
}

// The item, the package's new average and its totals together, or none.
void LogicaPedido::gravarItemDoPacote(int l)
{
    ConjuntoDados &lista = itens(l);
    Transacao transacao(DM->ADOConexao);
    if (lista.emEdicao())
        lista.gravar();
    AplicarPrecoMedio(m_variante.tipo);
    RecalcularTotais(m_variante.tipo);
    transacao.confirmar();
}

void LogicaPedido::colocarItemEmPendencia(int l)
{
    ConjuntoDados &lista = itens(l);
    ConjuntoDados &pendentes = DM->QyPendente;
    // The pending row and the item's removal together, or neither.
    Transacao transacao(DM->ADOConexao);
    pendentes.inserir();
    for (const NomeCampo &campo :
         {Campos::Item::nr_pedido, Campos::Item::idfunc, Campos::Item::item, Campos::Item::codigo,
          Campos::Item::quantidade, Campos::Item::valorUnitario, Campos::Item::valorTotal, Campos::Item::cd_desconto1,
          Campos::Item::cd_desconto2, Campos::Item::cd_desconto3, Campos::Item::desconto})
        pendentes.campo(campo).setValor(lista.campo(campo).valor());
    // The pending list keeps whole quantities: a decimal one is rounded up,
    // so that what is still owed is never less than what was ordered.
    if (definicao(l).aoSalvar.quantidadeDecimal)
        pendentes.campo(Campos::Item::quantidade)
            .setInteiro(static_cast<qint64>(std::ceil(numero(lista.campo(Campos::Item::quantidade)))));
    pendentes.campo(Campos::Item::cod_cliente).setValor(cabecalho().campo(Campos::Pedido::idCliente).valor());
    pendentes.campo(Campos::Item::data_pendente).setDataHora(QDateTime::currentDateTime());
    pendentes.gravar();
    lista.excluir();
    transacao.confirmar();
}

void LogicaPedido::excluirItem(int l)
{
    ConjuntoDados &lista = itens(l);
    if (lista.emEdicao())
        return;
    const QString pergunta = QStringLiteral("Deseja realmente deletar o item: ( ") +
                             lista.campo(Campos::Item::codigo).texto() + QStringLiteral(" )") +
                             S(definicao(l).fimPerguntaExcluir);
    if (MsgPergunta(pergunta, kAtencao) != Resposta::Sim || lista.emEdicao())
        return;
    if (m_variante.gravacao.itemSalvaPedido) {
        // The deletion and the order saved without the item, or neither; the
        // header is left being edited.
        {
            GuardaConjuntos rascunhos = GuardaConjuntos::rascunhos(conjuntos());
            Transacao transacao(*cabecalho().conexao());
            lista.excluir();
            executar(AcaoPedido::Editar);
            executar(AcaoPedido::Salvar);
            transacao.confirmar();
            rascunhos.manter();
        }
        executar(AcaoPedido::Editar);
        return;
    }
    Transacao transacao(DM->ADOConexao);
    lista.excluir();
    RecalcularTotais(m_variante.tipo);
    transacao.confirmar();
}

void LogicaPedido::proximoItem(int l)
{
    if (!podeNavegarItens(l) ||
        (m_variante.teclas.proximoItemSoComPedidoEmRepouso && (cabecalho().emEdicao() || itens(l).emEdicao())))
        return;
    itens(l).proximo();
}

void LogicaPedido::importarPendencia(int l)
{
    ConjuntoDados &lista = itens(l);
    const ListaPedido &def = definicao(l);
    if (!def.pendencia.importa || !lista.emEdicao())
        return;
    const QString codigo = DM->Pesquisar(QStringLiteral("tbpedido_pendente where situacao ='Disponível'"),
                                         QStringLiteral("codigo, data_pendente, valorTotal"), QStringLiteral("codigo"));
    ConjuntoDados &pendentes = DM->QyPendente;
    if (codigo.isEmpty() || !pendentes.localizar(Campos::Item::codigo, codigo))
        return;
    for (const NomeCampo &campo : def.pendencia.campos)
        lista.campo(campo).setValor(pendentes.campo(campo).valor());
    itemSaido(CaixaPedido::ItemCodigo, l);
    // The item is stored and the pending row removed together: a refused
    // store keeps the pending row and leaves the item on screen.
    Transacao transacao(DM->ADOConexao);
    lista.gravar();
    pendentes.excluir();
    transacao.confirmar();
}

// ---------------------------------------------------------------- boxes and searches

void LogicaPedido::aplicarCliente()
{
    const ConjuntoDados &clientes = DM->QyCliente;
    escreverTexto(cabecalho().campo(Campos::Pedido::idforma), clientes.campo(Campos::Cliente::CliFPagto).texto());
    if (m_variante.cliente.coloreUltimaCompra) {
        const Campo ultima = clientes.campo(Campos::Cliente::ultimacompra);
        m_visao.colorirPainel(
            CorUltimaCompra(ultima.nulo() ? QDateTime() : ultima.dataHora(), QDateTime::currentDateTime()));
    }
}

QStringList LogicaPedido::clientesRecentes() const
{
    ConjuntoDados consulta(QStringLiteral("QyClientesRecentes"));
    consulta.setConexao(&DM->ADOConexao);
    consulta.setSql(QStringLiteral(
        "SELECT c.IdCliente, c.Nome FROM tbcliente c LEFT JOIN (SELECT idCliente, max(dt_pedido) AS ultimo "
        "FROM tbpedido GROUP BY idCliente) p ON p.idCliente = c.IdCliente ORDER BY p.ultimo IS NULL, p.ultimo DESC, "
        "c.Nome"));
    consulta.abrir();
    QStringList clientes;
    clientes.reserve(consulta.quantidade());
    for (int i = 0; i < consulta.quantidade(); ++i) {
        const Registro r = consulta.registro(i);
        clientes << r.campo(0).texto() + QStringLiteral(" - ") + r.campo(1).texto();
    }
    return clientes;
}

void LogicaPedido::saiuCodigoCliente()
{
    ExecutarProtegido([this] { clienteSaido(); });
}

void LogicaPedido::clienteSaido()
{
    if (!m_variante.cliente.saidaDoCodigoAge || !cabecalho().emEdicao())
        return;
    Campo cliente = cabecalho().campo(Campos::Pedido::idCliente);
    const bool achado = DM->QyCliente.localizar(Campos::Cliente::IdCliente, cliente.texto());
    if (m_variante.cliente.codigoSoConferido) {
        if (!achado) {
            cliente.limpar();
            focarAoSair(CaixaPedido::CodigoCliente);
        }
        return;
    }
    if (achado)
        aplicarCliente();
}

void LogicaPedido::pesquisarCliente()
{
    ExecutarProtegido([this] { clienteEscolhido(); });
}

void LogicaPedido::clienteEscolhido()
{
    if (!cabecalho().emEdicao() && !m_variante.cliente.pesquisaAbreEmRepouso)
        return;
    const QString cliente = pesquisar(m_variante.pesquisaCliente);
    if (!cabecalho().emEdicao())
        return;
    Campo idCliente = cabecalho().campo(Campos::Pedido::idCliente);
    if (m_variante.cliente.pesquisaSoEscreveCodigo) {
        // Nothing chosen leaves the order without a customer.
        if (cliente.isEmpty())
            idCliente.limpar();
        else
            idCliente.setInteiro(Formatos::lerInteiro(cliente));
        return;
    }
    if (cliente.isEmpty())
        return;
    if (DM->QyCliente.localizar(Campos::Cliente::IdCliente, cliente))
        aplicarCliente();
    idCliente.setInteiro(Formatos::lerInteiro(cliente));
    focar(CaixaPedido::Entrega);
}

void LogicaPedido::saiu(CaixaPedido caixa, int lista)
{
    ExecutarProtegido([this, caixa, lista] { itemSaido(caixa, lista); });
}

void LogicaPedido::precificar(int l)
{
    CalcularPrecoItem(m_variante.tipo, l);
}

void LogicaPedido::conferirProduto(int l)
{
    Campo codigo = itens(l).campo(Campos::Item::codigo);
    if (!DM->QyProduto.localizar(Campos::Produto::CODIGO, codigo.texto())) {
        codigo.limpar();
        if (m_variante.foco.codigoDesconhecidoVoltaAoCodigo)
            focarAoSair(CaixaPedido::ItemCodigo, l);
    }
    precificar(l);
}

void LogicaPedido::itemSaido(CaixaPedido caixa, int l)
{
    const bool editando = itens(l).emEdicao();
    for (const SaidaCaixa &saida : m_variante.foco.saidas) {
        if (saida.caixa != caixa)
            continue;
        if (saida.confereProduto && editando)
            conferirProduto(l);
        if (saida.foco && (editando || !saida.focoSoEmEdicao))
            focarAoSair(*saida.foco, l);
        return;
    }
}

void LogicaPedido::pesquisarItem(int lista)
{
    ExecutarProtegido([this, lista] { produtoEscolhido(lista); });
}

void LogicaPedido::produtoEscolhido(int l)
{
    if (!itens(l).emEdicao())
        return;
    const QString codigo = pesquisar(definicao(l).pesquisaProduto);
    escreverTexto(itens(l).campo(Campos::Item::codigo), codigo);
    if (codigo.isEmpty())
        return;
    // As after leaving the code box: what is typed next is the quantity.
    conferirProduto(l);
    focar(CaixaPedido::ItemQuantidade, l);
}

QString LogicaPedido::resumoCliente(const QString &campo)
{
    try {
        ConjuntoDados &clientes = DM->QyCliente;
        if (!cabecalho().ativo() || !clientes.ativo())
            return {};
        const QString cliente = cabecalho().campo(Campos::Pedido::idCliente).texto();
        if (cliente.isEmpty())
            return {};
        if (clientes.campo(Campos::Cliente::IdCliente).texto() != cliente &&
            !clientes.localizar(Campos::Cliente::IdCliente, cliente))
            return {};
        return clientes.campo(campo).textoExibicao();
    } catch (const std::exception &) {
        return {};
    }
}

// ---------------------------------------------------------------- grid colours

CoresCelula LogicaPedido::coresCelula(int linha, int l) const
{
    const ConjuntoDados &lista = itens(l);
    if (lista.vazio())
        return {Qt::black, Qt::white};
    QColor cor(255, 0, 0);
    switch (definicao(l).cores) {
    case CoresGrade::PorEstoque: {
        const Registro registro = lista.registro(linha);
        if (numero(registro.campo(Campos::Item::quantidade)) <= numero(registro.campo(Campos::Item::estoque)))
            cor = QColor(0, 0, 255);
        break;
    }
    case CoresGrade::SempreAzul:
        cor = QColor(0, 0, 255);
        break;
    case CoresGrade::SempreVermelho:
        break;
    }
    if (linha == lista.numeroRegistro() - 1 && !lista.emEdicao())
        return {Qt::white, cor};
    return {cor, Qt::white};
}

PreviaTela LogicaPedido::previa(const std::optional<QString> &quantidadeDigitada, int lista) const
{
    try {
        return CalcularPreviaTela(m_variante, itens(lista), QuantidadeDigitada(quantidadeDigitada));
    } catch (const std::exception &) {
        return {};
    }
}

bool LogicaPedido::negociaPreco() const
{
    return m_variante.regras().precos.negociaPreco;
}

void LogicaPedido::negociarPreco(const std::optional<QString> &quantidadeDigitada, int lista)
{
    ExecutarProtegido([&] {
        ConjuntoDados &item = itens(lista);
        const Registro atual(&item, ConjuntoDados::kLinhaAtual);
        if (!negociaPreco() || !item.emEdicao() || !LocalizarProdutoDoItem(atual)) {
            MsgInformacao(S("Para negociar o preço, edite ou inclua um item com um produto cadastrado."), kAtencao);
            return;
        }
        const RespostaTexto resposta = Dialogos::atual().caixaTexto(
            S("Negociar preço"), S("Preço unitário pedido pelo cliente:"), QString(), false);
        if (!resposta.confirmado)
            return;
        const std::optional<Dinheiro> alvo = QuantidadeDigitada(resposta.texto.trimmed());
        if (!alvo || *alvo <= Dinheiro()) {
            MsgInformacao(S("\"%1\" não é um preço: digite um valor maior que zero, como 9,50.").arg(resposta.texto),
                          kAtencao);
            return;
        }
        EntradaPreco entrada = LerEntradaPreco(m_variante.tipo, atual);
        if (const auto quantidade = QuantidadeDigitada(quantidadeDigitada))
            entrada.quantidade = *quantidade;
        const ResultadoNegociacao r = NegociarPreco(entrada, *alvo);
        if (r.linhas.empty()) {
            MsgInformacao(r.motivo, kAtencao);
            return;
        }
        const std::optional<int> escolhida =
            Dialogos::atual().escolherLinha(TabelaNegociacao(r, *alvo, entrada.precoVenda));
        if (!escolhida)
            return;
        const LinhaNegociacao &linha = r.linhas.at(*escolhida);
        for (int i = 0; i < 3; ++i)
            item.campo(Campos::Item::cd_desconto[i]).setTexto(linha.codigos[i]);
        conferirProduto(lista);
    });
}

void LogicaPedido::explicarPreco(const std::optional<QString> &quantidadeDigitada, int lista)
{
    ExecutarProtegido([&] {
        if (const auto explicacao = ExplicacaoDoItem(m_variante, itens(lista), QuantidadeDigitada(quantidadeDigitada)))
            Dialogos::atual().tabela(*explicacao);
        else
            MsgInformacao(S("Não há preço a explicar: escolha um item com um produto cadastrado."), kAtencao);
    });
}
