#pragma once

#include <QString>

namespace quillio::einvoice {

// Text as the electronic invoice accepts it: one line of Basic Latin and Latin-1 characters.
// Whatever lies outside is replaced by the nearest plain form, so the file stays valid and the
// reader still understands it.
class TextFolding
{
public:
    struct Result
    {
        QString text;
        bool changed = false;
    };
    // Line breaks, tabs and other control characters become blanks ("\r\n" one blank); € becomes
    // "EUR", typographic quotes straight ones, dashes "-", the ellipsis "..."; other letters
    // lose their accents (Unicode decomposition); what is still outside Latin-1 becomes "?".
    static Result fold(const QString& text);
    // Whether every character is Basic Latin or Latin-1 (controls included: they are a separate matter).
    static bool isLatin1(const QString& text);
};

} // namespace quillio::einvoice
