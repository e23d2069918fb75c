#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One value as stored: NULL, a whole number, a floating-point number or UTF-8
// text. Money (ten-thousandths), date-times (seconds) and Booleans (0/1) are
// whole numbers; the field's type says how to read them. A text points into
// storage that outlives the cell, or into `dono` when the cell owns it.
struct Celula {
    enum class Tipo : std::uint8_t { Nulo, Inteiro, Real, Texto };
    Tipo tipo = Tipo::Nulo;
    qint64 inteiro = 0;
    double real = 0;
    const char *texto = nullptr;
    qsizetype tamanho = 0;
    QByteArray dono;

    bool nula() const { return tipo == Tipo::Nulo; }
    QByteArrayView bytes() const { return QByteArrayView(texto, tamanho); }

    static Celula deInteiro(qint64 v);
    static Celula deReal(double v);
    // Copies the text into the cell.
    static Celula deTexto(QByteArray utf8);
    // A cell that owns a copy of its text, safe to keep after the rows go.
    Celula copia() const;
};

// Builds one packed row: a type tag per column followed by the values, with
// NULLs, zeros and ones taking no value bytes and whole numbers only the bytes
// they need. Columns may be given in any order.
class CodificadorLinha
{
  public:
    void iniciar(int colunas);
    void definir(int coluna, const Celula &c);
    void definirInteiro(int coluna, qint64 v);
    void definirReal(int coluna, double v);
    void definirTexto(int coluna, const char *utf8, qsizetype tamanho);
    qsizetype tamanho() const;
    void escrever(char *destino) const;

  private:
    struct Pedaco {
        std::uint32_t inicio = 0;
        std::uint32_t tamanho = 0;
    };
    void anexar(int coluna, std::uint8_t tag, const void *bytes, std::size_t tamanho);

    std::vector<std::uint8_t> m_tags;
    std::vector<Pedaco> m_pedacos;
    std::string m_valores;
    // Columns given in increasing order, each once, leave the values already
    // packed in `m_valores`: the row is then two copies.
    bool m_emOrdem = true;
    int m_ultima = -1;
};

// Every fetched row of a data set, packed into large blocks. A row never
// changes in place: storing a changed row packs it anew, so a row pointer
// stays valid for as long as its block is referenced.
class LinhasCompactas
{
  public:
    struct Bloco {
        std::unique_ptr<char[]> dados;
        std::size_t usado = 0;
        std::size_t capacidade = 0;
    };
    using Blocos = std::vector<std::shared_ptr<Bloco>>;

    void redefinir(int colunas);
    int colunas() const { return m_colunas; }
    int quantidade() const { return static_cast<int>(m_linhas.size()); }

    int acrescentar(const CodificadorLinha &linha);
    void substituir(int linha, const CodificadorLinha &nova);
    const char *linha(int i) const { return m_linhas[static_cast<std::size_t>(i)]; }
    Celula celula(int linha, int coluna) const { return celula(this->linha(linha), m_colunas, coluna); }
    const Blocos &blocos() const { return m_blocos; }

    static Celula celula(const char *linha, int colunas, int coluna);
    // Every cell of a row, in one pass; texts point into the row's block.
    std::vector<Celula> celulas(int linha) const;
    // The block that holds a row, which keeps the row's bytes alive.
    std::shared_ptr<const Bloco> blocoDe(int linha) const;

  private:
    const char *guardar(const CodificadorLinha &linha);

    int m_colunas = 0;
    Blocos m_blocos;
    std::vector<const char *> m_linhas;
};
