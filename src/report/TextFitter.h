#pragma once

#include "report/DisplayList.h"
#include "report/ReportDefinition.h"

namespace quillio::report {

// Places a text inside its box: lines break at word boundaries (or stay whole with the shrink
// fit), the font shrinks step by step until the lines fit, and a text that still does not fit at
// the smallest size keeps the lines that do. No run ever reaches outside the box.
class TextFitter
{
public:
    // `box` in reference units.
    static QList<TextRun> fit(const QString& text, const QRectF& box, const TextStyle& style, TextFit fit);

    static constexpr qreal smallestPointSize = 5;
};

} // namespace quillio::report
