// A report layout file (.qrl) as a person may have edited it: it is read, then its active report
// is laid out with a full set of invoice texts. Refusals are ReportError; anything else is a fault.

#include "FuzzSupport.h"
#include "report/LayoutParser.h"
#include "report/ReportError.h"
#include "report/ReportLayouter.h"

#include <algorithm>

using namespace quillio::report;

namespace {

ReportParameters invoiceTexts()
{
    ReportParameters parameters;
    parameters.set(QStringLiteral("Ragione_Sociale"), QStringLiteral("Rossi & Figli S.r.l."));
    parameters.set(QStringLiteral("Via"), QStringLiteral("Via Roma 1"));
    parameters.set(QStringLiteral("Numero"), QStringLiteral("12/2009"));
    parameters.set(QStringLiteral("Data"), QStringLiteral("31/12/2009"));
    for (int slot = 1; slot <= 20; ++slot) {
        const QString number = QString::number(slot).rightJustified(2, QLatin1Char('0'));
        parameters.set(QStringLiteral("Desc") + number,
                       QStringLiteral("Riga %1 con un testo lungo").arg(slot));
        parameters.set(QStringLiteral("Costo") + number, QStringLiteral("1.234,56"));
    }
    parameters.set(QStringLiteral("Totale_Fattura"), QStringLiteral("24.691,20"));
    // A row count as a table's rowsFrom may take it from anywhere: the largest int.
    parameters.set(QStringLiteral("Righe"), QStringLiteral("2147483647"));
    return parameters;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    quillio::fuzz::ensureApplication();
    static const ReportParameters parameters = invoiceTexts();
    const QString path = quillio::fuzz::scratchDirectory() + QStringLiteral("/Fuzz.qrl");
    try {
        const LayoutFile file = LayoutParser::parse(quillio::fuzz::bytes(data, size), path);
        if (file.reports.isEmpty())
            return 0;
        // Page counts come from the file; a few pages are enough to reach every layout rule.
        const ReportDefinition& report = file.activeReport();
        ReportLayouter::pageLayout(report);
        for (qsizetype page = 0; page < std::min<qsizetype>(report.pages.size(), 4); ++page)
            ReportLayouter::layOutPage(report, page, parameters);
    } catch (const ReportError&) {
    }
    return 0;
}
