#include "demo_modelo.h"

namespace Demo
{

std::vector<FormaPagamento> gerarFormas()
{
    auto forma = [](int id, const char *codigo, const char *nome, const char *tipo, const char *tef, int deposito,
                    int descontoPorcento) {
        return FormaPagamento{id,
                              QString::fromUtf8(codigo),
                              QString::fromUtf8(nome),
                              QString::fromUtf8(tipo),
                              QString::fromUtf8(tef),
                              deposito,
                              Dinheiro::deEscalado(descontoPorcento * Dinheiro::Escala)};
    };
    return {
        forma(1, "DIN", "Dinheiro", "D", "N", 0, 3),          forma(2, "B28", "Boleto 28 dias", "B", "N", 0, 0),
        forma(3, "B56", "Boleto 28/56", "B", "N", 0, 0),      forma(4, "B84", "Boleto 28/56/84", "B", "N", 0, 0),
        forma(5, "C30", "Cheque 30 dias", "C", "N", 0, 0),    forma(6, "CAR", "Cartão", "T", "S", 0, 0),
        forma(7, "DEP", "Depósito bancário", "D", "N", 1, 2),
    };
}

// The delivery kinds the order screens offer, under the codes they store.
std::vector<Localidade> gerarLocalidades()
{
    return {
        {QStringLiteral("0"), QStringLiteral("PNS")},
        {QStringLiteral("1"), QStringLiteral("PMS")},
        {QStringLiteral("2"), QStringLiteral("PSS")},
    };
}

std::vector<Funcionario> gerarFuncionarios()
{
    auto funcionario = [](int id, const char *nome, const char *apelido, const char *cargo, const char *bairro,
                          const char *cidade, const char *uf, const char *cep, const char *ddd, const char *email,
                          int anoAdmissao, double comissao) {
        Funcionario f;
        f.id = id;
        f.nome = QString::fromUtf8(nome);
        f.apelido = QString::fromUtf8(apelido);
        f.cargo = QString::fromUtf8(cargo);
        f.bairro = QString::fromUtf8(bairro);
        f.cidade = QString::fromUtf8(cidade);
        f.uf = QString::fromUtf8(uf);
        f.cep = QString::fromUtf8(cep);
        f.telefone = QStringLiteral("(%1) 3%2-%3").arg(QString::fromUtf8(ddd)).arg(200 + id * 37).arg(1000 + id * 411);
        f.celular = QStringLiteral("(%1) 9%2-%3").arg(QString::fromUtf8(ddd)).arg(8100 + id * 53).arg(2000 + id * 317);
        f.email = QString::fromUtf8(email);
        f.admissao = QDateTime(QDate(anoAdmissao, 1 + id % 12, 1 + id % 27), QTime(0, 0));
        f.comissao = comissao;
        return f;
    };
    return {
        funcionario(1, "ROBERTO MENDES", "Roberto", "Gerente de vendas", "Centro", "Campinas", "SP", "13010-050", "19",
                    "roberto.mendes@example.com", 2009, 1.0),
        funcionario(3, "MARIA APARECIDA SOUZA", "Maria", "Representante", "Água Verde", "Curitiba", "PR", "80240-210",
                    "41", "maria.souza@example.com", 2014, 3.0),
        funcionario(7, "CARLOS EDUARDO LIMA", "Carlos", "Representante", "Floresta", "Belo Horizonte", "MG",
                    "30150-070", "31", "carlos.lima@example.com", 2016, 3.0),
        funcionario(12, "JOÃO SILVA", "João", "Representante", "Cambuí", "Campinas", "SP", "13025-320", "19",
                    "joao.silva@example.com", 2012, 3.5),
        funcionario(15, "FERNANDA COSTA RIBEIRO", "Fernanda", "Representante", "Setor Bueno", "Goiânia", "GO",
                    "74230-010", "62", "fernanda.ribeiro@example.com", 2019, 3.0),
        funcionario(21, "PAULO HENRIQUE ALVES", "Paulo", "Representante", "Gonzaga", "Santos", "SP", "11060-400", "13",
                    "paulo.alves@example.com", 2021, 2.5),
    };
}

} // namespace Demo
