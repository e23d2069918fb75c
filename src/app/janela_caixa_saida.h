#pragma once

#include <QDialog>

class QTableWidget;
class QPushButton;
class RemessaCaixaSaida;

// The outbox as a list: order, recipient, state, attempts, last attempt and
// the server's last reply of every message. "Tentar agora" sends what waits
// (a refused message chosen goes back to waiting first); "Descartar" drops
// the chosen message after asking. The list follows the sender as it works.
class JanelaCaixaSaida : public QDialog
{
    Q_OBJECT
  public:
    JanelaCaixaSaida(RemessaCaixaSaida &remessa, QWidget *pai = nullptr);

  private:
    void preencher();
    qint64 escolhida() const;
    void tentarAgora();
    void descartar();

    RemessaCaixaSaida &m_remessa;
    QTableWidget *m_tabela;
    QPushButton *m_tentar;
    QPushButton *m_descartar;
};
