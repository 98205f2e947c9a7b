#include "ReportLayouter.h"

#include "ReportError.h"
#include "TextFitter.h"

namespace quillio::report {

namespace {

using Reference::fromMillimetres;

void addText(LaidOutPage& page, const TextBox& text, const QString& filled, const QRectF& boxMm)
{
    for (TextRun& run : TextFitter::fit(filled, fromMillimetres(boxMm), text.style, text.fit))
        page.items.append(std::move(run));
}

LineRun lineRun(const LineShape& shape, const QPointF& offsetMm = {})
{
    const QLineF line = shape.line.translated(offsetMm);
    return {QLineF(fromMillimetres(line.x1()), fromMillimetres(line.y1()), fromMillimetres(line.x2()),
                   fromMillimetres(line.y2())),
            fromMillimetres(shape.width), shape.color};
}

// The image scaled to fit its box, keeping its proportions, centred.
QRectF imageTarget(const QImage& image, const QRectF& box)
{
    QSizeF size = image.size();
    size.scale(box.size(), Qt::KeepAspectRatio);
    QRectF target(QPointF(), size);
    target.moveCenter(box.center());
    return target;
}

QList<int> filledRows(const TableRows& table, const ReportParameters& parameters)
{
    QList<int> rows;
    for (int row = table.first; row <= table.last; ++row) {
        // A row is blank when all its placeholders are; cells of fixed text do not count.
        bool sawPlaceholder = false;
        bool allEmpty = true;
        for (const TextBox& cell : table.cells) {
            if (!cell.text.hasPlaceholders())
                continue;
            sawPlaceholder = true;
            allEmpty = allEmpty && cell.text.allPlaceholdersEmpty(parameters, row, table.digits);
        }
        if (!(table.skipBlank && sawPlaceholder && allEmpty))
            rows.append(row);
    }
    return rows;
}

void addTable(LaidOutPage& page, const TableRows& table, const ReportParameters& parameters)
{
    const QList<int> rows = filledRows(table, parameters);
    const int room = int(table.height / table.rowHeight + 1e-9);
    if (rows.size() > room)
        throw ReportError(
            QStringLiteral("The table of line %1 of the report layout has %2 rows to print but room "
                           "for %3 only; nothing was printed.")
                .arg(table.sourceLine)
                .arg(rows.size())
                .arg(room));
    for (qsizetype index = 0; index < rows.size(); ++index) {
        const qreal top = table.top + index * table.rowHeight;
        if (table.stripe.isValid() && index % 2 == 1)
            page.items.append(
                RectRun{fromMillimetres(QRectF(table.stripeLeft, top, table.stripeWidth, table.rowHeight)),
                        0,
                        {},
                        table.stripe});
        for (const TextBox& cell : table.cells)
            addText(page, cell, cell.text.fill(parameters, rows[index], table.digits),
                    cell.box.translated(0, top));
        if (table.rule.color.isValid())
            page.items.append(lineRun(table.rule, QPointF(0, top + table.rowHeight)));
    }
}

struct ElementPainter
{
    LaidOutPage& page;
    const ReportParameters& parameters;

    void operator()(const TextBox& text) const
    {
        if (!(text.skipBlank && text.text.allPlaceholdersEmpty(parameters, -1, 0)))
            addText(page, text, text.text.fill(parameters), text.box);
    }
    void operator()(const LineShape& line) const { page.items.append(lineRun(line)); }
    void operator()(const RectShape& rect) const
    {
        page.items.append(
            RectRun{fromMillimetres(rect.box), fromMillimetres(rect.border), rect.borderColor, rect.fill});
    }
    void operator()(const ImageShape& image) const
    {
        if (!image.image.isNull())
            page.items.append(ImageRun{imageTarget(image.image, fromMillimetres(image.box)), image.image});
    }
    void operator()(const TableRows& table) const { addTable(page, table, parameters); }
};

} // namespace

QPageLayout ReportLayouter::pageLayout(const ReportDefinition& report)
{
    return QPageLayout(report.pageSize, report.orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

LaidOutPage ReportLayouter::layOutPage(const ReportDefinition& report, qsizetype page,
                                       const ReportParameters& parameters)
{
    LaidOutPage laidOut;
    const ElementPainter painter{laidOut, parameters};
    for (const PageElement& element : report.pages.at(page).elements)
        std::visit(painter, element);
    return laidOut;
}

LaidOutDocument ReportLayouter::layOut(const ReportDefinition& report, const ReportParameters& parameters)
{
    LaidOutDocument document{pageLayout(report), {}};
    for (qsizetype page = 0; page < report.pages.size(); ++page)
        document.pages.append(layOutPage(report, page, parameters));
    return document;
}

} // namespace quillio::report
