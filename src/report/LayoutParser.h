#pragma once

#include "report/ReportDefinition.h"

#include <QByteArray>
#include <QString>

namespace quillio::report {

// Reads a report layout file (.qrl, XML). Every fault, from a truncated file to an unknown
// element, a bad number or a missing image, raises ReportError naming the file, the line and the
// column; nothing half-read is ever returned.
class LayoutParser
{
public:
    static LayoutFile parseFile(const QString& path);
    // `path` places images relative to the layout and names the file in messages.
    static LayoutFile parse(const QByteArray& content, const QString& path);
};

} // namespace quillio::report
