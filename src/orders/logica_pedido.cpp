#include "logica_pedido.h"

#include "calculo_preco.h"
#include "envio_pedido.h"
#include "erro.h"
#include "estado_pedido.h"
#include "formatos.h"
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

ConjuntoDados &LogicaPedido::itens() const
{
    return ItensDoPedido(m_variante.tipo);
}

// ---------------------------------------------------------------- opening and closing

void LogicaPedido::abrir()
{
    ExecutarProtegido([this] {
        m_filtroAnterior = DM->FiltroFuncionario;
        ItensQueSeguemOCabecalho(m_variante.tipo);
        const QString condicao = S(m_variante.campoSaldo) + QStringLiteral(">=0");
        ConjuntoDados &pedidos = cabecalho();
        pedidos.setFiltro(m_filtroAnterior.isEmpty() ? condicao
                                                     : m_filtroAnterior + QStringLiteral(" AND ") + condicao);
        pedidos.setFiltrado(true);
        pedidos.primeiro();
        DM->QyCliente.primeiro();
        const QString cliente = pedidos.campo(QStringLiteral("idCliente")).texto();
        if (!cliente.isEmpty())
            DM->QyCliente.localizar(QStringLiteral("IdCliente"), cliente);
        if (m_variante.focaGradeAoAbrir)
            m_visao.focar(CaixaPedido::Grade);
    });
}

// An order or an item still being typed is "in use": the user chooses
// between saving it and staying. The window closes only when the save left
// nothing unsaved, so an item that fails its checks is never dropped.
bool LogicaPedido::podeFechar()
{
    if (!cabecalho().emEdicao() && !itens().emEdicao())
        return true;
    const QString pergunta = S(m_variante.inicioPerguntaFechar) +
                             cabecalho().campo(QStringLiteral("nr_pedido")).texto() +
                             QStringLiteral(") está em uso, deseja salvar e sair?");
    if (MsgPergunta(pergunta, kAtencao, Resposta::Sim) != Resposta::Sim)
        return false;
    bool salvo = false;
    ExecutarProtegido([&] {
        executar(cabecalho().emEdicao() ? AcaoPedido::Salvar : AcaoPedido::SalvarItem);
        salvo = true;
    });
    return salvo && !cabecalho().emEdicao() && !itens().emEdicao();
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

bool LogicaPedido::habilitado(AcaoPedido acao) const
{
    const Regra regra = regraDe(acao);
    if (regra == Regra::Sempre)
        return true;
    const ConjuntoDados &lista = acaoDeItem(acao) ? itens() : cabecalho();
    if (!lista.ativo())
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

void LogicaPedido::clicar(AcaoPedido acao)
{
    ExecutarProtegido([this, acao] { executar(acao); });
}

bool LogicaPedido::teclaGrade(int tecla, bool alt, bool ctrl)
{
    if (!m_variante.tecladoGrade || tecla < Qt::Key_0 || tecla > Qt::Key_9)
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

void LogicaPedido::executar(AcaoPedido acao)
{
    if (!habilitado(acao))
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
        importarPendencia();
        break;
    case AcaoPedido::NovoItem:
        inserirItem();
        break;
    case AcaoPedido::EditarItem:
        editarItem();
        break;
    case AcaoPedido::SalvarItem:
        salvarItem();
        break;
    case AcaoPedido::CancelarItem:
        itens().cancelar();
        break;
    case AcaoPedido::ExcluirItem:
        excluirItem();
        break;
    case AcaoPedido::AnteriorItem:
        if (podeNavegarItens())
            itens().anterior();
        break;
    case AcaoPedido::ProximoItem:
        if (podeNavegarItens())
            itens().proximo();
        break;
    }
}

// Printing and sending mark the order through this screen's own buttons.
AcoesCabecalho LogicaPedido::acoesCabecalho()
{
    return {[this] { executar(AcaoPedido::Editar); }, [this] { executar(AcaoPedido::Salvar); }};
}

void LogicaPedido::confirmarCaixasDoCabecalho()
{
    m_visao.confirmar(CaixaPedido::Observacao);
    m_visao.confirmar(CaixaPedido::FormaPagtoDetalhado);
}

// ---------------------------------------------------------------- the order

void LogicaPedido::pesquisarPedido()
{
    if (cabecalho().emEdicao() || itens().emEdicao()) {
        if (m_variante.avisaPesquisaEmEdicao)
            MsgInformacao(MensagemSalvarAntes(), kAtencao);
        return;
    }
    const QString numero = pesquisar(m_variante.pesquisaPedido);
    if (!numero.isEmpty())
        cabecalho().localizar(QStringLiteral("nr_pedido"), numero);
}

void LogicaPedido::inserirPedido()
{
    if (m_variante.focaClienteAoInserir)
        m_visao.focar(CaixaPedido::CodigoCliente);
    cabecalho().inserir();
    if (m_variante.cifNaoAoInserir)
        cabecalho().campo(QStringLiteral("cif")).setTexto(QStringLiteral("Não"));
}

void LogicaPedido::salvarPedido()
{
    ConjuntoDados &pedidos = cabecalho();
    ConjuntoDados &lista = itens();
    confirmarCaixasDoCabecalho();
    if (lista.emEdicao())
        executar(AcaoPedido::SalvarItem);
    // An item that did not pass its checks stays on screen with the header
    // as typed; reloading here would drop one or store the other unchecked.
    if (lista.emEdicao())
        return;
    {
        Transacao transacao(DM->ADOConexao);
        if (m_variante.precoMedio)
            precificarPacote();
        else
            for (lista.primeiro(); !lista.fim(); lista.proximo()) {
                lista.editar();
                CalcularPrecoItem(m_variante.tipo);
                lista.gravar();
            }
        RecalcularTotais(m_variante.tipo);
        transacao.confirmar();
    }
    const QString numero = pedidos.campo(QStringLiteral("nr_pedido")).texto();
    pedidos.reabrir();
    pedidos.localizar(QStringLiteral("nr_pedido"), numero);
}

// The first item priced on its own, then the one average over all items.
void LogicaPedido::precificarPacote()
{
    ConjuntoDados &lista = itens();
    if (lista.vazio())
        return;
    lista.primeiro();
    lista.editar();
    CalcularPrecoItem(m_variante.tipo);
    lista.gravar();
    AplicarPrecoMedioPacote();
}

void LogicaPedido::cancelarPedido()
{
    itens().cancelar();
    cabecalho().cancelar();
}

void LogicaPedido::excluirPedido()
{
    if (cabecalho().emEdicao())
        return;
    const QString pergunta = QStringLiteral("Deseja realmente deletar o pedido: ( ") +
                             cabecalho().campo(QStringLiteral("nr_pedido")).texto() + QStringLiteral(" )") +
                             S(m_variante.fimPerguntaExcluir);
    if (MsgPergunta(pergunta, kAtencao) == Resposta::Sim && !cabecalho().emEdicao())
        cabecalho().excluir();
}

// ---------------------------------------------------------------- items

void LogicaPedido::inserirItem()
{
    ConjuntoDados &pedidos = cabecalho();
    // The item being typed passes its checks first; one that does not stays.
    if (itens().emEdicao()) {
        executar(AcaoPedido::SalvarItem);
        if (itens().emEdicao())
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
    m_visao.focar(CaixaPedido::ItemCodigo);
    itens().inserir();
}

void LogicaPedido::editarItem()
{
    if (m_variante.editarItemEditaPedido) {
        // Editing the header does not reload the items: the same item stays
        // current.
        if (!cabecalho().emEdicao())
            executar(AcaoPedido::Editar);
        m_visao.focar(CaixaPedido::ItemCodigo);
    }
    itens().editar();
}

bool LogicaPedido::podeNavegarItens() const
{
    return !m_variante.navegaItensSoEmRepouso || !itens().emEdicao();
}

void LogicaPedido::perguntarCancelarItem(const QString &texto)
{
    if (MsgPergunta(texto, kAtencao) == Resposta::Sim)
        executar(AcaoPedido::CancelarItem);
}

void LogicaPedido::salvarItem()
{
    ConjuntoDados &lista = itens();
    m_visao.confirmar(CaixaPedido::ItemCodigo);
    m_visao.confirmar(CaixaPedido::ItemQuantidade);
    const QString codigo = lista.campo(QStringLiteral("codigo")).texto();
    if (codigo.isEmpty()) {
        perguntarCancelarItem(
            QStringLiteral("O código está em branco ou inválido. Deseja cancelar a alteração do item?"));
        return;
    }
    const Campo campoQuantidade = lista.campo(QStringLiteral("quantidade"));
    const bool quantidadeValida =
        !campoQuantidade.nulo() &&
        (m_variante.quantidadeDecimal ? campoQuantidade.real() > 0 : campoQuantidade.real() >= 1);
    if (!quantidadeValida) {
        perguntarCancelarItem(
            QStringLiteral("A quantidade está em branco ou inválido. Deseja cancelar a alteração do item?"));
        return;
    }
    const double quantidade = campoQuantidade.real();
    if (m_variante.verificaMultiplo) {
        if (!DM->QyProduto.localizar(QStringLiteral("CODIGO"), codigo))
            return;
        const double multiplo = numero(DM->QyProduto.campo(QStringLiteral("multiplo")));
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
    if (m_variante.verificaEstoque && quantidade > numero(lista.campo(QStringLiteral("estoque")))) {
        if (MsgPergunta(QStringLiteral("Quantidade não disponível no estoque atual. Deseja colocar esse item em "
                                       "pendência?\nO sistema irá lhe avisar quando esse produto estiver disponivel."),
                        kAtencao) == Resposta::Sim)
            colocarItemEmPendencia();
        else
            m_visao.focar(CaixaPedido::ItemQuantidade);
        return;
    }
    if (m_variante.precoMedio) {
        gravarItemDoPacote();
        return;
    }
    CalcularPrecoItem(m_variante.tipo);
    if (lista.emEdicao())
        lista.gravar();
    RecalcularTotais(m_variante.tipo);
}

// The item, the package's new average and its totals together, or none.
void LogicaPedido::gravarItemDoPacote()
{
    ConjuntoDados &lista = itens();
    Transacao transacao(DM->ADOConexao);
    if (lista.emEdicao())
        lista.gravar();
    AplicarPrecoMedioPacote();
    RecalcularTotais(m_variante.tipo);
    transacao.confirmar();
}

void LogicaPedido::colocarItemEmPendencia()
{
    ConjuntoDados &lista = itens();
    ConjuntoDados &pendentes = DM->QyPendente;
    // The pending row and the item's removal together, or neither.
    Transacao transacao(DM->ADOConexao);
    pendentes.inserir();
    for (const char *nome : {"nr_pedido", "idfunc", "item", "codigo", "quantidade", "valorUnitario", "valorTotal",
                             "cd_desconto1", "cd_desconto2", "cd_desconto3", "desconto"}) {
        const QString campo = S(nome);
        pendentes.campo(campo).setValor(lista.campo(campo).valor());
    }
    // The pending list keeps whole quantities: a decimal one is rounded up,
    // so that what is still owed is never less than what was ordered.
    if (m_variante.quantidadeDecimal)
        pendentes.campo(QStringLiteral("quantidade"))
            .setInteiro(static_cast<qint64>(std::ceil(numero(lista.campo(QStringLiteral("quantidade"))))));
    pendentes.campo(QStringLiteral("cod_cliente")).setValor(cabecalho().campo(QStringLiteral("idCliente")).valor());
    pendentes.campo(QStringLiteral("data_pendente")).setDataHora(QDateTime::currentDateTime());
    pendentes.gravar();
    lista.excluir();
    transacao.confirmar();
}

void LogicaPedido::excluirItem()
{
    ConjuntoDados &lista = itens();
    if (lista.emEdicao())
        return;
    const QString pergunta = QStringLiteral("Deseja realmente deletar o item: ( ") +
                             lista.campo(QStringLiteral("codigo")).texto() + QStringLiteral(" )") +
                             S(m_variante.fimPerguntaExcluir);
    if (MsgPergunta(pergunta, kAtencao) != Resposta::Sim || lista.emEdicao())
        return;
    Transacao transacao(DM->ADOConexao);
    lista.excluir();
    RecalcularTotais(m_variante.tipo);
    transacao.confirmar();
}

void LogicaPedido::importarPendencia()
{
    ConjuntoDados &lista = itens();
    if (!m_variante.importaPendencia || !lista.emEdicao())
        return;
    const QString codigo = DM->Pesquisar(QStringLiteral("tbpedido_pendente where situacao ='Disponível'"),
                                         QStringLiteral("codigo, data_pendente, valorTotal"), QStringLiteral("codigo"));
    ConjuntoDados &pendentes = DM->QyPendente;
    if (codigo.isEmpty() || !pendentes.localizar(QStringLiteral("codigo"), codigo))
        return;
    for (const char *nome : {"codigo", "quantidade", "cd_desconto1", "cd_desconto2", "cd_desconto3"}) {
        const QString campo = S(nome);
        lista.campo(campo).setValor(pendentes.campo(campo).valor());
    }
    itemSaido(CaixaPedido::ItemCodigo);
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
    escreverTexto(cabecalho().campo(QStringLiteral("idforma")), clientes.campo(QStringLiteral("CliFPagto")).texto());
    if (m_variante.colorePainel) {
        const Campo ultima = clientes.campo(QStringLiteral("ultimacompra"));
        m_visao.colorirPainel(
            CorUltimaCompra(ultima.nulo() ? QDateTime() : ultima.dataHora(), QDateTime::currentDateTime()));
    }
}

void LogicaPedido::saiuCodigoCliente()
{
    ExecutarProtegido([this] { clienteSaido(); });
}

void LogicaPedido::clienteSaido()
{
    if (!cabecalho().emEdicao())
        return;
    Campo cliente = cabecalho().campo(QStringLiteral("idCliente"));
    const bool achado = DM->QyCliente.localizar(QStringLiteral("idcliente"), cliente.texto());
    if (m_variante.clienteSoConferido) {
        if (!achado) {
            cliente.limpar();
            m_visao.focar(CaixaPedido::CodigoCliente);
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
    if (!cabecalho().emEdicao() && !m_variante.pesquisaClienteEmRepouso)
        return;
    const QString cliente = pesquisar(m_variante.pesquisaCliente);
    if (m_variante.clienteSoConferido) {
        Campo id = cabecalho().campo(QStringLiteral("idCliente"));
        if (cliente.isEmpty())
            id.limpar();
        else
            id.setInteiro(Formatos::lerInteiro(cliente));
        return;
    }
    if (!cabecalho().emEdicao() || cliente.isEmpty())
        return;
    if (DM->QyCliente.localizar(QStringLiteral("idcliente"), cliente))
        aplicarCliente();
    cabecalho().campo(QStringLiteral("idCliente")).setInteiro(Formatos::lerInteiro(cliente));
    m_visao.focar(CaixaPedido::Entrega);
}

void LogicaPedido::saiu(CaixaPedido caixa)
{
    ExecutarProtegido([this, caixa] { itemSaido(caixa); });
}

void LogicaPedido::conferirProduto()
{
    Campo codigo = itens().campo(QStringLiteral("codigo"));
    if (!DM->QyProduto.localizar(QStringLiteral("CODIGO"), codigo.texto())) {
        codigo.limpar();
        if (m_variante.codigoDesconhecidoFocaCodigo)
            m_visao.focar(CaixaPedido::ItemCodigo);
    }
    CalcularPrecoItem(m_variante.tipo);
}

void LogicaPedido::itemSaido(CaixaPedido caixa)
{
    const bool editando = itens().emEdicao();
    for (const SaidaCaixa &saida : m_variante.saidas) {
        if (saida.caixa != caixa)
            continue;
        if (saida.confereProduto && editando)
            conferirProduto();
        if (saida.foco && (editando || !saida.focoSoEmEdicao))
            m_visao.focar(*saida.foco);
        return;
    }
}

void LogicaPedido::pesquisarItem()
{
    ExecutarProtegido([this] { produtoEscolhido(); });
}

void LogicaPedido::produtoEscolhido()
{
    if (!itens().emEdicao())
        return;
    escreverTexto(itens().campo(QStringLiteral("codigo")), pesquisar(m_variante.pesquisaProduto));
}

// ---------------------------------------------------------------- grid colours

CoresCelula LogicaPedido::coresCelula(int linha) const
{
    const ConjuntoDados &lista = itens();
    if (lista.vazio())
        return {Qt::black, Qt::white};
    QColor cor(255, 0, 0);
    if (m_variante.cores == CoresGrade::PorEstoque) {
        const Registro registro = lista.registro(linha);
        if (numero(registro.campo(QStringLiteral("quantidade"))) <= numero(registro.campo(QStringLiteral("estoque"))))
            cor = QColor(0, 0, 255);
    }
    if (linha == lista.numeroRegistro() - 1 && !lista.emEdicao())
        return {Qt::white, cor};
    return {cor, Qt::white};
}

PreviaTela LogicaPedido::previa(const std::optional<QString> &quantidadeDigitada) const
{
    try {
        return CalcularPreviaTela(m_variante, itens(), QuantidadeDigitada(quantidadeDigitada));
    } catch (const std::exception &) {
        return {};
    }
}

void LogicaPedido::explicarPreco(const std::optional<QString> &quantidadeDigitada)
{
    ExecutarProtegido([&] {
        if (const auto explicacao = ExplicacaoDoItem(m_variante, itens(), QuantidadeDigitada(quantidadeDigitada)))
            Dialogos::atual().tabela(*explicacao);
        else
            MsgInformacao(S("Não há preço a explicar: escolha um item com um produto cadastrado."), kAtencao);
    });
}
