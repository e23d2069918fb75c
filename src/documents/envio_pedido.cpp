#include "envio_pedido.h"

#include "arquivo_transferencia.h"
#include "campos_esquema.h"
#include "cliente_smtp.h"
#include "correio_programa.h"
#include "endereco_servidor.h"
#include "erro.h"
#include "estado_pedido.h"
#include "impressao_pedido.h"
#include "pedido_central.h"
#include "regras_tipo_pedido.h"
#include "servidor_central.h"
#include "udm.h"
#include "ufunc.h"

#include <QFileInfo>

#include <algorithm>
#include <array>
#include <optional>

namespace
{

const QString kAtencao = QStringLiteral("Atenção");

// Destinations in the order they are offered: 0 the customer, then the
// central offices 1 to 3.
constexpr int kCliente = 0;
constexpr int kCentrais = 3;

struct Configuracao {
    QString host;
    int porta = 587;
    QString usuario;
    QString senha;
    QString de;
    std::array<QString, kCentrais> centrais;
    QString codFuncionario;
    SegurancaSmtp seguranca = SegurancaSmtp::VerificarCertificado;
};

struct DadosPedido {
    QString numero;
    QString observacao;
    QString idCliente;
    QString nome;
    QString cnpj;
    QString telefone;
    QString cidade;
    QString email;
    QString idFuncionario;
    QString nomeFuncionario;
};

QString texto(const ConjuntoDados &c, const QString &campo)
{
    return c.campo(campo).texto();
}

// The settings may have been changed and stored by another screen since
// the data set was opened.
Configuracao lerConfiguracao()
{
    ConjuntoDados &c = DM->QyConfiguracoes;
    if (!c.emEdicao())
        c.reabrir();
    Configuracao cfg;
    // "host:porta" names a port of its own; a bare host uses the submission port.
    const EnderecoServidor servidor = SepararPorta(texto(c, Campos::Configuracoes::email_host), cfg.porta);
    cfg.host = servidor.host;
    cfg.porta = servidor.porta;
    cfg.usuario = texto(c, Campos::Configuracoes::email_usuario);
    cfg.senha = texto(c, Campos::Configuracoes::email_senha);
    cfg.de = texto(c, Campos::Configuracoes::email_de);
    cfg.centrais = {texto(c, Campos::Configuracoes::email_para), texto(c, Campos::Configuracoes::email_para2),
                    texto(c, Campos::Configuracoes::email_para3)};
    cfg.codFuncionario = texto(c, Campos::Configuracoes::cod_funcionario);
    cfg.seguranca = LerSegurancaSmtp(DM->ArquivoIni);
    return cfg;
}

// Positions QyCliente on the order's customer (every kind mails its own
// customer); a customer no longer on file leaves its data empty rather than
// taking another customer's.
DadosPedido lerDados()
{
    const ConjuntoDados &p = DM->QyPedido;
    const ConjuntoDados &c = DM->QyCliente;
    DadosPedido d;
    d.numero = texto(p, Campos::Pedido::nr_pedido);
    d.observacao = texto(p, Campos::Pedido::observacao);
    if (DM->QyCliente.localizar(Campos::Cliente::IdCliente, texto(p, Campos::Pedido::idCliente))) {
        d.idCliente = texto(c, Campos::Cliente::IdCliente);
        d.nome = texto(c, Campos::Cliente::Nome);
        d.cnpj = texto(c, Campos::Cliente::cnpj);
        d.telefone = texto(c, Campos::Cliente::Tel);
        d.cidade = texto(c, Campos::Cliente::Cidade);
        d.email = texto(c, Campos::Cliente::Email);
    }
    d.idFuncionario = texto(DM->QyFuncionario, Campos::Funcionario::idfunc);
    d.nomeFuncionario = texto(DM->QyFuncionario, Campos::Funcionario::Nome);
    return d;
}

QString enderecoDoDestino(int destino, const DadosPedido &d, const Configuracao &cfg)
{
    return destino == kCliente ? d.email : cfg.centrais[static_cast<std::size_t>(destino - 1)];
}

QString nomeDoDestino(int destino)
{
    return destino == kCliente ? QStringLiteral("Cliente") : QStringLiteral("Central %1").arg(destino);
}

// The recipients the order may go to, each checked when it has an address.
QList<OpcaoMarcada> opcoesDeDestino(const DadosPedido &d, const Configuracao &cfg)
{
    QList<OpcaoMarcada> opcoes;
    for (int destino = kCliente; destino <= kCentrais; ++destino) {
        const QString endereco = enderecoDoDestino(destino, d, cfg).trimmed();
        const QString detalhe = destino == kCliente ? d.nome + QStringLiteral(" - Email: ") : QStringLiteral("Email: ");
        opcoes << OpcaoMarcada{nomeDoDestino(destino) + QStringLiteral(" (") +
                                   (endereco.isEmpty() ? QStringLiteral("sem endereço") : detalhe + endereco) +
                                   QStringLiteral(")"),
                               !endereco.isEmpty(), !endereco.isEmpty()};
    }
    return opcoes;
}

void definirRemetente(MensagemEmail &m, TipoPedido tipo, int destino, const Configuracao &cfg)
{
    m.remetente = cfg.de;
    switch (RegrasDoTipo(tipo).envio.remetente) {
    case RemetenteEmail::UsuarioAoClienteEPrimeiraCentral: {
        const bool peloUsuario = destino == kCliente || destino == 1;
        m.remetente = peloUsuario ? cfg.usuario : cfg.de;
        m.responderPara = peloUsuario ? cfg.de : cfg.usuario;
        break;
    }
    case RemetenteEmail::ConfiguradoRespostaAoDestinatario:
        m.responderPara = m.destinatarios;
        break;
    case RemetenteEmail::Configurado:
        break;
    }
}

MensagemEmail compor(TipoPedido tipo, int destino, const DadosPedido &d, const Configuracao &cfg)
{
    MensagemEmail m;
    m.destinatarios = enderecoDoDestino(destino, d, cfg);
    definirRemetente(m, tipo, destino, cfg);
    m.nomeRemetente = cfg.codFuncionario == QLatin1String("999")
                          ? QStringLiteral("999 - Supervisor geral - [Sistema]")
                          : d.idFuncionario + QStringLiteral(" - ") + d.nomeFuncionario + QStringLiteral(" [Sistema]");
    m.assunto = QStringLiteral("Pedido %1 (%2 / %3)").arg(d.numero, d.nome, d.cidade);
    const QString separador = QStringLiteral("\r");
    m.corpo = {QStringLiteral("Código cliente: ") + d.idCliente,
               separador,
               QStringLiteral("Nome do cliente: ") + d.nome,
               separador,
               QStringLiteral("CNPJ do cliente: ") + d.cnpj,
               separador,
               QStringLiteral("Telefone do cliente: ") + d.telefone,
               separador,
               d.observacao};
    m.anexos = {CaminhoPdfPedido(tipo, d.numero)};
    if (destino != kCliente)
        m.anexos << CaminhoArquivoTransferencia(tipo);
    return m;
}

// One line of the summary for each recipient chosen.
QString linhaDoResumo(const QString &destino, const LinhaCaixa &linha)
{
    switch (linha.situacao) {
    case SituacaoCaixa::Enviado:
        return QStringLiteral("%1: enviado.").arg(destino);
    case SituacaoCaixa::Recusado:
        return QStringLiteral("%1: recusado pelo servidor (%2). Corrija e reenvie, ou descarte, na caixa de saída.")
            .arg(destino, linha.resposta);
    case SituacaoCaixa::Aguardando:
        break;
    }
    return QStringLiteral("%1: aguardando na caixa de saída, será enviado quando o servidor responder (%2).")
        .arg(destino, linha.resposta);
}

// A central office on a server gets the order itself as well, before its
// mail is kept; if that fails the mail is not kept and the order is not
// marked sent. False then, with the reason in the summary.
bool gravarNaCentral(TipoPedido tipo, const DadosPedido &d, QStringList &resumo, int destino)
{
    try {
        if (const auto link = LerLinkServidor(ArquivoLinkCentral(DM->ArquivoIni, DM->PathSistema))) {
            const Espera espera(QStringLiteral("Gravando o pedido no servidor central %1... aguarde.").arg(link->host));
            GravarPedidoCentral(*link, DM->ADOConexao.handle(), tipo, d.numero.toLongLong());
        }
    } catch (const Erro &erro) {
        resumo << QStringLiteral("%1: não enviado. %2").arg(nomeDoDestino(destino), erro.mensagem());
        return false;
    }
    return true;
}

// Composes the chosen mails, keeps them in the outbox together and sends
// them; then one summary of what went, what waits and what was refused.
void enviarEscolhidos(TipoPedido tipo, const QList<int> &destinos, const DadosPedido &d)
{
    const Configuracao cfg = lerConfiguracao();
    const bool comTransferencia =
        std::any_of(destinos.begin(), destinos.end(), [&](int destino) { return destino != kCliente; }) ||
        RegrasDoTipo(tipo).envio.transferenciaSempre;
    if (comTransferencia)
        GerarArquivoTransferencia(tipo);
    QStringList resumo;
    QList<ItemCaixa> itens;
    QStringList nomes;
    for (const int destino : destinos) {
        if (destino != kCliente && !gravarNaCentral(tipo, d, resumo, destino))
            continue;
        MensagemEmail mensagem = compor(tipo, destino, d, cfg);
        mensagem.formato = destino == kCliente ? FormatoDoCliente() : FormatoDaCentral();
        // A central office's mail marks the order sent; for some kinds the customer's too.
        const bool marca = destino != kCliente || RegrasDoTipo(tipo).envio.emailDoClienteMarcaEnviado;
        try {
            itens << ItemDoEmail(mensagem, nomeDoDestino(destino), d.numero, marca);
            nomes << nomeDoDestino(destino);
        } catch (const Erro &erro) {
            resumo << QStringLiteral("%1: não enviado. %2 Corrija o endereço %3 e tente novamente.")
                          .arg(nomeDoDestino(destino), erro.mensagem(),
                               destino == kCliente && !TemCaractereDeControle(mensagem.remetente) &&
                                       !TemCaractereDeControle(mensagem.responderPara)
                                   ? QStringLiteral("no cadastro do cliente")
                                   : QStringLiteral("nas configurações"));
        }
    }
    if (!itens.isEmpty()) {
        const QList<LinhaCaixa> linhas = EnviarPelaCaixaSaida(
            itens, QStringLiteral("Conectando ao servidor de e-mail %1 e enviando... aguarde.").arg(cfg.host));
        for (qsizetype i = 0; i < linhas.size(); ++i)
            resumo << linhaDoResumo(nomes[i], linhas[i]);
    }
    const bool tudoEnviado = std::all_of(resumo.begin(), resumo.end(),
                                         [](const QString &l) { return l.endsWith(QLatin1String(": enviado.")); });
    Dialogos::atual().mensagem(
        QStringLiteral("%1 ( %2 ):\n").arg(QString::fromUtf8(RegrasDoTipo(tipo).textos.inicioResumo), d.numero) +
            resumo.join(u'\n'),
        kAtencao, tudoEnviado ? Icone::Informacao : Icone::Aviso);
}

// The checks before any mail; false when the sending ends here.
bool prepararPedido(TipoPedido tipo, const AcoesCabecalho &acoes)
{
    if (!PedidoEmRepouso(tipo)) {
        MsgInformacao(MensagemSalvarAntes(), kAtencao);
        return false;
    }
    if (RegrasDoTipo(tipo).envio.enviaSoComEstoque && !ItensEmEstoque(ItensDoPedido(tipo), false)) {
        MsgInformacao(QString::fromUtf8(RegrasDoTipo(tipo).textos.semEstoqueAoEnviar), kAtencao);
        return false;
    }
    // Without an order there is nothing to render or send (and editing an
    // empty list would start a new order).
    if (DM->QyPedido.vazio())
        return false;
    const QString numero = texto(DM->QyPedido, Campos::Pedido::nr_pedido);
    ImprimirPedido(tipo, numero, false, acoes);
    if (!QFileInfo::exists(CaminhoPdfPedido(tipo, numero))) {
        MsgInformacao(QString::fromUtf8(RegrasDoTipo(tipo).textos.naoGerado), kAtencao);
        return false;
    }
    if (DM->QyPedido.emEdicao())
        acoes.salvar();
    return true;
}

} // namespace

void EnviarPedido(TipoPedido tipo, const AcoesCabecalho &acoes)
{
    ExecutarProtegido([&] {
        if (!prepararPedido(tipo, acoes))
            return;
        const DadosPedido dados = lerDados();
        const std::optional<QList<bool>> marcas =
            Dialogos::atual().escolher(kAtencao,
                                       QStringLiteral("Enviar %1 ( %2 ) para:")
                                           .arg(QString::fromUtf8(RegrasDoTipo(tipo).textos.oQue), dados.numero),
                                       opcoesDeDestino(dados, lerConfiguracao()));
        if (!marcas)
            return;
        QList<int> destinos;
        for (int destino = kCliente; destino <= kCentrais && destino < marcas->size(); ++destino)
            if ((*marcas)[destino])
                destinos << destino;
        if (!destinos.isEmpty())
            enviarEscolhidos(tipo, destinos, dados);
    });
}
