#include "logica_cliente.h"

#include "campos_esquema.h"
#include "caractere_controle.h"
#include "conferencia_cliente.h"
#include "conjunto_dados.h"
#include "dialogos.h"
#include "erro.h"
#include "formatos.h"
#include "udm.h"
#include "ufunc.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace
{

const QString kAtencao = QStringLiteral("Atenção");

QString S(const char *texto)
{
    return QString::fromUtf8(texto);
}

enum class Tipo { Texto, Cnpj, Cep, Data, Email };

struct Conferencia {
    CaixaCliente caixa;
    NomeCampo campo;
    const char *rotulo;
    Tipo tipo;
    bool obrigatorio;
};

// Every checked box in tab order: the first problem found is the one shown.
const Conferencia kConferencias[] = {
    {CaixaCliente::NomeResumido, Campos::Cliente::fantasia, "Nome resumido", Tipo::Texto, true},
    {CaixaCliente::RazaoSocial, Campos::Cliente::Nome, "Razão social completa", Tipo::Texto, true},
    {CaixaCliente::Cnpj, Campos::Cliente::cnpj, "CNPJ", Tipo::Cnpj, false},
    {CaixaCliente::InscEstadual, Campos::Cliente::Iest, "Inscrição Estadual", Tipo::Texto, false},
    {CaixaCliente::Referencia, Campos::Cliente::Referencia, "Referencia", Tipo::Texto, false},
    {CaixaCliente::Endereco, Campos::Cliente::End, "End", Tipo::Texto, false},
    {CaixaCliente::Cep, Campos::Cliente::CEP, "CEP", Tipo::Cep, false},
    {CaixaCliente::Bairro, Campos::Cliente::Bairro, "Bairro", Tipo::Texto, false},
    {CaixaCliente::Cidade, Campos::Cliente::Cidade, "Cidade", Tipo::Texto, false},
    {CaixaCliente::Telefone, Campos::Cliente::Tel, "Tel", Tipo::Texto, false},
    {CaixaCliente::Contato, Campos::Cliente::Contato, "Contato", Tipo::Texto, false},
    {CaixaCliente::Nascimento, Campos::Cliente::Nasc, "Nasc", Tipo::Data, false},
    {CaixaCliente::Email, Campos::Cliente::Email, "Email", Tipo::Email, false},
    {CaixaCliente::CobrancaEndereco, Campos::Cliente::endcorr, "Endereço (Cobrança)", Tipo::Texto, false},
    {CaixaCliente::CobrancaCep, Campos::Cliente::cepcorr, "CEP (Cobrança)", Tipo::Cep, false},
    {CaixaCliente::CobrancaBairro, Campos::Cliente::bairrocorr, "Bairro (Cobrança)", Tipo::Texto, false},
    {CaixaCliente::CobrancaCidade, Campos::Cliente::cidadecorr, "Cidade (Cobrança)", Tipo::Texto, false},
    {CaixaCliente::TipoCliente, Campos::Cliente::TipoCli, "Tipo Cliente", Tipo::Texto, false},
    {CaixaCliente::Status, Campos::Cliente::status, "Status", Tipo::Texto, false},
};

// A masked box left blank still holds its punctuation.
bool mascarado(Tipo tipo)
{
    return tipo == Tipo::Cnpj || tipo == Tipo::Cep || tipo == Tipo::Data;
}

bool vazio(const QString &texto, Tipo tipo)
{
    return mascarado(tipo) ? SoDigitos(texto).isEmpty() : texto.trimmed().isEmpty();
}

int contar(const QString &sql, const QString &chave)
{
    QSqlQuery q(QSqlDatabase::database(DM->ADOConexao.nomeConexao()));
    q.prepare(sql);
    q.addBindValue(chave);
    // Not knowing is no reason to delete.
    if (!q.exec() || !q.next())
        throw Erro(q.lastError().text());
    return q.value(0).toInt();
}

} // namespace

LogicaCliente::LogicaCliente(VisaoCliente &visao) : m_visao(visao) {}

ConjuntoDados &LogicaCliente::clientes() const
{
    return DM->QyCliente;
}

void LogicaCliente::abrir()
{
    atualizarContador();
}

// The count follows inserts and deletions, so it never shows a number the
// list no longer has.
void LogicaCliente::atualizarContador()
{
    m_visao.mostrarContador(QString::number(clientes().ativo() ? clientes().quantidade() : 0) +
                            QStringLiteral(" Cliente(s)"));
}

bool LogicaCliente::podeFechar()
{
    if (!clientes().emEdicao())
        return true;
    const QString pergunta = QStringLiteral("O cliente: ( ") + m_visao.digitado(CaixaCliente::NomeResumido) +
                             QStringLiteral(" ) está em uso, deseja salvar e sair?");
    if (MsgPergunta(pergunta, kAtencao, Resposta::Sim) != Resposta::Sim)
        return false;
    clicar(AcaoCliente::Salvar);
    return !clientes().emEdicao();
}

bool LogicaCliente::habilitado(AcaoCliente acao) const
{
    const ConjuntoDados &c = clientes();
    if (acao == AcaoCliente::Pesquisar)
        return true;
    if (!c.ativo())
        return false;
    switch (acao) {
    case AcaoCliente::Novo:
        return c.podeModificar();
    case AcaoCliente::Editar:
        return c.podeModificar() && !c.emEdicao();
    case AcaoCliente::Salvar:
    case AcaoCliente::Cancelar:
        return c.podeModificar() && c.emEdicao();
    case AcaoCliente::Excluir:
        return c.podeModificar() && !c.vazio();
    case AcaoCliente::Anterior:
        return !c.inicio();
    case AcaoCliente::Proximo:
        return !c.fim();
    case AcaoCliente::Pesquisar:
        break;
    }
    return true;
}

void LogicaCliente::clicar(AcaoCliente acao)
{
    ExecutarProtegido([this, acao] {
        if (habilitado(acao))
            executar(acao);
    });
}

void LogicaCliente::executar(AcaoCliente acao)
{
    switch (acao) {
    case AcaoCliente::Pesquisar:
        pesquisar();
        break;
    case AcaoCliente::Novo:
        inserir();
        break;
    case AcaoCliente::Editar:
        editar();
        break;
    case AcaoCliente::Salvar:
        salvar();
        break;
    case AcaoCliente::Cancelar:
        clientes().cancelar();
        break;
    case AcaoCliente::Excluir:
        excluir();
        break;
    case AcaoCliente::Anterior:
    case AcaoCliente::Proximo:
        mover(acao);
        break;
    }
}

// The boxes write nothing until Salvar, so moving away from a customer being
// typed stores it first, through the same checks: a refused box keeps the
// screen on that customer with everything typed.
void LogicaCliente::mover(AcaoCliente acao)
{
    if (clientes().emEdicao()) {
        salvar();
        if (clientes().emEdicao())
            return;
    }
    if (acao == AcaoCliente::Anterior)
        clientes().anterior();
    else
        clientes().proximo();
}

void LogicaCliente::pesquisar()
{
    if (clientes().emEdicao())
        return;
    const QString id = DM->Pesquisar(QStringLiteral("tbcliente order by idcliente"),
                                     QStringLiteral("nome, cnpj, idcliente"), QStringLiteral("idcliente"));
    if (!id.isEmpty())
        clientes().localizar(Campos::Cliente::IdCliente, id);
}

void LogicaCliente::inserir()
{
    m_visao.focar(CaixaCliente::NomeResumido);
    clientes().inserir();
    guardarDigitados();
}

void LogicaCliente::editar()
{
    clientes().editar();
    guardarDigitados();
}

void LogicaCliente::guardarDigitados()
{
    m_iniciais.clear();
    for (const Conferencia &c : kConferencias)
        m_iniciais.insert(c.caixa, m_visao.digitado(c.caixa));
}

QString LogicaCliente::problema(CaixaCliente &caixa) const
{
    const bool novo = clientes().estado() == EstadoConjunto::Insercao;
    for (const Conferencia &c : kConferencias) {
        const QString texto = m_visao.digitado(c.caixa);
        if (!novo && texto == m_iniciais.value(c.caixa))
            continue;
        caixa = c.caixa;
        const QString rotulo = S(c.rotulo);
        const int largura = clientes().defCampo(clientes().indiceCampo(c.campo)).largura;
        if (vazio(texto, c.tipo)) {
            if (c.obrigatorio)
                return QStringLiteral("O campo \"%1\" é obrigatório. Preencha-o para salvar o cliente.").arg(rotulo);
            continue;
        }
        if (c.tipo == Tipo::Texto && TemCaractereDeControle(texto))
            return QStringLiteral("O campo \"%1\" contém uma quebra de linha ou outro caractere de controle. Retire-o "
                                  "para salvar o cliente.")
                .arg(rotulo);
        if (!mascarado(c.tipo) && largura > 0 && texto.size() > largura)
            return QStringLiteral("O campo \"%1\" aceita no máximo %2 caracteres e tem %3. Encurte o texto para "
                                  "salvar o cliente.")
                .arg(rotulo)
                .arg(largura)
                .arg(texto.size());
        if (c.tipo == Tipo::Cnpj && !CnpjValido(texto))
            return QStringLiteral("O CNPJ %1 não é válido. Confira os 14 dígitos.").arg(texto);
        if (c.tipo == Tipo::Cep && !CepCompleto(texto))
            return QStringLiteral("O campo \"%1\" deve ter os 8 dígitos do CEP (99999-999).").arg(rotulo);
        if (c.tipo == Tipo::Data && !DataValida(texto))
            return QStringLiteral("A data de nascimento %1 não é uma data válida (dd/mm/aaaa).").arg(texto);
        if (c.tipo == Tipo::Data && !NascimentoPlausivel(Formatos::lerData(texto.trimmed()), QDate::currentDate()))
            return QStringLiteral("A data de nascimento %1 deve estar entre 01/01/1900 e hoje.").arg(texto);
        if (c.tipo == Tipo::Email && !EmailValido(texto))
            return QStringLiteral("O e-mail \"%1\" não é um endereço válido. Digite-o como nome@empresa.com.br; "
                                  "separe dois ou mais endereços com vírgula.")
                .arg(texto);
    }
    return {};
}

// Nothing is written until every box passes: a refused box keeps its text
// and so do all the others.
void LogicaCliente::salvar()
{
    CaixaCliente caixa{};
    const QString mensagem = problema(caixa);
    if (!mensagem.isEmpty()) {
        MsgInformacao(mensagem, kAtencao);
        m_visao.focar(caixa);
        return;
    }
    m_visao.confirmar();
    ConjuntoDados &c = clientes();
    const bool novo = c.estado() == EstadoConjunto::Insercao;
    c.gravar();
    if (novo)
        atualizarContador();
}

QString LogicaCliente::vinculos() const
{
    const QString id = clientes().campo(Campos::Cliente::IdCliente).texto();
    QStringList partes;
    if (const int n = contar(QStringLiteral("SELECT COUNT(*) FROM tbpedido WHERE idCliente = ?"), id))
        partes << QStringLiteral("%1 pedido(s)").arg(n);
    if (const int n = contar(QStringLiteral("SELECT COUNT(*) FROM tbpedido_pendente WHERE cod_cliente = ?"), id))
        partes << QStringLiteral("%1 item(ns) pendente(s)").arg(n);
    return partes.join(QStringLiteral(" e "));
}

// A customer with orders or pending items is kept: deleting it would leave
// them pointing at nobody.
void LogicaCliente::excluir()
{
    ConjuntoDados &c = clientes();
    const QString fantasia = c.campo(Campos::Cliente::fantasia).texto();
    if (!c.emEdicao()) {
        const QString emNome = vinculos();
        if (!emNome.isEmpty()) {
            MsgInformacao(QStringLiteral("O cliente: ( %1 ) não pode ser excluído, pois há %2 em seu nome.")
                              .arg(fantasia, emNome),
                          kAtencao);
            return;
        }
    }
    const QString pergunta =
        QStringLiteral("Deseja realmente excluir o cliente: ( ") + fantasia + QStringLiteral(" ) ?");
    if (MsgPergunta(pergunta, kAtencao) != Resposta::Sim || c.emEdicao())
        return;
    c.excluir();
    atualizarContador();
}

void LogicaCliente::enviarEmail()
{
    ExecutarProtegido([this] {
        Dialogos::atual().abrirArquivo(QStringLiteral("mailto:") + clientes().campo(Campos::Cliente::Email).texto());
    });
}
