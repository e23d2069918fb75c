#pragma once

#include <QObject>

class QMainWindow;
class QPushButton;
class RemessaCaixaSaida;

// The main window's line "3 mensagens na caixa de saída" in its status bar,
// which opens the outbox's list. Once the window has painted itself the
// first time, the count is read and the waiting messages are sent in the
// background, then again every few minutes: nothing of it delays the first
// paint.
class IndicadorCaixaSaida : public QObject
{
    Q_OBJECT
  public:
    IndicadorCaixaSaida(QMainWindow &janela, RemessaCaixaSaida &remessa);

    // "Nenhuma mensagem na caixa de saída", "1 mensagem ...", "N mensagens ...".
    static QString texto(int quantidade);

  protected:
    bool eventFilter(QObject *objeto, QEvent *evento) override;

  private:
    void iniciar();
    void atualizar();
    void avisarNaoGravado(const QString &motivo);
    void abrirLista();

    QMainWindow &m_janela;
    RemessaCaixaSaida &m_remessa;
    QPushButton *m_botao;
    bool m_iniciado = false;
};
