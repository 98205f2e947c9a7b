#pragma once

#include "report/DisplayList.h"
#include "report/ReportDefinition.h"
#include "report/ReportParameters.h"

namespace quillio::report {

// Turns a report definition and its parameters into the display list of its pages. The
// placeholders are filled here, once; a table whose filled rows do not fit its height raises
// ReportError rather than print a page that silently lacks rows, unless it flows: then its page
// is printed again for the rows that follow. Every printed page knows its number, `Pagina`, and
// the number of pages, `Pagine`.
class ReportLayouter
{
public:
    // One printed page: the page of the layout it repeats and, when that page holds a flowing
    // table, the rows of that table it prints.
    struct PlannedPage
    {
        qsizetype page = 0;
        QList<int> flowRows;
    };

    static QPageLayout pageLayout(const ReportDefinition& report);
    // The printed pages, in order.
    static QList<PlannedPage> plan(const ReportDefinition& report, const ReportParameters& parameters);
    static LaidOutPage layOutPlanned(const ReportDefinition& report, const QList<PlannedPage>& plan,
                                     qsizetype index, const ReportParameters& parameters);
    // The first printed page of a page of the layout, numbered as the only page.
    static LaidOutPage layOutPage(const ReportDefinition& report, qsizetype page,
                                  const ReportParameters& parameters);
    static LaidOutDocument layOut(const ReportDefinition& report, const ReportParameters& parameters);
};

} // namespace quillio::report
