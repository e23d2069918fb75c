#pragma once

#include "figuras_painel.h"

#include <QDialog>

class QChartView;
class QComboBox;
class QDateEdit;
class QGridLayout;
class QLabel;
class QTableWidget;
class QTabWidget;

// The representative's dashboard: sales by month, the largest products and
// customers of a period, the customers going cold, never served, or in
// arrears. A click on a customer opens a new order for them; the charts
// export to PNG and the whole dashboard to PDF.
class TfrmPainel : public QDialog
{
    Q_OBJECT
  public:
    explicit TfrmPainel(QWidget *pai = nullptr);

    const Painel &painel() const { return m_painel; }
    QTableWidget *tabelaEsfriando() const { return m_esfriando; }
    // The charts, for the exports: sales, products, customers.
    std::vector<QChartView *> graficos() const { return {m_vendas, m_produtos, m_clientes}; }

    // Reads the figures again and redraws.
    void atualizar();
    void exportarImagens();
    void exportarPdf();

  private:
    QWidget *montarCabecalho();
    QWidget *montarListas();
    void mostrarGraficos();
    void mostrarListas();
    void mostrarComparativo();
    void trocarGrafico(QChartView *&atual, QChartView *novo, int linha, int coluna, int colunas);
    void ligarCliques(QChartView *clientes);
    void novoPedido(qint64 cliente);

    PeriodoPainel m_periodo;
    Painel m_painel;
    QDateEdit *m_inicio = nullptr;
    QDateEdit *m_fim = nullptr;
    QComboBox *m_anos = nullptr;
    QLabel *m_comparativo = nullptr;
    QGridLayout *m_grade = nullptr;
    QChartView *m_vendas = nullptr;
    QChartView *m_produtos = nullptr;
    QChartView *m_clientes = nullptr;
    QTabWidget *m_abas = nullptr;
    QTableWidget *m_esfriando = nullptr;
    QTableWidget *m_semCompra = nullptr;
    QTableWidget *m_emAlerta = nullptr;
};
