#include "painel_programa.h"

#include "campos_esquema.h"
#include "relatorio_comum.h"
#include "udm.h"
#include "ufunc.h"

#include <QFileInfo>

FigurasPainel FigurasDoPrograma()
{
    // The same narrowing as the order lists: none for the supervisor.
    const QString funcionario =
        DM->FiltroFuncionario.isEmpty() ? QString() : DM->QyFuncionario.campo(Campos::Funcionario::idfunc).texto();
    return FigurasPainel(DM->ADOConexao.handle(), funcionario);
}

PeriodoPainel PeriodoPadrao(const QDateTime &agora)
{
    const QDate hoje = agora.date();
    return {agora, hoje.year(), hoje.addDays(-89), hoje, LimiteAtraso(DM->QyConfiguracoes)};
}

QString ArquivoPainel(const QString &nome, const QString &extensao)
{
    return CaminhoRelatorio(nome.isEmpty() ? QStringLiteral("painel-") : QStringLiteral("painel-") + nome + u'-',
                            extensao);
}

bool PodeGravarArquivo(const QString &arquivo)
{
    if (!QFileInfo::exists(arquivo))
        return true;
    return MsgPergunta(
               QStringLiteral("O arquivo \"%1\" já existe.\nDeseja substituí-lo?").arg(QFileInfo(arquivo).fileName()),
               QStringLiteral("Atenção"), Resposta::Sim) == Resposta::Sim;
}
