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

EstadoGuardado::EstadoGuardado(ConjuntoDados &conjunto, const QString &chave)
    : m_conjunto(conjunto), m_filtro(conjunto.filtro()), m_filtrado(conjunto.filtrado()), m_chave(chave)
{
    if (!m_chave.isEmpty() && !m_conjunto.vazio())
        m_valorChave = m_conjunto.campo(m_chave).texto();
}

EstadoGuardado::~EstadoGuardado()
{
    try {
        m_conjunto.setFiltro(QString());
        m_conjunto.setFiltrado(false);
        m_conjunto.setFiltro(m_filtro);
        m_conjunto.setFiltrado(m_filtrado);
        if (!m_valorChave.isEmpty())
            m_conjunto.localizar(m_chave, m_valorChave);
    } catch (...) {
        // The filter was the data set's own a moment ago; nothing to report
        // while another error may be on its way to the user.
    }
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
