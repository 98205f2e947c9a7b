#pragma once

#include "Figure.h"

namespace quillio::bench {

// The time to print one filled invoice to a PDF file through the default layout: load the layout,
// lay it out, write the file.
class PrintMeasurement
{
public:
    static Figure invoicePdf(const QString& workDirectory);
};

} // namespace quillio::bench
