#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

class ConjuntoDados;
class QButtonGroup;

// Controls bound to one field of a data set's current row. Each shows the
// field's value and follows the set's moves, writes and state changes; it
// accepts a change only while the set is being edited or inserted. A box
// writes what was typed into the field when it is committed: on leaving it,
// or when a screen commits it before storing the row. A value the field
// refuses is shown in the error box and the box shows the field again.

// An entry of a fixed list: the text shown and the value stored.
using EntradaLista = std::pair<QString, QString>;
std::vector<EntradaLista> EntradasIguais(const QStringList &textos);

// A one-line edit box.
class CaixaVinculada : public QLineEdit
{
    Q_OBJECT
  public:
    CaixaVinculada(ConjuntoDados &conjunto, const QString &campo, QWidget *pai = nullptr);
    // Display only, never typed in.
    void setSomenteExibicao(bool somente);
    // Typed letters become capitals.
    void setMaiusculas(bool maiusculas) { m_maiusculas = maiusculas; }
    void confirmar();
    // Takes the focus ready for typing: a masked box puts the cursor on its
    // first blank, or selects a full text to be typed over.
    void focarParaDigitar();

  Q_SIGNALS:
    // The focus left the box, after the commit.
    void saiu();

  protected:
    void focusInEvent(QFocusEvent *evento) override;
    void focusOutEvent(QFocusEvent *evento) override;
    void mousePressEvent(QMouseEvent *evento) override;

  private:
    void paraMaiusculas(const QString &texto);
    // The first blank of a masked box, or -1 when it has none.
    int primeiraVazia() const;
    // A masked box takes digits only at a blank: the cursor goes to the
    // first one, or the whole text is selected to be typed over.
    void prepararMascara();
    // A move or a state change shows the field afresh; a write elsewhere in
    // the row leaves a text being typed alone.
    void atualizar(bool descartarDigitado);

    ConjuntoDados &m_conjunto;
    QString m_campo;
    bool m_somenteExibicao = false;
    bool m_maiusculas = false;
};

// A multi-line edit box.
class MemoVinculado : public QPlainTextEdit
{
    Q_OBJECT
  public:
    MemoVinculado(ConjuntoDados &conjunto, const QString &campo, QWidget *pai = nullptr);
    void confirmar();

  Q_SIGNALS:
    void saiu();

  protected:
    void focusOutEvent(QFocusEvent *evento) override;

  private:
    void atualizar(bool descartarDigitado);

    ConjuntoDados &m_conjunto;
    QString m_campo;
    bool m_digitado = false;
    bool m_mostrando = false;
};

// A drop-down list of fixed entries; a value without an entry shows none.
class ListaVinculada : public QComboBox
{
    Q_OBJECT
  public:
    ListaVinculada(ConjuntoDados &conjunto, const QString &campo, const std::vector<EntradaLista> &entradas,
                   QWidget *pai = nullptr);

    void showPopup() override;

  Q_SIGNALS:
    void saiu();

  protected:
    void focusOutEvent(QFocusEvent *evento) override;

  private:
    void escolhida(int indice);
    void atualizar();

    ConjuntoDados &m_conjunto;
    QString m_campo;
    std::vector<EntradaLista> m_entradas;
};

// A drop-down list of the rows of another data set: it shows one of their
// fields and stores another (the key).
class ListaLookupVinculada : public QComboBox
{
    Q_OBJECT
  public:
    ListaLookupVinculada(ConjuntoDados &conjunto, const QString &campo, ConjuntoDados &lista,
                         const QString &campoExibido, const QString &campoChave, QWidget *pai = nullptr);
    void showPopup() override;

  private:
    void carregar();
    void escolhida(int indice);
    void atualizar();

    ConjuntoDados &m_conjunto;
    QString m_campo;
    ConjuntoDados &m_lista;
    QString m_exibido;
    QString m_chave;
    QStringList m_chaves;
};

// Radio buttons in a framed box, laid out in columns.
class OpcoesVinculadas : public QGroupBox
{
    Q_OBJECT
  public:
    OpcoesVinculadas(const QString &titulo, ConjuntoDados &conjunto, const QString &campo,
                     const std::vector<EntradaLista> &entradas, int colunas, QWidget *pai = nullptr);

  private:
    void escolhida(int indice);
    void atualizar();

    ConjuntoDados &m_conjunto;
    QString m_campo;
    std::vector<EntradaLista> m_entradas;
    QButtonGroup *m_grupo;
};

// A display of a field's text.
class RotuloVinculado : public QLabel
{
    Q_OBJECT
  public:
    RotuloVinculado(ConjuntoDados &conjunto, const QString &campo, QWidget *pai = nullptr);

  private:
    void atualizar();

    ConjuntoDados &m_conjunto;
    QString m_campo;
};
