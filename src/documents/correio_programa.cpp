#include "correio_programa.h"

#include "campos_esquema.h"
#include "dialogos.h"
#include "endereco_servidor.h"
#include "erro.h"
#include "instrucao_sql.h"
#include "leitor_ini.h"
#include "lista_enderecos.h"
#include "regras_tipo_pedido.h"
#include "transacao.h"
#include "udm.h"

namespace
{

constexpr int kPortaSmtp = 587;

// The settings as stored, read past the data set: the configuration editor
// may have it open.
QStringList configuracoes(const QStringList &colunas)
{
    QStringList valores;
    try {
        InstrucaoSql q(DM->ADOConexao, QStringLiteral("SELECT %1 FROM tbconfiguracoes").arg(colunas.join(u',')));
        if (q.proxima())
            for (int i = 0; i < colunas.size(); ++i)
                valores << q.valor(i).toString();
    } catch (const Erro &) {
        // Settings that cannot be read are blank, as on a new installation.
    }
    while (valores.size() < colunas.size())
        valores << QString();
    return valores;
}

// The order list shows a delivery at once, unless a screen has its header or
// items being typed: reopening would lose what is typed (the database already
// has the mark, and a save writes only the columns it changed).
void mostrarEnviado()
{
    ConjuntoDados &pedidos = DM->QyPedido;
    if (!pedidos.ativo() || pedidos.emEdicao())
        return;
    for (const RegrasTipoPedido &tipo : TiposDePedido())
        for (const ListaDoTipo &lista : tipo.guarda.listas)
            if (lista.conjunto().emEdicao())
                return;
    const QString atual = pedidos.vazio() ? QString() : pedidos.campo(Campos::Pedido::nr_pedido).texto();
    pedidos.reabrir();
    if (!atual.isEmpty())
        pedidos.localizar(Campos::Pedido::nr_pedido, atual);
}

void marcarEnviado(Conexao &conexao, const LinhaCaixa &linha)
{
    try {
        InstrucaoSql q(conexao, QStringLiteral("UPDATE tbpedido SET enviado = 1 WHERE nr_pedido = ?"));
        q.vincular(linha.nrPedido.toLongLong());
        q.proxima();
    } catch (const Erro &) {
        throw Erro(QStringLiteral("Não foi possível marcar o pedido %1 como enviado.").arg(linha.nrPedido));
    }
}

} // namespace

std::unique_ptr<RemessaCaixaSaida> CriarRemessaDoPrograma()
{
    RemessaCaixaSaida::Ligacao ligacao;
    ligacao.conexao = []() -> Conexao * { return DM && DM->ADOConexao.aberta() ? &DM->ADOConexao : nullptr; };
    ligacao.servidor = ServidorDoPrograma;
    ligacao.aoEntregar = marcarEnviado;
    auto remessa = std::make_unique<RemessaCaixaSaida>(std::move(ligacao));
    QObject::connect(remessa.get(), &RemessaCaixaSaida::entregue, remessa.get(), [](const LinhaCaixa &linha) {
        if (DM && linha.marcaEnviado)
            mostrarEnviado();
    });
    return remessa;
}

ClienteSmtp ServidorDoPrograma()
{
    const QStringList v = configuracoes(
        {Campos::Configuracoes::email_host, Campos::Configuracoes::email_usuario, Campos::Configuracoes::email_senha});
    const EnderecoServidor servidor = SepararPorta(v[0], kPortaSmtp);
    ClienteSmtp cliente{servidor.host, v[1], v[2], servidor.porta};
    cliente.seguranca = LerSegurancaSmtp(DM->ArquivoIni);
    return cliente;
}

FormatoAnexos LerFormatoAnexos(const QString &arquivoIni, const QString &chave, FormatoAnexos padrao)
{
    const QString valor = LerIni(QStringLiteral("EMAIL"), chave, arquivoIni).trimmed().toLower();
    if (valor.isEmpty())
        return padrao;
    if (valor == QLatin1String("mime"))
        return FormatoAnexos::Mime;
    if (valor == QLatin1String("uue"))
        return FormatoAnexos::Uuencode;
    throw Erro(QStringLiteral("O valor \"%1\" da chave %2 da seção EMAIL de \"%3\" não é válido: use mime ou uue.")
                   .arg(valor, chave, arquivoIni));
}

FormatoAnexos FormatoDoCliente()
{
    return LerFormatoAnexos(DM->ArquivoIni, QStringLiteral("FORMATO_CLIENTE"), FormatoAnexos::Mime);
}

FormatoAnexos FormatoDaCentral()
{
    return LerFormatoAnexos(DM->ArquivoIni, QStringLiteral("FORMATO_CENTRAL"), FormatoAnexos::Uuencode);
}

ItemCaixa ItemDoEmail(MensagemEmail mensagem, const QString &destino, const QString &nrPedido, bool marcaEnviado)
{
    for (const QString &endereco : {mensagem.remetente, mensagem.responderPara, mensagem.destinatarios})
        if (TemCaractereDeControle(endereco))
            throw Erro(QStringLiteral("O endereço \"%1\" contém uma quebra de linha ou outro caractere de controle.")
                           .arg(endereco.simplified()));
    const QStringList remetentes = enderecosDaLista(mensagem.remetente);
    if (remetentes.isEmpty())
        throw Erro(QStringLiteral("O e-mail não tem endereço de remetente."));
    ItemCaixa item;
    item.destinatarios = enderecosDaLista(mensagem.destinatarios);
    if (item.destinatarios.isEmpty())
        throw Erro(QStringLiteral("O e-mail não tem endereço de destinatário."));
    mensagem.idMensagem = NovoIdMensagem(mensagem.remetente);
    item.nrPedido = nrPedido;
    item.destino = destino;
    item.marcaEnviado = marcaEnviado;
    item.remetente = remetentes.first();
    item.para = mensagem.destinatarios;
    item.assunto = mensagem.assunto;
    item.idMensagem = mensagem.idMensagem;
    item.conteudo = comporMensagem(mensagem);
    return item;
}

QList<LinhaCaixa> EnviarPelaCaixaSaida(const QList<ItemCaixa> &itens, const QString &espera)
{
    QList<qint64> ids;
    {
        Transacao t(DM->ADOConexao);
        for (const ItemCaixa &item : itens)
            ids << CaixaSaidaBanco::guardar(DM->ADOConexao, item);
        t.confirmar();
    }
    std::unique_ptr<RemessaCaixaSaida> propria;
    RemessaCaixaSaida *remessa = RemessaCaixaSaida::atual();
    if (!remessa) {
        propria = CriarRemessaDoPrograma();
        remessa = propria.get();
    }
    Q_EMIT remessa->mudou();
    {
        const Espera aviso(espera);
        remessa->enviarPendentes();
        remessa->aguardar();
    }
    // An outcome the database did not take yet is still what happened.
    QList<LinhaCaixa> linhas;
    for (const qint64 id : ids)
        linhas << remessa->naoGravada(id).value_or(CaixaSaidaBanco::linha(DM->ADOConexao, id));
    return linhas;
}
