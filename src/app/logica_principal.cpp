#include "logica_principal.h"

#include "campos_esquema.h"
#include "udm.h"
#include "ufunc.h"

#include <QDir>
#include <QFileInfo>

namespace LogicaPrincipal
{

QString textoRepresentante()
{
    // After a failed start-up the data sets stay closed: no line then.
    if (!DM->QyConfiguracoes.ativo() || !DM->QyFuncionario.ativo())
        return {};
    if (DM->QyConfiguracoes.campo(Campos::Configuracoes::cod_funcionario).texto() == QLatin1String("999"))
        return QStringLiteral("999 - Supervisor geral");
    return QStringLiteral("Representante: ") + DM->QyFuncionario.campo(Campos::Funcionario::idfunc).texto() +
           QStringLiteral(" - ") + DM->QyFuncionario.campo(Campos::Funcionario::Nome).texto();
}

QString tituloComVersao()
{
    return QString::fromUtf8(kTitulo) + QStringLiteral(" - Versão: ") + VersaoSistema();
}

bool confirmarSaida()
{
    return MsgPergunta(QStringLiteral("Deseja realmente sair do sistema?"), QStringLiteral("Atenção"), Resposta::Sim) ==
           Resposta::Sim;
}

void acessoRemoto()
{
    const QString programa = DM->PathSistema + QStringLiteral("remoto.exe");
    if (QFileInfo::exists(programa))
        Dialogos::atual().iniciarPrograma(programa);
    else
        MsgErro(QStringLiteral("Arquivo não encontrado (remoto.exe) !!"), QStringLiteral("Atenção"));
}

QString textoPastaDados()
{
    return QStringLiteral("Pasta de dados: ") + QDir::toNativeSeparators(DM->PathSistema);
}

bool precisaConfigurar()
{
    return DM->QyFuncionario.ativo() && DM->QyFuncionario.vazio();
}

} // namespace LogicaPrincipal
