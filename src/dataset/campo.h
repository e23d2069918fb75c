#pragma once

#include "definicao_campos.h"
#include "dinheiro.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

class ConjuntoDados;

// A handle on one field of a data set's current row (the row being edited
// while the set is in insert or edit state), or of a row read in place
// through ConjuntoDados::registro. Reading a closed or empty set gives NULL.
// Writing is allowed only on the current row of a set in insert or edit
// state, and never on a read-only, look-up or calculated field.
class Campo
{
  public:
    Campo(const ConjuntoDados *conjunto, int indice, int linha);

    QString nome() const;
    TipoCampo tipo() const;
    const DefCampo &def() const;
    int indice() const { return m_indice; }

    bool nulo() const;
    // NULL: an invalid QVariant; money: a Dinheiro (convertible to double and
    // text); integers: qlonglong; dates: QDateTime.
    QVariant valor() const;
    QString texto() const;
    qint64 inteiro() const;
    double real() const;
    Dinheiro dinheiro() const;
    QDateTime dataHora() const;
    bool booleano() const;
    // Display text: money "1.234,50", dates "DD/MM/YYYY[ hh:mm:ss]".
    QString textoExibicao() const;
    // Text for an edit box: money "1234,50".
    QString textoEdicao() const;

    void setValor(const QVariant &v);
    void setTexto(const QString &t);
    void setInteiro(qint64 v);
    void setReal(double v);
    void setDinheiro(Dinheiro v);
    void setDataHora(const QDateTime &v);
    void setBooleano(bool v);
    void limpar();

  private:
    const ConjuntoDados *m_conjunto;
    int m_indice;
    int m_linha;
};

// One row of a data set read in place: the cursor does not move and the
// state does not change.
class Registro
{
  public:
    Registro(const ConjuntoDados *conjunto, int linha) : m_conjunto(conjunto), m_linha(linha) {}
    const ConjuntoDados *conjunto() const { return m_conjunto; }
    Campo campo(const QString &nome) const;
    Campo campo(int indice) const;

  private:
    const ConjuntoDados *m_conjunto;
    int m_linha;
};
