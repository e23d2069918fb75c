#pragma once

#include <QString>

class FonteCentral;
class VisaoProgresso;
struct LinkServidor;

// The database update behind "Atualizar": fetches the central database by
// FTP and opens it (or, when the central data-link names a server, reads the
// server directly), and replaces the local products, the employee row and, when
// the user agrees, the customers of the representative's region, then offers
// the pending-items check.
//
// It reads only the file it has just downloaded into the program folder, whole
// and checked to be a sound database: a failed download ends it with nothing
// changed (no backup, no time stamp), and the copy is deleted in any case.
// The replacement is one transaction, made after a backup of the local
// database: any error leaves every local table as it was, hides the progress
// widgets and reaches the caller, which shows it. A run that starts while
// another is under way (a click delivered while the window breathes) does
// nothing.
class LogicaAtualizacao
{
  public:
    explicit LogicaAtualizacao(VisaoProgresso &visao) : m_visao(visao) {}

    void executar();
    static bool emAndamento();

  private:
    struct Configuracao;
    bool buscarESubstituir(Configuracao &cfg);
    bool atualizarDoServidor(const LinkServidor &link, const Configuracao &cfg);
    QString baixar(const Configuracao &cfg);
    void substituir(const Configuracao &cfg);
    void substituirDe(FonteCentral &copia, const Configuracao &cfg);
    void reabrirConjuntos(bool clientes);
    void respirar();

    VisaoProgresso &m_visao;
};
