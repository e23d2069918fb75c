#include "campos_esquema.h"
#include "fonte_resumo.h"
#include "relatorio_comum.h"
#include "relatorios.h"
#include "udm.h"

#include <QHash>

namespace
{

const QString kCidade = QStringLiteral("Cidade");

// Fills cdsRelatGrupoClientes from the customers in view: one row per city,
// blanks around the name dropped and letter case ignored, named as written
// for its first customer. A hash on the folded name keeps it one pass over
// the customers however many cities there are.
void agruparPorCidade(const ConjuntoDados &clientes, ConjuntoDados &grupos)
{
    QHash<QString, int> posicao;
    std::vector<std::pair<QString, int>> cidades;
    const int campo = clientes.indiceCampoOuErro(kCidade);
    for (int i = 0; i < clientes.quantidade(); ++i) {
        const QString cidade = clientes.registro(i).campo(campo).texto().trimmed();
        auto it = posicao.constFind(cidade.toCaseFolded());
        if (it == posicao.cend()) {
            it = posicao.insert(cidade.toCaseFolded(), static_cast<int>(cidades.size()));
            cidades.emplace_back(cidade, 0);
        }
        ++cidades[static_cast<std::size_t>(it.value())].second;
    }
    for (const auto &[cidade, quantidade] : cidades) {
        grupos.inserir();
        grupos.campo(Campos::GrupoClientes::CIDADE).setTexto(cidade);
        grupos.campo(Campos::GrupoClientes::QUANTIDADE).setInteiro(quantidade);
        grupos.gravar();
    }
    grupos.primeiro();
}

} // namespace

void RelatorioClientes(ListaClientes lista)
{
    if (DM->QyCliente.emEdicao())
        return;
    const QString cidade =
        CaixaEntrada(QStringLiteral("Relatório por cidade"), QStringLiteral("Digite a cidade:"), QString());
    const EstadoGuardado guardado(DM->QyCliente, Campos::Cliente::IdCliente);
    if (!cidade.isEmpty())
        Filtrar(DM->QyCliente, kCidade + QStringLiteral(" LIKE ") + EntreAspas(cidade + QLatin1Char('%')));
    const FonteResumo clientes(
        QStringLiteral("rvdsCliente"), DM->QyCliente,
        {{QStringLiteral("DATA_EMISSAO"), DataEmissao()}, {QStringLiteral("CIDADE_RELATORIO"), cidade}});
    const bool simples = lista == ListaClientes::Simples;
    GerarRelatorioPDF(
        simples ? QStringLiteral("todos-clientes-simples.rav") : QStringLiteral("todos-clientes.rav"),
        CaminhoRelatorio(simples ? QStringLiteral("todos-clientes-simples-") : QStringLiteral("todos-clientes-"),
                         QStringLiteral(".pdf")),
        {&clientes});
}

void RelatorioClientesPorCidades()
{
    if (DM->QyCliente.emEdicao())
        return;
    const EstadoGuardado guardado(DM->QyCliente, Campos::Cliente::IdCliente);
    const TabelaTemporaria tabela(DM->cdsRelatGrupoClientes);
    agruparPorCidade(DM->QyCliente, DM->cdsRelatGrupoClientes);
    const FonteResumo grupos(QStringLiteral("rvdsRelatGrupoClientes"), DM->cdsRelatGrupoClientes,
                             {{QStringLiteral("DATA_EMISSAO"), DataEmissao()}}, {Campos::GrupoClientes::QUANTIDADE});
    GerarRelatorioPDF(QStringLiteral("grupo-clientes.rav"),
                      CaminhoRelatorio(QStringLiteral("grupo-clientes-"), QStringLiteral(".pdf")), {&grupos});
}
