#pragma once

#include "einvoice/CompanyData.h"
#include "einvoice/ExportOptions.h"
#include "einvoice/FatturaDocument.h"
#include "einvoice/InvoiceRecord.h"
#include "einvoice/Problem.h"

#include <QList>

namespace quillio::einvoice {

// Turns a stored invoice into its electronic form. Texts are folded to what the file accepts
// (a notice per field changed); what would change the invoice's meaning is refused instead.
// The built document goes through DocumentChecks too, so a result without errors is a valid file.
class DocumentBuilder
{
public:
    struct Result
    {
        FatturaDocument document;
        QList<Problem> problems;
        bool accepted() const { return !hasErrors(problems); }
    };

    static Result build(const InvoiceRecord& invoice, const CompanyData& seller,
                        const ExportOptions& options);
    // "IT01234567890_00001.xml": the sender's code and the progressive, as the file must be named.
    static QString fileName(const FatturaDocument& document);
};

} // namespace quillio::einvoice
