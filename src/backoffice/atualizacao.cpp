#include "atualizacao.h"

#include "campos_esquema.h"
#include "caractere_controle.h"
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
#include <QFile>
#include <QFileInfo>

#include <iterator>
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

const QString kErroFtp =
    QStringLiteral("Houve um problema na atualização dos dados.\nÉ necessário realizar novamente o procedimento !!");

QString textoFalha()
{
    return QStringLiteral("Atualização não pode ser realizada. Motivo(s):\n"
                          "Verifique se há conexão com a Internet;\n"
                          "Verifique se o caminho do Banco de Dados está correto;\n"
                          "Aguarde 5 minutos e tente novamente;\n"
                          "\n"
                          "Qualquer dúvida, entre em contato com Suporte Técnico.");
}

[[noreturn]] void recusarConfiguracao(const char *nome, const QString &coluna, const QString &regra)
{
    throw Erro(QStringLiteral("A configuração \"%1\" (%2) %3 Corrija-a nas configurações; a atualização não foi feita.")
                   .arg(QString::fromUtf8(nome), coluna, regra));
}

// The FTP settings go into server commands, and the file name also names the
// local copy, which is deleted before and after the transfer: a name with a
// folder, "..", or a control character in it would reach another file or
// carry commands of its own. Refused before any connection or file is touched.
void conferirConfiguracaoFtp(const ClienteFtp::Configuracao &ftp, const QString &arquivo)
{
    const std::pair<NomeCampo, const QString *> textos[] = {{Campos::Configuracoes::ftp_host, &ftp.host},
                                                            {Campos::Configuracoes::ftp_usuario, &ftp.usuario},
                                                            {Campos::Configuracoes::ftp_senha, &ftp.senha},
                                                            {Campos::Configuracoes::ftp_pasta, &ftp.pasta}};
    const char *const nomes[] = {"host do ftp", "usuário do ftp", "senha do ftp", "pasta do ftp"};
    for (std::size_t i = 0; i < std::size(textos); ++i)
        if (TemCaractereDeControle(*textos[i].second))
            recusarConfiguracao(nomes[i], textos[i].first,
                                QStringLiteral("contém uma quebra de linha ou outro caractere de controle."));
    if (arquivo.trimmed().isEmpty())
        recusarConfiguracao("arquivo para o ftp", Campos::Configuracoes::ftp_arquivo,
                            QStringLiteral("não foi informada."));
    if (arquivo.contains(u'/') || arquivo.contains(u'\\') || arquivo.contains(QLatin1String("..")) ||
        TemCaractereDeControle(arquivo))
        recusarConfiguracao("arquivo para o ftp", Campos::Configuracoes::ftp_arquivo,
                            QStringLiteral("deve ser só o nome de um arquivo, sem pasta, sem \"..\" e sem caracteres "
                                           "de controle: \"%1\" não foi usado.")
                                .arg(arquivo));
}

// The downloaded file must be a whole SQLite database: a server that hands
// out something else under the name (an error page, a cut file) is not read.
void conferirBancoBaixado(const QString &arquivo)
{
    sqlite3 *banco = nullptr;
    QString resultado;
    if (sqlite3_open_v2(arquivo.toUtf8().constData(), &banco, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt *instrucao = nullptr;
        if (sqlite3_prepare_v2(banco, "PRAGMA quick_check(1)", -1, &instrucao, nullptr) == SQLITE_OK &&
            sqlite3_step(instrucao) == SQLITE_ROW)
            resultado = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(instrucao, 0)));
        else
            resultado = QString::fromUtf8(sqlite3_errmsg(banco));
        sqlite3_finalize(instrucao);
    }
    sqlite3_close(banco);
    if (resultado != QLatin1String("ok"))
        throw Erro(QStringLiteral("O arquivo baixado \"%1\" não é um banco de dados íntegro (%2).")
                       .arg(arquivo, resultado.isEmpty() ? QStringLiteral("não abre") : resultado));
}

// The central connection opens what the "PATH-BKP" data-link file names;
// the update reads only the copy it has just downloaded, never an older
// file left elsewhere.
void exigirCopiaBaixada(const QString &copia)
{
    const QString aberto = QString::fromUtf8(sqlite3_db_filename(DM->ADOConnection1.handle(), "main"));
    if (QFileInfo(aberto).canonicalFilePath() != QFileInfo(copia).canonicalFilePath())
        throw Erro(QStringLiteral("O banco central que PATH-BKP indica em \"%1\" (\"%2\") não é o arquivo baixado "
                                  "do FTP (\"%3\"): a atualização não foi feita. Corrija o arquivo de conexão ou o "
                                  "arquivo para o ftp nas configurações.")
                       .arg(DM->ArquivoIni, aberto, copia));
}

} // namespace

struct LogicaAtualizacao::Configuracao {
    ClienteFtp::Configuracao ftp;
    QString arquivo;    // name on the server
    QString copiaLocal; // the same name in the program folder
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
    // The downloaded copy is read once: whatever happens, it goes.
    auto encerrar = [&cfg] {
        DM->DesconectarOnline();
        if (!cfg.copiaLocal.isEmpty())
            QFile::remove(cfg.copiaLocal);
    };
    bool substituiu = false;
    try {
        substituiu = buscarESubstituir(cfg);
    } catch (...) {
        encerrar();
        m_visao.mostrarProgresso(false);
        throw;
    }
    if (!substituiu) {
        encerrar();
        return;
    }

    m_visao.mostrarProgresso(false);
    respirar();
    MsgInformacao(QStringLiteral("Atualização realizada com sucesso!"), kTituloBD);
    encerrar();

    if (MsgPergunta(QStringLiteral("Deseja verificar os item(ns) pendentes no estoque?"), kAtencao, Resposta::Sim) ==
        Resposta::Sim)
        ExecutarProtegido([] { ChecarPendencia(); });
    m_visao.mostrarRepresentante();
}

// Up to the replaced tables; false when the download failed or the central
// database could not be opened (the widgets are hidden and the message shown
// then, and nothing local has changed).
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
    auto texto = [&c](const NomeCampo &campo) { return c.campo(campo).texto(); };
    cfg.ftp.host = texto(Campos::Configuracoes::ftp_host);
    cfg.ftp.usuario = texto(Campos::Configuracoes::ftp_usuario);
    cfg.ftp.senha = texto(Campos::Configuracoes::ftp_senha);
    cfg.ftp.pasta = texto(Campos::Configuracoes::ftp_pasta);
    cfg.arquivo = texto(Campos::Configuracoes::ftp_arquivo);
    cfg.codigo = texto(Campos::Configuracoes::cod_funcionario);
    // A central server is read directly: there is no file to fetch.
    if (const auto link = LerLinkServidor(ArquivoLinkCentral(DM->ArquivoIni, DM->PathSistema)))
        return atualizarDoServidor(*link, cfg);

    conferirConfiguracaoFtp(cfg.ftp, cfg.arquivo);
    cfg.copiaLocal = DM->CaminhoNoSistema(cfg.arquivo);
    // A failed download ends the update: an older file must never stand in
    // for the one that did not come.
    const QString falhaDoDownload = baixar(cfg);
    if (!falhaDoDownload.isEmpty()) {
        m_visao.mostrarProgresso(false);
        Dialogos::atual().mensagem(kErroFtp + u'\n' + falhaDoDownload, kAtencao, Icone::Pergunta);
        return false;
    }
    DM->ConectarOnline(false);
    respirar();
    if (!DM->OnlineConectado) {
        m_visao.mostrarProgresso(false);
        MsgInformacao(textoFalha(), kTituloBD);
        return false;
    }
    exigirCopiaBaixada(cfg.copiaLocal);
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

// The FTP stage: the reason it failed, or empty. A failed transfer leaves no
// local copy, and a complete one is checked to be a sound database.
QString LogicaAtualizacao::baixar(const Configuracao &cfg)
{
    try {
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
        conferirBancoBaixado(cfg.copiaLocal);
        respirar();
        m_visao.definirTexto(QStringLiteral("Realizando alterações no Banco de Dados - AGUARDE !!!"));
        respirar();
        return QString();
    } catch (const Erro &erro) {
        QFile::remove(cfg.copiaLocal);
        return erro.mensagem();
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
// products for their look-ups; each back on its first row. The products,
// the customers and the lists that copy the products drop their rows now and
// read the new ones when first used: the update does not wait for rows
// nobody may look at, and nothing shows a row that is gone.
void LogicaAtualizacao::reabrirConjuntos(bool clientes)
{
    std::vector<ConjuntoDados *> lidosAoUsar = {&DM->QyProduto};
    if (clientes)
        lidosAoUsar.push_back(&DM->QyCliente);
    for (ConjuntoDados *c :
         {&DM->QyPedidoItem, &DM->QyPacote, &DM->QyTrocaSub, &DM->QyTrocaDev, &DM->QyVendaCasada, &DM->QyPendente})
        lidosAoUsar.push_back(c);
    for (ConjuntoDados *c : lidosAoUsar)
        if (c->ativo())
            c->abrirAoUsar();
    std::vector<ConjuntoDados *> relidos = {&DM->QyFuncionario};
    if (!DM->QyConfiguracoes.emEdicao())
        relidos.push_back(&DM->QyConfiguracoes);
    for (ConjuntoDados *c : relidos)
        if (c->ativo())
            c->reabrir();
    // Sets still to be read start on their first row.
    for (ConjuntoDados *c : {&DM->QyCliente, &DM->QyPedido, &DM->QyProduto})
        if (c->ativo() && !c->linhasPendentes())
            c->primeiro();
}
