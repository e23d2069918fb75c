#pragma once

#include "fonte_relatorio.h"

#include <QMap>
#include <QString>
#include <vector>

class ConjuntoDados;

// What every management report shares: the output path, the input box, the
// render-and-open tail.

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
