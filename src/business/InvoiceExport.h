#pragma once

#include "einvoice/CompanyData.h"
#include "einvoice/ExportOptions.h"
#include "einvoice/InvoiceRecord.h"
#include "einvoice/Problem.h"

#include <QList>
#include <QString>

namespace quillio::business {

class BusinessFile;

// One stored invoice written as its electronic invoice: checked, given its progressive, written
// whole into a folder, recorded in the register, and its buyer's details remembered. The dialog
// and the command-line export both go through here.
class InvoiceExport
{
public:
    struct Outcome
    {
        QList<einvoice::Problem> problems;
        QString filePath; // empty when nothing was written
        QString progressive;
        bool written() const { return !filePath.isEmpty(); }
    };

    explicit InvoiceExport(BusinessFile& file) : m_file(file) {}

    // What stands in the way of the export and what it would change; nothing is stored.
    QList<einvoice::Problem> check(const einvoice::InvoiceRecord& invoice, int year,
                                   const einvoice::CompanyData& seller, einvoice::ExportOptions options);
    // Writes nothing when a problem is an error. `newProgressive` sends a corrected file under a
    // new name; otherwise an invoice exported before keeps its file name.
    Outcome write(const einvoice::InvoiceRecord& invoice, int year, const einvoice::CompanyData& seller,
                  einvoice::ExportOptions options, const QString& folder, bool newProgressive);

private:
    BusinessFile& m_file;
};

} // namespace quillio::business
