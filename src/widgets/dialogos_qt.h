#pragma once

#include "dialogos.h"

// The modal interactions as Qt widgets, with Portuguese buttons.
class DialogosQt : public Dialogos
{
  public:
    void mensagem(const QString &texto, const QString &titulo, Icone icone) override;
    Resposta pergunta(const QString &texto, const QString &titulo, Resposta padrao) override;
    RespostaTexto caixaTexto(const QString &titulo, const QString &rotulo, const QString &padrao,
                             bool mascarado) override;
    void pesquisar(LogicaPesquisa &logica) override;
    QString caixaEntrada(const QString &titulo, const QString &rotulo, const QString &padrao) override;
    void abrirArquivo(const QString &caminho) override;
    void iniciarPrograma(const QString &caminho) override;
    void processarEventos() override;
    void tabela(const TabelaDialogo &tabela) override;
    void esperar(const QString &situacao) override;
    void fimDaEspera() override;
    std::optional<QList<bool>> escolher(const QString &titulo, const QString &texto,
                                        const QList<OpcaoMarcada> &opcoes) override;
    std::optional<int> escolherLinha(const TabelaDialogo &tabela) override;

  private:
    int m_esperas = 0;
};
