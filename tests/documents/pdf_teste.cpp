#include "pdf_teste.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

namespace
{

QString executar(const QString &programa, const QStringList &argumentos)
{
    QProcess processo;
    processo.start(programa, argumentos);
    if (!processo.waitForFinished(-1) || processo.exitCode() != 0) {
        ADD_FAILURE() << programa.toStdString() << " falhou: " << processo.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(processo.readAllStandardOutput());
}

QString campoPdfinfo(const QString &arquivo, const QString &campo)
{
    const QRegularExpression linha(QStringLiteral("^%1:\\s*(.*)$").arg(campo), QRegularExpression::MultilineOption);
    return linha.match(executar(QStringLiteral("pdfinfo"), {arquivo})).captured(1).trimmed();
}

} // namespace

QString TextoPdf(const QString &arquivo, int pagina)
{
    QStringList args{QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8")};
    if (pagina > 0)
        args << QStringLiteral("-f") << QString::number(pagina) << QStringLiteral("-l") << QString::number(pagina);
    return executar(QStringLiteral("pdftotext"), args << arquivo << QStringLiteral("-"));
}

int PaginasPdf(const QString &arquivo)
{
    return campoPdfinfo(arquivo, QStringLiteral("Pages")).toInt();
}

QSizeF TamanhoPaginaPdf(const QString &arquivo)
{
    // "595 x 842 pts (A4)"
    const QStringList partes = campoPdfinfo(arquivo, QStringLiteral("Page size")).split(' ');
    if (partes.size() < 3)
        return {};
    return {partes[0].toDouble(), partes[2].toDouble()};
}

int ImagensPdf(const QString &arquivo)
{
    // Two heading lines, then one line per image.
    const QStringList linhas =
        executar(QStringLiteral("pdfimages"), {QStringLiteral("-list"), arquivo}).split('\n', Qt::SkipEmptyParts);
    return qMax(0, int(linhas.size()) - 2);
}
