#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace quillio::invoices {

// The stored invoices of a working year written as electronic invoices, each as the dialog would
// write it with nothing changed: the buyer's remembered details, the defaults for invoices without
// VAT, the printed page attached. An invoice that cannot be exported is reported and skipped.
class InvoiceBatchExport
{
public:
    struct Range
    {
        std::optional<qint64> from;
        std::optional<qint64> to;
        bool contains(qint64 number) const { return (!from || number >= *from) && (!to || number <= *to); }
    };
    struct Result
    {
        QStringList written;  // the files, in invoice order
        QStringList failures; // "Fattura 12: …", one an invoice that was not written
    };

    // Reads the settings afresh; raises an error when the year or the company's data are missing.
    static Result run(int year, const Range& range, const QString& folder, bool attachPdf = true);
};

} // namespace quillio::invoices
