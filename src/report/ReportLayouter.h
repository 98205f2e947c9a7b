#pragma once

#include "DisplayList.h"
#include "ReportDefinition.h"
#include "ReportParameters.h"

namespace quillio::report {

// Turns a report definition and its parameters into the display list of its pages. The
// placeholders are filled here, once; a table whose filled rows do not fit its height raises
// ReportError rather than print a page that silently lacks rows.
class ReportLayouter
{
public:
    static QPageLayout pageLayout(const ReportDefinition& report);
    static LaidOutPage layOutPage(const ReportDefinition& report, qsizetype page,
                                  const ReportParameters& parameters);
    static LaidOutDocument layOut(const ReportDefinition& report, const ReportParameters& parameters);
};

} // namespace quillio::report
