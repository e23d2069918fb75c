#include "controles_vinculados.h"

#include "conjunto_dados.h"
#include "erro.h"
#include "ufunc.h"

#include <QButtonGroup>
#include <QFocusEvent>
#include <QGridLayout>
#include <QRadioButton>

namespace
{

// The focus went to another window (a message box, a menu): the box was not
// left, as far as the screen is concerned.
bool saidaReal(const QFocusEvent *evento)
{
    return evento->reason() != Qt::ActiveWindowFocusReason && evento->reason() != Qt::PopupFocusReason;
}

// Writes a text into the current row's field; an empty text empties it.
// False when the field refused it (the error was shown).
bool escrever(ConjuntoDados &conjunto, const QString &campo, const QString &texto)
{
    bool gravado = false;
    ExecutarProtegido([&] {
        Campo c = conjunto.campo(campo);
        if (texto.isEmpty())
            c.limpar();
        else
            c.setTexto(texto);
        gravado = true;
    });
    return gravado;
}

template <typename Atualizar> void seguir(QObject *controle, ConjuntoDados &conjunto, Atualizar atualizar)
{
    QObject::connect(&conjunto, &ConjuntoDados::dadosAlterados, controle, atualizar);
    QObject::connect(&conjunto, &ConjuntoDados::registroMudou, controle, atualizar);
    QObject::connect(&conjunto, &ConjuntoDados::estadoMudou, controle, atualizar);
}

} // namespace

std::vector<EntradaLista> EntradasIguais(const QStringList &textos)
{
    std::vector<EntradaLista> entradas;
    for (const QString &t : textos)
        entradas.emplace_back(t, t);
    return entradas;
}

// ---------------------------------------------------------------- CaixaVinculada

CaixaVinculada::CaixaVinculada(ConjuntoDados &conjunto, const QString &campo, QWidget *pai)
    : QLineEdit(pai), m_conjunto(conjunto), m_campo(campo)
{
    connect(&conjunto, &ConjuntoDados::registroMudou, this, [this] { atualizar(true); });
    connect(&conjunto, &ConjuntoDados::estadoMudou, this, [this] { atualizar(true); });
    connect(&conjunto, &ConjuntoDados::dadosAlterados, this, [this] { atualizar(false); });
    connect(this, &QLineEdit::textEdited, this, &CaixaVinculada::paraMaiusculas);
    atualizar(true);
}

void CaixaVinculada::setSomenteExibicao(bool somente)
{
    m_somenteExibicao = somente;
    atualizar(true);
}

void CaixaVinculada::paraMaiusculas(const QString &texto)
{
    if (!m_maiusculas || texto == texto.toUpper())
        return;
    const int posicao = cursorPosition();
    setText(texto.toUpper());
    setCursorPosition(posicao);
    setModified(true);
}

void CaixaVinculada::atualizar(bool descartarDigitado)
{
    const bool editavel = !m_somenteExibicao && m_conjunto.emEdicao();
    setReadOnly(!editavel);
    if (isModified() && editavel && !descartarDigitado)
        return;
    const Campo campo = m_conjunto.campo(m_campo);
    setText(editavel && hasFocus() ? campo.textoEdicao() : campo.textoExibicao());
    setModified(false);
    if (!hasFocus())
        setCursorPosition(0); // a long text shows its beginning
    else
        prepararMascara();
}

int CaixaVinculada::primeiraVazia() const
{
    const QString mascara = inputMask();
    if (mascara.isEmpty())
        return -1;
    const qsizetype separador = mascara.lastIndexOf(u';');
    const QChar branco = separador >= 0 && separador + 1 < mascara.size() ? mascara.at(separador + 1) : QChar(u' ');
    return static_cast<int>(displayText().indexOf(branco));
}

void CaixaVinculada::prepararMascara()
{
    if (inputMask().isEmpty())
        return;
    if (const int vazia = primeiraVazia(); vazia >= 0)
        setCursorPosition(vazia);
    else
        selectAll();
}

void CaixaVinculada::confirmar()
{
    if (!isModified() || isReadOnly())
        return;
    setModified(false);
    if (!escrever(m_conjunto, m_campo, text()))
        atualizar(true);
}

void CaixaVinculada::focarParaDigitar()
{
    setFocus(Qt::OtherFocusReason);
    prepararMascara();
}

void CaixaVinculada::focusInEvent(QFocusEvent *evento)
{
    QLineEdit::focusInEvent(evento);
    if (!isModified())
        atualizar(true);
    else if (saidaReal(evento) && evento->reason() != Qt::MouseFocusReason)
        prepararMascara();
}

// A click past the typed digits of a masked box would leave the cursor
// where nothing can be typed.
void CaixaVinculada::mousePressEvent(QMouseEvent *evento)
{
    QLineEdit::mousePressEvent(evento);
    const int vazia = primeiraVazia();
    if (vazia >= 0 && !hasSelectedText() && cursorPosition() > vazia)
        setCursorPosition(vazia);
}

void CaixaVinculada::focusOutEvent(QFocusEvent *evento)
{
    QLineEdit::focusOutEvent(evento);
    if (!saidaReal(evento))
        return;
    confirmar();
    if (!isModified())
        atualizar(true);
    Q_EMIT saiu();
}

// ---------------------------------------------------------------- MemoVinculado

MemoVinculado::MemoVinculado(ConjuntoDados &conjunto, const QString &campo, QWidget *pai)
    : QPlainTextEdit(pai), m_conjunto(conjunto), m_campo(campo)
{
    setTabChangesFocus(true);
    connect(&conjunto, &ConjuntoDados::registroMudou, this, [this] { atualizar(true); });
    connect(&conjunto, &ConjuntoDados::estadoMudou, this, [this] { atualizar(true); });
    connect(&conjunto, &ConjuntoDados::dadosAlterados, this, [this] { atualizar(false); });
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_mostrando)
            m_digitado = true;
    });
    atualizar(true);
}

void MemoVinculado::atualizar(bool descartarDigitado)
{
    setReadOnly(!m_conjunto.emEdicao());
    if (m_digitado && m_conjunto.emEdicao() && !descartarDigitado)
        return;
    m_mostrando = true;
    setPlainText(m_conjunto.campo(m_campo).texto());
    m_mostrando = false;
    m_digitado = false;
}

void MemoVinculado::confirmar()
{
    if (!m_digitado || isReadOnly())
        return;
    m_digitado = false;
    if (!escrever(m_conjunto, m_campo, toPlainText()))
        atualizar(true);
}

void MemoVinculado::focusOutEvent(QFocusEvent *evento)
{
    QPlainTextEdit::focusOutEvent(evento);
    if (!saidaReal(evento))
        return;
    confirmar();
    Q_EMIT saiu();
}

// ---------------------------------------------------------------- ListaVinculada

ListaVinculada::ListaVinculada(ConjuntoDados &conjunto, const QString &campo, const std::vector<EntradaLista> &entradas,
                               QWidget *pai)
    : QComboBox(pai), m_conjunto(conjunto), m_campo(campo), m_entradas(entradas)
{
    for (const EntradaLista &e : m_entradas)
        addItem(e.first);
    connect(this, &QComboBox::activated, this, &ListaVinculada::escolhida);
    seguir(this, conjunto, [this] { atualizar(); });
    atualizar();
}

void ListaVinculada::showPopup()
{
    if (m_conjunto.emEdicao())
        QComboBox::showPopup();
}

void ListaVinculada::escolhida(int indice)
{
    if (!m_conjunto.emEdicao() || indice < 0 ||
        !escrever(m_conjunto, m_campo, m_entradas[static_cast<std::size_t>(indice)].second))
        atualizar();
}

void ListaVinculada::atualizar()
{
    const QString valor = m_conjunto.campo(m_campo).texto();
    int indice = -1;
    for (std::size_t i = 0; i < m_entradas.size(); ++i)
        if (m_entradas[i].second == valor)
            indice = static_cast<int>(i);
    setCurrentIndex(indice);
}

void ListaVinculada::focusOutEvent(QFocusEvent *evento)
{
    QComboBox::focusOutEvent(evento);
    if (saidaReal(evento))
        Q_EMIT saiu();
}

// ---------------------------------------------------------------- ListaLookupVinculada

ListaLookupVinculada::ListaLookupVinculada(ConjuntoDados &conjunto, const QString &campo, ConjuntoDados &lista,
                                           const QString &campoExibido, const QString &campoChave, QWidget *pai)
    : QComboBox(pai), m_conjunto(conjunto), m_campo(campo), m_lista(lista), m_exibido(campoExibido), m_chave(campoChave)
{
    connect(this, &QComboBox::activated, this, &ListaLookupVinculada::escolhida);
    connect(&lista, &ConjuntoDados::dadosAlterados, this, [this] { carregar(); });
    seguir(this, conjunto, [this] { atualizar(); });
    carregar();
}

void ListaLookupVinculada::carregar()
{
    clear();
    m_chaves.clear();
    for (int i = 0; i < m_lista.quantidade(); ++i) {
        const Registro r = m_lista.registro(i);
        addItem(r.campo(m_exibido).texto());
        m_chaves.append(r.campo(m_chave).texto());
    }
    atualizar();
}

void ListaLookupVinculada::showPopup()
{
    if (m_conjunto.emEdicao())
        QComboBox::showPopup();
}

void ListaLookupVinculada::escolhida(int indice)
{
    if (!m_conjunto.emEdicao() || indice < 0 || !escrever(m_conjunto, m_campo, m_chaves.at(indice)))
        atualizar();
}

void ListaLookupVinculada::atualizar()
{
    const QString chave = m_conjunto.campo(m_campo).texto();
    setCurrentIndex(chave.isEmpty() ? -1 : static_cast<int>(m_chaves.indexOf(chave)));
}

// ---------------------------------------------------------------- OpcoesVinculadas

OpcoesVinculadas::OpcoesVinculadas(const QString &titulo, ConjuntoDados &conjunto, const QString &campo,
                                   const std::vector<EntradaLista> &entradas, int colunas, QWidget *pai)
    : QGroupBox(titulo, pai), m_conjunto(conjunto), m_campo(campo), m_entradas(entradas),
      m_grupo(new QButtonGroup(this))
{
    auto *grade = new QGridLayout(this);
    for (std::size_t i = 0; i < m_entradas.size(); ++i) {
        auto *opcao = new QRadioButton(m_entradas[i].first, this);
        const int n = static_cast<int>(i);
        m_grupo->addButton(opcao, n);
        grade->addWidget(opcao, n / colunas, n % colunas);
    }
    connect(m_grupo, &QButtonGroup::idClicked, this, &OpcoesVinculadas::escolhida);
    seguir(this, conjunto, [this] { atualizar(); });
    atualizar();
}

void OpcoesVinculadas::escolhida(int indice)
{
    if (!m_conjunto.emEdicao() || !escrever(m_conjunto, m_campo, m_entradas[static_cast<std::size_t>(indice)].second))
        atualizar();
}

void OpcoesVinculadas::atualizar()
{
    const QString valor = m_conjunto.campo(m_campo).texto();
    // Unchecking every button needs the group open for a moment.
    m_grupo->setExclusive(false);
    for (std::size_t i = 0; i < m_entradas.size(); ++i)
        m_grupo->button(static_cast<int>(i))->setChecked(m_entradas[i].second == valor);
    m_grupo->setExclusive(true);
}

// ---------------------------------------------------------------- RotuloVinculado

RotuloVinculado::RotuloVinculado(ConjuntoDados &conjunto, const QString &campo, QWidget *pai)
    : QLabel(pai), m_conjunto(conjunto), m_campo(campo)
{
    seguir(this, conjunto, [this] { atualizar(); });
    atualizar();
}

void RotuloVinculado::atualizar()
{
    setText(m_conjunto.campo(m_campo).textoExibicao());
}
