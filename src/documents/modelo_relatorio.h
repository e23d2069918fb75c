#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A report template split where it declares repeated bands. A band is a
// table marked banda="CONEXAO" whose rows repeat inside
// {{#CONEXAO.linhas}} ... {{/CONEXAO.linhas}}: the engine paints those rows
// itself. The rest of the template (blocks before, between and after the
// bands) is rich text.
struct FaixaModelo {
    QString conexao;
    // From the opening <table ...> up to the row section: the header
    // (<thead>) and rows printed once.
    QString antes;
    // The row repeated for each row of the connection: one <tr>.
    QString linha;
    // The cells' sources inside that row, each without its <td> tags.
    QStringList celulas;
    // From the end of the row section through </table>.
    QString depois;
};

struct ModeloDividido {
    // Everything before the body (the <head> with its style), ending with
    // the <body> tag when the template has one.
    QString cabeca;
    // The rich blocks: one before each band and one after the last.
    QStringList textos;
    QList<FaixaModelo> faixas;
};

// Throws Erro ("Modelo de relatório inválido: ...") when a band is not
// built as above.
ModeloDividido DividirModelo(const QString &modelo, const QString &arquivoModelo);
