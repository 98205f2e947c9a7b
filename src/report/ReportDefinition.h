#pragma once

#include "report/TextTemplate.h"

#include <QColor>
#include <QImage>
#include <QLineF>
#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QString>
#include <variant>

namespace quillio::report {

// What a layout file describes, as loaded. Lengths are millimetres from the paper's top-left
// edge, font sizes points.

struct TextStyle
{
    QString family = QStringLiteral("DejaVu Sans");
    qreal size = 10;
    bool bold = false;
    bool italic = false;
    QColor color = Qt::black;
    Qt::Alignment horizontal = Qt::AlignLeft;
    Qt::Alignment vertical = Qt::AlignTop;
};

// Wrap: break lines at word boundaries, shrinking the font when the lines still do not fit.
// Shrink: keep each line whole and shrink the font until it fits.
enum class TextFit { Wrap, Shrink };

struct TextBox
{
    QRectF box;
    TextStyle style;
    TextTemplate text;
    TextFit fit = TextFit::Wrap;
    bool skipBlank = false; // prints nothing when every placeholder is empty
};

struct LineShape
{
    QLineF line;
    qreal width = 0.3;
    QColor color = Qt::black;
};

struct RectShape
{
    QRectF box;
    qreal border = 0.3; // 0: no border
    QColor borderColor = Qt::black;
    QColor fill; // invalid: not filled
};

struct ImageShape
{
    QRectF box;
    QImage image; // null when an optional image is absent
};

// A block of rows repeated from one template: row numbers `first` to `last`, each `rowHeight`
// tall, stacked from `top` within `height`. Cells lie at a fixed x; their y is within the row.
// Rows whose placeholders are all empty take no room when `skipBlank` is set. A flowing table
// continues on copies of its page when its rows do not fit; `rowsFrom` names the parameter that
// gives the last row number, for a list whose length is known only when it is printed.
struct TableRows
{
    int sourceLine = 0;
    qreal top = 0;
    qreal height = 0;
    qreal rowHeight = 0;
    int first = 1;
    int last = 1;
    int digits = 2;
    bool skipBlank = true;
    bool flow = false;
    QString rowsFrom;
    QList<TextBox> cells;
    LineShape rule; // drawn under each row when its colour is valid
    QColor stripe;  // fills every second row when valid
    qreal stripeLeft = 0;
    qreal stripeWidth = 0;
};

using PageElement = std::variant<TextBox, LineShape, RectShape, ImageShape, TableRows>;

struct PageDefinition
{
    QList<PageElement> elements; // painted in this order
};

struct ReportDefinition
{
    QString name;
    QPageSize pageSize{QPageSize::A4};
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QList<PageDefinition> pages;
};

struct LayoutFile
{
    QString path;
    QList<ReportDefinition> reports;
    qsizetype active = 0;
    const ReportDefinition& activeReport() const { return reports.at(active); }
};

} // namespace quillio::report
