#include "einvoice/TextFolding.h"

#include <QList>

namespace quillio::einvoice {

namespace {

bool isControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// The replacements that decomposition does not give.
QString namedReplacement(char32_t c)
{
    switch (c) {
    case 0x20AC:
        return QStringLiteral("EUR");
    case 0x2018:
    case 0x2019:
    case 0x201A:
    case 0x201B:
    case 0x2032:
        return QStringLiteral("'");
    case 0x201C:
    case 0x201D:
    case 0x201E:
    case 0x201F:
    case 0x2033:
        return QStringLiteral("\"");
    case 0x2010:
    case 0x2011:
    case 0x2012:
    case 0x2013:
    case 0x2014:
    case 0x2015:
    case 0x2212:
    case 0x2022:
        return QStringLiteral("-");
    case 0x2026:
        return QStringLiteral("...");
    case 0x0152:
        return QStringLiteral("OE");
    case 0x0153:
        return QStringLiteral("oe");
    case 0x0141:
        return QStringLiteral("L");
    case 0x0142:
        return QStringLiteral("l");
    case 0x0110:
        return QStringLiteral("D");
    case 0x0111:
        return QStringLiteral("d");
    case 0x0131:
        return QStringLiteral("i");
    case 0x200B:
    case 0x200C:
    case 0x200D:
    case 0xFEFF:
        return QString(); // invisible: nothing to show
    default:
        return QStringLiteral("?");
    }
}

// The compatibility decomposition without its combining marks, when that leaves Latin-1 only:
// "ș" gives "s", "ﬁ" gives "fi", a full-width "Ａ" gives "A", a thin space a blank.
QString decomposed(char32_t c)
{
    const QString parts = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_KD);
    QString plain;
    for (QChar part : parts) {
        if (part.category() == QChar::Mark_NonSpacing)
            continue;
        if (part.unicode() > 0xFF || isControl(part.unicode()))
            return QString();
        plain.append(part);
    }
    return plain;
}

QString replacement(char32_t c)
{
    QString named = namedReplacement(c);
    if (named != QStringLiteral("?"))
        return named;
    const QString plain = decomposed(c);
    return plain.isEmpty() ? named : plain;
}

} // namespace

TextFolding::Result TextFolding::fold(const QString& text)
{
    Result result;
    // By code point, so a character beyond the 16-bit range is one replacement; a broken
    // surrogate arrives as U+FFFD and becomes "?".
    const QList<uint> points = text.toUcs4();
    for (qsizetype i = 0; i < points.size(); ++i) {
        const char32_t c = points[i];
        if (c == u'\r' && i + 1 < points.size() && points[i + 1] == u'\n')
            continue; // the '\n' that follows gives the one blank
        if (isControl(c)) {
            result.text.append(u' ');
            result.changed = true;
        } else if (c <= 0xFF) {
            result.text.append(QChar(char16_t(c)));
        } else {
            result.text.append(replacement(c));
            result.changed = true;
        }
    }
    return result;
}

bool TextFolding::isLatin1(const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() > 0xFF)
            return false;
    }
    return true;
}

} // namespace quillio::einvoice
