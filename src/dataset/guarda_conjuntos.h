#pragma once

#include "conjunto_dados.h"

#include <QString>
#include <QVariant>
#include <utility>
#include <vector>

// Puts shared data sets back as they were before some work changed them (a
// report narrowing a list, a purge filtering it, a save that failed) when
// the guard goes out of scope, an exception included:
//
//   GuardaConjuntos guarda(DM->QyPedido, GuardaConjuntos::Filtro::Anterior, Campos::Pedido::nr_pedido);
//   ... filter, move, render ...
//
// Sets are put back in the order given. A failure while putting one back is
// dropped and the next is still put back: the set was in that state a moment
// ago, and the error that ended the work may be on its way to the user.
class GuardaConjuntos
{
  public:
    // What becomes of a set's filter.
    enum class Filtro {
        // The one it had, applied again: rows stored meanwhile are judged by it.
        Anterior,
        // None, whatever it had.
        Desligado,
    };

    // One set to put back. A row the work left being edited is abandoned,
    // unless the set was already being edited when guarded.
    struct Item {
        ConjuntoDados &conjunto;
        Filtro filtro = Filtro::Anterior;
        // The column whose value finds the current row again; empty to leave
        // the cursor where the work left it.
        QString chave = {};
        // The value to find; empty for that of the current row when guarded.
        QString valor = {};
    };

    explicit GuardaConjuntos(const std::vector<Item> &itens);
    GuardaConjuntos(ConjuntoDados &conjunto, Filtro filtro, const QString &chave = {});
    // What is typed in each set: its state, its current record and the
    // stored fields of the row being edited. For work in a transaction,
    // whose rollback reopens the sets it wrote through and abandons their
    // editing; putting the drafts back gives the user the screen as it was.
    // Filters are left alone. Headers first: a restored item takes its
    // order's number.
    static GuardaConjuntos rascunhos(const std::vector<ConjuntoDados *> &conjuntos);

    ~GuardaConjuntos();
    GuardaConjuntos(const GuardaConjuntos &) = delete;
    GuardaConjuntos &operator=(const GuardaConjuntos &) = delete;

    // The work succeeded and its changes stay: nothing is put back.
    void manter() { m_manter = true; }

  private:
    struct Salvo {
        ConjuntoDados *conjunto;
        bool rascunho = false;
        // A view: whether it was being edited, its filter and the row to find.
        bool emEdicao = false;
        Filtro destino = Filtro::Anterior;
        QString filtro = {};
        bool filtrado = false;
        QString chave = {};
        QString valor = {};
        // A draft: the state, the record and what was typed in it.
        EstadoConjunto estado = EstadoConjunto::Inativo;
        int registro = 0;
        std::vector<std::pair<int, QVariant>> valores = {};
    };

    explicit GuardaConjuntos(std::vector<Salvo> salvos) : m_salvos(std::move(salvos)) {}
    static void restaurarVista(const Salvo &s);
    static void restaurarRascunho(const Salvo &s);

    std::vector<Salvo> m_salvos;
    bool m_manter = false;
};
