#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// How attachments travel. Uuencode: blocks inside the text body, which some
// importers read; Mime: a multipart message, each file a part of its own with
// its type and name, which every mail program shows as an attachment.
enum class FormatoAnexos { Uuencode, Mime };

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
    FormatoAnexos formato = FormatoAnexos::Uuencode;
    // The Message-ID without angle brackets; empty: a new one. A message
    // kept to be sent again keeps its identity, so a receiver can tell a
    // second copy.
    QString idMensagem;
};

// A new, unique Message-ID (without angle brackets) in the sender's domain.
QString NovoIdMensagem(const QString &remetente);

// The message ready for SMTP: From, Reply-To (when set), To, Subject, Date and
// Message-ID headers, non-ASCII text encoded; a UTF-8 text/plain body, and
// the attachments in the message's format: uuencoded after the text, or as
// base64 parts of a multipart/mixed message (PDF as application/pdf, text
// files as text/plain, anything else application/octet-stream); CRLF line
// ends throughout.
// Throws Erro when an attachment cannot be read.
QByteArray comporMensagem(const MensagemEmail &mensagem);
