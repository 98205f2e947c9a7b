#pragma once

#include "einvoice/FatturaDocument.h"
#include "einvoice/Problem.h"

#include <QList>

namespace quillio::einvoice {

// Whether a document would pass the exchange system, as far as can be known offline: what the
// format requires of the modelled elements (presence, lengths, patterns, number forms, value
// lists, Latin-1 text: code 00200) and the system's own rules on top (Natura against rates,
// summaries against lines, amounts against each other, destination code, check digits of the
// identification numbers). Errors are rejections; warnings are accepted but worth a look.
class DocumentChecks
{
public:
    static QList<Problem> run(const FatturaDocument& document);
};

} // namespace quillio::einvoice
