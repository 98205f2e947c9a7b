#pragma once

#include "Figure.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace quillio::bench {

// How figures are shown: as lines of text for a person, one block per archive size, or as one JSON
// array for scripts.
class FigureReport
{
public:
    // The block of one archive size: a heading, then one line per figure.
    static QString textBlock(int records, const QList<Figure>& figures);
    // [{"name", "records", "value", "unit", "baseline", "ratio"}, ...], baseline and ratio null
    // where there is none.
    static QByteArray json(const QList<Figure>& figures);

private:
    static QString textLine(const Figure& figure);
    static QString targetText(const Figure& figure);
};

} // namespace quillio::bench
