#include "passo_preco.h"

namespace
{

bool precoUnitario(EtapaPreco etapa)
{
    switch (etapa) {
    case EtapaPreco::Gordura:
    case EtapaPreco::DescontoPacote:
    case EtapaPreco::Total:
    case EtapaPreco::CentavosPacote:
        return false;
    default:
        return true;
    }
}

} // namespace

Dinheiro UnitarioDosPassos(const PassosPreco &passos)
{
    Dinheiro unitario;
    for (const PassoPreco &p : passos)
        if (precoUnitario(p.etapa))
            unitario = p.resultado;
    return unitario;
}
