#pragma once

#include "einvoice/FatturaDocument.h"

#include <QByteArray>

namespace quillio::einvoice {

// The document as an FPR12 file: UTF-8, elements in the order the format fixes, only the root
// prefixed. Writes what the model holds, present nodes only; the checks say whether it is valid.
class FatturaXmlWriter
{
public:
    static QByteArray write(const FatturaDocument& document);
};

} // namespace quillio::einvoice
