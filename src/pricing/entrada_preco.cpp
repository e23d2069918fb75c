#include "entrada_preco.h"

#include "campos_esquema.h"
#include "erro.h"
#include "formatos.h"
#include "regras_tipo_pedido.h"
#include "udm.h"

#include <algorithm>
#include <cmath>

namespace
{

// A discount level of the header: empty (NULL or a blank text) is level 0;
// a value that is not a whole number is no level at all (-1, no factor),
// never the level it would round to.
int nivel(const Campo &campo)
{
    const QString texto = campo.nulo() ? QString() : campo.texto().trimmed();
    if (texto.isEmpty())
        return 0;
    // Plain digits, the usual case, need no general number reader: it runs
    // once per item of every save.
    const bool negativo = texto.front() == u'-';
    if (texto.size() - negativo <= 3 && texto.size() > negativo &&
        std::all_of(texto.begin() + negativo, texto.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return texto.toInt();
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
    const QString codigo = item.campo(Campos::Item::codigo).texto();
    return !codigo.isEmpty() && DM->QyProduto.localizar(Campos::Produto::CODIGO, codigo);
}

EntradaPreco LerEntradaPreco(TipoPedido tipo, const Registro &item)
{
    ConjuntoDados &produto = DM->QyProduto;
    ConjuntoDados &cabecalho = DM->QyPedido;
    EntradaPreco e;
    e.tipo = tipo;
    e.precoVenda = produto.campo(Campos::Produto::PRECOVENDA).dinheiro();
    e.precoPromo = produto.campo(Campos::Produto::PRECOPROMO).real();
    e.cif = cabecalho.campo(Campos::Pedido::cif).texto();
    e.dv = nivel(cabecalho.campo(Campos::Pedido::dv));
    e.avista = nivel(cabecalho.campo(Campos::Pedido::avista));
    e.valorTotal = item.campo(Campos::Item::valorTotal).dinheiro();
    e.quantidade = item.campo(Campos::Item::quantidade).dinheiro();
    if (RegrasDoTipo(tipo).precos.freteECodigos) {
        for (int i = 0; i < 3; ++i)
            e.codigos[i] = item.campo(Campos::Item::cd_desconto[i]).texto();
        e.gordura1 = item.campo(Campos::Item::gordura1).texto();
    }
    return e;
}
