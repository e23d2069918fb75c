#include "atualizacao.h"

#include "cliente_ftp.h"
#include "copia_central.h"
#include "copia_seguranca.h"
#include "copia_servidor.h"
#include "erro.h"
#include "pendencia.h"
#include "servidor_central.h"
#include "transacao.h"
#include "udm.h"
#include "ufunc.h"
#include "visao_progresso.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <memory>

#include <sqlite3.h>

namespace
{

const QString kAtencao = QStringLiteral("Atenção");
const QString kTituloBD = QStringLiteral("Atualização do BD");
const QString kSupervisor = QStringLiteral("999");

bool g_emAndamento = false;

struct EmAndamento {
    EmAndamento() { g_emAndamento = true; }
    ~EmAndamento() { g_emAndamento = false; }
};

QString textoFalha()
{
    return QStringLiteral("Atualização não pode ser realizada. Motivo(s):\n"
                          "Verifique se há conexão com a Internet;\n"
                          "Verifique se o caminho do Banco de Dados está correto;\n"
                          "Aguarde 5 minutos e tente novamente;\n"
                          "\n"
                          "Qualquer dúvida, entre em contato com Suporte Técnico.");
}

} // namespace

struct LogicaAtualizacao::Configuracao {
    ClienteFtp::Configuracao ftp;
    QString arquivo;   // name on the server
    QString copiaLocal; // the same name in the working folder
    QString codigo;
};

bool LogicaAtualizacao::emAndamento()
{
    return g_emAndamento;
}

void LogicaAtualizacao::respirar()
{
    Dialogos::atual().processarEventos();
}

void LogicaAtualizacao::executar()
{
    if (g_emAndamento)
        return;
    const EmAndamento emAndamento;

    m_visao.definirPosicao(0);
    m_visao.mostrarProgresso(true);
    Configuracao cfg;
    try {
        if (!buscarESubstituir(cfg))
            return;
    } catch (...) {
        DM->DesconectarOnline();
        m_visao.mostrarProgresso(false);
        throw;
    }

    m_visao.mostrarProgresso(false);
    respirar();
    MsgInformacao(QStringLiteral("Atualização realizada com sucesso!"), kTituloBD);
    DM->DesconectarOnline();
    if (!cfg.copiaLocal.isEmpty())
        QFile::remove(cfg.copiaLocal);

    if (MsgPergunta(QStringLiteral("Deseja verificar os item(ns) pendentes no estoque?"), kAtencao, Resposta::Sim) ==
        Resposta::Sim)
        ExecutarProtegido([] { ChecarPendencia(); });
    m_visao.mostrarRepresentante();
}

// Up to the replaced tables; false when the central database could not be
// opened (the widgets are hidden and the failure text shown then).
bool LogicaAtualizacao::buscarESubstituir(Configuracao &cfg)
{
    DM->OnlineConectado = false;
    respirar();
    m_visao.definirTexto(QStringLiteral("Fazendo Download das atualizações"));
    respirar();

    // The settings may have been changed since the data set was opened.
    ConjuntoDados &c = DM->QyConfiguracoes;
    if (!c.emEdicao())
        c.reabrir();
    auto texto = [&c](const char *campo) { return c.campo(QString::fromUtf8(campo)).texto(); };
    cfg.ftp.host = texto("ftp_host");
    cfg.ftp.usuario = texto("ftp_usuario");
    cfg.ftp.senha = texto("ftp_senha");
    cfg.ftp.pasta = texto("ftp_pasta");
    cfg.arquivo = texto("ftp_arquivo");
    cfg.copiaLocal = cfg.arquivo.isEmpty() ? QString() : QDir::current().absoluteFilePath(cfg.arquivo);
    cfg.codigo = texto("cod_funcionario");

    // A central server is read directly: there is no file to fetch.
    if (const auto link = LerLinkServidor(ArquivoLinkCentral(DM->ArquivoIni, DM->PathSistema))) {
        cfg.copiaLocal.clear();
        return atualizarDoServidor(*link, cfg);
    }

    const bool baixou = baixar(cfg);
    DM->ConectarOnline(false);
    if (!baixou)
        Dialogos::atual().mensagem(QStringLiteral("Houve um problema na atualização dos dados.\n"
                                                  "É necessário realizar novamente o procedimento !!"),
                                   kAtencao, Icone::Pergunta);
    respirar();
    if (!DM->OnlineConectado) {
        m_visao.mostrarProgresso(false);
        MsgInformacao(textoFalha(), kTituloBD);
        return false;
    }
    substituir(cfg);
    return true;
}

// The server's rows straight into the local tables; false when the server
// could not be reached (the failure text then carries its reason, and no
// local table has been touched).
bool LogicaAtualizacao::atualizarDoServidor(const LinkServidor &link, const Configuracao &cfg)
{
    std::unique_ptr<ServidorCentral> servidor;
    try {
        servidor = std::make_unique<ServidorCentral>(link);
    } catch (const Erro &erro) {
        m_visao.mostrarProgresso(false);
        MsgInformacao(textoFalha() + QStringLiteral("\n\n") + erro.mensagem(), kTituloBD);
        return false;
    }
    m_visao.definirTexto(QStringLiteral("Realizando alterações no Banco de Dados - AGUARDE !!!"));
    respirar();
    CopiaServidor copia(DM->ADOConexao.handle(), *servidor, [this](qint64 feitos) {
        m_visao.definirPosicao(feitos);
        respirar();
    });
    substituirDe(copia, cfg);
    return true;
}

// The FTP stage; false when it failed. A failed transfer leaves no local
// copy, so a half-received file is never taken for the central database.
bool LogicaAtualizacao::baixar(const Configuracao &cfg)
{
    try {
        if (cfg.arquivo.isEmpty())
            throw Erro(QStringLiteral("Não foi informado o arquivo a buscar no servidor FTP."));
        QFile::remove(cfg.copiaLocal);
        ClienteFtp ftp(cfg.ftp, [this](qint64 bytes) {
            if (bytes > 0)
                m_visao.definirPosicao(bytes);
            respirar();
        });
        ftp.conectar();
        m_visao.definirMaximo(ftp.tamanho(cfg.arquivo));
        m_visao.definirPosicao(0);
        QFile::remove(cfg.copiaLocal);
        ftp.baixar(cfg.arquivo, cfg.copiaLocal);
        m_visao.definirPosicao(QFile(cfg.copiaLocal).size());
        respirar();
        ftp.desconectar();
        respirar();
        m_visao.definirTexto(QStringLiteral("Realizando alterações no Banco de Dados - AGUARDE !!!"));
        respirar();
        return true;
    } catch (const Erro &) {
        if (!cfg.copiaLocal.isEmpty())
            QFile::remove(cfg.copiaLocal);
        return false;
    }
}

// Products, the employee row, the customers when the user agrees and the
// time of the update, all or nothing.
void LogicaAtualizacao::substituir(const Configuracao &cfg)
{
    const QString arquivoCentral = QString::fromUtf8(sqlite3_db_filename(DM->ADOConnection1.handle(), "main"));
    CopiaCentral copia(DM->ADOConexao.handle(), arquivoCentral, [this](qint64 feitos) {
        m_visao.definirPosicao(feitos);
        respirar();
    });
    substituirDe(copia, cfg);
}

void LogicaAtualizacao::substituirDe(FonteCentral &copia, const Configuracao &cfg)
{
    sqlite3 *local = DM->ADOConexao.handle();
    const qint64 produtos = copia.quantidade("tbproduto");
    CopiarBanco(local);
    m_visao.definirMaximo(produtos);
    m_visao.definirPosicao(0);
    respirar();

    bool clientes = false;
    {
        Transacao transacao(DM->ADOConexao);
        copia.copiarProdutos();
        const QString idfunc = copia.copiarFuncionario(cfg.codigo);
        clientes = MsgPergunta(QStringLiteral("Deseja atualizar os clientes?\nLembrando que essa opção irá apagar os "
                                              "clientes que foram cadastrados no sistema local."),
                               kAtencao, Resposta::Sim) == Resposta::Sim;
        if (clientes) {
            const QString regiao = cfg.codigo == kSupervisor ? QString() : RegiaoDoFuncionario(idfunc);
            // The gauge goes on from the products to the customers copied.
            m_visao.definirMaximo(produtos + copia.quantidadeClientes(regiao));
            copia.copiarClientes(regiao);
        }
        copia.copiarStatusPedidos();
        DM->ADOConexao.executar(QStringLiteral("UPDATE tbconfiguracoes SET ultima_atualizacao = '%1'")
                                    .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
        transacao.confirmar();
    }
    reabrirConjuntos(clientes);
}

// The data sets over the replaced tables, and those that keep a copy of the
// products for their look-ups; each back on its first row.
void LogicaAtualizacao::reabrirConjuntos(bool clientes)
{
    std::vector<ConjuntoDados *> conjuntos = {&DM->QyProduto, &DM->QyFuncionario};
    if (clientes)
        conjuntos.push_back(&DM->QyCliente);
    if (!DM->QyConfiguracoes.emEdicao())
        conjuntos.push_back(&DM->QyConfiguracoes);
    for (ConjuntoDados *c : {&DM->QyPedidoItem, &DM->QyPacote, &DM->QyTrocaSub, &DM->QyTrocaDev,
                             &DM->QyVendaCasada, &DM->QyPendente})
        conjuntos.push_back(c);
    for (ConjuntoDados *c : conjuntos)
        if (c->ativo())
            c->reabrir();
    for (ConjuntoDados *c : {&DM->QyCliente, &DM->QyPedido, &DM->QyProduto})
        if (c->ativo())
            c->primeiro();
}
