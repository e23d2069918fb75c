#pragma once

#include "fonte_relatorio.h"

#include <QMap>
#include <QString>
#include <vector>

class ConjuntoDados;

// What every management report shares: the output path, the input box, the
// render-and-open tail, and putting a data set back as the user had it.

// PathSistema + "relatórios/" + prefix + today as ddmmyyyy + extension.
QString CaminhoRelatorio(const QString &prefixo, const QString &extensao);

// The plain input box: OK gives the text typed, Cancel the default.
QString CaixaEntrada(const QString &titulo, const QString &rotulo, const QString &padrao);

// Deletes an earlier output file, renders the template of the program
// folder over the connections to the PDF and opens it. Errors reach the
// caller.
void GerarRelatorioPDF(const QString &modelo, const QString &arquivoPdf,
                       const std::vector<const FonteRelatorio *> &fontes,
                       const QMap<QString, QString> &parametros = {});

// "dd/mm/yyyy hh:mm" of now, the issue date the reports print.
QString DataEmissao();

// Text in single quotes, a quote inside doubled.
QString EntreAspas(const QString &texto);

// Sets and switches on a filter.
void Filtrar(ConjuntoDados &conjunto, const QString &filtro);

// Keeps a data set's filter and, when asked, the key of its current row,
// and puts both back when it goes out of scope, a failed report included.
class EstadoGuardado
{
  public:
    // `chave`: the column whose value finds the current row again; empty to
    // leave the cursor alone.
    EstadoGuardado(ConjuntoDados &conjunto, const QString &chave = {});
    ~EstadoGuardado();
    EstadoGuardado(const EstadoGuardado &) = delete;
    EstadoGuardado &operator=(const EstadoGuardado &) = delete;

    const QString &filtro() const { return m_filtro; }

  private:
    ConjuntoDados &m_conjunto;
    QString m_filtro;
    bool m_filtrado;
    QString m_chave;
    QString m_valorChave;
};

// An in-memory table that exists only while its report runs: created empty
// here, emptied and closed when the report ends.
class TabelaTemporaria
{
  public:
    explicit TabelaTemporaria(ConjuntoDados &tabela);
    ~TabelaTemporaria();
    TabelaTemporaria(const TabelaTemporaria &) = delete;
    TabelaTemporaria &operator=(const TabelaTemporaria &) = delete;

  private:
    ConjuntoDados &m_tabela;
};
