#pragma once

#include "report/DisplayList.h"

class QPainter;
class QPagedPaintDevice;

namespace quillio::report {

// Paints laid-out pages. The painter's origin must be the paper's top-left edge; the list is
// scaled from reference units to the device's resolution, so screen, printer and PDF all draw
// the same lines.
class DisplayListPainter
{
public:
    // `scale` multiplies the device's own resolution (1 for 100 %).
    static void paintPage(QPainter& painter, const LaidOutPage& page, qreal dpiX, qreal dpiY,
                          qreal scale = 1);
};

} // namespace quillio::report
