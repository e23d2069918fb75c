#pragma once

#include <QString>
#include <stdexcept>

// An error whose text is shown to the user as it stands. The data layer throws
// it; the user interface catches it at the event boundary and shows the
// standard error box.
class Erro : public std::runtime_error
{
  public:
    explicit Erro(const QString &mensagem) : std::runtime_error(mensagem.toStdString()), m_mensagem(mensagem) {}
    const QString &mensagem() const { return m_mensagem; }

  private:
    QString m_mensagem;
};
