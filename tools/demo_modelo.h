#pragma once

#include "dinheiro.h"

#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

// The demo company's data, built once in memory and written to both sample
// databases: the central one holds everything, the local one what the
// representative's last update copied from it.
namespace Demo
{

// Every date of the demo counts from this day, never from the clock.
QDateTime diaReferencia();

// The representative of the local installation and the region he serves.
inline constexpr const char *kRepresentante = "12";
inline constexpr const char *kRegiaoRepresentante = "12";

struct Produto {
    int id = 0;
    QString codigo;
    QString descricao;
    QString fabricante;
    QString unidade;
    QString grupo;
    double estoque = 0;
    Dinheiro preco;        // the local copy's price
    Dinheiro precoCentral; // the central price, raised on some products since
    std::optional<Dinheiro> precoPromocional;
    QDateTime fimPromocao;
    double multiplo = 0;
    bool inativo = false;
    bool local = false; // already copied to the representative's database
    QDateTime ultimaCompra;
};

struct Cliente {
    int id = 0;
    QString nome;
    QString fantasia;
    QString endereco;
    QString bairro;
    QString cidade;
    QString uf;
    QString cep;
    QString telefone;
    QString celular;
    QString email;
    QString contato;
    QString cnpj;
    QString inscricaoEstadual;
    QString regiao;
    QString formaPagamento; // the idforma, as text
    QDateTime cadastro;
    QDateTime ultimaCompra;
    Dinheiro valorUltimaCompra;
    QDateTime maiorCompra;
    Dinheiro valorMaiorCompra;
    QDateTime menorCompra;
    Dinheiro valorMenorCompra;
    Dinheiro credito;
    // Average delay of payment, in days.
    int mediaAtraso = 0;
};

struct Funcionario {
    int id = 0;
    QString nome;
    QString apelido;
    QString cargo;
    QString bairro;
    QString cidade;
    QString uf;
    QString cep;
    QString telefone;
    QString celular;
    QString email;
    QDateTime admissao;
    double comissao = 0;
};

struct FormaPagamento {
    int id = 0;
    QString codigo;
    QString forma;
    QString tipo;
    QString tef;
    int deposito = 0;
    Dinheiro desconto;
};

struct Localidade {
    QString codigo;
    QString nome;
};

struct ItemPedido {
    QString codigo;
    int quantidade = 0;
    Dinheiro valorUnitario;
    Dinheiro valorTotal;
};

// A regular order of the representative, priced without freight or
// discounts, so the stored prices are those the order screen computes.
struct Pedido {
    int numero = 0;
    int cliente = 0;
    QDateTime data;
    int formaPagamento = 0;
    QString localidade;
    bool impresso = false;
    bool enviado = false;
    QString observacao;
    std::vector<ItemPedido> itens;
    Dinheiro total;
};

struct Modelo {
    std::vector<Produto> produtos;
    std::vector<Cliente> clientes;
    std::vector<Funcionario> funcionarios;
    std::vector<FormaPagamento> formas;
    std::vector<Localidade> localidades;
    std::vector<Pedido> pedidos;
};

std::vector<Produto> gerarProdutos();
std::vector<Cliente> gerarClientes(const std::vector<FormaPagamento> &formas);
std::vector<Funcionario> gerarFuncionarios();
std::vector<FormaPagamento> gerarFormas();
std::vector<Localidade> gerarLocalidades();
std::vector<Pedido> gerarPedidos(const std::vector<Produto> &produtos, const std::vector<Cliente> &clientes);

// The whole demo, the same on every call.
Modelo gerarModelo();

// The two check digits of a CNPJ whose first twelve digits are given.
QString digitosCnpj(const QString &dozeDigitos);

} // namespace Demo
