#pragma once

#include "einvoice/CompanyData.h"

#include <QString>
#include <optional>

namespace quillio::report {
class ReportProject;
}

namespace quillio::accountant {

class SalesRegister;

// "Registro-IVA-AAAA.pdf": the register printed through the layout `Report/RegistroIVA.qrl`. The
// layout gets the company heading, the period, and one flowing list of lines numbered from 1 to
// `Righe`: the invoices, then the totals per month and per rate and of the period, then what the
// accountant will ask about. Each kind of line fills its own placeholders (docs/report-format.md).
class RegisterReport
{
public:
    static void writePdf(report::ReportProject& project, const QString& layoutPath,
                         const SalesRegister& salesRegister,
                         const std::optional<einvoice::CompanyData>& company, const QString& pdfPath);

    // "gennaio", … "dicembre".
    static QString monthName(int month);
    // "gennaio – marzo 2026", or "marzo 2026" for one month, or "anno 2026" for the whole year.
    static QString periodText(int year, int fromMonth, int toMonth);
    // The layout beside the program (PathPrg + "Report" + "RegistroIVA.qrl"), else the one an
    // installation put in its shared files.
    static QString layoutPath(const QString& pathPrg);
};

} // namespace quillio::accountant
