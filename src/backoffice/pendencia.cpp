#include "pendencia.h"

#include "campos_esquema.h"
#include "cliente_smtp.h"
#include "correio_programa.h"
#include "endereco_servidor.h"
#include "erro.h"
#include "fonte_conjunto.h"
#include "guarda_conjuntos.h"
#include "motor_relatorio.h"
#include "transacao.h"
#include "udm.h"
#include "ufunc.h"

#include <QDir>
#include <QFile>

namespace
{

const QString kAtencao = QStringLiteral("Atenção");
const QString kDisponivel = QStringLiteral("Disponível");
const QString kPendente = QStringLiteral("Pendênte");
constexpr int kPortaSmtp = 587;

QString texto(const ConjuntoDados &c, const QString &campo)
{
    return c.campo(campo).texto();
}

void purgar()
{
    ConjuntoDados &p = DM->QyPendente;
    Transacao transacao(DM->ADOConexao);
    // The filter goes off however the purge ends, so the rest of the program
    // sees every pending item again.
    const GuardaConjuntos guarda(p, GuardaConjuntos::Filtro::Desligado);
    p.setFiltro(FiltroPurgaPendencia(QDate::currentDate()));
    p.setFiltrado(true);
    p.primeiro();
    while (!p.vazio())
        p.excluir();
    transacao.confirmar();
}

// A stock that covers the quantity makes the item available; a stock short
// of it leaves the mark as it was; a product no longer on file makes it
// pending.
void marcarDisponiveis()
{
    ConjuntoDados &p = DM->QyPendente;
    ConjuntoDados &produto = DM->QyProduto;
    Transacao transacao(DM->ADOConexao);
    for (p.primeiro(); !p.fim(); p.proximo()) {
        p.editar();
        if (!produto.localizar(Campos::Produto::CODIGO, texto(p, Campos::Item::codigo)))
            p.campo(Campos::Item::situacao).setTexto(kPendente);
        else if (produto.campo(Campos::Produto::ESTOQUE).real() >=
                 static_cast<double>(p.campo(Campos::Item::quantidade).inteiro()))
            p.campo(Campos::Item::situacao).setTexto(kDisponivel);
        p.gravar();
    }
    transacao.confirmar();
}

void gerarRelatorio(const QString &pdf)
{
    QFile::remove(pdf);
    const FonteConjunto fontes[] = {
        {QStringLiteral("rvdsPendente"), DM->QyPendente},
        {QStringLiteral("rvdsFuncionario"), DM->QyFuncionario},
    };
    GerarRelatorio(
        DM->ArquivoModelo(QStringLiteral("pendente.rav")), {&fontes[0], &fontes[1]},
        {{QStringLiteral("pDataEmissao"), QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"))},
         {QStringLiteral("pUltimaAtualizacao"), texto(DM->QyConfiguracoes, Campos::Configuracoes::ultima_atualizacao)}},
        pdf);
    DM->QyCliente.setFiltro(QString());
    DM->QyCliente.setFiltrado(false);
    Dialogos::atual().abrirArquivo(pdf);
}

// The subject and body name whichever order and customer are current, as
// the order mail does.
MensagemEmail compor(const QString &pdf)
{
    const ConjuntoDados &cfg = DM->QyConfiguracoes;
    const ConjuntoDados &pedido = DM->QyPedido;
    const ConjuntoDados &cliente = DM->QyCliente;
    MensagemEmail m;
    m.remetente = texto(cfg, Campos::Configuracoes::email_de);
    m.nomeRemetente = texto(cfg, Campos::Configuracoes::cod_funcionario) == QLatin1String("999")
                          ? QStringLiteral("999 - Supervisor geral - [Sistema]")
                          : texto(DM->QyFuncionario, Campos::Funcionario::idfunc) + QStringLiteral(" - ") +
                                texto(DM->QyFuncionario, Campos::Funcionario::Nome) + QStringLiteral(" [Sistema]");
    m.responderPara = texto(cfg, Campos::Configuracoes::pendencia_central);
    m.destinatarios = m.responderPara;
    m.assunto = QStringLiteral("Pedido %1 (%2 / %3)")
                    .arg(texto(pedido, Campos::Pedido::nr_pedido), texto(cliente, Campos::Cliente::Nome),
                         texto(cliente, Campos::Cliente::Cidade));
    const QString separador = QStringLiteral("\r");
    m.corpo = {QStringLiteral("Código cliente: ") + texto(cliente, Campos::Cliente::IdCliente),
               separador,
               QStringLiteral("Nome do cliente: ") + texto(cliente, Campos::Cliente::Nome),
               separador,
               QStringLiteral("CNPJ do cliente: ") + texto(cliente, Campos::Cliente::cnpj),
               separador,
               QStringLiteral("Telefone do cliente: ") + texto(cliente, Campos::Cliente::Tel),
               separador,
               texto(pedido, Campos::Pedido::observacao)};
    m.anexos = {pdf};
    return m;
}

void enviar(const QString &pdf)
{
    ConjuntoDados &cfg = DM->QyConfiguracoes;
    if (!cfg.emEdicao())
        cfg.reabrir();
    // An address holding a line break could carry commands into the mail
    // session: refused by the name the settings give it, before connecting.
    const std::pair<const char *, NomeCampo> enderecos[] = {
        {"a central do e-mail (Receber pendências)", Campos::Configuracoes::pendencia_central},
        {"o emitente do e-mail", Campos::Configuracoes::email_de},
    };
    for (const auto &[nome, campo] : enderecos)
        if (TemCaractereDeControle(texto(cfg, campo))) {
            MsgErro(QStringLiteral("O endereço em %1 contém uma quebra de linha ou outro caractere de controle e não "
                                   "foi usado. Corrija-o nas configurações e tente novamente.")
                        .arg(QString::fromUtf8(nome)),
                    kAtencao);
            return;
        }
    const QString falha =
        QStringLiteral("A pendência não foi enviado.\nVerifique as configurações e tente novamente!\n");
    LinhaCaixa linha;
    try {
        MensagemEmail mensagem = compor(pdf);
        mensagem.formato = FormatoDaCentral();
        const QString servidor = SepararPorta(texto(cfg, Campos::Configuracoes::email_host), kPortaSmtp).host;
        linha = EnviarPelaCaixaSaida(
                    {ItemDoEmail(mensagem, QStringLiteral("Pendência"), QString(), false)},
                    QStringLiteral("Conectando ao servidor de e-mail %1 e enviando... aguarde.").arg(servidor))
                    .value(0);
    } catch (const Erro &erro) {
        Dialogos::atual().mensagem(falha + erro.mensagem(), kAtencao, Icone::Pergunta);
        return;
    }
    switch (linha.situacao) {
    case SituacaoCaixa::Enviado:
        MsgInformacao(QStringLiteral("A pendência foi enviado com sucesso!"), kAtencao);
        break;
    case SituacaoCaixa::Recusado:
        // The server's own reply on a line of its own.
        Dialogos::atual().mensagem(falha + linha.resposta, kAtencao, Icone::Pergunta);
        break;
    case SituacaoCaixa::Aguardando:
        Dialogos::atual().mensagem(QStringLiteral("A pendência ficou na caixa de saída e será enviada quando o "
                                                  "servidor de e-mail responder.\n") +
                                       linha.resposta,
                                   kAtencao, Icone::Aviso);
        break;
    }
}

} // namespace

QDate CortePendencia(const QDate &hoje)
{
    // Qt moves to the month's last day when the day does not exist there.
    return hoje.addMonths(-2);
}

QString FiltroPurgaPendencia(const QDate &hoje)
{
    return QStringLiteral("DATA_PENDENTE <= ") + CortePendencia(hoje).toString(QStringLiteral("dd/MM/yyyy"));
}

QString CaminhoPdfPendencia(const QDate &hoje)
{
    return QDir(DM->PathSistema)
        .filePath(QStringLiteral("relatórios/pendente-") + hoje.toString(QStringLiteral("ddMMyyyy")) +
                  QStringLiteral(".pdf"));
}

void ChecarPendencia()
{
    ConjuntoDados &p = DM->QyPendente;
    if (p.vazio()) {
        MsgInformacao(QStringLiteral("Não há item(ns) pendentes!"), kAtencao);
        return;
    }
    if (MsgPergunta(QStringLiteral("Deseja apagar os itens com mais de 60 dias?"), QStringLiteral("Pendência"),
                    Resposta::Sim) == Resposta::Sim)
        purgar();
    marcarDisponiveis();

    const QString pdf = CaminhoPdfPendencia(QDate::currentDate());
    gerarRelatorio(pdf);
    if (MsgPergunta(QStringLiteral("Deseja enviar o relatório de pendência a \"Central\" ?"), kAtencao,
                    Resposta::Sim) == Resposta::Sim)
        enviar(pdf);
}
