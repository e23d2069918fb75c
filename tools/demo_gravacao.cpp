#include "demo_gravacao.h"

#include "demo_gravador.h"
#include "esquema.h"
#include "formatos.h"

#include <QFile>
#include <algorithm>
#include <cmath>

namespace Demo
{

namespace
{

QVariant data(const QDateTime &dt)
{
    return dt.isValid() ? QVariant(Formatos::dataHoraBanco(dt)) : QVariant();
}
QVariant dinheiro(Dinheiro d)
{
    return d.paraDouble();
}
QVariant booleano(bool b)
{
    return b ? 1 : 0;
}

// Cost and margin as the company's own system fills them.
double custo(Dinheiro preco)
{
    return static_cast<double>(preco.escalado() / 100 * 62 / 100) / 100.0;
}

Linha linhaProduto(const Produto &p, Dinheiro preco)
{
    const double precoCusto = custo(preco);
    Linha l = {
        {"idProduto", p.id},
        {"CODIGO", p.codigo},
        {"PRODUTO", p.descricao},
        {"ESTOQUE", p.estoque},
        {"PRECOVENDA", dinheiro(preco)},
        {"grupo", p.grupo},
        {"PRECOCUSTO", precoCusto},
        {"PRECOLISTA", preco.paraDouble()},
        {"MINIMO", p.unidade == QLatin1String("UN") ? 10.0 : 2.0},
        {"FABRICANTE", p.fabricante},
        {"MARGEM", precoCusto > 0 ? std::round((preco.paraDouble() / precoCusto - 1) * 10000) / 100 : 0.0},
        {"UNID", p.unidade},
        {"ICMS", 18.0},
        {"IPI", p.grupo == QLatin1String("ELETRIC") ? 5.0 : 0.0},
        {"promocao", p.precoPromocional ? QStringLiteral("S") : QStringLiteral("N")},
        {"UltCompra", data(p.ultimaCompra)},
        {"inativo", booleano(p.inativo)},
        {"multiplo", p.multiplo},
    };
    if (p.precoPromocional) {
        l.emplace_back("PRECOPROMO", p.precoPromocional->paraDouble());
        l.emplace_back("fimpromocao", data(p.fimPromocao));
    }
    return l;
}

Linha linhaCliente(const Cliente &c)
{
    return {
        {"IdCliente", c.id},
        {"Nome", c.nome},
        {"End", c.endereco},
        {"Tel", c.telefone},
        {"Bairro", c.bairro},
        {"Cidade", c.cidade},
        {"UF", c.uf},
        {"CEP", c.cep},
        {"Email", c.email},
        {"Contato", c.contato},
        {"cnpj", c.cnpj},
        {"Iest", c.inscricaoEstadual},
        {"fantasia", c.fantasia},
        {"cadastro", data(c.cadastro)},
        {"endcorr", c.endereco},
        {"bairrocorr", c.bairro},
        {"cidadecorr", c.cidade},
        {"cepcorr", c.cep},
        {"ufcorr", c.uf},
        {"telcorr", c.telefone},
        {"ultimacompra", data(c.ultimaCompra)},
        {"valultcompra", dinheiro(c.valorUltimaCompra)},
        {"maiorcompra", data(c.maiorCompra)},
        {"valmaiorcompra", dinheiro(c.valorMaiorCompra)},
        {"menorcompra", data(c.menorCompra)},
        {"valmenorcompra", dinheiro(c.valorMenorCompra)},
        {"credito", dinheiro(c.credito)},
        {"mediaatraso", c.mediaAtraso},
        {"regiao", c.regiao},
        {"status", QStringLiteral("Ativo")},
        {"Cel", c.celular},
        {"prazo", QStringLiteral("28")},
        {"funcionario", QString::number(c.regiao.toInt())},
        {"CliFPagto", c.formaPagamento},
        {"TipoCli", QStringLiteral("Jurídica")},
    };
}

// The local table keys employees by a text code, the central one by number.
Linha linhaFuncionario(const Funcionario &f, const QVariant &idfunc)
{
    return {
        {"idfunc", idfunc},
        {"Nome", f.nome},
        {"Bairro", f.bairro},
        {"Cidade", f.cidade},
        {"UF", f.uf},
        {"CEP", f.cep},
        {"Cargo", f.cargo},
        {"Tel", f.telefone},
        {"admissao", data(f.admissao)},
        {"comissao", f.comissao},
        {"Email", f.email},
        {"apelido", f.apelido},
        {"celular", f.celular},
        {"rt", booleano(false)},
    };
}

Linha linhaForma(const FormaPagamento &f)
{
    return {
        {"idforma", f.id},
        {"codigo", f.codigo},
        {"Forma", f.forma},
        {"tipo", f.tipo},
        {"valforma", dinheiro(Dinheiro())},
        {"TEF", f.tef},
        {"deposito", f.deposito},
        {"desconto", dinheiro(f.desconto)},
    };
}

Linha linhaConfiguracoes()
{
    return {
        {"cod_funcionario", QString::fromLatin1(kRepresentante)},
        {"email_host", QStringLiteral("smtp.example.com")},
        {"email_usuario", QStringLiteral("joao.silva@example.com")},
        {"email_senha", QStringLiteral("demonstracao")},
        {"email_para", QStringLiteral("pedidos.central1@example.com")},
        {"email_para2", QStringLiteral("pedidos.central2@example.com")},
        {"email_para3", QStringLiteral("pedidos.central3@example.com")},
        {"email_de", QStringLiteral("joao.silva@example.com")},
        {"email_assunto", QStringLiteral("Pedido")},
        {"email_texto", QStringLiteral("Segue o pedido em anexo.")},
        {"ultima_atualizacao", data(diaReferencia().addSecs(7 * 3600 + 42 * 60))},
        // The FTP server that scripts/servidor-ftp-demo.sh starts on this machine.
        {"ftp_host", QStringLiteral("127.0.0.1:2121")},
        {"ftp_usuario", QStringLiteral("representante12")},
        {"ftp_senha", QStringLiteral("demonstracao")},
        {"ftp_arquivo", QStringLiteral("central.db")},
        {"ftp_pasta", QStringLiteral("atualizacao")},
        {"pendencia_central", QStringLiteral("pendencias@example.com")},
    };
}

void gravarPedido(Gravador &g, const Pedido &p)
{
    const QString representante = QString::fromLatin1(kRepresentante);
    g.inserir("tbpedido", {
                              {"nr_pedido", p.numero},
                              {"idFunc", representante},
                              {"idCliente", p.cliente},
                              {"dt_pedido", data(p.data)},
                              {"tp_localidade", p.localidade},
                              {"idforma", p.formaPagamento},
                              {"impresso", booleano(p.impresso)},
                              {"enviado", booleano(p.enviado)},
                              {"vl_total_item", dinheiro(p.total)},
                              {"enviadoTroca", booleano(false)},
                              {"in_cancelado", booleano(false)},
                              {"dv", 0},
                              {"avista", 0},
                              {"observacao", p.observacao},
                              {"cif", QStringLiteral("Não")},
                              {"vl_acumulativo_pedido", dinheiro(Dinheiro())},
                              {"vl_gordura", dinheiro(Dinheiro())},
                          });
    for (const ItemPedido &item : p.itens)
        g.inserir("tbpedido_item", {
                                       {"nr_pedido", p.numero},
                                       {"idfunc", representante},
                                       {"codigo", item.codigo},
                                       {"quantidade", item.quantidade},
                                       {"valorUnitario", dinheiro(item.valorUnitario)},
                                       {"valorTotal", dinheiro(item.valorTotal)},
                                       {"cd_desconto1", QStringLiteral("0")},
                                       {"cd_desconto2", QStringLiteral("0")},
                                       {"cd_desconto3", QStringLiteral("0")},
                                       {"gordura1", QStringLiteral("0")},
                                       {"vl_gordura", dinheiro(Dinheiro())},
                                   });
}

void apagar(const QString &arquivo)
{
    QFile::remove(arquivo);
    QFile::remove(arquivo + QStringLiteral("-journal"));
}

// Creates the file with its tables, fills it, and removes it again when
// anything fails, so a half-written database never looks finished.
template <typename Preencher>
void gravar(const QString &arquivo, void (*criar)(const QString &), const std::vector<DefConjunto> &tabelas,
            Preencher preencher)
{
    apagar(arquivo);
    try {
        criar(arquivo);
        Gravador g(arquivo, tabelas);
        preencher(g);
        g.confirmar();
    } catch (...) {
        apagar(arquivo);
        throw;
    }
}

// Items set aside from the first order of the last month: one the stock
// covers, one it does not, and one of a product only the central database
// has (until the first update), so "Checar  Pendência" has something to show.
void gravarPendentes(Gravador &g, const Modelo &m)
{
    const auto recente = std::find_if(m.pedidos.begin(), m.pedidos.end(),
                                      [](const Pedido &p) { return p.data >= diaReferencia().addDays(-31); });
    if (recente == m.pedidos.end())
        return;
    const Pedido &pedido = *recente;
    const Produto *coberto = nullptr, *curto = nullptr, *soCentral = nullptr;
    for (const Produto &p : m.produtos) {
        if (p.inativo)
            continue;
        if (!p.local && !soCentral)
            soCentral = &p;
        else if (p.local && p.estoque >= 5 && !coberto)
            coberto = &p;
        else if (p.local && p.estoque >= 1 && !curto && &p != coberto)
            curto = &p;
    }
    int item = 0;
    for (const auto &[produto, quantidade] :
         {std::pair{coberto, 5.0}, std::pair{curto, curto ? curto->estoque + 10 : 0}, std::pair{soCentral, 2.0}}) {
        if (!produto)
            continue;
        const int qtd = static_cast<int>(quantidade);
        g.inserir("tbpedido_pendente", {
                                           {"nr_pedido", pedido.numero},
                                           {"idfunc", QString::fromLatin1(kRepresentante)},
                                           {"item", ++item},
                                           {"codigo", produto->codigo},
                                           {"quantidade", qtd},
                                           {"valorUnitario", dinheiro(produto->preco)},
                                           {"valorTotal", dinheiro(produto->preco.multiplicar(qtd))},
                                           {"cod_cliente", pedido.cliente},
                                           {"data_pendente", data(pedido.data.addSecs(600 * item))},
                                       });
    }
}

} // namespace

void gravarBancoLocal(const Modelo &m, const QString &arquivo)
{
    gravar(arquivo, &Esquema::criarBancoLocal, Esquema::tabelasLocais(), [&m](Gravador &g) {
        for (const Produto &p : m.produtos)
            if (p.local)
                g.inserir("tbproduto", linhaProduto(p, p.preco));
        for (const Cliente &c : m.clientes)
            if (c.regiao == QLatin1String(kRegiaoRepresentante))
                g.inserir("tbcliente", linhaCliente(c));
        for (const Funcionario &f : m.funcionarios)
            if (QString::number(f.id) == QLatin1String(kRepresentante))
                g.inserir("tbfuncionario", linhaFuncionario(f, QString::number(f.id)));
        for (const FormaPagamento &f : m.formas)
            g.inserir("tbforma", linhaForma(f));
        for (const Localidade &l : m.localidades)
            g.inserir("tblocalidades", {{"tp_localidade", l.codigo}, {"nm_localidade", l.nome}});
        g.inserir("tbconfiguracoes", linhaConfiguracoes());
        for (const Pedido &p : m.pedidos)
            gravarPedido(g, p);
        gravarPendentes(g, m);
    });
}

void gravarBancoCentral(const Modelo &m, const QString &arquivo)
{
    gravar(arquivo, &Esquema::criarBancoCentral, Esquema::tabelasCentrais(), [&m](Gravador &g) {
        for (const Produto &p : m.produtos)
            g.inserir("tbproduto", linhaProduto(p, p.precoCentral));
        for (const Cliente &c : m.clientes)
            g.inserir("tbcliente", linhaCliente(c));
        for (const Funcionario &f : m.funcionarios)
            g.inserir("tbfuncionario", linhaFuncionario(f, f.id));
        for (const FormaPagamento &f : m.formas)
            g.inserir("tbforma", linhaForma(f));
    });
}

} // namespace Demo
