#pragma once

#include "campo.h"
#include "definicao_campos.h"
#include "linhas_compactas.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class Conexao;
class Filtro;
struct sqlite3_stmt;

enum class EstadoConjunto { Inativo, Navegacao, Insercao, Edicao };

// How a look-up field finds its row: afresh on every read, or in a copy of
// the other data set's rows taken when this data set opens.
enum class ModoLookup { Atual, Copia };

// A data set: an SQL query with a fixed, ordered field list (look-up and
// calculated fields in their places), whose whole result is fetched when it
// opens and kept compactly in memory. It has a cursor, the states browse /
// insert / edit, filters over the fetched rows, locate, a master-detail link
// and observers for bound views.
//
// Cursor marks: the beginning is marked when the set opens, goes to its first
// row or a move before the first row is attempted; the end when a move past
// the last row is attempted or it goes to its last row. An empty set is at
// both. Moving (and locating, filtering, inserting) while a row is being
// edited first stores the row if a field was written, or abandons it if not.
//
// A new row goes to the end of the set. Rows stored while a filter is on stay
// in view until the filter is applied again.
class ConjuntoDados : public QObject
{
    Q_OBJECT
  public:
    // The row reference of the current row (the row being edited, if any).
    static constexpr int kLinhaAtual = -1;

    // `campos` is the declared field list, kept by reference; without one the
    // fields are those of each result, named as the result names them.
    explicit ConjuntoDados(const QString &nome, const std::vector<DefCampo> *campos = nullptr,
                           QObject *parent = nullptr);
    ~ConjuntoDados() override;

    // Where rows come from: a connection and SQL text, with the table that
    // post and delete write; or, kept in memory, nothing at all.
    void setConexao(Conexao *conexao);
    Conexao *conexao() const { return m_conexao; }
    void setTabela(const QString &tabela);
    QString tabela() const { return m_tabela; }
    void setEmMemoria(bool emMemoria) { m_emMemoria = emMemoria; }
    void setSql(const QString &sql);
    QString sql() const { return m_sql; }
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

    void abrir();
    void fechar();
    void reabrir();
    // The same as reabrir() followed by localizar(coluna, valor), for a set
    // whose rows nobody else has written since it opened: only the rows it
    // stored since then are read again, by their key, and put where the set's
    // order and filter place them, so the cost follows those rows, not the
    // size of the set. Otherwise it reopens in full.
    bool reabrirLocalizando(const QString &coluna, const QString &valor);
    // A new order of the rows already fetched, without reading them again:
    // `sqlChaves` gives the rowid (or the key the database numbers) of the
    // same rows in the wanted order, and the SQL text becomes `sql`, which
    // reads them in that order on the next open. Rows it does not name keep
    // their order after the others. A row being edited is stored or
    // abandoned first; the first row becomes current.
    void reordenar(const QString &sql, const QString &sqlChaves);
    // Open, whether or not its rows have been read yet (abrirAoUsar).
    bool ativo() const { return m_estado != EstadoConjunto::Inativo || m_abrirAoUsar; }
    // Opens the set without reading its rows: they are read the first time
    // anything asks for them (a count, a field, a move, a look-up), or on
    // abrir(). The SQL is checked now, so a missing table or column is
    // reported here as abrir() would report it. Rows already read are
    // dropped at once, so nothing shows rows that are no longer there.
    void abrirAoUsar();
    bool linhasPendentes() const { return m_abrirAoUsar; }
    // Runs the SQL text as a statement without rows; the rows it changed.
    int executar();

    // Cursor: counts and positions are those under the filter.
    int quantidade() const;
    int numeroRegistro() const;
    void primeiro();
    void proximo();
    void anterior();
    void ultimo();
    // Moves to a 1-based record number of the view (a click in a grid).
    void irParaRegistro(int numero);
    bool inicio() const
    {
        carregarSePendente();
        return m_inicio;
    }
    bool fim() const
    {
        carregarSePendente();
        return m_fim;
    }
    bool vazio() const
    {
        carregarSePendente();
        return m_visiveis.empty();
    }

    Campo campo(const QString &nome) const;
    Campo campo(int posicao) const;
    int quantidadeCampos() const { return static_cast<int>(m_campos.size()); }
    // -1 when the set has no such field.
    int indiceCampo(const QString &nome) const;
    // The same, with a missing field an error naming it.
    int indiceCampoOuErro(const QString &nome) const;
    const DefCampo &defCampo(int indice) const { return m_campos[static_cast<std::size_t>(indice)]; }
    // A row read in place, 0-based position in the current view.
    Registro registro(int posicao) const;

    EstadoConjunto estado() const
    {
        carregarSePendente();
        return m_estado;
    }
    bool emEdicao() const
    {
        carregarSePendente();
        return m_estado == EstadoConjunto::Insercao || m_estado == EstadoConjunto::Edicao;
    }
    // A field of the row being edited has been written.
    bool modificado() const { return m_modificado; }
    // A new row at the end of the set, current, with the master's key and
    // the set's defaults.
    void inserir();
    // Editing an empty set inserts, as record buttons expect.
    void editar();
    // Stores the row: INSERT (learning the key the database numbers) or an
    // UPDATE of the fields written. On an error the row stays in editing.
    void gravar();
    void cancelar();
    // Deletes the current row (abandons a row being inserted); the next row
    // becomes current, or the last when there is no next.
    void excluir();
    bool podeModificar() const;

    bool localizar(const QString &coluna, const QString &valor);
    // Where localizar would go for each value, all at once: the 0-based
    // position in view of the first row whose field equals it, or -1 (an
    // empty value finds nothing). The cursor does not move.
    std::vector<int> posicoes(const QString &coluna, const QStringList &valores) const;

    void setFiltro(const QString &filtro);
    QString filtro() const { return m_textoFiltro; }
    void setFiltrado(bool filtrado);
    bool filtrado() const { return m_filtrado; }

    // Detail link: the SQL's parameters (":nr_pedido") take the master's
    // fields of the same names from its current saved row; the set is
    // re-queried whenever the master moves, opens, closes, stores or
    // abandons a row. Without parameters the link has no effect.
    void setMestre(ConjuntoDados *mestre);
    ConjuntoDados *mestre() const { return m_mestre; }
    // Whether a store of the master's row that keeps its key reads this set
    // again, as every other change of the master does. When off, the set
    // keeps its rows (nothing the link follows has changed) and goes to its
    // first row. On by default.
    void setRelerAoGravarMestre(bool reler) { m_relerAoGravarMestre = reler; }
    // `campo` shows the field `def().campoLookup` of the row of `origem` whose
    // `chaveOrigem` equals this row's `chave`, texts ignoring letter case as
    // a locate does.
    void ligarLookup(const QString &campo, const QString &chave, ConjuntoDados *origem, const QString &chaveOrigem,
                     ModoLookup modo);
    void definirCalculo(const QString &campo, std::function<QVariant(const Registro &)> calculo);
    // Runs when a row is inserted, after the master's key has been given to
    // it; values it writes do not count as changes.
    void setAoNovoRegistro(std::function<void(ConjuntoDados &)> aoNovoRegistro);

    // Copies the current row of `origem` into the row being edited, field by
    // field by position, over every position of `origem`.
    void copiarPorPosicao(const ConjuntoDados &origem);

  Q_SIGNALS:
    void dadosAlterados();
    void registroMudou();
    void estadoMudou();
    // For table models: the whole view is replaced, or one row changes.
    void antesRecarregar();
    void recarregado();
    void antesInserirLinha(int posicao);
    void linhaInserida();
    void antesRemoverLinha(int posicao);
    void linhaRemovida();
    void linhaAlterada(int posicao);

  private:
    // Fields, rows read in place, filters and the connection reach the rows
    // through these.
    friend class Campo;
    friend class Registro;
    friend class Filtro;
    friend class Conexao;
    // The value of a field in a row reference (kLinhaAtual or one from a
    // Registro).
    Celula celula(int campo, int linha) const;
    Campo campoNaLinha(int indice, int linha) const;
    void escrever(int campo, int linha, const std::function<Celula()> &valor);
    // Called by the connection when a transaction that wrote through this set
    // is rolled back: the set reopens on the same row if it is still there.
    void recarregarAposDesfazer();

    // Reading the rows of a set opened with abrirAoUsar is a change of its
    // state that readers never see: it happens before they look.
    void carregarSePendente() const
    {
        if (m_abrirAoUsar)
            const_cast<ConjuntoDados *>(this)->abrir();
    }

    // Defined in conjunto_dados_interno.h.
    struct IndiceChave;
    struct IndiceVisao;
    struct Consulta;
    struct Instrucoes;
    struct DestinoEscrita;
    struct Uso;
    struct Lookup {
        int chave = -1;
        ConjuntoDados *origem = nullptr;
        int chaveOrigem = -1;
        int colunaResultado = -1;
        ModoLookup modo = ModoLookup::Atual;
        std::shared_ptr<const IndiceChave> copia;
    };

    // conjunto_dados.cpp: set-up and fields
    void prepararCampos();
    void exigirAtivo() const;
    int linhaFisica(int linha) const;
    QString textoErro(const QString &mensagem) const;

    // conjunto_dados_busca.cpp: fetching
    void buscarLinhas();
    void buscar();
    void buscarNoBanco(Consulta &c);
    void vincularParametros(Consulta &c) const;
    std::vector<int> destinosDasColunas(sqlite3_stmt *st) const;
    std::vector<TipoCampo> tiposDasColunas(sqlite3_stmt *st, const std::vector<int> &destino) const;
    void prepararBusca(Consulta &c, QString sql);
    bool lerLinhas(Consulta &c, const std::vector<int> &destino, const std::vector<int> &ordem);
    std::vector<int> colunasOrdenadasAqui() const;
    void ordenarEmPortugues(const std::vector<int> &ordem);
    void definirCamposDoResultado(Consulta &c);
    void ativar();
    void limparLinhas();

    // conjunto_dados_cursor.cpp: the cursor
    void irPara(int posicao, bool inicio, bool fim);
    void avisarMudancaDeLinha(bool gravacao = false);

    // conjunto_dados_edicao.cpp: the edit buffer
    void exigirEdicao() const;
    void sairDaEdicao();
    void guardarBuffer(int linhaFisica);

    // conjunto_dados_gravacao.cpp: write-back; each store tells whether the
    // database keeps the row exactly as the set holds it
    bool gravarNoBanco();
    void inserirNoBanco();
    bool atualizarNoBanco();
    bool guardadaComoEscrita(const std::vector<int> &colunas);
    const DestinoEscrita &destinoEscrita();
    void excluirNoBanco(int linhaFisica);
    void anotarEscrita();
    void exigirConexao() const;
    Instrucoes &instrucoes();
    void liberarInstrucoes();
    sqlite3_stmt *preparada(sqlite3_stmt *&st, const std::function<QString()> &sql);
    sqlite3_stmt *preparada(std::map<std::vector<int>, sqlite3_stmt *> &mapa, const std::vector<int> &colunas,
                            const std::function<QString()> &sql);
    QString nomeColuna(int coluna) const;
    int executarEscrita(sqlite3_stmt *st, const std::vector<int> &colunas, std::optional<qint64> rowid = {});

    // conjunto_dados_releitura.cpp: reading again
    void contarAlteracoes(int alteradas);
    void marcarAlteracoes();
    bool soAsProprias();
    bool leSoASuaTabela();
    bool linhasComoNoBanco();
    qint64 versaoDados();
    int ordemPelaChave() const;
    bool podeRelerGravadas();
    void relerGravadas();
    void posicionarRelida(int linhaFisica, std::vector<int> &linhas, int direcao) const;
    int posicaoPelaChave(qint64 chave, int direcao) const;

    // conjunto_dados_filtro.cpp: locate and filter
    void aplicarFiltro();
    void reaplicarFiltro();
    int posicaoDe(int campo, const QString &valor) const;
    bool usaIndice(int campo) const;
    std::shared_ptr<const IndiceVisao> indiceVisao(int campo) const;

    // conjunto_dados_mestre.cpp: master-detail
    void atualizarPeloMestre(bool gravacao);
    std::string chaveDoMestre() const;
    bool mestreTemLinhaGravada() const;

    // conjunto_dados_lookup.cpp: look-ups
    void tomarCopiasDosLookups();
    std::shared_ptr<const IndiceChave> indice(int campo) const;
    Celula celulaLookup(const Lookup &l, int linha) const;

    // Field list
    const std::vector<DefCampo> *m_declarados;
    std::vector<DefCampo> m_campos;
    std::vector<QByteArray> m_nomesResultado;
    QHash<QString, int> m_porNome;
    QHash<QString, int> m_porNomeExato;                                // names as declared, found without folding
    std::vector<int> m_coluna;                                         // stored column of each field, or -1
    std::vector<int> m_campoDaColuna;                                  // field of each stored column
    int m_colunaAutoInc = -1;                                          // stored column of the key the database numbers
    std::vector<Lookup> m_lookups;                                     // per field
    std::vector<std::function<QVariant(const Registro &)>> m_calculos; // per field

    // Source
    Conexao *m_conexao = nullptr;
    QString m_tabela;
    QString m_sql;
    bool m_emMemoria = false;
    bool m_temRowid = false;
    int m_tag = 0;

    // Rows: every fetched or stored row; the live ones in result order; those
    // in view under the filter; the current one as a position in the view.
    LinhasCompactas m_linhas;
    CodificadorLinha m_codificador;
    std::vector<qint64> m_rowids;
    std::vector<int> m_ordem;
    std::vector<int> m_visiveis;
    int m_atual = -1;
    bool m_inicio = true;
    bool m_fim = true;
    quint64 m_versao = 0;
    mutable std::vector<std::pair<quint64, std::shared_ptr<const IndiceChave>>> m_indices;
    // Locate's indexes: the view's first position of each value, per field,
    // valid while the view and its rows stay as they were (m_versaoVisao).
    quint64 m_versaoVisao = 0;
    mutable std::vector<std::pair<quint64, std::shared_ptr<const IndiceVisao>>> m_indicesVisao;

    // Editing
    EstadoConjunto m_estado = EstadoConjunto::Inativo;
    std::vector<Celula> m_buffer;                                  // per stored column
    std::shared_ptr<const LinhasCompactas::Bloco> m_blocoDoBuffer; // where its unchanged texts are
    std::vector<bool> m_alterados;
    bool m_modificado = false;
    int m_linhaEditada = -1; // physical row
    int m_atualAntesInsercao = -1;
    std::function<void(ConjuntoDados &)> m_aoNovoRegistro;

    // Filter
    QString m_textoFiltro;
    std::unique_ptr<Filtro> m_filtro;
    bool m_filtrado = false;

    // Links
    ConjuntoDados *m_mestre = nullptr;
    std::vector<ConjuntoDados *> m_detalhes;
    QStringList m_parametros;
    bool m_relerAoGravarMestre = true;
    std::string m_chaveMestre; // the master's key values the rows were read for

    // Writing: statements kept prepared; rows stored since the set opened,
    // and what tells whether anyone else changed the database since then
    // (the connection's change counts at opening, and this set's own).
    std::unique_ptr<Instrucoes> m_instrucoes;
    std::vector<int> m_gravadas;
    std::vector<int> m_incertas; // stored rows the database may hold otherwise
    qint64 m_marcaTotal = 0;
    qint64 m_marcaConhecidas = 0;
    qint64 m_marcaTabela = 0;
    qint64 m_proprias = 0;
    qint64 m_marcaVersao = -1;
    bool m_ordemDoBanco = false; // the rows are in the order the database gave them
    int m_leSoASuaTabela = -1;   // whether the SQL reads no other table; -1 not known yet
    bool m_abrirAoUsar = false;
};
