#include "leitor_ini.h"

#include <QFileInfo>
#include <QSettings>
#include <QStringList>

namespace {

QString procurarIgnorandoCaixa(const QStringList &nomes, const QString &nome)
{
    for (const QString &n : nomes)
        if (n.compare(nome, Qt::CaseInsensitive) == 0)
            return n;
    return {};
}

} // namespace

QString LerIni(const QString &secao, const QString &chave, const QString &arquivo)
{
    if (!QFileInfo(arquivo).isReadable())
        return {};
    QSettings ini(arquivo, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError)
        return {};
    const QString grupo = procurarIgnorandoCaixa(ini.childGroups(), secao);
    if (grupo.isEmpty())
        return {};
    ini.beginGroup(grupo);
    const QString nome = procurarIgnorandoCaixa(ini.childKeys(), chave);
    if (nome.isEmpty())
        return {};
    const QVariant valor = ini.value(nome);
    // A value holding commas comes back as a list; it is one text here.
    return valor.canConvert<QStringList>() && valor.typeId() == QMetaType::QStringList
               ? valor.toStringList().join(QStringLiteral(", "))
               : valor.toString();
}
