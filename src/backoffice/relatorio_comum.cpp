#include "relatorio_comum.h"

#include "conjunto_dados.h"
#include "dialogos.h"
#include "motor_relatorio.h"
#include "udm.h"

#include <QDate>
#include <QDateTime>
#include <QFile>

QString CaminhoRelatorio(const QString &prefixo, const QString &extensao)
{
    return DM->PathSistema + QStringLiteral("relatórios/") + prefixo +
           QDate::currentDate().toString(QStringLiteral("ddMMyyyy")) + extensao;
}

QString CaixaEntrada(const QString &titulo, const QString &rotulo, const QString &padrao)
{
    return Dialogos::atual().caixaEntrada(titulo, rotulo, padrao);
}

void GerarRelatorioPDF(const QString &modelo, const QString &arquivoPdf,
                       const std::vector<const FonteRelatorio *> &fontes, const QMap<QString, QString> &parametros)
{
    QFile::remove(arquivoPdf);
    GerarRelatorio(DM->ArquivoModelo(modelo), fontes, parametros, arquivoPdf);
    Dialogos::atual().abrirArquivo(arquivoPdf);
}

QString DataEmissao()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("dd/MM/yyyy hh:mm"));
}

QString EntreAspas(const QString &texto)
{
    QString dentro = texto;
    return QLatin1Char('\'') + dentro.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

void Filtrar(ConjuntoDados &conjunto, const QString &filtro)
{
    conjunto.setFiltro(filtro);
    conjunto.setFiltrado(true);
}

TabelaTemporaria::TabelaTemporaria(ConjuntoDados &tabela) : m_tabela(tabela)
{
    m_tabela.fechar();
    m_tabela.abrir();
}

TabelaTemporaria::~TabelaTemporaria()
{
    m_tabela.fechar();
}
