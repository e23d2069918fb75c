#include "tela_cliente.h"

#include "ajuda_atalhos.h"
#include "campos_esquema.h"
#include "conferencia_cliente.h"
#include "conjunto_dados.h"
#include "controles_vinculados.h"
#include "enter_avanca.h"
#include "icones.h"
#include "udm.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QShortcut>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace
{

QString S(const char *texto)
{
    return QString::fromUtf8(texto);
}

// A box of the customer screen: it shows its column's input mask, and what
// is typed stays in it until the customer is saved, when the screen checks
// every box before writing any of them.
class CaixaDoCliente : public CaixaVinculada
{
  public:
    CaixaDoCliente(ConjuntoDados &conjunto, const QString &campo) : CaixaVinculada(conjunto, campo)
    {
        const char *mascara = conjunto.defCampo(conjunto.indiceCampo(campo)).mascara;
        if (!mascara)
            return;
        // "99\-999;1;_": the pattern, its literals escaped, blanks shown as "_".
        QString padrao = S(mascara).section(QLatin1Char(';'), 0, 0);
        if (padrao.startsWith(QLatin1Char('!')))
            padrao.remove(0, 1);
        setInputMask(padrao + QStringLiteral(";_"));
    }

  protected:
    void focusOutEvent(QFocusEvent *evento) override { QLineEdit::focusOutEvent(evento); }
};

struct DefBotao {
    AcaoCliente acao;
    const char *nome;
    const char *rotulo;
    const char *simbolo;
    QRgb cor;
};

const DefBotao kBotoes[] = {
    {AcaoCliente::Pesquisar, "btnPesquisarCliente", "&Procurar", "⌕", 0x1f5fa8},
    {AcaoCliente::Novo, "BtnNovo", "&Inserir", "+", 0x1f5fa8},
    {AcaoCliente::Editar, "BtnEditar", "&Editar", "✎", 0x1f5fa8},
    {AcaoCliente::Salvar, "BtnSalvar", "&Salvar", "✔", 0x2e7d32},
    {AcaoCliente::Cancelar, "BtnCancelar", "&Cancelar", "↶", 0x1f5fa8},
    {AcaoCliente::Excluir, "BtnExcluir", "E&xcluir", "✖", 0xb23b3b},
    {AcaoCliente::Anterior, "BtnAnterior", "&Anterior", "◀", 0x1f5fa8},
    {AcaoCliente::Proximo, "BtnProximo", "P&roximo", "▶", 0x1f5fa8},
};

const QStringList kEstados = {QStringLiteral("AC"), QStringLiteral("AL"), QStringLiteral("AP"), QStringLiteral("AM"),
                              QStringLiteral("BA"), QStringLiteral("CE"), QStringLiteral("DF"), QStringLiteral("ES"),
                              QStringLiteral("GO"), QStringLiteral("MA"), QStringLiteral("MT"), QStringLiteral("MS"),
                              QStringLiteral("MG"), QStringLiteral("PA"), QStringLiteral("PB"), QStringLiteral("PR"),
                              QStringLiteral("PE"), QStringLiteral("PI"), QStringLiteral("RJ"), QStringLiteral("RN"),
                              QStringLiteral("RS"), QStringLiteral("RO"), QStringLiteral("RR"), QStringLiteral("SC"),
                              QStringLiteral("SP"), QStringLiteral("SE"), QStringLiteral("TO")};

QFont fonteTahoma(int pontos)
{
    QFont f(QStringLiteral("Tahoma"));
    f.setPointSize(pontos);
    return f;
}

// A label above its control (and a small button beside it, if any).
QWidget *rotulado(const char *rotulo, QWidget *controle, QWidget *extra = nullptr)
{
    auto *coluna = new QWidget;
    auto *v = new QVBoxLayout(coluna);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(1);
    auto *l = new QLabel(S(rotulo));
    l->setFont(fonteTahoma(8));
    v->addWidget(l);
    controle->setFont(fonteTahoma(10));
    if (!extra) {
        v->addWidget(controle);
        return coluna;
    }
    auto *h = new QHBoxLayout;
    h->setSpacing(2);
    h->addWidget(controle, 1);
    h->addWidget(extra);
    v->addLayout(h);
    return coluna;
}

// Controls side by side, each with its share of the width.
QHBoxLayout *linha(std::initializer_list<std::pair<QWidget *, int>> controles)
{
    auto *h = new QHBoxLayout;
    h->setSpacing(6);
    for (const auto &[w, peso] : controles)
        h->addWidget(w, peso);
    return h;
}

} // namespace

TfrmCliente::TfrmCliente(QWidget *pai) : QDialog(pai), m_logica(*this)
{
    setObjectName(QStringLiteral("TfrmCliente"));
    setWindowTitle(QStringLiteral("Corlando - Cliente"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(fonteTahoma(8));
    setFixedSize(802, 549);

    auto *raiz = new QVBoxLayout(this);
    raiz->setContentsMargins(0, 0, 0, 0);
    raiz->setSpacing(0);
    raiz->addWidget(montarBarra());
    raiz->addWidget(montarCampos(), 1);
    auto *status = new QStatusBar;
    status->setSizeGripEnabled(false);
    raiz->addWidget(status);

    ConjuntoDados &clientes = m_logica.clientes();
    for (auto sinal : {&ConjuntoDados::estadoMudou, &ConjuntoDados::registroMudou, &ConjuntoDados::dadosAlterados})
        connect(&clientes, sinal, this, &TfrmCliente::atualizarBotoes);
    atualizarBotoes();
    EnterAvanca::instalar(this);
    InstalarAjudaAtalhos(this);
}

TfrmCliente::~TfrmCliente() = default;

QWidget *TfrmCliente::montarBarra()
{
    auto *barra = new QWidget;
    barra->setFixedHeight(61);
    std::vector<QToolButton *> botoes;
    for (const DefBotao &d : kBotoes) {
        auto *b = new QToolButton(barra);
        b->setObjectName(S(d.nome));
        b->setText(S(d.rotulo));
        b->setIcon(IconeDesenhado(S(d.simbolo), QColor(d.cor)));
        b->setIconSize(QSize(20, 20));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        QFont f = b->font();
        f.setPixelSize(10);
        b->setFont(f);
        botoes.push_back(b);
        const AcaoCliente acao = d.acao;
        connect(b, &QToolButton::clicked, this, [this, acao] { m_logica.clicar(acao); });
        // Alt+letter clicks at once, as the order screen's keys do.
        auto *atalho = new QShortcut(b->shortcut(), this);
        connect(atalho, &QShortcut::activated, b, &QToolButton::click);
        b->setShortcut(QKeySequence()); // the caption keeps its underlined letter
        m_botoes[acao] = b;
    }
    // 45 by 45 from x = 363, wider only where a caption would not fit, and
    // moved left if the row would pass the window's edge.
    int largura = 0;
    for (QToolButton *b : botoes)
        largura += std::max(45, b->sizeHint().width()) + 4;
    int x = std::min(363, 802 - 8 - largura);
    for (QToolButton *b : botoes) {
        const int w = std::max(45, b->sizeHint().width());
        b->setGeometry(x, 8, w, 45);
        x += w + 4;
    }
    return barra;
}

CaixaVinculada *TfrmCliente::criarCaixa(const char *nome, const QString &campo, CaixaCliente caixa)
{
    auto *c = new CaixaDoCliente(m_logica.clientes(), campo);
    c->setObjectName(S(nome));
    m_caixas.insert(caixa, c);
    return c;
}

QWidget *TfrmCliente::montarCampos()
{
    ConjuntoDados &clientes = m_logica.clientes();
    auto *area = new QWidget;
    auto *v = new QVBoxLayout(area);
    v->setContentsMargins(10, 0, 10, 2);
    v->setSpacing(2);

    auto *codigo = new CaixaVinculada(clientes, Campos::Cliente::IdCliente);
    codigo->setObjectName(QStringLiteral("dbCodigo"));
    codigo->setSomenteExibicao(true);
    auto *nomeResumido = criarCaixa("dbNomeResumido", Campos::Cliente::fantasia, CaixaCliente::NomeResumido);
    auto *razao = criarCaixa("dbRazaoSocial", Campos::Cliente::Nome, CaixaCliente::RazaoSocial);
    v->addLayout(linha({{rotulado("Código", codigo), 1},
                        {rotulado("Nome resumido", nomeResumido), 4},
                        {rotulado("Razão social completa", razao), 7}}));

    auto *cnpj = criarCaixa("dbCNPJ", Campos::Cliente::cnpj, CaixaCliente::Cnpj);
    auto *inscricao = criarCaixa("dbInscEstadual", Campos::Cliente::Iest, CaixaCliente::InscEstadual);
    auto *referencia = criarCaixa("dbReferencia", Campos::Cliente::Referencia, CaixaCliente::Referencia);
    auto *status = criarCaixa("dbStatus", Campos::Cliente::status, CaixaCliente::Status);
    auto *tipo = criarCaixa("dbTipoCliente", Campos::Cliente::TipoCli, CaixaCliente::TipoCliente);
    v->addLayout(linha({{rotulado("CNPJ", cnpj), 3},
                        {rotulado("Inscrição Estadual", inscricao), 3},
                        {rotulado("Referencia", referencia), 3},
                        {rotulado("Status", status), 2},
                        {rotulado("Tipo Cliente", tipo), 2}}));

    auto *endereco = criarCaixa("dbEndereco", Campos::Cliente::End, CaixaCliente::Endereco);
    v->addWidget(rotulado("End", endereco));

    const std::vector<EntradaLista> estados = EntradasIguais(kEstados);
    auto *cep = criarCaixa("dbCEP", Campos::Cliente::CEP, CaixaCliente::Cep);
    auto *bairro = criarCaixa("dbBairro", Campos::Cliente::Bairro, CaixaCliente::Bairro);
    auto *cidade = criarCaixa("dbCidade", Campos::Cliente::Cidade, CaixaCliente::Cidade);
    auto *uf = new ListaVinculada(clientes, Campos::Cliente::UF, estados);
    uf->setObjectName(QStringLiteral("dbUF"));
    v->addLayout(linha({{rotulado("CEP", cep), 2},
                        {rotulado("Bairro", bairro), 4},
                        {rotulado("Cidade", cidade), 4},
                        {rotulado("UF", uf), 1}}));

    auto *cobranca = new QGroupBox(QStringLiteral(" Cobrança "));
    cobranca->setObjectName(QStringLiteral("gbCobranca"));
    auto *vc = new QVBoxLayout(cobranca);
    vc->setContentsMargins(8, 0, 8, 4);
    vc->setSpacing(2);
    auto *endCobranca = criarCaixa("dbCobrancaEndereco", Campos::Cliente::endcorr, CaixaCliente::CobrancaEndereco);
    vc->addWidget(rotulado("Endereço", endCobranca));
    auto *cepCobranca = criarCaixa("dbCobrancaCEP", Campos::Cliente::cepcorr, CaixaCliente::CobrancaCep);
    auto *bairroCobranca = criarCaixa("dbCobrancaBairro", Campos::Cliente::bairrocorr, CaixaCliente::CobrancaBairro);
    auto *cidadeCobranca = criarCaixa("dbCobrancaCidade", Campos::Cliente::cidadecorr, CaixaCliente::CobrancaCidade);
    auto *ufCobranca = new ListaVinculada(clientes, Campos::Cliente::ufcorr, estados);
    ufCobranca->setObjectName(QStringLiteral("dbCobrancaUF"));
    vc->addLayout(linha({{rotulado("CEP", cepCobranca), 2},
                         {rotulado("Bairro", bairroCobranca), 4},
                         {rotulado("Cidade", cidadeCobranca), 4},
                         {rotulado("UF", ufCobranca), 1}}));
    v->addWidget(cobranca);

    auto *telefone = criarCaixa("dbTelefone", Campos::Cliente::Tel, CaixaCliente::Telefone);
    auto *contato = criarCaixa("dbContato", Campos::Cliente::Contato, CaixaCliente::Contato);
    auto *nascimento = criarCaixa("dbNascimento", Campos::Cliente::Nasc, CaixaCliente::Nascimento);
    auto *sexo = new OpcoesVinculadas(
        QStringLiteral(" Sexo "), clientes, Campos::Cliente::sexo,
        {{QStringLiteral("Masculino"), QStringLiteral("M")}, {QStringLiteral("Feminino"), QStringLiteral("F")}}, 2);
    sexo->setObjectName(QStringLiteral("dbSexo"));
    sexo->layout()->setContentsMargins(8, 0, 8, 2);
    sexo->setFixedHeight(44);
    v->addLayout(linha({{rotulado("Tel", telefone), 3},
                        {rotulado("Contato", contato), 3},
                        {rotulado("Nasc", nascimento), 2},
                        {sexo, 3}}));

    auto *email = criarCaixa("dbEmail", Campos::Cliente::Email, CaixaCliente::Email);
    auto *enviar = new QToolButton;
    enviar->setObjectName(QStringLiteral("BtnEnviarEmail"));
    enviar->setIcon(IconeDesenhado(QStringLiteral("✉"), QColor(0xc77800)));
    enviar->setIconSize(QSize(18, 18));
    enviar->setAutoRaise(true);
    enviar->setFocusPolicy(Qt::NoFocus);
    connect(enviar, &QToolButton::clicked, this, [this] { m_logica.enviarEmail(); });
    auto *forma = new ListaLookupVinculada(clientes, Campos::Cliente::CliFPagto, DM->QyFormaPagamento,
                                           Campos::Forma::Forma, Campos::Forma::idforma);
    forma->setObjectName(QStringLiteral("dbFormaPgtoPadrao"));
    v->addLayout(linha({{rotulado("Email", email, enviar), 7}, {rotulado("Forma pagto padrão", forma), 4}}));

    m_observacao = new MemoVinculado(clientes, Campos::Cliente::OBS);
    m_observacao->setObjectName(QStringLiteral("dbObservacao"));
    m_observacao->setMinimumHeight(36);
    v->addWidget(rotulado("OBS", m_observacao), 1);

    m_contador = new QLabel;
    m_contador->setObjectName(QStringLiteral("lblCliente"));
    m_contador->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    v->addWidget(m_contador);

    QWidget *ordem[] = {codigo, nomeResumido, razao,       cnpj,        inscricao,      referencia,     endereco,
                        cep,    bairro,       cidade,      telefone,    contato,        nascimento,     sexo,
                        email,  m_observacao, endCobranca, cepCobranca, bairroCobranca, cidadeCobranca, ufCobranca,
                        uf,     tipo,         forma,       status};
    for (std::size_t i = 0; i + 1 < std::size(ordem); ++i)
        setTabOrder(ordem[i], ordem[i + 1]);
    return area;
}

void TfrmCliente::atualizarBotoes()
{
    for (const auto &[acao, botao] : m_botoes)
        botao->setEnabled(m_logica.habilitado(acao));
}

void TfrmCliente::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    if (m_aberta)
        return;
    m_aberta = true;
    m_logica.abrir();
    atualizarBotoes();
}

void TfrmCliente::closeEvent(QCloseEvent *evento)
{
    if (m_logica.podeFechar())
        evento->accept();
    else
        evento->ignore();
}

// Escape closes the window the same way as its close box.
void TfrmCliente::reject()
{
    close();
}

void TfrmCliente::focar(CaixaCliente caixa)
{
    if (CaixaVinculada *c = m_caixas.value(caixa))
        c->focarParaDigitar();
}

QString TfrmCliente::digitado(CaixaCliente caixa) const
{
    const CaixaVinculada *c = m_caixas.value(caixa);
    return c ? c->text() : QString();
}

void TfrmCliente::confirmar()
{
    for (CaixaVinculada *c : m_caixas) {
        // A masked box emptied by the user still shows its punctuation: the
        // field is emptied, not given the punctuation alone.
        if (!c->inputMask().isEmpty() && c->isModified() && SoDigitos(c->text()).isEmpty()) {
            const QString mascara = c->inputMask();
            c->setInputMask(QString());
            c->clear();
            c->setModified(true);
            c->confirmar();
            c->setInputMask(mascara);
            continue;
        }
        c->confirmar();
    }
    m_observacao->confirmar();
}

void TfrmCliente::mostrarContador(const QString &texto)
{
    m_contador->setText(texto);
}
