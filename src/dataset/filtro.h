#pragma once

#include <QString>
#include <memory>
#include <string>
#include <vector>

class ConjuntoDados;

// A filter expression over a data set's fields, parsed once into a tree and
// evaluated per row:
//
//   campo = 'texto'        campo <> 'texto'    (also <, <=, >, >=)
//   campo = 0              campo >= 0          (numbers, quoted or not)
//   campo = 'True'         (Booleans given as quoted or bare text)
//   campo <> NULL          campo = NULL
//   campo LIKE '*texto%'   (* or % stand for any run of characters)
//   REGIAO = 07            (a text column against digits as written)
//   data >= '01/10/2010 00:00:00'   data <= 31/10/2010  (start of that day)
//   cond AND cond, cond OR cond, ( ... )
//
// Inside quotes a doubled quote stands for one. Text comparisons ignore letter
// case for every letter (É = é). A NULL satisfies only "= NULL".
class Filtro
{
  public:
    struct No;

    ~Filtro();

    // Throws Erro with a clear text when the expression is malformed or
    // names an unknown field. An empty text gives no filter (nullptr).
    static std::unique_ptr<Filtro> analisar(const QString &texto, const ConjuntoDados &conjunto);
    // The comparison locate makes: the field equal to the value, text
    // ignoring case. nullptr when the value cannot be a value of the field.
    static std::unique_ptr<Filtro> igualdade(const ConjuntoDados &conjunto, int campo, const QString &valor);

    // `linha` is a row reference of the data set.
    bool aceita(const ConjuntoDados &conjunto, int linha) const;

    // What locate's comparison sees in a value, so that an index can stand
    // in for it: a row matches a value exactly when both have a key and the
    // keys are equal, or either side matches everything (a NaN compares
    // equal to every number). Nenhuma: a row or value that matches nothing.
    struct Chave {
        enum class Tipo { Nenhuma, Valor, Todas };
        Tipo tipo = Tipo::Nenhuma;
        std::string bytes;
    };
    // The keys of the rows `linhas` (row references), in their order.
    static std::vector<Chave> chavesDasLinhas(const ConjuntoDados &conjunto, int campo, const std::vector<int> &linhas);
    static Chave chaveDoValor(const ConjuntoDados &conjunto, int campo, const QString &valor);

  private:
    explicit Filtro(std::unique_ptr<No> raiz);
    std::unique_ptr<No> m_raiz;
};
