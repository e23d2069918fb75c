#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>

// Fetches one file from an FTP server: log in, change into a folder, passive
// mode, binary transfers. One control connection serves every request of an
// instance and is closed by desconectar() or the destructor.
//
// Every failure (server unreachable, login refused, folder or file missing,
// a broken or short transfer, a server that stops answering) throws Erro. A
// server that sends nothing for `segundosSemDados` is given up on, so a dead
// server cannot hang the program.
class ClienteFtp
{
  public:
    struct Configuracao {
        QString host; // "host" or "host:porta"; port 21 by default
        QString usuario;
        QString senha;
        QString pasta; // relative to the login folder; "/..." from the root
        bool passivo = true;
        long segundosParaConectar = 30;
        long segundosSemDados = 60;
    };
    // Called while a request runs: the bytes received so far (0 outside a
    // download). The program lets the window breathe there.
    using Andamento = std::function<void(qint64)>;

    ClienteFtp(Configuracao configuracao, Andamento andamento);
    ~ClienteFtp();
    ClienteFtp(const ClienteFtp &) = delete;
    ClienteFtp &operator=(const ClienteFtp &) = delete;

    // Connects, logs in and changes into the folder.
    void conectar();
    bool conectado() const { return m_conectado; }
    // The size in bytes of a file in the folder.
    qint64 tamanho(const QString &arquivo);
    // Downloads a file of the folder into `destino`, replacing it. A transfer
    // that breaks off leaves no file behind.
    void baixar(const QString &arquivo, const QString &destino);
    void desconectar();

  private:
    struct Sessao;
    QByteArray url(const QString &arquivo) const;
    void executar(const char *oQue);

    Configuracao m_cfg;
    Andamento m_andamento;
    std::unique_ptr<Sessao> m_sessao;
    bool m_conectado = false;
};
