#pragma once

#include "einvoice/FatturaDocument.h"

#include <QByteArray>
#include <QString>

namespace quillio::einvoice {

// Reads an electronic invoice into the model, whatever the file says: elements not modelled are
// skipped, values are kept as written for the checks to judge. Any input ends in a result, never
// a crash or a hang; a file above the exchange system's size limit, or beyond the limits of its
// markup (MarkupLimits), is not read at all.
class FatturaXmlReader
{
public:
    struct Result
    {
        bool wellFormed = false;
        bool isFatturaPA = false;
        QString error; // one line, with the line number, when either of the above is false
        FatturaDocument document;
    };

    static constexpr qsizetype maximumSize = qsizetype(5) * 1024 * 1024;

    static Result read(const QByteArray& content);
};

} // namespace quillio::einvoice
