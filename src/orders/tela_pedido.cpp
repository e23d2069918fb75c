#include "tela_pedido.h"

#include "ajuda_atalhos.h"
#include "aviso_cliente.h"
#include "campos_esquema.h"
#include "controles_vinculados.h"
#include "enter_avanca.h"
#include "grade_itens.h"
#include "icones.h"
#include "situacao_central.h"
#include "udm.h"

#include <QAction>
#include <QCloseEvent>
#include <QCompleter>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStringListModel>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace
{

QString S(const char *texto)
{
    return QString::fromUtf8(texto);
}

// The picture of each button.
const char *simboloDe(AcaoPedido acao)
{
    switch (acao) {
    case AcaoPedido::PesquisarPedido:
        return "⌕";
    case AcaoPedido::Enviar:
        return "✉";
    case AcaoPedido::Imprimir:
        return "▤";
    case AcaoPedido::Novo:
    case AcaoPedido::NovoItem:
        return "+";
    case AcaoPedido::Editar:
    case AcaoPedido::EditarItem:
        return "✎";
    case AcaoPedido::Salvar:
    case AcaoPedido::SalvarItem:
        return "✔";
    case AcaoPedido::Cancelar:
    case AcaoPedido::CancelarItem:
        return "↶";
    case AcaoPedido::Excluir:
    case AcaoPedido::ExcluirItem:
        return "✖";
    case AcaoPedido::Anterior:
    case AcaoPedido::AnteriorItem:
        return "◀";
    case AcaoPedido::Proximo:
    case AcaoPedido::ProximoItem:
        return "▶";
    case AcaoPedido::ImportarPendencia:
        break;
    }
    return "⇩";
}

QColor corDe(AcaoPedido acao)
{
    switch (acao) {
    case AcaoPedido::Excluir:
    case AcaoPedido::ExcluirItem:
        return QColor(0xb23b3b);
    case AcaoPedido::Salvar:
    case AcaoPedido::SalvarItem:
        return QColor(0x2e7d32);
    case AcaoPedido::Enviar:
    case AcaoPedido::Imprimir:
        return QColor(0xc77800);
    default:
        return QColor(0x1f5fa8);
    }
}

void dica(QWidget *w, const char *texto)
{
    if (!texto)
        return;
    w->setToolTip(S(texto));
    w->setStatusTip(S(texto));
}

// A row of controls without margins of its own.
std::pair<QWidget *, QHBoxLayout *> linhaHorizontal()
{
    auto *linha = new QWidget;
    auto *h = new QHBoxLayout(linha);
    h->setContentsMargins(0, 0, 0, 0);
    return {linha, h};
}

// The picture button beside a code box that opens a search.
QToolButton *botaoPesquisa(const char *nome, const char *texto = nullptr)
{
    auto *b = new QToolButton;
    b->setObjectName(S(nome));
    b->setIcon(IconeDesenhado(QStringLiteral("⌕"), QColor(0x1f5fa8)));
    b->setIconSize(QSize(26, 26));
    dica(b, texto);
    return b;
}

// A label above its control.
QWidget *rotulado(const char *rotulo, const char *dicaRotulo, QWidget *controle, QWidget *extra = nullptr)
{
    auto *coluna = new QWidget;
    auto *v = new QVBoxLayout(coluna);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(2);
    auto *l = new QLabel(S(rotulo));
    dica(l, dicaRotulo);
    v->addWidget(l);
    if (extra) {
        auto *h = new QHBoxLayout;
        h->setSpacing(2);
        h->addWidget(controle, 1);
        h->addWidget(extra);
        v->addLayout(h);
    } else {
        v->addWidget(controle);
    }
    return coluna;
}

// A label beside its control, where the height is scarcer than the width.
QWidget *rotuladoAoLado(const char *rotulo, const char *dicaRotulo, QWidget *controle)
{
    auto [linha, h] = linhaHorizontal();
    auto *l = new QLabel(S(rotulo));
    dica(l, dicaRotulo);
    h->addWidget(l, 0, Qt::AlignTop);
    h->addWidget(controle, 1);
    return linha;
}

// A framed box holding one large bold value; tight margins leave the height
// to the item grids on a laptop screen.
QGroupBox *quadro(const char *titulo, QLabel *valor, const char *dicaQuadro)
{
    auto *g = new QGroupBox(S(titulo));
    auto *h = new QHBoxLayout(g);
    h->setContentsMargins(6, 0, 6, 2);
    QFont f = valor->font();
    f.setPixelSize(20);
    f.setBold(true);
    valor->setFont(f);
    valor->setAlignment(Qt::AlignCenter);
    h->addWidget(valor);
    dica(g, dicaQuadro);
    return g;
}

QStringList letrasDesconto()
{
    QStringList l{QStringLiteral("0")};
    for (char c = 'A'; c <= 'Z'; ++c)
        l << QString(QLatin1Char(c));
    return l;
}

QStringList numeros(int ate)
{
    QStringList l;
    for (int i = 0; i <= ate; ++i)
        l << QString::number(i);
    return l;
}

} // namespace

TfrmPedido::TfrmPedido(const VariantePedido &variante, QWidget *pai) : QDialog(pai), m_logica(variante, *this)
{
    setObjectName(S(variante.nomeTela));
    setWindowTitle(S(variante.titulo));
    setWindowFlags(Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    QFont fonte(QStringLiteral("Tahoma"));
    fonte.setPixelSize(13);
    setFont(fonte);
    resize(1250, 750);

    auto *raiz = new QVBoxLayout(this);
    raiz->setContentsMargins(6, 6, 6, 0);
    raiz->setSpacing(4);
    raiz->addWidget(montarBotoesPedido());
    raiz->addWidget(montarExibicaoPedido());
    raiz->addWidget(montarCamposPedido());
    const int listas = m_logica.quantidadeListas();
    for (int l = 0; l < listas; ++l)
        m_grades.push_back(montarGrade(l));
    if (listas == 1) {
        // One list: its buttons beside the observation, the grid takes the room left.
        auto [linha, h] = linhaHorizontal();
        h->addWidget(montarObservacao(), 1);
        QWidget *botoes = montarBotoesItem(0);
        h->addWidget(botoes);
        h->setAlignment(botoes, Qt::AlignBottom);
        raiz->addWidget(linha);
        raiz->addWidget(montarCamposItem(0));
        if (QWidget *subtotal = montarSubtotal(0))
            raiz->addWidget(subtotal, 0, Qt::AlignRight);
        raiz->addWidget(m_grades[0], 1);
    } else {
        // Several lists: the observation across the window, then one block
        // per list from top to bottom: its boxes, subtotal and buttons in one
        // row, its grid under them.
        raiz->addWidget(montarObservacao());
        std::vector<int> ordem;
        for (int l = 0; l < listas; ++l)
            ordem.push_back(l);
        std::stable_sort(ordem.begin(), ordem.end(),
                         [&](int a, int b) { return m_logica.definicao(a).posicao < m_logica.definicao(b).posicao; });
        for (int l : ordem) {
            // The grids share the height left: on a laptop screen every other
            // pixel goes to them.
            auto [linha, h] = linhaHorizontal();
            h->addWidget(montarCamposItem(l), 1);
            if (QWidget *subtotal = montarSubtotal(l))
                h->addWidget(subtotal, 0, Qt::AlignBottom);
            h->addWidget(montarBotoesItem(l), 0, Qt::AlignBottom);
            raiz->addWidget(linha);
            raiz->addWidget(m_grades[static_cast<std::size_t>(l)], 1);
        }
    }
    raiz->addWidget(montarResumo());
    m_status = new QStatusBar;
    m_status->setSizeGripEnabled(false);
    raiz->addWidget(m_status);

    ligarAceleradores();
    std::vector<ConjuntoDados *> conjuntos{&m_logica.cabecalho()};
    for (int l = 0; l < listas; ++l)
        conjuntos.push_back(&m_logica.itens(l));
    for (ConjuntoDados *c : conjuntos)
        for (auto sinal : {&ConjuntoDados::estadoMudou, &ConjuntoDados::registroMudou, &ConjuntoDados::dadosAlterados})
            connect(c, sinal, this, &TfrmPedido::atualizarBotoes);
    ligarPrevia();
    ligarNegociacao();
    ligarTeclado();
    atualizarBotoes();
}

TfrmPedido::~TfrmPedido() = default;

// Enter from box to box; on a screen with one item list, Enter in the item's
// last box saves the item and starts the next, as "Novo item" does.
void TfrmPedido::ligarTeclado()
{
    EnterAvanca::instalar(this, [this](QWidget *caixa) {
        if (m_logica.quantidadeListas() != 1 || caixa != m_ultimaCaixaItem || !m_logica.itens(0).emEdicao())
            return false;
        m_logica.clicar(AcaoPedido::NovoItem, 0);
        return true;
    });
    InstalarAjudaAtalhos(this, [this] {
        LinhasAtalhos linhas;
        if (m_logica.quantidadeListas() == 1)
            linhas << QStringList{S("Enter na última caixa do item"), S("Salva o item e começa o próximo")};
        linhas << QStringList{S("Ctrl+Enter na Observação"), S("Passa para a próxima caixa")}
               << QStringList{S("Enter na grade de itens"), S("Edita o item da linha")};
        if (m_logica.variante().teclas.digitosDaGrade) {
            linhas << QStringList{S("Alt+1 … Alt+9 na grade"),
                                  S("Enviar, Imprimir, Novo, Editar, Salvar, Cancelar, Excluir, Anterior, Próximo")}
                   << QStringList{S("Alt+0 na grade"), S("Fecha a tela")}
                   << QStringList{S("Ctrl+1 … Ctrl+7 na grade"),
                                  S("Novo, Editar, Salvar, Cancelar, Excluir, Anterior e Próximo item")};
        }
        return linhas;
    });
}

QWidget *TfrmPedido::caixa(CaixaPedido caixa, int lista) const
{
    if (caixa == CaixaPedido::Grade)
        return m_grades.empty() ? nullptr : m_grades.front();
    const auto achada = m_caixas.find({caixa, lista});
    return achada == m_caixas.end() ? nullptr : achada->second;
}

QToolButton *TfrmPedido::criarBotao(AcaoPedido acao, int lista, const TextoBotao &texto)
{
    auto *b = new QToolButton;
    b->setObjectName(S(texto.nome));
    b->setText(S(texto.rotulo));
    dica(b, texto.dica);
    b->setIcon(IconeDesenhado(S(simboloDe(acao)), corDe(acao)));
    b->setIconSize(QSize(20, 20));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    QFont f = b->font();
    f.setPixelSize(10);
    b->setFont(f);
    // 45 by 45, wider only where a caption would not fit.
    b->setFixedHeight(45);
    b->setMinimumWidth(45);
    connect(b, &QToolButton::clicked, this, [this, acao, lista] { m_logica.clicar(acao, lista); });
    m_botoes[{acao, lista}] = b;
    return b;
}

QWidget *TfrmPedido::montarBotoesPedido()
{
    auto [linha, h] = linhaHorizontal();
    h->setSpacing(2);
    h->addStretch(1);
    const std::vector<TextoBotao> &textos = m_logica.variante().botoesPedido;
    for (std::size_t i = 0; i < textos.size(); ++i)
        h->addWidget(
            criarBotao(static_cast<AcaoPedido>(static_cast<int>(AcaoPedido::PesquisarPedido) + i), 0, textos[i]));
    if (m_logica.variante().teclas.repetePedido)
        h->addWidget(montarBotaoRepetir());
    return linha;
}

QToolButton *TfrmPedido::montarBotaoRepetir()
{
    m_repetir = new QToolButton;
    m_repetir->setObjectName(QStringLiteral("btnRepetirPedido"));
    m_repetir->setText(S("Repe&tir"));
    dica(m_repetir, "Repetir pedido: um pedido novo com o cliente e os itens deste");
    m_repetir->setIcon(IconeDesenhado(S("⟲"), QColor(0x1f5fa8)));
    m_repetir->setIconSize(QSize(20, 20));
    m_repetir->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    QFont f = m_repetir->font();
    f.setPixelSize(10);
    m_repetir->setFont(f);
    m_repetir->setFixedHeight(45);
    m_repetir->setMinimumWidth(45);
    connect(m_repetir, &QToolButton::clicked, this, [this] { m_logica.repetirPedido(); });
    // Alt+T acts at once, as the other buttons' letters do.
    auto *atalho = new QShortcut(m_repetir->shortcut(), this);
    connect(atalho, &QShortcut::activated, m_repetir, [this] {
        if (m_repetir->isEnabled())
            m_repetir->click();
    });
    m_repetir->setShortcut(QKeySequence());
    return m_repetir;
}

QWidget *TfrmPedido::montarExibicaoPedido()
{
    ConjuntoDados &pedidos = m_logica.cabecalho();
    auto [linha, h] = linhaHorizontal();
    auto *numero = new RotuloVinculado(pedidos, Campos::Pedido::nr_pedido);
    auto *gbPedido = quadro(" Pedido Nº ", numero, dicaDe("Número do Pedido"));
    gbPedido->setObjectName(QStringLiteral("gbPedido"));
    gbPedido->setFixedWidth(170);
    auto *gbData =
        quadro(" Gerado às ", new RotuloVinculado(pedidos, Campos::Pedido::dt_pedido), dicaDe("Data do pedido"));
    gbData->setObjectName(QStringLiteral("gbDataPedido"));
    gbData->setFixedWidth(280);
    auto *nome = new RotuloVinculado(pedidos, Campos::Pedido::CLIENTE_DESCRICAO);
    auto *gbCliente = quadro(" Cliente ", nome, dicaDe("Nome do cliente"));
    gbCliente->setObjectName(QStringLiteral("gbCliente"));
    nome->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    gbCliente->layout()->addWidget(montarAvisoCliente());
    if (m_logica.variante().cliente.coloreUltimaCompra) {
        m_painel = new QFrame;
        m_painel->setObjectName(QStringLiteral("Panel1"));
        m_painel->setFixedWidth(14);
        m_painel->setFrameShape(QFrame::Panel);
        m_painel->setFrameShadow(QFrame::Raised);
        m_painel->setAutoFillBackground(true);
        gbCliente->layout()->addWidget(m_painel);
    }
    // What the company has done with the order, as the last update from the
    // central server told; empty otherwise.
    m_situacao = new QLabel;
    m_situacao->setObjectName(QStringLiteral("lblSituacaoCentral"));
    auto *gbSituacao = quadro(" Situação na central ", m_situacao, dicaDe("Situação do pedido na central"));
    gbSituacao->setObjectName(QStringLiteral("gbSituacaoCentral"));
    // Smaller than the other boxes' values: "entregue em 01/12/2026" fits.
    QFont fonte = m_situacao->font();
    fonte.setPixelSize(16);
    m_situacao->setFont(fonte);
    gbSituacao->setFixedWidth(240);
    h->addWidget(gbPedido);
    h->addWidget(gbData);
    h->addWidget(gbCliente, 1);
    h->addWidget(gbSituacao);
    for (auto sinal : {&ConjuntoDados::registroMudou, &ConjuntoDados::dadosAlterados})
        connect(&pedidos, sinal, this, &TfrmPedido::mostrarSituacaoCentral);
    mostrarSituacaoCentral();
    return linha;
}

void TfrmPedido::mostrarSituacaoCentral()
{
    const ConjuntoDados &pedidos = m_logica.cabecalho();
    m_situacao->setText(pedidos.ativo() && !pedidos.vazio()
                            ? SituacaoCentral(pedidos.campo(Campos::Pedido::idFunc).texto(),
                                              pedidos.campo(Campos::Pedido::nr_pedido).texto())
                            : QString());
}

QWidget *TfrmPedido::montarCamposPedido()
{
    ConjuntoDados &pedidos = m_logica.cabecalho();
    auto [linha, h] = linhaHorizontal();

    const VariantePedido &variante = m_logica.variante();
    auto *cliente = new CaixaVinculada(pedidos, Campos::Pedido::idCliente);
    cliente->setObjectName(S(variante.nomeCodigoCliente));
    dicaDeCaixa(cliente, "Digite o código do cliente");
    connect(cliente, &CaixaVinculada::saiu, this, [this] { m_logica.saiuCodigoCliente(); });
    auto *pesquisar = botaoPesquisa(variante.nomePesquisaCliente, variante.dicaPesquisaCliente);
    connect(pesquisar, &QToolButton::clicked, this, [this] { m_logica.pesquisarCliente(); });
    m_caixas[{CaixaPedido::CodigoCliente, 0}] = cliente;
    completarCliente(cliente);

    // The one-character column keeps the locality's code.
    QWidget *entrega = nullptr;
    if (variante.entregaPorLocalidade) {
        entrega = new ListaLookupVinculada(pedidos, Campos::Pedido::tp_localidade, DM->QyLocalidade,
                                           Campos::Localidade::nm_localidade, Campos::Localidade::tp_localidade);
    } else {
        std::vector<EntradaLista> entregas;
        for (const auto &[texto, valor] : variante.entregas)
            entregas.emplace_back(S(texto), S(valor));
        entrega = new ListaVinculada(pedidos, Campos::Pedido::tp_localidade, entregas);
    }
    entrega->setObjectName(QStringLiteral("dbEntrega"));
    dicaDeCaixa(entrega, variante.dicaEntrega);
    m_caixas[{CaixaPedido::Entrega, 0}] = entrega;
    auto *dv =
        new ListaVinculada(pedidos, Campos::Pedido::dv, EntradasIguais(numeros(variante.regras().precos.dvMaximo)));
    dv->setObjectName(QStringLiteral("dbDV"));
    dicaDeCaixa(dv, "Desconto aplicado no volume total dos itens");
    auto *avista = new ListaVinculada(pedidos, Campos::Pedido::avista, EntradasIguais(numeros(5)));
    avista->setObjectName(QStringLiteral("dbAvista"));
    dicaDeCaixa(avista, "Escolha o desconto aplicado se for pagamento avista");
    auto *forma = new ListaLookupVinculada(pedidos, Campos::Pedido::idforma, DM->QyFormaPagamento, Campos::Forma::Forma,
                                           Campos::Forma::idforma);
    forma->setObjectName(QStringLiteral("dvFormaPagto"));
    dicaDeCaixa(forma, "Escolha a forma de pagamento");
    auto *detalhe = new CaixaVinculada(pedidos, Campos::Pedido::nm_forma_pagamento);
    detalhe->setObjectName(QStringLiteral("dbFormaPagtoDetalhado"));
    dicaDeCaixa(detalhe, "Digite o detalhe da forma de pagamento, se necessário");
    m_caixas[{CaixaPedido::FormaPagtoDetalhado, 0}] = detalhe;
    QStringList opcoesCif;
    for (const char *opcao : variante.opcoesCif)
        opcoesCif << S(opcao);
    auto *cif =
        new OpcoesVinculadas(QStringLiteral(" CIF "), pedidos, Campos::Pedido::cif, EntradasIguais(opcoesCif), 2);
    cif->setObjectName(QStringLiteral("dbCIF"));
    dicaDeCaixa(cif, "CIF / Mercadoria com frete incluso");

    for (QWidget *w : std::initializer_list<QWidget *>{cliente, detalhe}) {
        QFont f = w->font();
        f.setPixelSize(24);
        w->setFont(f);
    }
    h->addWidget(rotulado("Código do Cliente", dicaDe("Código do cliente"), cliente, pesquisar), 2);
    h->addWidget(rotulado("Entrega", dicaDe("Tipo de entrega"), entrega), 1);
    h->addWidget(rotulado("DV", dicaDe("Desconto sobre o volume"), dv), 1);
    h->addWidget(rotulado("Avista", dicaDe("Descontos para pagamentos avista em $$ (Dinheiro)"), avista), 1);
    h->addWidget(rotulado("Forma de pagamento", dicaDe("Formas de pagamento"), forma), 3);
    h->addWidget(rotulado("Forma de pagamento detalhada",
                          dicaDe("Forma de pagamento detalhada (entrada, quantidade de parcelas, etc)"), detalhe),
                 4);
    h->addWidget(cif, 1);
    return linha;
}

// Typing part of a name or code offers the customers, the most recently
// ordered first; the one picked leaves its code in the box.
void TfrmPedido::completarCliente(QLineEdit *cliente)
{
    auto *completar = new QCompleter(this);
    completar->setCaseSensitivity(Qt::CaseInsensitive);
    completar->setFilterMode(Qt::MatchContains);
    completar->setMaxVisibleItems(10);
    auto *clientes = new QStringListModel(completar);
    completar->setModel(clientes);
    cliente->setCompleter(completar);
    // Read when a header is first edited, so orders stored meanwhile count.
    connect(&m_logica.cabecalho(), &ConjuntoDados::estadoMudou, this, [this, clientes] {
        if (m_logica.cabecalho().emEdicao())
            clientes->setStringList(m_logica.clientesRecentes());
    });
    auto soOCodigo = [cliente](const QString &escolhido) {
        QTimer::singleShot(0, cliente, [cliente, codigo = escolhido.section(QStringLiteral(" - "), 0, 0)] {
            cliente->setText(codigo);
            cliente->setModified(true);
        });
    };
    connect(completar, qOverload<const QString &>(&QCompleter::activated), this, soOCodigo);
    connect(completar, qOverload<const QString &>(&QCompleter::highlighted), this, soOCodigo);
}

QWidget *TfrmPedido::montarObservacao()
{
    auto *observacao = new MemoVinculado(m_logica.cabecalho(), Campos::Pedido::observacao);
    observacao->setObjectName(QStringLiteral("dbObservacao"));
    observacao->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    observacao->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    observacao->setFixedHeight(48);
    dicaDeCaixa(observacao, "Digite a observação para o pedido");
    connect(observacao, &MemoVinculado::saiu, this, [this] { m_logica.saiu(CaixaPedido::Observacao); });
    m_caixas[{CaixaPedido::Observacao, 0}] = observacao;
    return rotuladoAoLado("Observação", dicaDe("Observação do pedido"), observacao);
}

QWidget *TfrmPedido::montarBotoesItem(int lista)
{
    const ListaPedido &def = m_logica.definicao(lista);
    auto [linha, h] = linhaHorizontal();
    m_areasItem.emplace_back(lista, linha);
    h->setSpacing(2);
    std::size_t texto = 0;
    if (def.pendencia.importa)
        h->addWidget(criarBotao(AcaoPedido::ImportarPendencia, lista, def.botoes[texto++]));
    for (int a = static_cast<int>(AcaoPedido::NovoItem); a <= static_cast<int>(AcaoPedido::ProximoItem); ++a)
        h->addWidget(criarBotao(static_cast<AcaoPedido>(a), lista, def.botoes[texto++]));
    return linha;
}

QWidget *TfrmPedido::montarCamposItem(int lista)
{
    const ListaPedido &def = m_logica.definicao(lista);
    ConjuntoDados &itens = m_logica.itens(lista);
    auto [linha, h] = linhaHorizontal();
    m_areasItem.emplace_back(lista, linha);
    QFont grande = font();
    grande.setPixelSize(24);

    auto caixaItem = [&](const char *sufixo, const NomeCampo &campo, bool exibicao, CaixaPedido caixa) {
        auto *c = new CaixaVinculada(itens, campo);
        c->setObjectName(S(def.prefixoCaixas) + S(sufixo));
        c->setSomenteExibicao(exibicao);
        // Boxes that only show are left out of Tab: Tab goes from the code
        // to the quantity, where typing is wanted.
        if (exibicao)
            c->setFocusPolicy(Qt::ClickFocus);
        c->setFont(grande);
        m_caixas[{caixa, lista}] = c;
        // Every box tells the logic it was left; the kind says what that does.
        connect(c, &CaixaVinculada::saiu, this, [this, caixa, lista] { m_logica.saiu(caixa, lista); });
        return c;
    };
    auto *codigo = caixaItem("Codigo", Campos::Item::codigo, false, CaixaPedido::ItemCodigo);
    codigo->setMaiusculas(true);
    auto *pesquisar = botaoPesquisa(def.botaoPesquisa.nome, def.botaoPesquisa.dica);
    connect(pesquisar, &QToolButton::clicked, this, [this, lista] { m_logica.pesquisarItem(lista); });
    auto *descricao = caixaItem("Descricao", Campos::Item::item_descricao, true, CaixaPedido::ItemDescricao);
    QWidget *fabricante = nullptr;
    if (def.codigosDesconto) {
        auto *c = new CaixaVinculada(itens, Campos::Item::codigo_descricao);
        c->setObjectName(S(def.prefixoCaixas) + QStringLiteral("Fabricante"));
        c->setSomenteExibicao(true);
        c->setFocusPolicy(Qt::ClickFocus);
        c->setFont(grande);
        fabricante = c;
    }
    auto *quantidade = caixaItem("Quantidade", Campos::Item::quantidade, false, CaixaPedido::ItemQuantidade);
    auto *unitario = caixaItem("Unitario", Campos::Item::valorUnitario, true, CaixaPedido::ItemUnitario);
    auto *total = caixaItem("Total", Campos::Item::valorTotal, true, CaixaPedido::ItemTotal);

    h->addWidget(rotulado("Código", nullptr, codigo, pesquisar), 3);
    h->addWidget(rotulado("Descrição do produto", nullptr, descricao), 6);
    if (fabricante)
        h->addWidget(rotulado("Fabricante", nullptr, fabricante), 3);
    h->addWidget(rotulado("Qtde", nullptr, quantidade), 2);
    h->addWidget(rotulado("Preço Unitário", nullptr, unitario), 3);
    h->addWidget(rotulado("Preço total", nullptr, total), 3);
    std::vector<QWidget *> ordem{codigo, descricao};
    if (fabricante)
        ordem.push_back(fabricante);
    ordem.insert(ordem.end(), {quantidade, unitario, total});
    // The discount letters close the row where there are any; else the quantity.
    m_ultimaCaixaItem = quantidade;

    if (def.codigosDesconto) {
        const std::vector<EntradaLista> letras = EntradasIguais(letrasDesconto());
        const struct {
            const char *nome;
            NomeCampo campo;
            const char *rotulo;
            CaixaPedido caixa;
        } codigos[] = {{"dbItemDesconto1", Campos::Item::cd_desconto1, "D1", CaixaPedido::ItemDesconto1},
                       {"dbItemDesconto2", Campos::Item::cd_desconto2, "D2", CaixaPedido::ItemDesconto2},
                       {"dbItemDesconto3", Campos::Item::cd_desconto3, "D3", CaixaPedido::ItemDesconto3},
                       {"dbItemGordura", Campos::Item::gordura1, "G", CaixaPedido::ItemGordura}};
        for (const auto &c : codigos) {
            auto *l = new ListaVinculada(itens, c.campo, letras);
            l->setObjectName(S(c.nome));
            l->setFont(grande);
            const CaixaPedido caixa = c.caixa;
            connect(l, &ListaVinculada::saiu, this, [this, caixa, lista] { m_logica.saiu(caixa, lista); });
            m_caixas[{caixa, lista}] = l;
            h->addWidget(rotulado(c.rotulo, nullptr, l), 1);
            ordem.push_back(l);
            m_ultimaCaixaItem = l;
        }
    }
    if (m_logica.variante().foco.descricaoPorUltimo)
        std::rotate(ordem.begin() + 1, ordem.begin() + 2, ordem.end());
    for (std::size_t i = 0; i + 1 < ordem.size(); ++i)
        setTabOrder(ordem[i], ordem[i + 1]);
    // Where leaving a box goes back to the code, that box closes the row.
    for (const SaidaCaixa &saida : m_logica.variante().foco.saidas)
        if (saida.foco == CaixaPedido::ItemCodigo && saida.caixa != CaixaPedido::ItemCodigo)
            if (QWidget *w = caixa(saida.caixa, lista))
                m_ultimaCaixaItem = w;
    return linha;
}

GradeItens *TfrmPedido::montarGrade(int lista)
{
    const ListaPedido &def = m_logica.definicao(lista);
    auto teclas = [this, lista](int tecla, bool alt, bool ctrl) {
        if ((tecla == Qt::Key_Return || tecla == Qt::Key_Enter) && !alt && !ctrl) {
            m_logica.clicar(AcaoPedido::EditarItem, lista);
            return true;
        }
        return lista == 0 && m_logica.teclaGrade(tecla, alt, ctrl);
    };
    auto *grade = new GradeItens(
        m_logica.itens(lista), def.colunas, [this, lista](int linha) { return m_logica.coresCelula(linha, lista); },
        teclas);
    grade->setObjectName(S(def.nomeGrade));
    dicaDeCaixa(grade, def.dicaGrade);
    m_areasItem.emplace_back(lista, grade);
    return grade;
}

QWidget *TfrmPedido::montarSubtotal(int lista)
{
    const ListaPedido &def = m_logica.definicao(lista);
    const std::optional<NomeCampo> &coluna =
        m_logica.variante().regras().guarda.listas[static_cast<std::size_t>(lista)].colunaSubtotal;
    if (!coluna)
        return nullptr;
    // The label above its value, as the item's boxes beside it.
    auto *linha = new QWidget;
    auto *h = new QVBoxLayout(linha);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(2);
    auto *rotulo = new QLabel(S(def.rotuloSubtotal));
    auto *valor = new RotuloVinculado(m_logica.cabecalho(), *coluna);
    valor->setObjectName(*coluna);
    valor->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    valor->setMinimumWidth(160);
    for (QLabel *l : {static_cast<QLabel *>(rotulo), static_cast<QLabel *>(valor)}) {
        QFont f = l->font();
        f.setPixelSize(14);
        f.setBold(true);
        l->setFont(f);
    }
    h->addWidget(rotulo);
    h->addWidget(valor);
    return linha;
}

QWidget *TfrmPedido::montarResumo()
{
    auto [linha, h] = linhaHorizontal();
    for (const QuadroResumo &q : m_logica.variante().resumo) {
        QLabel *valor = nullptr;
        if (q.doCliente) {
            valor = new QLabel;
            m_resumoCliente.emplace_back(valor, q.campo);
        } else {
            valor = new RotuloVinculado(m_logica.cabecalho(), q.campo);
        }
        if (!q.doCliente && qstrcmp(q.campo.utf8(), m_logica.variante().regras().guarda.colunaTotal.utf8()) == 0)
            m_saldo = valor;
        h->addWidget(quadro(q.titulo, valor, dicaDe(q.dica)));
    }
    // The customer's figures follow the order, whatever moved it or its
    // customer.
    ConjuntoDados &pedidos = m_logica.cabecalho();
    for (auto sinal : {&ConjuntoDados::estadoMudou, &ConjuntoDados::registroMudou, &ConjuntoDados::dadosAlterados})
        connect(&pedidos, sinal, this, &TfrmPedido::mostrarResumoCliente);
    return linha;
}

void TfrmPedido::mostrarResumoCliente()
{
    for (const auto &[rotulo, campo] : m_resumoCliente)
        rotulo->setText(m_logica.resumoCliente(campo));
    mostrarAvisoCliente(std::nullopt);
}

// Beside the customer's name, never in the way: the order passes the
// customer's credit, or the customer pays late.
QLabel *TfrmPedido::montarAvisoCliente()
{
    m_avisoCliente = new QLabel;
    m_avisoCliente->setObjectName(QStringLiteral("lblAvisoCliente"));
    m_avisoCliente->setStyleSheet(QStringLiteral("color: #b35c00; font-weight: bold;"));
    m_avisoCliente->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_avisoCliente->setToolTip(QStringLiteral("Situação do cliente: crédito e atraso médio de pagamento"));
    m_avisoCliente->hide();
    return m_avisoCliente;
}

void TfrmPedido::mostrarAvisoCliente(std::optional<Dinheiro> saldoPrevisto)
{
    if (!m_avisoCliente)
        return;
    const QString aviso = SituacaoClienteDoPedido(m_logica, saldoPrevisto).aviso();
    m_avisoCliente->setText(aviso);
    m_avisoCliente->setVisible(!aviso.isEmpty());
}

// Header and item buttons share accelerator letters. Alt+letter acts on the
// row the user is at: the item row's button while the focus is in that
// list's boxes, buttons or grid, the order row's elsewhere. A letter that
// only the other row has works from anywhere.
void TfrmPedido::ligarAceleradores()
{
    std::map<QKeySequence, std::vector<std::pair<AcaoPedido, int>>> porTecla;
    for (const auto &[chave, b] : m_botoes) {
        if (b->shortcut().isEmpty())
            continue;
        porTecla[b->shortcut()].push_back(chave);
        b->setShortcut(QKeySequence()); // the caption keeps its underlined letter
    }
    for (const auto &[tecla, botoes] : porTecla) {
        auto *atalho = new QShortcut(tecla, this);
        connect(atalho, &QShortcut::activated, this, [this, botoes] {
            const int lista = listaDoFoco();
            auto alvo = std::find_if(botoes.begin(), botoes.end(), [lista](const auto &chave) {
                return chave.first >= AcaoPedido::ImportarPendencia ? chave.second == lista : lista < 0;
            });
            if (alvo == botoes.end())
                alvo = botoes.begin();
            if (QToolButton *b = botao(alvo->first, alvo->second); b->isEnabled())
                b->click();
        });
    }
}

int TfrmPedido::listaDoFoco() const
{
    const QWidget *foco = focusWidget();
    for (const auto &[lista, area] : m_areasItem)
        if (foco && (foco == area || area->isAncestorOf(foco)))
            return lista;
    return -1;
}

const char *TfrmPedido::dicaDe(const char *texto) const
{
    return m_logica.variante().dicasSoNosBotoes ? nullptr : texto;
}

void TfrmPedido::dicaDeCaixa(QWidget *caixa, const char *texto) const
{
    dica(caixa, dicaDe(texto));
}

void TfrmPedido::atualizarBotoes()
{
    for (const auto &[chave, botao] : m_botoes)
        botao->setEnabled(m_logica.habilitado(chave.first, chave.second));
    if (m_repetir)
        m_repetir->setEnabled(m_logica.podeRepetir());
}

// ---------------------------------------------------------------- price preview

namespace
{

const char *const kDicaPrevia = "Prévia: o valor que a gravação vai guardar";

// A box shows the preview in italics, or its field as stored.
void mostrar(QWidget *caixa, const std::optional<Dinheiro> &previa, const QString &gravado,
             void (*escrever)(QWidget *, const QString &))
{
    QFont f = caixa->font();
    f.setItalic(previa.has_value());
    caixa->setFont(f);
    caixa->setToolTip(previa ? S(kDicaPrevia) : QString());
    escrever(caixa, previa ? previa->exibicao() : gravado);
}

void escreverCaixa(QWidget *caixa, const QString &texto)
{
    static_cast<QLineEdit *>(caixa)->setText(texto);
}

void escreverRotulo(QWidget *rotulo, const QString &texto)
{
    static_cast<QLabel *>(rotulo)->setText(texto);
}

} // namespace

// Worked out once the event that changed something is over: a save walks
// every item, and the preview walks them too.
void TfrmPedido::ligarPrevia()
{
    m_previa = new QTimer(this);
    m_previa->setSingleShot(true);
    m_previa->setInterval(0);
    connect(m_previa, &QTimer::timeout, this, &TfrmPedido::mostrarPrevia);
    std::vector<ConjuntoDados *> conjuntos{&m_logica.cabecalho()};
    for (int l = 0; l < m_logica.quantidadeListas(); ++l)
        conjuntos.push_back(&m_logica.itens(l));
    for (ConjuntoDados *c : conjuntos)
        for (auto sinal : {&ConjuntoDados::estadoMudou, &ConjuntoDados::registroMudou, &ConjuntoDados::dadosAlterados})
            connect(c, sinal, m_previa, qOverload<>(&QTimer::start));

    auto *explicar = new QAction(S("Como este preço foi calculado (F2)"), this);
    explicar->setShortcut(Qt::Key_F2);
    explicar->setShortcutContext(Qt::WindowShortcut);
    connect(explicar, &QAction::triggered, this, &TfrmPedido::explicarPreco);
    addAction(explicar);
    for (int l = 0; l < m_logica.quantidadeListas(); ++l) {
        connect(caixaDeItem(CaixaPedido::ItemQuantidade, l), &QLineEdit::textEdited, m_previa,
                qOverload<>(&QTimer::start));
        for (QWidget *w : std::initializer_list<QWidget *>{grade(l), caixaDeItem(CaixaPedido::ItemUnitario, l)}) {
            w->addAction(explicar);
            w->setContextMenuPolicy(Qt::ActionsContextMenu);
        }
    }
}

// Beside the F2 explanation, on the kinds priced with the discount codes.
void TfrmPedido::ligarNegociacao()
{
    if (!m_logica.negociaPreco())
        return;
    auto *negociar = new QAction(S("Negociar preço (F3)"), this);
    negociar->setObjectName(S("acaoNegociarPreco"));
    negociar->setShortcut(Qt::Key_F3);
    negociar->setShortcutContext(Qt::WindowShortcut);
    connect(negociar, &QAction::triggered, this, &TfrmPedido::negociarPreco);
    addAction(negociar);
    for (int l = 0; l < m_logica.quantidadeListas(); ++l)
        for (QWidget *w : std::initializer_list<QWidget *>{grade(l), caixaDeItem(CaixaPedido::ItemUnitario, l)})
            w->addAction(negociar);
}

CaixaVinculada *TfrmPedido::caixaDeItem(CaixaPedido caixa, int lista) const
{
    return static_cast<CaixaVinculada *>(this->caixa(caixa, lista));
}

int TfrmPedido::listaDaPrevia() const
{
    for (int l = 0; l < m_logica.quantidadeListas(); ++l)
        if (m_logica.itens(l).emEdicao())
            return l;
    const QWidget *foco = focusWidget();
    for (int l = 0; foco && l < m_logica.quantidadeListas(); ++l)
        for (const auto &[chave, w] : m_caixas)
            if (chave.second == l && chave.first >= CaixaPedido::ItemCodigo && (w == foco || grade(l) == foco))
                return l;
    return 0;
}

std::optional<QString> TfrmPedido::quantidadeDigitada(int lista) const
{
    const CaixaVinculada *quantidade = caixaDeItem(CaixaPedido::ItemQuantidade, lista);
    return quantidade->isModified() ? std::optional<QString>(quantidade->text()) : std::nullopt;
}

void TfrmPedido::mostrarPrevia()
{
    const auto gravado = [](ConjuntoDados &c, const QString &campo) {
        return c.ativo() ? c.campo(campo).textoExibicao() : QString();
    };
    const int daPrevia = listaDaPrevia();
    for (int l = 0; l < m_logica.quantidadeListas(); ++l) {
        const PreviaTela previa = m_logica.previa(quantidadeDigitada(l), l);
        ConjuntoDados &itens = m_logica.itens(l);
        mostrar(caixaDeItem(CaixaPedido::ItemUnitario, l), previa.valorUnitario,
                gravado(itens, Campos::Item::valorUnitario), escreverCaixa);
        mostrar(caixaDeItem(CaixaPedido::ItemTotal, l), previa.valorTotal, gravado(itens, Campos::Item::valorTotal),
                escreverCaixa);
        if (l == daPrevia && m_saldo)
            mostrar(m_saldo, previa.saldo,
                    gravado(m_logica.cabecalho(), m_logica.variante().regras().guarda.colunaTotal), escreverRotulo);
        if (l == daPrevia)
            mostrarAvisoCliente(previa.saldo);
    }
}

void TfrmPedido::explicarPreco()
{
    const int lista = listaDaPrevia();
    m_logica.explicarPreco(quantidadeDigitada(lista), lista);
}

void TfrmPedido::negociarPreco()
{
    const int lista = listaDaPrevia();
    m_logica.negociarPreco(quantidadeDigitada(lista), lista);
}

// ---------------------------------------------------------------- window events

void TfrmPedido::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    if (m_aberta)
        return;
    m_aberta = true;
    m_logica.abrir();
    atualizarBotoes();
    mostrarResumoCliente();
}

void TfrmPedido::closeEvent(QCloseEvent *evento)
{
    if (!m_logica.podeFechar()) {
        evento->ignore();
        return;
    }
    m_logica.aoFechar();
    // Hiding ends exec(); QDialog's own handler would go round through reject().
    evento->accept();
}

// Escape closes the window the same way as its close box.
void TfrmPedido::reject()
{
    close();
}

bool TfrmPedido::event(QEvent *evento)
{
    if (evento->type() == QEvent::StatusTip) {
        m_status->showMessage(static_cast<QStatusTipEvent *>(evento)->tip());
        return true;
    }
    return QDialog::event(evento);
}

// ---------------------------------------------------------------- what the logic asks

// A box the logic sends the user to is typed over, not appended to.
void TfrmPedido::focar(CaixaPedido caixa, int lista)
{
    QWidget *w = this->caixa(caixa, lista);
    if (!w)
        return;
    w->setFocus(Qt::OtherFocusReason);
    if (auto *c = qobject_cast<QLineEdit *>(w))
        c->selectAll();
}

namespace
{

void confirmarCaixa(QWidget *w)
{
    if (auto *c = qobject_cast<CaixaVinculada *>(w))
        c->confirmar();
    else if (auto *m = qobject_cast<MemoVinculado *>(w))
        m->confirmar();
}

} // namespace

void TfrmPedido::confirmar(CaixaPedido caixa, int lista)
{
    confirmarCaixa(this->caixa(caixa, lista));
}

void TfrmPedido::confirmarFoco()
{
    confirmarCaixa(focusWidget());
}

void TfrmPedido::colorirPainel(const QColor &cor)
{
    if (!m_painel)
        return;
    QPalette p = m_painel->palette();
    p.setColor(QPalette::Window, cor);
    m_painel->setPalette(p);
}

void TfrmPedido::fechar()
{
    close();
}
