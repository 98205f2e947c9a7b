#pragma once

#include <QtGlobal>

namespace quillio::report {

// The ranges a layout's numbers must keep. The person may edit the file, and a value far outside
// them (a row height of 1e-300 mm, a font of a million points, a list of two thousand million
// rows) would overflow a count or keep the print busy for ever. Lengths and positions also lie
// within the page (LayoutParser); docs/report-format.md lists every range.
struct LayoutLimits
{
    static constexpr qreal smallestPaper = 10; // mm, each side of a page given by its size
    static constexpr qreal largestPaper = 2000;
    static constexpr qreal lowestRow = 1;     // mm
    static constexpr qreal thickestLine = 10; // mm: a line, a border, a rule
    static constexpr qreal smallestFont = 1;  // points
    static constexpr qreal largestFont = 500;
    static constexpr int mostRows = 100000; // the last row a `rowsFrom` parameter may give
    static constexpr qint64 largestImage = qint64(32) * 1024 * 1024; // bytes
};

} // namespace quillio::report
