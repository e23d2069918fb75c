#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// A mail as a test reads it back from the raw text a server received:
// decoded headers, the text lines before the first attachment, and each
// uuencoded attachment decoded by the uudecode command; of a multipart
// message, the text part's lines and every other part decoded.
struct MensagemRecebida {
    QString de;                // "Name <address>"
    QStringList responderPara; // each "Name <address>" or "address"
    QStringList para;
    QString assunto;
    QStringList linhas;
    QList<QPair<QString, QByteArray>> anexos; // name on the begin line (or of the part), bytes
    QStringList tiposDosAnexos;               // "application/pdf", ... of MIME parts; empty for uuencoded
};

MensagemRecebida LerMensagemRecebida(const QByteArray &bruta);
