#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLineF>
#include <QList>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <variant>

namespace quillio::report {

// A report laid out once, ready to paint on any device. Coordinates are reference units of
// 1/720 inch from the paper's top-left edge; fonts carry their size as a pixel size in the same
// units, so every device that scales the list draws the same lines with the same breaks.
namespace Reference {
constexpr qreal dotsPerInch = 720;
inline qreal fromMillimetres(qreal mm)
{
    return mm * dotsPerInch / 25.4;
}
inline QRectF fromMillimetres(const QRectF& mm)
{
    return {fromMillimetres(mm.x()), fromMillimetres(mm.y()), fromMillimetres(mm.width()),
            fromMillimetres(mm.height())};
}
inline qreal fromPoints(qreal points)
{
    return points * dotsPerInch / 72;
}
} // namespace Reference

// One line of text, broken and sized already, drawn at its baseline and clipped to its box.
struct TextRun
{
    QFont font;
    QColor color;
    QPointF baseline;
    QString text;
    QRectF clip;
};

struct LineRun
{
    QLineF line;
    qreal width = 0;
    QColor color;
};

struct RectRun
{
    QRectF rect;
    qreal border = 0;
    QColor borderColor;
    QColor fill;
};

struct ImageRun
{
    QRectF target;
    QImage image;
};

using DisplayItem = std::variant<TextRun, LineRun, RectRun, ImageRun>;

struct LaidOutPage
{
    QList<DisplayItem> items;
};

struct LaidOutDocument
{
    QPageLayout pageLayout; // paper and orientation, no margins: the list starts at the paper's edge
    QList<LaidOutPage> pages;
};

} // namespace quillio::report
