#include "tela_pedido.h"

#include "controles_vinculados.h"
#include "grade_itens.h"
#include "icones.h"
#include "udm.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QShortcut>
#include <QStatusBar>
#include <QStatusTipEvent>
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

struct DefBotao {
    AcaoPedido acao;
    const char *nome;
    const char *rotulo;
    const char *dica;
    const char *simbolo;
};

const DefBotao kBotoes[] = {
    {AcaoPedido::PesquisarPedido, "BtnPesquisarPedido", "&Procurar", "Pesquisar pedido(s)", "⌕"},
    {AcaoPedido::Enviar, "btnEnviar", "E&nviar", "Enviar pedido", "✉"},
    {AcaoPedido::Imprimir, "btnImprimirPedido", "I&mprimir", "Imprimir pedido", "▤"},
    {AcaoPedido::Novo, "btnNovo", "&Inserir", "Inserir pedido", "+"},
    {AcaoPedido::Editar, "btnEditar", "&Editar", "Editar pedido", "✎"},
    {AcaoPedido::Salvar, "btnSalvar", "&Salvar", "Salvar pedido", "✔"},
    {AcaoPedido::Cancelar, "btnCancelar", "&Cancelar", "Cancelar pedido", "↶"},
    {AcaoPedido::Excluir, "btnExcluir", "E&xcluir", "Deletar pedido", "✖"},
    {AcaoPedido::Anterior, "btnAnterior", "&Anterior", "Pedido anterior", "◀"},
    {AcaoPedido::Proximo, "btnProximo", "P&roximo", "Próximo pedido", "▶"},
    {AcaoPedido::ImportarPendencia, "BtnImportarPendencia", "I&mportar", "Importar pendência", "⇩"},
    {AcaoPedido::NovoItem, "btnNovoItem", "&Inserir", "Inserir item", "+"},
    {AcaoPedido::EditarItem, "btnEditarItem", "&Editar", "Editar item", "✎"},
    {AcaoPedido::SalvarItem, "btnSalvarItem", "&Salvar", "Salvar item", "✔"},
    {AcaoPedido::CancelarItem, "btnCancelarItem", "&Cancelar", "Cancelar item", "↶"},
    {AcaoPedido::ExcluirItem, "btnExcluirItem", "E&xcluir", "Deletar item", "✖"},
    {AcaoPedido::AnteriorItem, "btnAnteriorItem", "&Anterior", "Item anterior", "◀"},
    {AcaoPedido::ProximoItem, "btnProximoItem", "P&roximo", "Próximo item", "▶"},
};

std::vector<ColunaGrade> colunasDa(const FormaTela &t)
{
    const bool esquerda = t.quantidadeAEsquerda;
    return {
        {"codigo", "Código do item", 120, false},
        {"item_descricao", "Descrição", 390, false},
        {"quantidade", "Quantidade", 80, esquerda},
        {"valorUnitario", "Valor Unitário", 180, false},
        {"valorTotal", t.tituloValorTotal, 200, false},
        {"cd_desconto1", "D1", 40, false},
        {"cd_desconto2", "D2", 40, false},
        {"cd_desconto3", "D3", 40, false},
        {"estoque", "Estoque", 90, esquerda},
    };
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
QToolButton *botaoPesquisa(const char *nome, const char *texto)
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
    if (dicaRotulo)
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

// A framed box holding one large bold value.
QGroupBox *quadro(const char *titulo, QLabel *valor, const char *dicaQuadro)
{
    auto *g = new QGroupBox(S(titulo));
    auto *h = new QHBoxLayout(g);
    QFont f = valor->font();
    f.setPixelSize(22);
    f.setBold(true);
    valor->setFont(f);
    valor->setAlignment(Qt::AlignCenter);
    h->addWidget(valor);
    if (dicaQuadro)
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
    setObjectName(QStringLiteral("TfrmPedido"));
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
    raiz->addWidget(montarObservacaoEBotoesItem());
    raiz->addWidget(montarCamposItem());
    m_grade = new GradeItens(
        m_logica.itens(), colunasDa(variante.tela), [this](int linha) { return m_logica.coresCelula(linha); },
        [this](int tecla, bool alt, bool ctrl) { return m_logica.teclaGrade(tecla, alt, ctrl); });
    m_grade->setObjectName(S(variante.tela.nomeGrade));
    dicaDeCaixa(m_grade, "Itens cadastrados");
    m_caixas.insert(CaixaPedido::Grade, m_grade);
    raiz->addWidget(m_grade, 1);
    raiz->addWidget(montarResumo());
    m_status = new QStatusBar;
    m_status->setSizeGripEnabled(false);
    raiz->addWidget(m_status);

    ligarAceleradores();
    for (ConjuntoDados *c : {&m_logica.cabecalho(), &m_logica.itens()})
        for (auto sinal : {&ConjuntoDados::estadoMudou, &ConjuntoDados::registroMudou, &ConjuntoDados::dadosAlterados})
            connect(c, sinal, this, &TfrmPedido::atualizarBotoes);
    ligarPrevia();
    atualizarBotoes();
}

TfrmPedido::~TfrmPedido() = default;

QToolButton *TfrmPedido::criarBotao(AcaoPedido acao)
{
    const DefBotao &d = kBotoes[static_cast<int>(acao)];
    const FormaTela &tela = m_logica.variante().tela;
    const char *nome = d.nome;
    for (const auto &[deQual, outro] : tela.nomesBotoes)
        if (deQual == acao)
            nome = outro;
    auto *b = new QToolButton;
    b->setObjectName(S(nome));
    b->setText(S(d.rotulo));
    dica(b, acao == AcaoPedido::PesquisarPedido ? tela.dicaPesquisarPedido : d.dica);
    b->setIcon(IconeDesenhado(S(d.simbolo), corDe(acao)));
    b->setIconSize(QSize(20, 20));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    QFont f = b->font();
    f.setPixelSize(10);
    b->setFont(f);
    // 45 by 45, wider only where a caption would not fit.
    b->setFixedHeight(45);
    b->setMinimumWidth(45);
    connect(b, &QToolButton::clicked, this, [this, acao] { m_logica.clicar(acao); });
    m_botoes[acao] = b;
    return b;
}

QWidget *TfrmPedido::montarBotoesPedido()
{
    auto [linha, h] = linhaHorizontal();
    h->setSpacing(2);
    h->addStretch(1);
    for (int a = static_cast<int>(AcaoPedido::PesquisarPedido); a <= static_cast<int>(AcaoPedido::Proximo); ++a)
        h->addWidget(criarBotao(static_cast<AcaoPedido>(a)));
    return linha;
}

QWidget *TfrmPedido::montarExibicaoPedido()
{
    ConjuntoDados &pedidos = m_logica.cabecalho();
    auto [linha, h] = linhaHorizontal();
    auto *numero = new RotuloVinculado(pedidos, QStringLiteral("nr_pedido"));
    auto *gbPedido = quadro(" Pedido Nº ", numero, dicaDe("Número do Pedido"));
    gbPedido->setObjectName(QStringLiteral("gbPedido"));
    gbPedido->setFixedWidth(170);
    auto *gbData =
        quadro(" Gerado às ", new RotuloVinculado(pedidos, QStringLiteral("dt_pedido")), dicaDe("Data do pedido"));
    gbData->setObjectName(QStringLiteral("gbDataPedido"));
    gbData->setFixedWidth(280);
    auto *nome = new RotuloVinculado(pedidos, QStringLiteral("CLIENTE_DESCRICAO"));
    auto *gbCliente = quadro(" Cliente ", nome, dicaDe("Nome do cliente"));
    gbCliente->setObjectName(QStringLiteral("gbCliente"));
    nome->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    if (m_logica.variante().colorePainel) {
        m_painel = new QFrame;
        m_painel->setObjectName(QStringLiteral("Panel1"));
        m_painel->setFixedWidth(14);
        m_painel->setFrameShape(QFrame::Panel);
        m_painel->setFrameShadow(QFrame::Raised);
        m_painel->setAutoFillBackground(true);
        gbCliente->layout()->addWidget(m_painel);
    }
    h->addWidget(gbPedido);
    h->addWidget(gbData);
    h->addWidget(gbCliente, 1);
    return linha;
}

QWidget *TfrmPedido::montarCamposPedido()
{
    ConjuntoDados &pedidos = m_logica.cabecalho();
    const FormaTela &tela = m_logica.variante().tela;
    auto [linha, h] = linhaHorizontal();

    auto *cliente = new CaixaVinculada(pedidos, QStringLiteral("idCliente"));
    cliente->setObjectName(QStringLiteral("dbCodigoCliente"));
    dicaDeCaixa(cliente, "Digite o código do cliente");
    connect(cliente, &CaixaVinculada::saiu, this, [this] { m_logica.saiuCodigoCliente(); });
    auto *pesquisar = botaoPesquisa(tela.nomePesquisarCliente, tela.dicaPesquisarCliente);
    connect(pesquisar, &QToolButton::clicked, this, [this] { m_logica.pesquisarCliente(); });
    m_caixas.insert(CaixaPedido::CodigoCliente, cliente);

    QWidget *entrega = nullptr;
    if (tela.entregaPorLocalidade)
        entrega = new ListaLookupVinculada(pedidos, QStringLiteral("tp_localidade"), DM->QyLocalidade,
                                           QStringLiteral("nm_localidade"), QStringLiteral("tp_localidade"));
    else // the one-character column keeps the locality's code
        entrega = new ListaVinculada(pedidos, QStringLiteral("tp_localidade"), {{QStringLiteral("PNS"), "0"}});
    entrega->setObjectName(QStringLiteral("dbEntrega"));
    dicaDeCaixa(entrega, tela.dicaEntrega);
    m_caixas.insert(CaixaPedido::Entrega, entrega);
    auto *dv = new ListaVinculada(pedidos, QStringLiteral("dv"), EntradasIguais(numeros(tela.dvMaximo)));
    dv->setObjectName(QStringLiteral("dbDV"));
    dicaDeCaixa(dv, "Desconto aplicado no volume total dos itens");
    auto *avista = new ListaVinculada(pedidos, QStringLiteral("avista"), EntradasIguais(numeros(5)));
    avista->setObjectName(QStringLiteral("dbAvista"));
    dicaDeCaixa(avista, "Escolha o desconto aplicado se for pagamento avista");
    auto *forma = new ListaLookupVinculada(pedidos, QStringLiteral("idforma"), DM->QyFormaPagamento,
                                           QStringLiteral("Forma"), QStringLiteral("idforma"));
    forma->setObjectName(QStringLiteral("dvFormaPagto"));
    dicaDeCaixa(forma, "Escolha a forma de pagamento");
    auto *detalhe = new CaixaVinculada(pedidos, QStringLiteral("nm_forma_pagamento"));
    detalhe->setObjectName(QStringLiteral("dbFormaPagtoDetalhado"));
    dicaDeCaixa(detalhe, "Digite o detalhe da forma de pagamento, se necessário");
    m_caixas.insert(CaixaPedido::FormaPagtoDetalhado, detalhe);
    auto *cif = new OpcoesVinculadas(QStringLiteral(" CIF "), pedidos, QStringLiteral("cif"),
                                     EntradasIguais({QStringLiteral("Não")}), 2);
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

QWidget *TfrmPedido::montarObservacaoEBotoesItem()
{
    auto [linha, h] = linhaHorizontal();
    auto *observacao = new MemoVinculado(m_logica.cabecalho(), QStringLiteral("observacao"));
    observacao->setObjectName(QStringLiteral("dbObservacao"));
    observacao->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    observacao->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    observacao->setFixedHeight(60);
    dicaDeCaixa(observacao, "Digite a observação para o pedido");
    connect(observacao, &MemoVinculado::saiu, this, [this] { m_logica.saiu(CaixaPedido::Observacao); });
    m_caixas.insert(CaixaPedido::Observacao, observacao);
    h->addWidget(rotulado("Observação", dicaDe("Observação do pedido"), observacao), 1);
    auto *botoes = new QHBoxLayout;
    botoes->setSpacing(2);
    const int primeiro = m_logica.variante().importaPendencia ? static_cast<int>(AcaoPedido::ImportarPendencia)
                                                              : static_cast<int>(AcaoPedido::NovoItem);
    for (int a = primeiro; a <= static_cast<int>(AcaoPedido::ProximoItem); ++a)
        botoes->addWidget(criarBotao(static_cast<AcaoPedido>(a)));
    h->addLayout(botoes);
    h->setAlignment(botoes, Qt::AlignBottom);
    return linha;
}

QWidget *TfrmPedido::montarCamposItem()
{
    ConjuntoDados &itens = m_logica.itens();
    auto [linha, h] = linhaHorizontal();
    QFont grande = font();
    grande.setPixelSize(24);

    auto caixaItem = [&](const char *nome, const char *campo, bool exibicao) {
        auto *c = new CaixaVinculada(itens, S(campo));
        c->setObjectName(S(nome));
        c->setSomenteExibicao(exibicao);
        c->setFont(grande);
        return c;
    };
    auto *codigo = caixaItem("dbItemCodigo", "codigo", false);
    codigo->setMaiusculas(true);
    auto *pesquisar = botaoPesquisa("btnPesquisarItem", "Pesquisar item(ns)");
    connect(pesquisar, &QToolButton::clicked, this, [this] { m_logica.pesquisarItem(); });
    auto *descricao = caixaItem("dbItemDescricao", "item_descricao", true);
    auto *fabricante = caixaItem("dbItemFabricante", "codigo_descricao", true);
    auto *quantidade = caixaItem("dbItemQuantidade", "quantidade", false);
    auto *unitario = caixaItem("dbItemUnitario", "valorUnitario", true);
    auto *total = caixaItem("dbItemTotal", "valorTotal", true);
    m_quantidade = quantidade;
    m_unitario = unitario;
    m_total = total;
    // Every box tells the logic it was left; the kind says what that does.
    const std::pair<CaixaPedido, CaixaVinculada *> caixas[] = {{CaixaPedido::ItemCodigo, codigo},
                                                               {CaixaPedido::ItemDescricao, descricao},
                                                               {CaixaPedido::ItemQuantidade, quantidade},
                                                               {CaixaPedido::ItemUnitario, unitario},
                                                               {CaixaPedido::ItemTotal, total}};
    for (const auto &[qual, caixa] : caixas) {
        m_caixas.insert(qual, caixa);
        connect(caixa, &CaixaVinculada::saiu, this, [this, qual] { m_logica.saiu(qual); });
    }

    const std::vector<EntradaLista> letras = EntradasIguais(letrasDesconto());
    const struct {
        const char *nome;
        const char *campo;
        CaixaPedido caixa;
    } codigos[] = {{"dbItemDesconto1", "cd_desconto1", CaixaPedido::ItemDesconto1},
                   {"dbItemDesconto2", "cd_desconto2", CaixaPedido::ItemDesconto2},
                   {"dbItemDesconto3", "cd_desconto3", CaixaPedido::ItemDesconto3},
                   {"dbItemGordura", "gordura1", CaixaPedido::ItemGordura}};
    std::vector<QWidget *> listas;
    for (const auto &c : codigos) {
        auto *lista = new ListaVinculada(itens, S(c.campo), letras);
        lista->setObjectName(S(c.nome));
        lista->setFont(grande);
        const CaixaPedido caixa = c.caixa;
        connect(lista, &ListaVinculada::saiu, this, [this, caixa] { m_logica.saiu(caixa); });
        m_caixas.insert(caixa, lista);
        listas.push_back(lista);
    }

    h->addWidget(rotulado("Código", nullptr, codigo, pesquisar), 3);
    h->addWidget(rotulado("Descrição do produto", nullptr, descricao), 6);
    h->addWidget(rotulado("Fabricante", nullptr, fabricante), 3);
    h->addWidget(rotulado("Qtde", nullptr, quantidade), 2);
    h->addWidget(rotulado("Preço Unitário", nullptr, unitario), 3);
    h->addWidget(rotulado("Preço total", nullptr, total), 3);
    const char *rotulos[] = {"D1", "D2", "D3", "G"};
    for (std::size_t i = 0; i < listas.size(); ++i)
        h->addWidget(rotulado(rotulos[i], nullptr, listas[i]), 1);

    std::vector<QWidget *> ordem = {codigo, descricao, fabricante, quantidade, unitario,
                                    total,  listas[0], listas[1],  listas[2],  listas[3]};
    if (m_logica.variante().tela.descricaoPorUltimo)
        std::rotate(ordem.begin() + 1, ordem.begin() + 2, ordem.end());
    for (std::size_t i = 0; i + 1 < ordem.size(); ++i)
        setTabOrder(ordem[i], ordem[i + 1]);
    return linha;
}

QWidget *TfrmPedido::montarResumo()
{
    ConjuntoDados &clientes = DM->QyCliente;
    ConjuntoDados &pedidos = m_logica.cabecalho();
    auto [linha, h] = linhaHorizontal();
    const VariantePedido &variante = m_logica.variante();
    h->addWidget(quadro(" Menor compra ", new RotuloVinculado(clientes, QStringLiteral("valmenorcompra")),
                        dicaDe("Menor compra")));
    h->addWidget(quadro(" Maior compra ", new RotuloVinculado(clientes, QStringLiteral("valmaiorcompra")),
                        dicaDe("Maior compra")));
    h->addWidget(quadro(" Ultima compra ", new RotuloVinculado(clientes, QStringLiteral("ultimacompra")),
                        dicaDe("Data da última compra")));
    h->addWidget(quadro(" Volumes ", new RotuloVinculado(pedidos, QStringLiteral("vl_gordura")),
                        dicaDe(variante.tela.dicaVolumes)));
    m_saldo = new RotuloVinculado(pedidos, S(variante.campoSaldo));
    h->addWidget(quadro(" Saldo ", m_saldo, dicaDe("Saldo do pedido")));
    return linha;
}

// Header and item buttons share accelerator letters. Alt+letter clicks the
// first enabled button with that letter, header row first: Alt+S saves the
// order while it is being edited, and the item otherwise.
void TfrmPedido::ligarAceleradores()
{
    std::map<QKeySequence, std::vector<QToolButton *>> porTecla;
    for (int a = 0; a <= static_cast<int>(AcaoPedido::ProximoItem); ++a) {
        const auto achado = m_botoes.find(static_cast<AcaoPedido>(a));
        if (achado == m_botoes.end())
            continue;
        QToolButton *b = achado->second;
        porTecla[b->shortcut()].push_back(b);
        b->setShortcut(QKeySequence()); // the caption keeps its underlined letter
    }
    for (const auto &[tecla, botoes] : porTecla) {
        auto *atalho = new QShortcut(tecla, this);
        connect(atalho, &QShortcut::activated, this, [botoes] {
            for (QToolButton *b : botoes)
                if (b->isEnabled()) {
                    b->click();
                    return;
                }
        });
    }
}

const char *TfrmPedido::dicaDe(const char *texto) const
{
    return m_logica.variante().tela.dicasSoNosBotoes ? nullptr : texto;
}

void TfrmPedido::dicaDeCaixa(QWidget *caixa, const char *texto) const
{
    dica(caixa, dicaDe(texto));
}

void TfrmPedido::atualizarBotoes()
{
    for (const auto &[acao, botao] : m_botoes)
        botao->setEnabled(m_logica.habilitado(acao));
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
    for (ConjuntoDados *c : {&m_logica.cabecalho(), &m_logica.itens()})
        for (auto sinal : {&ConjuntoDados::estadoMudou, &ConjuntoDados::registroMudou, &ConjuntoDados::dadosAlterados})
            connect(c, sinal, m_previa, qOverload<>(&QTimer::start));
    connect(m_quantidade, &QLineEdit::textEdited, m_previa, qOverload<>(&QTimer::start));

    auto *explicar = new QAction(S("Como este preço foi calculado (F2)"), this);
    explicar->setShortcut(Qt::Key_F2);
    explicar->setShortcutContext(Qt::WindowShortcut);
    connect(explicar, &QAction::triggered, this, &TfrmPedido::explicarPreco);
    addAction(explicar);
    for (QWidget *w : std::initializer_list<QWidget *>{m_grade, m_unitario}) {
        w->addAction(explicar);
        w->setContextMenuPolicy(Qt::ActionsContextMenu);
    }
}

std::optional<QString> TfrmPedido::quantidadeDigitada() const
{
    return m_quantidade->isModified() ? std::optional<QString>(m_quantidade->text()) : std::nullopt;
}

void TfrmPedido::mostrarPrevia()
{
    const PreviaTela previa = m_logica.previa(quantidadeDigitada());
    ConjuntoDados &itens = m_logica.itens();
    const auto gravado = [](ConjuntoDados &c, const QString &campo) {
        return c.ativo() ? c.campo(campo).textoExibicao() : QString();
    };
    mostrar(m_unitario, previa.valorUnitario, gravado(itens, QStringLiteral("valorUnitario")), escreverCaixa);
    mostrar(m_total, previa.valorTotal, gravado(itens, QStringLiteral("valorTotal")), escreverCaixa);
    mostrar(m_saldo, previa.saldo, gravado(m_logica.cabecalho(), S(m_logica.variante().campoSaldo)), escreverRotulo);
}

void TfrmPedido::explicarPreco()
{
    m_logica.explicarPreco(quantidadeDigitada());
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

void TfrmPedido::focar(CaixaPedido caixa)
{
    if (QWidget *w = m_caixas.value(caixa))
        w->setFocus(Qt::OtherFocusReason);
}

void TfrmPedido::confirmar(CaixaPedido caixa)
{
    QWidget *w = m_caixas.value(caixa);
    if (auto *c = qobject_cast<CaixaVinculada *>(w))
        c->confirmar();
    else if (auto *m = qobject_cast<MemoVinculado *>(w))
        m->confirmar();
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
