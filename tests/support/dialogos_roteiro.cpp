#include "dialogos_roteiro.h"

#include "logica_pesquisa.h"

#include <gtest/gtest.h>

#include <stdexcept>

DialogosRoteiro::DialogosRoteiro()
{
    Dialogos::definir(this);
}

DialogosRoteiro::~DialogosRoteiro()
{
    Dialogos::definir(nullptr);
}

DialogosRoteiro &DialogosRoteiro::responder(Resposta r)
{
    m_roteiro.push_back(r);
    return *this;
}

DialogosRoteiro &DialogosRoteiro::confirmarTexto(const QString &texto)
{
    m_roteiro.push_back(RespostaTexto{true, texto});
    return *this;
}

DialogosRoteiro &DialogosRoteiro::cancelarTexto()
{
    m_roteiro.push_back(RespostaTexto{false, {}});
    return *this;
}

DialogosRoteiro &DialogosRoteiro::entrada(const QString &texto)
{
    m_roteiro.push_back(texto);
    return *this;
}

DialogosRoteiro &DialogosRoteiro::pesquisa(std::function<void(LogicaPesquisa &)> passos)
{
    m_roteiro.push_back(PassosPesquisa(std::move(passos)));
    return *this;
}

DialogosRoteiro &DialogosRoteiro::escolher(const QList<bool> &marcas)
{
    m_roteiro.push_back(Escolha{marcas, false});
    return *this;
}

DialogosRoteiro &DialogosRoteiro::aceitarEscolha()
{
    m_roteiro.push_back(Escolha{QList<bool>{}, true});
    return *this;
}

DialogosRoteiro &DialogosRoteiro::cancelarEscolha()
{
    m_roteiro.push_back(Escolha{std::nullopt, false});
    return *this;
}

DialogosRoteiro &DialogosRoteiro::escolherLinhaDaTabela(std::optional<int> linha)
{
    m_roteiro.push_back(EscolhaLinha{linha});
    return *this;
}

QStringList DialogosRoteiro::textos() const
{
    QStringList lista;
    for (const Registro &r : m_registros)
        lista << r.texto;
    return lista;
}

QStringList DialogosRoteiro::textos(const QString &tipo) const
{
    QStringList lista;
    for (const Registro &r : m_registros)
        if (r.tipo == tipo)
            lista << r.texto;
    return lista;
}

DialogosRoteiro::Registro &DialogosRoteiro::registrar(const QString &tipo, const QString &titulo, const QString &texto)
{
    Registro r;
    r.tipo = tipo;
    r.titulo = titulo;
    r.texto = texto;
    m_registros.push_back(r);
    return m_registros.back();
}

template <typename T> T DialogosRoteiro::proxima(const QString &oQue)
{
    if (m_roteiro.empty() || !std::holds_alternative<T>(m_roteiro.front())) {
        ADD_FAILURE() << "roteiro sem resposta para: " << oQue.toStdString();
        throw std::logic_error("roteiro sem resposta");
    }
    T r = std::get<T>(m_roteiro.front());
    m_roteiro.pop_front();
    return r;
}

void DialogosRoteiro::mensagem(const QString &texto, const QString &titulo, Icone icone)
{
    registrar(QStringLiteral("mensagem"), titulo, texto).icone = icone;
}

Resposta DialogosRoteiro::pergunta(const QString &texto, const QString &titulo, Resposta padrao)
{
    Registro &r = registrar(QStringLiteral("pergunta"), titulo, texto);
    r.icone = Icone::Pergunta;
    r.padrao = padrao;
    return proxima<Resposta>(texto);
}

RespostaTexto DialogosRoteiro::caixaTexto(const QString &titulo, const QString &rotulo, const QString &padrao,
                                          bool mascarado)
{
    Registro &r = registrar(QStringLiteral("caixaTexto"), titulo, rotulo);
    r.padraoTexto = padrao;
    r.mascarado = mascarado;
    return proxima<RespostaTexto>(rotulo);
}

void DialogosRoteiro::pesquisar(LogicaPesquisa &logica)
{
    registrar(QStringLiteral("pesquisa"), {}, {});
    logica.iniciar();
    proxima<PassosPesquisa>(QStringLiteral("pesquisa"))(logica);
}

QString DialogosRoteiro::caixaEntrada(const QString &titulo, const QString &rotulo, const QString &padrao)
{
    registrar(QStringLiteral("caixaEntrada"), titulo, rotulo).padraoTexto = padrao;
    return proxima<QString>(rotulo);
}

void DialogosRoteiro::abrirArquivo(const QString &caminho)
{
    registrar(QStringLiteral("abrir"), {}, caminho);
}

void DialogosRoteiro::iniciarPrograma(const QString &caminho)
{
    registrar(QStringLiteral("iniciar"), {}, caminho);
}

void DialogosRoteiro::tabela(const TabelaDialogo &tabela)
{
    registrar(QStringLiteral("tabela"), tabela.titulo, tabela.introducao);
    m_tabelas.push_back(tabela);
}

std::optional<QList<bool>> DialogosRoteiro::escolher(const QString &titulo, const QString &texto,
                                                     const QList<OpcaoMarcada> &opcoes)
{
    registrar(QStringLiteral("escolha"), titulo, texto);
    m_escolhas.push_back(opcoes);
    const Escolha e = proxima<Escolha>(texto);
    if (!e.manterMarcas)
        return e.marcas;
    QList<bool> marcas;
    for (const OpcaoMarcada &o : opcoes)
        marcas << o.marcada;
    return marcas;
}

std::optional<int> DialogosRoteiro::escolherLinha(const TabelaDialogo &tabela)
{
    registrar(QStringLiteral("linhas"), tabela.titulo, tabela.introducao);
    m_tabelas.push_back(tabela);
    return proxima<EscolhaLinha>(tabela.introducao).linha;
}
