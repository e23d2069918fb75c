#include "dialogos_qt.h"

#include "janela_escolha.h"
#include "janela_tabela.h"
#include "ucaixatexto.h"
#include "upesquisa.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QUrl>

namespace
{

QMessageBox::Icon icone(Icone i)
{
    switch (i) {
    case Icone::Informacao:
        return QMessageBox::Information;
    case Icone::Erro:
        return QMessageBox::Critical;
    case Icone::Pergunta:
        return QMessageBox::Question;
    case Icone::Aviso:
        return QMessageBox::Warning;
    }
    return QMessageBox::NoIcon;
}

QWidget *janelaAtiva()
{
    return QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
}

// The status bar of the window the user is looking at, if it has one.
QStatusBar *barraDeStatus()
{
    QWidget *janela = janelaAtiva();
    return janela ? janela->findChild<QStatusBar *>() : nullptr;
}

} // namespace

void DialogosQt::mensagem(const QString &texto, const QString &titulo, Icone i)
{
    QMessageBox caixa(icone(i), titulo, texto, QMessageBox::NoButton, janelaAtiva());
    caixa.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    caixa.exec();
}

Resposta DialogosQt::pergunta(const QString &texto, const QString &titulo, Resposta padrao)
{
    QMessageBox caixa(QMessageBox::Question, titulo, texto, QMessageBox::NoButton, janelaAtiva());
    QPushButton *sim = caixa.addButton(QStringLiteral("&Sim"), QMessageBox::YesRole);
    QPushButton *nao = caixa.addButton(QStringLiteral("&Não"), QMessageBox::NoRole);
    caixa.setDefaultButton(padrao == Resposta::Sim ? sim : nao);
    caixa.setEscapeButton(nao);
    caixa.exec();
    return caixa.clickedButton() == sim ? Resposta::Sim : Resposta::Nao;
}

RespostaTexto DialogosQt::caixaTexto(const QString &titulo, const QString &rotulo, const QString &padrao,
                                     bool mascarado)
{
    return TFrmCaixaTexto::perguntar(titulo, rotulo, padrao, mascarado, janelaAtiva());
}

void DialogosQt::pesquisar(LogicaPesquisa &logica)
{
    TfrmPesquisa::executar(logica, janelaAtiva());
}

QString DialogosQt::caixaEntrada(const QString &titulo, const QString &rotulo, const QString &padrao)
{
    bool ok = false;
    const QString texto = QInputDialog::getText(janelaAtiva(), titulo, rotulo, QLineEdit::Normal, padrao, &ok);
    return ok ? texto : padrao;
}

void DialogosQt::abrirArquivo(const QString &caminho)
{
    const bool email = caminho.startsWith(QStringLiteral("mailto:"));
    if (QDesktopServices::openUrl(email ? QUrl(caminho) : QUrl::fromLocalFile(caminho)))
        return;
    // Without a viewer or mail program the file is still there: say where.
    if (email)
        mensagem(QStringLiteral("Não foi possível abrir o programa de e-mail para:\n") + caminho.mid(7),
                 QStringLiteral("Atenção"), Icone::Aviso);
    else
        mensagem(QStringLiteral("Não foi possível abrir o arquivo: nenhum programa está instalado para ele.\n"
                                "O arquivo foi gravado em:\n") +
                     QDir::toNativeSeparators(caminho),
                 QStringLiteral("Atenção"), Icone::Aviso);
}

void DialogosQt::iniciarPrograma(const QString &caminho)
{
    QProcess::startDetached(caminho, {}, QFileInfo(caminho).absolutePath());
}

void DialogosQt::processarEventos()
{
    QApplication::processEvents();
}

void DialogosQt::tabela(const TabelaDialogo &tabela)
{
    JanelaTabela::mostrar(tabela, janelaAtiva());
}
std::optional<QList<bool>> DialogosQt::escolher(const QString &titulo, const QString &texto,
                                                const QList<OpcaoMarcada> &opcoes)
{
    return JanelaEscolha::escolher(titulo, texto, opcoes, janelaAtiva());
}

std::optional<int> DialogosQt::escolherLinha(const TabelaDialogo &tabela)
{
    return JanelaTabela::escolherLinha(tabela, janelaAtiva());
}

void DialogosQt::esperar(const QString &situacao)
{
    if (m_esperas++ == 0)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    if (QStatusBar *barra = barraDeStatus())
        barra->showMessage(situacao);
    // The cursor and the text are painted before the work blocks the screen.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void DialogosQt::fimDaEspera()
{
    if (m_esperas == 0)
        return;
    if (--m_esperas == 0) {
        QApplication::restoreOverrideCursor();
        if (QStatusBar *barra = barraDeStatus())
            barra->clearMessage();
    }
}
