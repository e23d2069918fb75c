#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

class ConjuntoDados;

// A grid's view of a data set: one row per row in view (under the filter),
// display texts as the fields format them. It follows the set's changes and
// never moves its cursor.
class ModeloTabela : public QAbstractTableModel
{
    Q_OBJECT
  public:
    explicit ModeloTabela(ConjuntoDados *conjunto, QObject *parent = nullptr);

    // The fields shown, in order, with their column titles; by default every
    // field under its own name. A name the data set lacks is left out, or,
    // with `manterAusentes`, kept as a column of empty cells.
    void setColunas(const QStringList &campos, const QStringList &titulos = {}, bool manterAusentes = false);
    ConjuntoDados *conjunto() const { return m_conjunto; }
    // The data set's field index shown in a column.
    int campoDaColuna(int coluna) const;

    int rowCount(const QModelIndex &pai = {}) const override;
    int columnCount(const QModelIndex &pai = {}) const override;
    // Display role: the field's display text; edit role: its edit text;
    // alignment: numbers to the right.
    QVariant data(const QModelIndex &indice, int papel = Qt::DisplayRole) const override;
    QVariant headerData(int secao, Qt::Orientation orientacao, int papel = Qt::DisplayRole) const override;

  private:
    ConjuntoDados *m_conjunto;
    QStringList m_nomes;
    QStringList m_titulos;
    bool m_manterAusentes = false;
    struct Coluna {
        int campo;
        QString titulo;
    };
    std::vector<Coluna> m_colunas; // resolved at every reset; none chosen: all fields
};
