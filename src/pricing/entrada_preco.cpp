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
    const LeitorEntradaPreco leitor(tipo, *item.conjunto());
    return leitor.ler(item, leitor.precos(Registro(&DM->QyProduto, ConjuntoDados::kLinhaAtual)));
}

LeitorEntradaPreco::LeitorEntradaPreco(TipoPedido tipo, const ConjuntoDados &itens)
    : m_itens(itens), m_freteECodigos(RegrasDoTipo(tipo).precos.freteECodigos),
      m_codigo(itens.indiceCampoOuErro(Campos::Item::codigo)),
      m_quantidade(itens.indiceCampoOuErro(Campos::Item::quantidade)),
      m_valorTotal(itens.indiceCampoOuErro(Campos::Item::valorTotal)),
      m_precoVenda(DM->QyProduto.indiceCampoOuErro(Campos::Produto::PRECOVENDA)),
      m_precoPromo(DM->QyProduto.indiceCampoOuErro(Campos::Produto::PRECOPROMO))
{
    const ConjuntoDados &cabecalho = DM->QyPedido;
    m_cabecalho.tipo = tipo;
    m_cabecalho.cif = cabecalho.campo(Campos::Pedido::cif).texto();
    m_cabecalho.dv = nivel(cabecalho.campo(Campos::Pedido::dv));
    m_cabecalho.avista = nivel(cabecalho.campo(Campos::Pedido::avista));
    if (m_freteECodigos) {
        for (int i = 0; i < 3; ++i)
            m_codigos[i] = itens.indiceCampoOuErro(Campos::Item::cd_desconto[i]);
        m_gordura1 = itens.indiceCampoOuErro(Campos::Item::gordura1);
    }
}

QStringList LeitorEntradaPreco::codigos() const
{
    QStringList codigos;
    codigos.reserve(m_itens.quantidade());
    for (int p = 0; p < m_itens.quantidade(); ++p)
        codigos.push_back(m_itens.registro(p).campo(m_codigo).texto());
    return codigos;
}

PrecosProduto LeitorEntradaPreco::precos(const Registro &produto) const
{
    return {produto.campo(m_precoVenda).dinheiro(), produto.campo(m_precoPromo).real()};
}

EntradaPreco LeitorEntradaPreco::ler(const Registro &item, const PrecosProduto &produto) const
{
    EntradaPreco e = m_cabecalho;
    e.precoVenda = produto.precoVenda;
    e.precoPromo = produto.precoPromo;
    e.valorTotal = item.campo(m_valorTotal).dinheiro();
    e.quantidade = item.campo(m_quantidade).dinheiro();
    if (m_freteECodigos) {
        for (int i = 0; i < 3; ++i)
            e.codigos[i] = item.campo(m_codigos[i]).texto();
        e.gordura1 = item.campo(m_gordura1).texto();
    }
    return e;
}
