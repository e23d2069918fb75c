#include "campo.h"

#include "conjunto_dados.h"
#include "valor_campo.h"

Campo::Campo(const ConjuntoDados *conjunto, int indice, int linha)
    : m_conjunto(conjunto), m_indice(indice), m_linha(linha)
{
}

QString Campo::nome() const
{
    return QString::fromUtf8(def().nome);
}

TipoCampo Campo::tipo() const
{
    return def().tipo;
}

const DefCampo &Campo::def() const
{
    return m_conjunto->defCampo(m_indice);
}

bool Campo::nulo() const
{
    return m_conjunto->celula(m_indice, m_linha).nula();
}

QVariant Campo::valor() const
{
    return ValorCampo::variante(m_conjunto->celula(m_indice, m_linha), def());
}

QString Campo::texto() const
{
    return ValorCampo::texto(m_conjunto->celula(m_indice, m_linha), def());
}

qint64 Campo::inteiro() const
{
    return ValorCampo::inteiro(m_conjunto->celula(m_indice, m_linha), def());
}

double Campo::real() const
{
    return ValorCampo::real(m_conjunto->celula(m_indice, m_linha), def());
}

Dinheiro Campo::dinheiro() const
{
    return ValorCampo::dinheiro(m_conjunto->celula(m_indice, m_linha), def());
}

QDateTime Campo::dataHora() const
{
    return ValorCampo::dataHora(m_conjunto->celula(m_indice, m_linha), def());
}

bool Campo::booleano() const
{
    return ValorCampo::booleano(m_conjunto->celula(m_indice, m_linha), def());
}

QString Campo::textoExibicao() const
{
    return ValorCampo::textoExibicao(m_conjunto->celula(m_indice, m_linha), def());
}

QString Campo::textoEdicao() const
{
    return ValorCampo::textoEdicao(m_conjunto->celula(m_indice, m_linha), def());
}

// Writing goes through the data set, which checks its state and the field
// before converting the value.
void Campo::setValor(const QVariant &v)
{
    const_cast<ConjuntoDados *>(m_conjunto)->escrever(m_indice, m_linha, [&] {
        return ValorCampo::deVariante(v, def());
    });
}

void Campo::setTexto(const QString &t)
{
    const_cast<ConjuntoDados *>(m_conjunto)->escrever(m_indice, m_linha, [&] { return ValorCampo::deTexto(t, def()); });
}

void Campo::setInteiro(qint64 v)
{
    const_cast<ConjuntoDados *>(m_conjunto)->escrever(m_indice, m_linha, [&] {
        return ValorCampo::deInteiro(v, def());
    });
}

void Campo::setReal(double v)
{
    const_cast<ConjuntoDados *>(m_conjunto)->escrever(m_indice, m_linha, [&] { return ValorCampo::deReal(v, def()); });
}

void Campo::setDinheiro(Dinheiro v)
{
    const_cast<ConjuntoDados *>(m_conjunto)->escrever(m_indice, m_linha, [&] {
        return ValorCampo::deDinheiro(v, def());
    });
}

void Campo::setDataHora(const QDateTime &v)
{
    const_cast<ConjuntoDados *>(m_conjunto)->escrever(m_indice, m_linha, [&] {
        return ValorCampo::deDataHora(v, def());
    });
}

void Campo::setBooleano(bool v)
{
    const_cast<ConjuntoDados *>(m_conjunto)->escrever(m_indice, m_linha, [&] {
        return ValorCampo::deBooleano(v, def());
    });
}

void Campo::limpar()
{
    const_cast<ConjuntoDados *>(m_conjunto)->escrever(m_indice, m_linha, [] { return Celula(); });
}

Campo Registro::campo(const QString &nome) const
{
    return Campo(m_conjunto, m_conjunto->indiceCampoOuErro(nome), m_linha);
}

Campo Registro::campo(int indice) const
{
    return m_conjunto->campoNaLinha(indice, m_linha);
}
