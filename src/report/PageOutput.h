#pragma once

#include "report/DisplayList.h"
#include "report/OutputOptions.h"

#include <functional>

class QPrinter;

namespace quillio::report {

// Sends laid-out pages to a printer or into a PDF file. Before each page `progress` receives the
// page's number; when it answers false the output stops there and nothing more is sent (a PDF
// is then not written at all). Failures raise ReportError.
class PageOutput
{
public:
    using Progress = std::function<bool(int page)>;

    // Copies are left to the printer when it can make them; otherwise the pages are sent again,
    // in collated or uncollated order. Returns false when stopped.
    static bool toPrinter(QPrinter& printer, const LaidOutDocument& document, const OutputOptions& options,
                          const QString& jobTitle, qreal scaleX, qreal scaleY, const Progress& progress);
    // Writes the whole file or nothing. Returns false when stopped. An archival file is PDF/A-1b,
    // the form meant for keeping documents for years (fonts embedded, no transparency).
    static bool toPdf(const QString& path, const LaidOutDocument& document, const QString& title,
                      const Progress& progress, bool archival = false);
};

} // namespace quillio::report
