#pragma once

#include "report/OutputOptions.h"

#include <QString>

namespace quillio::report {

// The output settings of a report system: the titles of its windows, the status lines, how the
// preview opens and the printer's job title. %p in a status line is the page in progress.
struct ReportSettings
{
    QString setupTitle = QStringLiteral("Output Options");
    QString statusTitle = QStringLiteral("Report Status");
    QString previewTitle = QStringLiteral("Report Preview");
    QString generatingText = QStringLiteral("Generating page %p");
    QString printingText = QStringLiteral("Printing page %p");
    bool previewMaximized = true;
    int previewZoom = 100;
    int printerScaleX = 100;
    int printerScaleY = 100;
    QString jobTitle = QStringLiteral("Quillio Report");
    Destination defaultDestination = Destination::Preview;
    bool showStatus = true;
    bool printFromPreview = true;

    static QString withPage(const QString& text, int page)
    {
        return QString(text).replace(QStringLiteral("%p"), QString::number(page));
    }
};

} // namespace quillio::report
