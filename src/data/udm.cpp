#include "udm.h"

#include "campos_esquema.h"
#include "dialogos.h"
#include "logica_pesquisa.h"

#include "erro.h"
#include "ufunc.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

TDM *DM = nullptr;

namespace
{

// Role tags: what creation and the central connection do with a member.
enum Tag {
    TagNenhuma = 0,
    TagAbreAoCriar = 1,
    TagPedidos = 2,
    TagConexaoCentral = 3,
    TagCentral = 4,
    TagConexaoLocal = 5
};

const QString kSecao = QStringLiteral("CONEXAO");

// The employee filter: the code in quotes, a quote inside it doubled.
QString filtroDoFuncionario(const QString &codigo)
{
    QString aspas = codigo;
    return QStringLiteral("idFunc='%1'").arg(aspas.replace(QLatin1Char('\''), QStringLiteral("''")));
}

} // namespace

TDM::TDM(const QString &pathSistema, QObject *parent, Abertura abertura) : QObject(parent)
{
    DM = this;
    configurar();
    definirPadroes();
    ExecutarProtegido([&] { criar(pathSistema, abertura); });
}

TDM::~TDM()
{
    if (DM == this)
        DM = nullptr;
}

// Connections, SQL texts, tags and links of every member.
void TDM::configurar()
{
    m_conexoes = {&ADOConexao, &ADOConnection1};
    ADOConexao.setTag(TagConexaoLocal);
    ADOConnection1.setTag(TagConexaoCentral);

    struct Local {
        ConjuntoDados *conjunto;
        const char *tabela;
        const char *sql;
        int tag;
    } const locais[] = {
        {&QyCliente, "tbcliente", "select * from tbcliente order by idcliente", TagAbreAoCriar},
        {&QyProduto, "tbproduto", "select * from tbproduto order by codigo", TagAbreAoCriar},
        {&QyFuncionario, "tbfuncionario", "select * from tbfuncionario", TagAbreAoCriar},
        {&QyPedidoItem, "tbpedido_item", "select * from tbpedido_item where nr_pedido = :nr_pedido", TagAbreAoCriar},
        {&QyFormaPagamento, "tbforma", "select * from tbforma", TagAbreAoCriar},
        {&QyPacote, "tbpedido_pacote", "select * from tbpedido_pacote where nr_pedido = :nr_pedido", TagAbreAoCriar},
        {&QyTrocaSub, "tbpedido_troca1", "select * from tbpedido_troca1 where nr_pedido = :nr_pedido", TagAbreAoCriar},
        {&QyTrocaDev, "tbpedido_troca2", "select * from tbpedido_troca2 where nr_pedido = :nr_pedido", TagAbreAoCriar},
        {&QyLocalidade, "tblocalidades", "select * from tblocalidades", TagAbreAoCriar},
        {&QyPesquisa, "",
         "SELECT codigo,SUM(Quantidade) as Quantidade,SUM(ValorTotal) as Totais FROM tbpedido_item GROUP BY codigo "
         "ORDER BY SUM(Quantidade) ASC",
         TagAbreAoCriar},
        {&QyConfiguracoes, "tbconfiguracoes", "select * from tbconfiguracoes", TagAbreAoCriar},
        {&QyPendente, "tbpedido_pendente", "select * from tbpedido_pendente order by nr_pedido", TagAbreAoCriar},
        {&QyVendaCasada, "tbpedido_venda_casada", "select * from tbpedido_venda_casada where nr_pedido = :nr_pedido",
         TagAbreAoCriar},
        {&QyPedido, "tbpedido", "select * from tbpedido order by nr_pedido desc", TagPedidos},
        {&QySQL, "", "", TagNenhuma},
        {&QyVendas, "", "", TagNenhuma},
    };
    for (const Local &l : locais) {
        l.conjunto->setConexao(&ADOConexao);
        l.conjunto->setTabela(QString::fromUtf8(l.tabela));
        l.conjunto->setSql(QString::fromUtf8(l.sql));
        l.conjunto->setTag(l.tag);
        m_conjuntos.push_back(l.conjunto);
    }
    const Local centrais[] = {
        {&QyOnlineProduto, "tbproduto", "select * from tbproduto order by idproduto", TagCentral},
        {&QyOnlineCliente, "tbcliente", "select * from tbcliente order by idcliente", TagCentral},
        {&QyOnlineFuncionario, "tbfuncionario", "select * from tbfuncionario order by idfunc", TagCentral},
        {&QyOnlineForma, "tbforma", "select * from tbforma order by idforma", TagCentral},
    };
    for (const Local &l : centrais) {
        l.conjunto->setConexao(&ADOConnection1);
        l.conjunto->setTabela(QString::fromUtf8(l.tabela));
        l.conjunto->setSql(QString::fromUtf8(l.sql));
        l.conjunto->setTag(l.tag);
        m_conjuntos.push_back(l.conjunto);
    }
    for (ConjuntoDados *c : {&cdsRelatGrupoClientes, &cdsVendaTotais}) {
        c->setEmMemoria(true);
        m_conjuntos.push_back(c);
    }

    // The five item lists follow the current order; the pending list is
    // linked without a parameter, which leaves its rows alone.
    for (ConjuntoDados *c : {&QyPedidoItem, &QyPacote, &QyTrocaSub, &QyTrocaDev, &QyVendaCasada, &QyPendente})
        c->setMestre(&QyPedido);

    QyPedido.ligarLookup(Campos::Pedido::CLIENTE_DESCRICAO, Campos::Pedido::idCliente, &QyCliente,
                         Campos::Cliente::IdCliente, ModoLookup::Atual);
    for (ConjuntoDados *c : {&QyPedidoItem, &QyPacote, &QyTrocaSub, &QyTrocaDev, &QyVendaCasada, &QyPendente})
        for (const NomeCampo &campo :
             {Campos::Item::item_descricao, Campos::Item::codigo_descricao, Campos::Item::estoque})
            if (c->indiceCampo(campo) >= 0)
                c->ligarLookup(campo, Campos::Item::codigo, &QyProduto, Campos::Produto::CODIGO, ModoLookup::Copia);
    QyProduto.definirCalculo(Campos::Produto::PRECOCOMFRETE, [](const Registro &r) {
        return QVariant(r.campo(Campos::Produto::PRECOVENDA).dinheiro().paraDouble() * 1.036);
    });
}

// What a new row of each data set starts with; every other column is NULL,
// so a new order header has none of the four kind totals.
void TDM::definirPadroes()
{
    auto funcionario = [this] { return QyFuncionario.campo(Campos::Funcionario::idfunc).valor(); };
    QyPedido.setAoNovoRegistro([funcionario](ConjuntoDados &c) {
        c.campo(Campos::Pedido::idFunc).setValor(funcionario());
        c.campo(Campos::Pedido::dt_pedido).setDataHora(QDateTime::currentDateTime());
        c.campo(Campos::Pedido::avista).setInteiro(0);
        c.campo(Campos::Pedido::dv).setInteiro(0);
        c.campo(Campos::Pedido::cif).setTexto(QStringLiteral("Sim"));
        c.campo(Campos::Pedido::enviado).setBooleano(false);
        c.campo(Campos::Pedido::impresso).setBooleano(false);
        c.campo(Campos::Pedido::enviadoTroca).setBooleano(false);
    });
    auto itemComCodigos = [funcionario](ConjuntoDados &c) {
        c.campo(Campos::Item::idfunc).setValor(funcionario());
        for (const NomeCampo &codigo : Campos::Item::cd_desconto)
            c.campo(codigo).setTexto(QStringLiteral("0"));
    };
    auto itemDeTroca = [funcionario](ConjuntoDados &c) { c.campo(Campos::Item::idfunc).setValor(funcionario()); };
    QyPedidoItem.setAoNovoRegistro(itemComCodigos);
    QyPacote.setAoNovoRegistro(itemComCodigos);
    QyVendaCasada.setAoNovoRegistro(itemComCodigos);
    QyTrocaSub.setAoNovoRegistro(itemDeTroca);
    QyTrocaDev.setAoNovoRegistro(itemDeTroca);
}

QString TDM::CaminhoNoSistema(const QString &nome) const
{
    return QDir(PathSistema).absoluteFilePath(nome);
}

void TDM::abrirConexao(Conexao &conexao, const QString &valor) const
{
    conexao.abrir(valor.isEmpty() ? QString() : CaminhoNoSistema(valor));
}

// The creation steps, in order.
// What the main window reads while it shows itself: the employee row and
// the settings row.
bool TDM::lidoAoCriar(const ConjuntoDados *c) const
{
    return c == &QyFuncionario || c == &QyConfiguracoes;
}

void TDM::criar(const QString &pathSistema, Abertura abertura)
{
    auto abrir = [&](ConjuntoDados *c) {
        if (abertura == Abertura::PrincipalPrimeiro && !lidoAoCriar(c))
            c->abrirAoUsar();
        else
            c->abrir();
    };
    // 1-3: the folder, the settings file and the local database's value
    // ("PATH-BKP" is read when the central database is opened).
    PathSistema = QDir::fromNativeSeparators(pathSistema);
    if (!PathSistema.endsWith(QLatin1Char('/')))
        PathSistema += QLatin1Char('/');
    ArquivoIni = PathSistema + QStringLiteral("Mirvale.ini");
    const QString path = LerIni(kSecao, QStringLiteral("PATH"), ArquivoIni);

    // 4: the local connection.
    for (Conexao *c : m_conexoes)
        if (c->tag() == TagConexaoLocal) {
            if (path.isEmpty())
                throw Erro(QStringLiteral("O arquivo de configuração \"%1\" não indica o banco de dados local "
                                          "(seção CONEXAO, chave PATH).")
                               .arg(ArquivoIni));
            abrirConexao(*c, path);
            Esquema::atualizarBanco(*c);
        }
    // 5: the data sets opened unfiltered.
    for (ConjuntoDados *c : m_conjuntos)
        if (c->tag() == TagAbreAoCriar)
            abrir(c);
    // 6: the order headers, restricted to the representative's own.
    for (ConjuntoDados *c : m_conjuntos) {
        if (c->tag() != TagPedidos)
            continue;
        const QString codigo = QyFuncionario.campo(Campos::Funcionario::idfunc).texto();
        if (codigo != QLatin1String("999")) {
            FiltroFuncionario = filtroDoFuncionario(codigo);
            c->setFiltro(FiltroFuncionario);
            c->setFiltrado(true);
        } else {
            c->setFiltro(QString());
            c->setFiltrado(false);
        }
        abrir(c);
    }
}

QString TDM::ArquivoModelo(const QString &nome) const
{
    const QString proprio = CaminhoNoSistema(nome);
    if (PathCompartilhado.isEmpty() || QFileInfo::exists(proprio))
        return proprio;
    return QDir(PathCompartilhado).absoluteFilePath(nome);
}

bool TDM::HaPendentes() const
{
    return std::any_of(m_conjuntos.begin(), m_conjuntos.end(),
                       [](const ConjuntoDados *c) { return c->linhasPendentes(); });
}

void TDM::AbrirPendentes()
{
    for (ConjuntoDados *c : m_conjuntos)
        if (c->linhasPendentes())
            c->abrir();
}

QString TDM::CaixaTexto(const QString &titulo, const QString &rotulo, const QString &padrao, bool mascarado)
{
    TextoDigitado.clear();
    Confirmado = false;
    const RespostaTexto resposta = Dialogos::atual().caixaTexto(titulo, rotulo, padrao, mascarado);
    Confirmado = resposta.confirmado;
    TextoDigitado = resposta.confirmado ? resposta.texto : QString();
    return TextoDigitado;
}

QString TDM::Pesquisar(const QString &tabela, const QString &campos, const QString &campoResultado)
{
    Confirmado = false;
    QyPesquisa.fechar();
    QyPesquisa.setFiltro(QString());
    QyPesquisa.setFiltrado(false);
    QyPesquisa.setSql(QStringLiteral("SELECT ") + campos + QStringLiteral(" FROM ") + tabela);
    QyPesquisa.abrir();
    LogicaPesquisa logica(QyPesquisa);
    Dialogos::atual().pesquisar(logica);
    Confirmado = logica.confirmado();
    return Confirmado && !QyPesquisa.vazio() ? QyPesquisa.campo(campoResultado).texto() : QString();
}

void TDM::ConectarOnline(bool abrirConjuntos)
{
    try {
        const QString valor = LerIni(kSecao, QStringLiteral("PATH-BKP"), ArquivoIni);
        OnlineConectado = true;
        for (Conexao *c : m_conexoes)
            if (c->tag() == TagConexaoCentral) {
                c->fechar();
                abrirConexao(*c, valor);
            }
        for (ConjuntoDados *c : m_conjuntos)
            if (c->tag() == TagCentral) {
                c->fechar();
                if (abrirConjuntos)
                    c->abrir();
            }
    } catch (...) {
        OnlineConectado = false;
    }
}

void TDM::DesconectarOnline()
{
    try {
        for (Conexao *c : m_conexoes)
            if (c->tag() == TagConexaoCentral)
                c->fechar();
        for (ConjuntoDados *c : m_conjuntos)
            if (c->tag() == TagCentral)
                c->fechar();
    } catch (...) {
        // Closing never reports an error.
    }
}
