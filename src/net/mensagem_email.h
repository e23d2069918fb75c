#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// One mail as the program describes it. The address texts are address lists:
// several addresses separated by commas, each optionally with a display name
// ("Fulano de Tal <f@x.com>, b@y.com").
struct MensagemEmail {
    QString remetente;     // its first address is also the envelope sender
    QString nomeRemetente; // display name shown with the sender address
    QString responderPara; // empty: no Reply-To header
    QString destinatarios;
    QString assunto;
    QStringList corpo;  // lines; a line's own CR or LF also breaks it
    QStringList anexos; // file paths; each shown under its file name
};

// The message ready for SMTP: From, Reply-To (when set), To, Subject, Date and
// Message-ID headers, non-ASCII text encoded; a UTF-8 text/plain body with
// every attachment uuencoded after the text; CRLF line ends throughout.
// Throws Erro when an attachment cannot be read.
QByteArray comporMensagem(const MensagemEmail &mensagem);
