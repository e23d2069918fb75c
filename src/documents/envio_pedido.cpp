#include "envio_pedido.h"

#include "arquivo_transferencia.h"
#include "cliente_smtp.h"
#include "endereco_servidor.h"
#include "erro.h"
#include "estado_pedido.h"
#include "impressao_pedido.h"
#include "pedido_central.h"
#include "servidor_central.h"
#include "udm.h"
#include "ufunc.h"

#include <QFileInfo>

#include <array>

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

QString texto(const ConjuntoDados &c, const char *campo)
{
    return c.campo(QString::fromUtf8(campo)).texto();
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
    const EnderecoServidor servidor = SepararPorta(texto(c, "email_host"), cfg.porta);
    cfg.host = servidor.host;
    cfg.porta = servidor.porta;
    cfg.usuario = texto(c, "email_usuario");
    cfg.senha = texto(c, "email_senha");
    cfg.de = texto(c, "email_de");
    cfg.centrais = {texto(c, "email_para"), texto(c, "email_para2"), texto(c, "email_para3")};
    cfg.codFuncionario = texto(c, "cod_funcionario");
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
    d.numero = texto(p, "nr_pedido");
    d.observacao = texto(p, "observacao");
    if (DM->QyCliente.localizar(QStringLiteral("IDCLIENTE"), texto(p, "idCliente"))) {
        d.idCliente = texto(c, "IdCliente");
        d.nome = texto(c, "Nome");
        d.cnpj = texto(c, "cnpj");
        d.telefone = texto(c, "Tel");
        d.cidade = texto(c, "Cidade");
        d.email = texto(c, "Email");
    }
    d.idFuncionario = texto(DM->QyFuncionario, "idfunc");
    d.nomeFuncionario = texto(DM->QyFuncionario, "Nome");
    return d;
}

QString pedidoOuPacote(TipoPedido tipo)
{
    return tipo == TipoPedido::Pacote ? QStringLiteral("O pacote") : QStringLiteral("O pedido");
}

QString oQue(TipoPedido tipo)
{
    switch (tipo) {
    case TipoPedido::Pacote:
        return QStringLiteral("o pacote");
    case TipoPedido::Troca:
        return QStringLiteral("a troca");
    case TipoPedido::Pedido:
    case TipoPedido::VendaCasada:
        break;
    }
    return QStringLiteral("o pedido");
}

QString enderecoDoDestino(int destino, const DadosPedido &d, const Configuracao &cfg)
{
    return destino == kCliente ? d.email : cfg.centrais[static_cast<std::size_t>(destino - 1)];
}

QString pergunta(TipoPedido tipo, int destino, const DadosPedido &d, const Configuracao &cfg)
{
    const QString email = QStringLiteral("Email: ") + enderecoDoDestino(destino, d, cfg);
    if (destino != kCliente)
        return QStringLiteral("Deseja enviar %1: ( %2 ) para a \"Central %3\"?\n")
                   .arg(oQue(tipo), d.numero)
                   .arg(destino) +
               email;
    if (tipo == TipoPedido::Troca)
        return QStringLiteral("Deseja enviar a troca: ( %1 ) para o cliente?\n").arg(d.numero) + email;
    return QStringLiteral("Deseja enviar o pedido: ( %1 ) ao cliente?\nCliente: %2\n").arg(d.numero, d.nome) + email;
}

void definirRemetente(MensagemEmail &m, TipoPedido tipo, int destino, const Configuracao &cfg)
{
    m.remetente = cfg.de;
    if (tipo == TipoPedido::Pedido) {
        const bool peloUsuario = destino == kCliente || destino == 1;
        m.remetente = peloUsuario ? cfg.usuario : cfg.de;
        m.responderPara = peloUsuario ? cfg.de : cfg.usuario;
    } else if (tipo == TipoPedido::VendaCasada) {
        m.responderPara = m.destinatarios;
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

void marcarEnviado(const AcoesCabecalho &acoes)
{
    if (!DM->QyPedido.emEdicao())
        acoes.editar();
    DM->QyPedido.campo(QStringLiteral("enviado")).setBooleano(true);
    if (DM->QyPedido.emEdicao())
        acoes.salvar();
}

// An address is data typed elsewhere: one holding a line break or another
// control character is refused by the name the user knows it by, before
// any connection. True when every address of this mail is sound.
bool enderecosValidos(int destino, const DadosPedido &d, const Configuracao &cfg)
{
    const QString destinoNome = destino == kCliente ? QStringLiteral("o e-mail do cliente")
                                                    : QStringLiteral("a central %1 do e-mail").arg(destino);
    const std::pair<QString, QString> enderecos[] = {
        {destinoNome, enderecoDoDestino(destino, d, cfg)},
        {QStringLiteral("o usuário do e-mail"), cfg.usuario},
        {QStringLiteral("o emitente do e-mail"), cfg.de},
    };
    for (const auto &[nome, valor] : enderecos)
        if (TemCaractereDeControle(valor)) {
            MsgErro(QStringLiteral("O endereço em %1 contém uma quebra de linha ou outro caractere de controle e "
                                   "não foi usado. Corrija-o %2 e tente novamente.")
                        .arg(nome, nome == destinoNome && destino == kCliente ? QStringLiteral("no cadastro do cliente")
                                                                              : QStringLiteral("nas configurações")),
                    kAtencao);
            return false;
        }
    return true;
}

void enviarPara(TipoPedido tipo, int destino, const DadosPedido &d, const AcoesCabecalho &acoes)
{
    const Configuracao cfg = lerConfiguracao();
    if (!enderecosValidos(destino, d, cfg))
        return;
    const bool marca = destino != kCliente || tipo == TipoPedido::Troca;
    if (marca)
        GerarArquivoTransferencia(tipo);
    const MensagemEmail mensagem = compor(tipo, destino, d, cfg);
    try {
        // A central office on a server gets the order itself as well; if that
        // fails nothing is mailed and the order is not marked sent.
        if (destino != kCliente)
            if (const auto link = LerLinkServidor(ArquivoLinkCentral(DM->ArquivoIni, DM->PathSistema))) {
                const Espera espera(QStringLiteral("Gravando o pedido no servidor central %1... aguarde.").arg(link->host));
                GravarPedidoCentral(*link, DM->ADOConexao.handle(), tipo, d.numero.toLongLong());
            }
        const Espera espera(QStringLiteral("Conectando ao servidor de e-mail %1 e enviando... aguarde.").arg(cfg.host));
        ClienteSmtp cliente{cfg.host, cfg.usuario, cfg.senha, cfg.porta};
        cliente.seguranca = cfg.seguranca;
        cliente.enviar(mensagem);
    } catch (const Erro &erro) {
        // The transport's own reason on a line of its own, for whoever sets
        // the mail up.
        Dialogos::atual().mensagem(QStringLiteral("%1 ( %2 ) não foi enviado.\nVerifique as configurações e tente "
                                                  "novamente!\n%3")
                                       .arg(pedidoOuPacote(tipo), d.numero, erro.mensagem()),
                                   kAtencao, Icone::Pergunta);
        return;
    }
    MsgInformacao(QStringLiteral("%1 ( %2 ) foi enviado com sucesso!").arg(pedidoOuPacote(tipo), d.numero), kAtencao);
    if (marca)
        marcarEnviado(acoes);
}

QString mensagemSemEstoque(TipoPedido tipo)
{
    return tipo == TipoPedido::Pacote
               ? QStringLiteral("O Pacote não pode ser enviado. Verifique se os itens cadastrados estão no estoque.")
               : QStringLiteral("O pedido não pode ser enviado. Verifique se os itens cadastrados estão no estoque.");
}

QString mensagemNaoGerado(TipoPedido tipo)
{
    return tipo == TipoPedido::Pacote
               ? QStringLiteral("O Pacote ainda não foi gerado. Clique em \"Imprimir\" para gerar o Pacote.")
               : QStringLiteral("O pedido ainda não foi gerado. Clique em \"Imprimir\" para gerar o Pedido.");
}

// The checks before any mail; false when the sending ends here.
bool prepararPedido(TipoPedido tipo, const AcoesCabecalho &acoes)
{
    if (!PedidoEmRepouso(tipo)) {
        MsgInformacao(MensagemSalvarAntes(), kAtencao);
        return false;
    }
    const bool verificaEstoque = tipo == TipoPedido::Pedido || tipo == TipoPedido::Pacote;
    if (verificaEstoque && !ItensEmEstoque(ItensDoPedido(tipo), false)) {
        MsgInformacao(mensagemSemEstoque(tipo), kAtencao);
        return false;
    }
    // Without an order there is nothing to render or send (and editing an
    // empty list would start a new order).
    if (DM->QyPedido.vazio())
        return false;
    const QString numero = texto(DM->QyPedido, "nr_pedido");
    ImprimirPedido(tipo, numero, false, acoes);
    if (!QFileInfo::exists(CaminhoPdfPedido(tipo, numero))) {
        MsgInformacao(mensagemNaoGerado(tipo), kAtencao);
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
        for (int destino = kCliente; destino <= kCentrais; ++destino)
            if (MsgPergunta(pergunta(tipo, destino, dados, lerConfiguracao()), kAtencao) == Resposta::Sim)
                enviarPara(tipo, destino, dados, acoes);
    });
}
