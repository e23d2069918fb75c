#include "fonte_resumo.h"

#include "conjunto_dados.h"
#include "valor_campo.h"

namespace
{

// The sum of a field over the rows in view, NULLs left out: exact for money
// and whole numbers, to the cent for other numbers.
QString total(const ConjuntoDados &conjunto, const QString &nome)
{
    const int indice = conjunto.indiceCampoOuErro(nome);
    const DefCampo &def = conjunto.defCampo(indice);
    Dinheiro soma;
    qint64 inteiros = 0;
    const bool inteiro = def.tipo == TipoCampo::Inteiro || def.tipo == TipoCampo::Word;
    for (int i = 0; i < conjunto.quantidade(); ++i) {
        const Campo campo = conjunto.registro(i).campo(indice);
        if (campo.nulo())
            continue;
        if (inteiro)
            inteiros += campo.inteiro();
        else if (def.tipo == TipoCampo::Moeda)
            soma += campo.dinheiro();
        else
            soma += Dinheiro::deDouble(campo.real());
    }
    if (inteiro)
        return QString::number(inteiros);
    return ValorCampo::formatar(soma, def.formatoExibicao ? def.formatoExibicao : kFormatoMoeda);
}

} // namespace

FonteResumo::FonteResumo(QString nome, const ConjuntoDados &conjunto, CamposRelatorio doRelatorio, QStringList somados,
                         CalculoLinha calculo)
    : FonteConjunto(std::move(nome), conjunto), m_conjunto(conjunto), m_doRelatorio(std::move(doRelatorio)),
      m_somados(std::move(somados)), m_calculo(std::move(calculo))
{
}

CamposRelatorio FonteResumo::registroAtual() const
{
    CamposRelatorio campos = FonteConjunto::registroAtual();
    if (!m_conjunto.ativo())
        return campos;
    campos.insert(m_doRelatorio);
    campos.insert(QStringLiteral("QTD_LINHAS"), QString::number(m_conjunto.quantidade()));
    for (const QString &nome : m_somados)
        campos.insert(QStringLiteral("TOTAL_") + nome, total(m_conjunto, nome));
    return campos;
}

QList<CamposRelatorio> FonteResumo::linhas() const
{
    QList<CamposRelatorio> resultado = FonteConjunto::linhas();
    if (m_calculo)
        for (int i = 0; i < resultado.size(); ++i)
            m_calculo(m_conjunto.registro(i), resultado[i]);
    return resultado;
}
