#include "einvoice/IdentifierChecks.h"

namespace quillio::einvoice {

namespace {

bool allDigits(const QString& text)
{
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return !text.isEmpty();
}

bool isUpperLetter(QChar c)
{
    return c >= u'A' && c <= u'Z';
}

// The letters that stand for the digits 0-9 in the numeric places of a homonym's code.
const QString HomonymLetters = QStringLiteral("LMNPQRSTUV");
const QString MonthLetters = QStringLiteral("ABCDEHLMPRST");

// The digit a numeric place holds, its homonym letter decoded; -1 when it is neither.
int placeDigit(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    return int(HomonymLetters.indexOf(c));
}

// Value of a character in an odd place (1st, 3rd, ...): digits count as the letter of the same index.
int oddValue(QChar c)
{
    static const int values[26] = {1,  0,  5, 7, 9, 13, 15, 17, 19, 21, 2,  4,  18,
                                   20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};
    const int index = c.isDigit() ? c.unicode() - u'0' : c.unicode() - u'A';
    return values[index];
}

int evenValue(QChar c)
{
    return c.isDigit() ? c.unicode() - u'0' : c.unicode() - u'A';
}

bool hasPersonalShape(const QString& code)
{
    static const int letters[] = {0, 1, 2, 3, 4, 5, 11, 15};
    static const int numeric[] = {6, 7, 9, 10, 12, 13, 14};
    for (int i : letters) {
        if (!isUpperLetter(code[i]))
            return false;
    }
    for (int i : numeric) {
        if (placeDigit(code[i]) < 0)
            return false;
    }
    if (!MonthLetters.contains(code[8]))
        return false;
    // Day of birth, plus 40 for women.
    const int day = placeDigit(code[9]) * 10 + placeDigit(code[10]);
    return (day >= 1 && day <= 31) || (day >= 41 && day <= 71);
}

QChar personalCheckLetter(const QString& code)
{
    int sum = 0;
    for (int i = 0; i < 15; ++i)
        sum += i % 2 == 0 ? oddValue(code[i]) : evenValue(code[i]);
    return QChar(u'A' + sum % 26);
}

int ibanMod97(const QString& rearranged)
{
    int remainder = 0;
    for (QChar c : rearranged) {
        const int value = c.isDigit() ? c.unicode() - u'0' : c.unicode() - u'A' + 10;
        remainder = (remainder * (value >= 10 ? 100 : 10) + value) % 97;
    }
    return remainder;
}

} // namespace

bool IdentifierChecks::isValidPartitaIva(const QString& number)
{
    if (number.size() != 11 || !allDigits(number))
        return false;
    int sum = 0;
    for (int i = 0; i < 10; ++i) {
        int digit = number[i].unicode() - u'0';
        if (i % 2 == 1) {
            digit *= 2;
            if (digit > 9)
                digit -= 9;
        }
        sum += digit;
    }
    return (10 - sum % 10) % 10 == number[10].unicode() - u'0';
}

bool IdentifierChecks::isValidCodiceFiscale(const QString& code)
{
    if (code.size() == 11)
        return isValidPartitaIva(code);
    if (code.size() != 16)
        return false;
    const QString upper = code.toUpper();
    return hasPersonalShape(upper) && personalCheckLetter(upper) == upper[15];
}

QString IdentifierChecks::compactIban(const QString& iban)
{
    QString compact;
    for (QChar c : iban) {
        if (!c.isSpace())
            compact.append(c.toUpper());
    }
    return compact;
}

bool IdentifierChecks::isValidIban(const QString& iban)
{
    const QString compact = compactIban(iban);
    if (compact.size() < 15 || compact.size() > 34)
        return false;
    if (!isUpperLetter(compact[0]) || !isUpperLetter(compact[1]) || !allDigits(compact.mid(2, 2)))
        return false;
    for (QChar c : compact) {
        if (!isUpperLetter(c) && !(c >= u'0' && c <= u'9'))
            return false;
    }
    if (compact.startsWith(QLatin1String("IT")) && compact.size() != 27)
        return false;
    return ibanMod97(compact.mid(4) + compact.left(4)) == 1;
}

} // namespace quillio::einvoice
