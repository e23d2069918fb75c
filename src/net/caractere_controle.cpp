#include "caractere_controle.h"

#include <QList>
#include <QStringView>

bool TemCaractereDeControle(const QString &texto)
{
    // By code point: format characters also lie beyond the 16-bit range.
    for (const char32_t c : QStringView(texto).toUcs4()) {
        switch (QChar::category(c)) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            return true;
        default:
            break;
        }
    }
    return false;
}
