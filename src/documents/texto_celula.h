#pragma once

#include <QList>
#include <QString>

// A band cell's rendered HTML as the plain text painted in the cell: tags
// dropped except <br> (a line break), <b>/<strong> and <i>/<em> (kept as
// bold and italic runs); entities decoded; white space collapsed as HTML
// does.
struct TextoCelula {
    struct Trecho {
        int inicio = 0;
        int tamanho = 0;
        bool negrito = false;
        bool italico = false;
    };
    QString texto;
    QList<Trecho> trechos; // only the bold or italic runs
};

TextoCelula ConverterCelula(const QString &html);
