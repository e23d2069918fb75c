#include "situacao_cliente.h"

#include "campos_esquema.h"
#include "conjunto_dados.h"
#include "definicao_campos.h"
#include "valor_campo.h"

#include <QStringList>

QString TextoReais(Dinheiro valor)
{
    return QStringLiteral("R$ ") + ValorCampo::formatar(valor, kFormatoMoeda);
}

int LimiteAtraso(const ConjuntoDados &configuracoes)
{
    if (!configuracoes.ativo() || configuracoes.vazio() ||
        configuracoes.indiceCampo(QStringLiteral("limite_atraso")) < 0)
        return kLimiteAtrasoPadrao;
    const Campo limite = configuracoes.campo(Campos::Configuracoes::limite_atraso);
    return limite.nulo() ? kLimiteAtrasoPadrao : int(limite.inteiro());
}

QString SituacaoCliente::aviso() const
{
    QStringList partes;
    if (creditoExcedido)
        partes << QStringLiteral("⚠ Pedido acima do crédito (%1)").arg(TextoReais(*creditoExcedido));
    if (atrasoMedio)
        partes << QStringLiteral("⚠ Atraso médio de %1 dias").arg(*atrasoMedio);
    return partes.join(QStringLiteral("  "));
}

SituacaoCliente AvaliarCliente(Dinheiro totalPedido, std::optional<Dinheiro> credito, std::optional<int> mediaAtraso,
                               int limiteAtraso)
{
    SituacaoCliente s;
    if (credito && *credito > Dinheiro() && totalPedido > *credito)
        s.creditoExcedido = credito;
    if (mediaAtraso && *mediaAtraso > limiteAtraso)
        s.atrasoMedio = mediaAtraso;
    return s;
}

SituacaoCliente AvaliarCliente(Dinheiro totalPedido, const ConjuntoDados &clientes, int limiteAtraso)
{
    if (!clientes.ativo() || clientes.vazio())
        return {};
    const Campo credito = clientes.campo(Campos::Cliente::credito);
    const Campo atraso = clientes.campo(Campos::Cliente::mediaatraso);
    return AvaliarCliente(totalPedido, credito.nulo() ? std::nullopt : std::optional(credito.dinheiro()),
                          atraso.nulo() ? std::nullopt : std::optional(int(atraso.inteiro())), limiteAtraso);
}
