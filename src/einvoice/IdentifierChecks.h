#pragma once

#include <QString>

namespace quillio::einvoice {

// The check digits of Italian identification numbers and of IBANs. Only the arithmetic: whether
// a number is actually registered is not knowable offline.
class IdentifierChecks
{
public:
    // Eleven digits, the last one the Luhn check digit of the first ten.
    static bool isValidPartitaIva(const QString& number);
    // A person's 16-character code with its check letter (letters for digits, as given to
    // homonyms, accepted), or a company's 11-digit code, which is a Partita IVA.
    static bool isValidCodiceFiscale(const QString& code);
    // Blanks ignored, case ignored: country, two check digits, the account; the whole mod 97 is 1.
    // Italian ones are 27 characters.
    static bool isValidIban(const QString& iban);
    // The IBAN the way the file carries it: blanks removed, upper case.
    static QString compactIban(const QString& iban);
};

} // namespace quillio::einvoice
