#include "demo_modelo.h"
#include "demo_sorteio.h"

#include <algorithm>
#include <cmath>

namespace Demo
{

namespace
{

const std::vector<const char *> kObservacoes = {
    "", "", "", "Entregar pela manhã.", "Cliente pede nota com o número do pedido.", "Conferir a carga na entrega.",
};

// A quantity the order screen accepts: a whole multiple of the product's
// multiple, which counts rounded to the even neighbour (2,5 counts as 2).
// Dear products are bought a few at a time.
int quantidadeAceita(Sorteio &s, const Produto &p)
{
    const long multiplo = std::lrint(p.multiplo);
    if (multiplo > 0)
        return static_cast<int>(multiplo) * s.entre(1, 4);
    if (p.preco > Dinheiro::deEscalado(100 * Dinheiro::Escala))
        return s.entre(1, 4);
    if (p.preco > Dinheiro::deEscalado(20 * Dinheiro::Escala))
        return s.entre(1, 12);
    return s.entre(2, 36);
}

// The items of an order: a few of the products the representative sells.
void escolherItens(Sorteio &s, const std::vector<const Produto *> &vendaveis, Pedido &p)
{
    std::vector<const Produto *> escolhidos = vendaveis;
    s.embaralhar(escolhidos);
    escolhidos.resize(static_cast<std::size_t>(s.entre(2, 7)));
    for (const Produto *produto : escolhidos) {
        ItemPedido item;
        item.codigo = produto->codigo;
        item.quantidade = quantidadeAceita(s, *produto);
        item.valorUnitario = produto->preco;
        item.valorTotal = produto->preco.multiplicar(item.quantidade);
        p.total += item.valorTotal;
        p.itens.push_back(item);
    }
}

// A year of orders before the recent ones, sent and printed long ago: the
// history the dashboard's months and rankings are drawn from.
void gerarHistorico(const std::vector<const Produto *> &vendaveis, const std::vector<const Cliente *> &carteira,
                    std::vector<Pedido> &pedidos)
{
    Sorteio s(20251130);
    const QDate mesRecentes = diaReferencia().date();
    for (int mes = 12; mes >= 1; --mes) {
        const QDate primeiro = QDate(mesRecentes.year(), mesRecentes.month(), 1).addMonths(-mes);
        const int quantos = s.entre(4, 7);
        for (int n = 0; n < quantos; ++n) {
            Pedido p;
            p.numero = static_cast<int>(pedidos.size()) + 1;
            const Cliente &cliente = *s.escolher(carteira);
            p.cliente = cliente.id;
            p.formaPagamento = cliente.formaPagamento.toInt();
            const int dia = 1 + (n * primeiro.daysInMonth()) / quantos + s.entre(0, 2);
            p.data = QDateTime(primeiro.addDays(std::min(dia, primeiro.daysInMonth()) - 1), QTime(8, 0))
                         .addSecs(s.entre(0, 10 * 60) * 60);
            p.localidade = QStringLiteral("0"); // "PNS"
            p.enviado = true;
            p.impresso = true;
            escolherItens(s, vendaveis, p);
            pedidos.push_back(std::move(p));
        }
    }
}

} // namespace

std::vector<Pedido> gerarPedidos(const std::vector<Produto> &produtos, const std::vector<Cliente> &clientes)
{
    Sorteio s(30112026);
    std::vector<const Produto *> vendaveis;
    for (const Produto &p : produtos)
        if (p.local)
            vendaveis.push_back(&p);
    std::vector<const Cliente *> carteira;
    for (const Cliente &c : clientes)
        if (c.regiao == QLatin1String(kRegiaoRepresentante))
            carteira.push_back(&c);

    std::vector<Pedido> pedidos;
    gerarHistorico(vendaveis, carteira, pedidos);
    const int historico = static_cast<int>(pedidos.size());
    const int quantos = 10;
    for (int n = 1; n <= quantos; ++n) {
        Pedido p;
        p.numero = historico + n;
        const Cliente &cliente = *s.escolher(carteira);
        p.cliente = cliente.id;
        p.formaPagamento = cliente.formaPagamento.toInt();
        p.data = diaReferencia().addDays(-30 + n * 3 - s.entre(0, 2)).addSecs(s.entre(8 * 60, 18 * 60) * 60);
        p.localidade = QStringLiteral("0"); // "PNS"
        // The older orders went out already; the newest are still being worked on.
        p.enviado = n <= 5;
        p.impresso = n <= 7;
        p.observacao = QString::fromUtf8(s.escolher(kObservacoes));
        escolherItens(s, vendaveis, p);
        pedidos.push_back(std::move(p));
    }
    return pedidos;
}

} // namespace Demo
