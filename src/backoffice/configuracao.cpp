#include "configuracao.h"

#include "campos_esquema.h"
#include "preferencias.h"
#include "situacao_cliente.h"
#include "udm.h"
#include "ufunc.h"

namespace
{

const QString kTitulo = QStringLiteral("Config");
const QString kAtencao = QStringLiteral("Atenção");

struct Prompt {
    const char *texto;
    NomeCampo coluna;
    bool mascarado;
};

const Prompt kEmail[] = {
    {"Digite o host do e-mail: ", Campos::Configuracoes::email_host, false},
    {"Digite o usuário do e-mail: ", Campos::Configuracoes::email_usuario, false},
    {"Digite a senha do e-mail: ", Campos::Configuracoes::email_senha, true},
    {"Digite a central 1 do e-mail: ", Campos::Configuracoes::email_para, false},
    {"Digite a central 2 do e-mail: ", Campos::Configuracoes::email_para2, false},
    {"Digite a central 3 do e-mail: ", Campos::Configuracoes::email_para3, false},
    {"Digite o emitente do e-mail: ", Campos::Configuracoes::email_de, false},
    {"Digite o e-mail da central (Receber pendências): ", Campos::Configuracoes::pendencia_central, false},
};

const Prompt kFtp[] = {
    {"Digite o host do ftp: ", Campos::Configuracoes::ftp_host, false},
    {"Digite o usuário do ftp: ", Campos::Configuracoes::ftp_usuario, false},
    {"Digite a senha do ftp: ", Campos::Configuracoes::ftp_senha, true},
    {"Digite a pasta do ftp: ", Campos::Configuracoes::ftp_pasta, false},
    {"Digite o arquivo para o ftp: ", Campos::Configuracoes::ftp_arquivo, false},
};

bool perguntar(const char *pergunta)
{
    return MsgPergunta(QString::fromUtf8(pergunta), kAtencao) == Resposta::Sim;
}

// The settings row being edited: a new one when the table has none.
void editarConfiguracoes()
{
    ConjuntoDados &cfg = DM->QyConfiguracoes;
    if (cfg.emEdicao())
        return;
    if (cfg.vazio())
        cfg.inserir();
    else
        cfg.editar();
}

void alterarRepresentante()
{
    const QString codigo =
        DM->CaixaTexto(kTitulo, QStringLiteral("Digite o código do Funcionário: "), QString(), false);
    // "0" keeps everything; so does a cancelled prompt, which must not wipe
    // the representative's code and employee row.
    if (!DM->Confirmado || codigo == QLatin1String("0"))
        return;
    editarConfiguracoes();
    DM->QyConfiguracoes.campo(Campos::Configuracoes::cod_funcionario).setTexto(codigo);
    DM->QyConfiguracoes.gravar();
    ConjuntoDados &funcionarios = DM->QyFuncionario;
    funcionarios.primeiro();
    while (!funcionarios.vazio())
        funcionarios.excluir();
}

template <std::size_t N> void alterarGrupo(const Prompt (&prompts)[N])
{
    editarConfiguracoes();
    ConjuntoDados &cfg = DM->QyConfiguracoes;
    for (const Prompt &p : prompts) {
        Campo campo = cfg.campo(p.coluna);
        const QString resposta = DM->CaixaTexto(kTitulo, QString::fromUtf8(p.texto), campo.texto(), p.mascarado);
        // A cancelled prompt keeps the setting as it was.
        if (DM->Confirmado)
            campo.setTexto(resposta);
    }
    cfg.gravar();
}

// Enter from box to box is this user's habit or not; the current choice is
// the default answer.
void alterarTeclado()
{
    const Resposta atual = EnterAvancaCaixa() ? Resposta::Sim : Resposta::Nao;
    DefinirEnterAvancaCaixa(MsgPergunta(QStringLiteral("Ao teclar Enter, passar para a próxima caixa (como o Tab)?"),
                                        kAtencao, atual) == Resposta::Sim);
}

// Above this average delay the order screens warn beside the customer's
// name; a text that is not a number of days changes nothing.
void alterarLimiteAtraso()
{
    const QString resposta = DM->CaixaTexto(kTitulo, QStringLiteral("Digite o limite do atraso médio, em dias: "),
                                            QString::number(LimiteAtraso(DM->QyConfiguracoes)), false);
    if (!DM->Confirmado)
        return;
    bool numero = false;
    const int dias = resposta.trimmed().toInt(&numero);
    if (!numero || dias < 0) {
        MsgErro(QStringLiteral("O limite do atraso médio deve ser um número inteiro de dias."), kAtencao);
        return;
    }
    editarConfiguracoes();
    DM->QyConfiguracoes.campo(Campos::Configuracoes::limite_atraso).setInteiro(dias);
    DM->QyConfiguracoes.gravar();
}

void executar()
{
    const QString codigo = DM->CaixaTexto(kTitulo, QStringLiteral("Digite a senha: "), QString(), true);
    if (codigo != QLatin1String(kCodigoAcessoConfiguracao))
        return;
    if (perguntar("Deseja mudar as configurações do representante?"))
        alterarRepresentante();
    if (perguntar("Deseja mudar as configurações para o envio de e-mail?"))
        alterarGrupo(kEmail);
    if (perguntar("Deseja mudar as configurações para o envio de atualização do FTP?"))
        alterarGrupo(kFtp);
    if (perguntar("Deseja mudar a preferência do teclado?"))
        alterarTeclado();
    if (perguntar("Deseja mudar o limite do atraso médio dos clientes?"))
        alterarLimiteAtraso();
}

} // namespace

void ExecutarConfiguracao()
{
    try {
        executar();
    } catch (...) {
        // A row that could not be saved is not left half edited.
        if (DM->QyConfiguracoes.emEdicao())
            DM->QyConfiguracoes.cancelar();
        throw;
    }
}
