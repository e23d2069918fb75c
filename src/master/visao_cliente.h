#pragma once

#include <QString>

// The customer screen's buttons, along its tool bar.
enum class AcaoCliente { Pesquisar, Novo, Editar, Salvar, Cancelar, Excluir, Anterior, Proximo };

// The customer screen's text boxes that the logic checks and names, in tab
// order.
enum class CaixaCliente {
    NomeResumido,
    RazaoSocial,
    Cnpj,
    InscEstadual,
    Referencia,
    Endereco,
    Cep,
    Bairro,
    Cidade,
    Telefone,
    Contato,
    Nascimento,
    Email,
    CobrancaEndereco,
    CobrancaCep,
    CobrancaBairro,
    CobrancaCidade,
    TipoCliente,
    Status,
};

// What the customer screen's logic asks of its window.
class VisaoCliente
{
  public:
    virtual ~VisaoCliente() = default;

    virtual void focar(CaixaCliente caixa) = 0;
    // The text a box holds now, typed or shown, not yet written to its field.
    virtual QString digitado(CaixaCliente caixa) const = 0;
    // Writes what every box holds into its field.
    virtual void confirmar() = 0;
    virtual void mostrarContador(const QString &texto) = 0;
};
