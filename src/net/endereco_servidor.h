#pragma once

#include <QString>

// A server setting as the user types it: a host name, optionally followed by
// ":porta" ("ftp.empresa.com.br:2121"). An IPv6 address has no port of its own.
struct EnderecoServidor {
    QString host;
    int porta = 0;
};

EnderecoServidor SepararPorta(const QString &valor, int portaPadrao);
