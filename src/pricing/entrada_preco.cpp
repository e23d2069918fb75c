#include "entrada_preco.h"

#include "erro.h"
#include "formatos.h"
#include "udm.h"

#include <cmath>

namespace
{

const char *const kCodigos[] = {"cd_desconto1", "cd_desconto2", "cd_desconto3"};

// A discount level of the header: empty (NULL or a blank text) is level 0;
// a value that is not a whole number is no level at all (-1, no factor),
// never the level it would round to.
int nivel(const Campo &campo)
{
    const QString texto = campo.nulo() ? QString() : campo.texto().trimmed();
    if (texto.isEmpty())
        return 0;
    double valor = 0;
    try {
        valor = Formatos::lerNumero(texto);
    } catch (const Erro &) {
        return -1;
    }
    return valor == std::floor(valor) && std::fabs(valor) < 1000 ? static_cast<int>(valor) : -1;
}

} // namespace

bool LocalizarProdutoDoItem(const Registro &item)
{
    const QString codigo = item.campo(QStringLiteral("codigo")).texto();
    return !codigo.isEmpty() && DM->QyProduto.localizar(QStringLiteral("CODIGO"), codigo);
}

EntradaPreco LerEntradaPreco(TipoPedido tipo, const Registro &item)
{
    ConjuntoDados &produto = DM->QyProduto;
    ConjuntoDados &cabecalho = DM->QyPedido;
    EntradaPreco e;
    e.tipo = tipo;
    e.precoVenda = produto.campo(QStringLiteral("PRECOVENDA")).dinheiro();
    e.precoPromo = produto.campo(QStringLiteral("PRECOPROMO")).real();
    e.cif = cabecalho.campo(QStringLiteral("cif")).texto();
    e.dv = nivel(cabecalho.campo(QStringLiteral("dv")));
    e.avista = nivel(cabecalho.campo(QStringLiteral("avista")));
    e.valorTotal = item.campo(QStringLiteral("valorTotal")).dinheiro();
    e.quantidade = item.campo(QStringLiteral("quantidade")).dinheiro();
    if (tipo != TipoPedido::Troca) {
        for (int i = 0; i < 3; ++i)
            e.codigos[i] = item.campo(QLatin1String(kCodigos[i])).texto();
        e.gordura1 = item.campo(QStringLiteral("gordura1")).texto();
    }
    return e;
}
