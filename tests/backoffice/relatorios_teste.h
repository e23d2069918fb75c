#pragma once

#include "dialogos_roteiro.h"
#include "pasta_programa.h"
#include "pdf_teste.h"
#include "udm.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <memory>

// Scripted dialogs that also note the order list's filter at the moment a
// report opens its file, while the report's narrowing is on.
class DialogosRelatorio : public DialogosRoteiro
{
  public:
    void abrirArquivo(const QString &caminho) override
    {
        filtrosAoAbrir << DM->QyPedido.filtro();
        clientesAoAbrir << DM->QyCliente.filtro();
        DialogosRoteiro::abrirArquivo(caminho);
    }
    QStringList filtrosAoAbrir;
    QStringList clientesAoAbrir;
};

// A program folder with the shipped templates, the "relatórios" folder and
// the employee row of `funcionario`; tests add their rows with SQL and then
// open the data module.
class RelatoriosTeste : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(pasta.caminho()).mkdir(QStringLiteral("relatórios")));
        const QDir fonte(QStringLiteral(PASTA_FONTES "/templates"));
        for (const QString &modelo : fonte.entryList({QStringLiteral("*.rav")}))
            ASSERT_TRUE(QFile::copy(fonte.filePath(modelo), pasta.arquivo(modelo))) << modelo.toStdString();
    }

    void abrir(const char *funcionario = "12")
    {
        pasta.executar(QStringLiteral("INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('%1', 'JOÃO DA SILVA');"
                                      "INSERT INTO tbconfiguracoes (cod_funcionario) VALUES ('%1');")
                           .arg(QString::fromUtf8(funcionario)));
        dm = std::make_unique<TDM>(pasta.caminho());
        ASSERT_TRUE(dialogos.registros().empty()) << dialogos.textos().join(u'\n').toStdString();
    }

    // A file of "relatórios" named with today's date.
    QString saida(const QString &prefixo, const QString &extensao = QStringLiteral(".pdf")) const
    {
        return pasta.arquivo(QStringLiteral("relatórios/") + prefixo +
                             QDate::currentDate().toString(QStringLiteral("ddMMyyyy")) + extensao);
    }

    // The PDF's text with runs of blanks made one, so lines compare easily.
    static QString texto(const QString &pdf) { return TextoPdf(pdf).simplified(); }

    // The files opened, in order.
    QStringList abertos() const { return dialogos.textos(QStringLiteral("abrir")); }

    static QString coluna(const ConjuntoDados &c, const char *campo)
    {
        QStringList valores;
        for (int i = 0; i < c.quantidade(); ++i)
            valores << c.registro(i).campo(QString::fromUtf8(campo)).texto();
        return valores.join(u',');
    }

    PastaProgramaTeste pasta;
    DialogosRelatorio dialogos;
    std::unique_ptr<TDM> dm;
};
