#include "report/ReportLayouter.h"

#include "report/LayoutLimits.h"
#include "report/ReportError.h"
#include "report/TextFitter.h"

#include <cmath>
#include <limits>

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

// The last row number: the layout's, or the whole number in the parameter it names, which may
// come from anywhere and so is held to the longest list a print may have.
int lastRow(const TableRows& table, const ReportParameters& parameters)
{
    if (table.rowsFrom.isEmpty())
        return table.last;
    bool ok = false;
    const qint64 last = parameters.value(table.rowsFrom).trimmed().toLongLong(&ok);
    if (!ok)
        return table.first - 1;
    if (last > LayoutLimits::mostRows)
        throw ReportError(
            QStringLiteral("La tabella della riga %1 del modello di stampa dovrebbe stampare le "
                           "righe fino alla %2 (parametro \"%3\"), oltre le %4 ammesse; non è "
                           "stato stampato nulla.")
                .arg(table.sourceLine)
                .arg(last)
                .arg(table.rowsFrom)
                .arg(LayoutLimits::mostRows));
    return int(qMax<qint64>(last, table.first - 1));
}

QList<int> filledRows(const TableRows& table, const ReportParameters& parameters)
{
    QList<int> rows;
    const int last = lastRow(table, parameters);
    for (int row = table.first; row <= last; ++row) {
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

// Counted in floating point and held below the largest int, whatever the table's figures.
int roomOf(const TableRows& table)
{
    const qreal room = std::floor(table.height / table.rowHeight + 1e-9);
    if (!(room > 0))
        return 0;
    constexpr int most = std::numeric_limits<int>::max();
    return room >= qreal(most) ? most : int(room);
}

// A flowing table prints at least one row per page, however low it is, so it always ends.
int flowRoomOf(const TableRows& table)
{
    return qMax(1, roomOf(table));
}

void addRows(LaidOutPage& page, const TableRows& table, const QList<int>& rows,
             const ReportParameters& parameters, const ReportParameters& pageTexts)
{
    for (qsizetype index = 0; index < rows.size(); ++index) {
        const qreal top = table.top + index * table.rowHeight;
        if (table.stripe.isValid() && index % 2 == 1)
            page.items.append(
                RectRun{fromMillimetres(QRectF(table.stripeLeft, top, table.stripeWidth, table.rowHeight)),
                        0,
                        {},
                        table.stripe});
        for (const TextBox& cell : table.cells)
            addText(page, cell, cell.text.fill(parameters, rows[index], table.digits, &pageTexts),
                    cell.box.translated(0, top));
        if (table.rule.color.isValid())
            page.items.append(lineRun(table.rule, QPointF(0, top + table.rowHeight)));
    }
}

void addTable(LaidOutPage& page, const TableRows& table, const ReportParameters& parameters,
              const ReportParameters& pageTexts)
{
    const QList<int> rows = filledRows(table, parameters);
    const int room = roomOf(table);
    if (rows.size() > room)
        throw ReportError(
            QStringLiteral("The table of line %1 of the report layout has %2 rows to print but room "
                           "for %3 only; nothing was printed.")
                .arg(table.sourceLine)
                .arg(rows.size())
                .arg(room));
    addRows(page, table, rows, parameters, pageTexts);
}

const TableRows* flowingTable(const PageDefinition& page)
{
    for (const PageElement& element : page.elements)
        if (const auto* table = std::get_if<TableRows>(&element); table && table->flow)
            return table;
    return nullptr;
}

ReportParameters pageTextsFor(qsizetype index, qsizetype count)
{
    ReportParameters texts;
    texts.set(QStringLiteral("Pagina"), QString::number(index + 1));
    texts.set(QStringLiteral("Pagine"), QString::number(count));
    return texts;
}

struct ElementPainter
{
    LaidOutPage& page;
    const ReportParameters& parameters;
    const ReportParameters& pageTexts;
    const QList<int>& flowRows;

    void operator()(const TextBox& text) const
    {
        if (!(text.skipBlank && text.text.allPlaceholdersEmpty(parameters, -1, 0, &pageTexts)))
            addText(page, text, text.text.fill(parameters, -1, 0, &pageTexts), text.box);
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
    void operator()(const TableRows& table) const
    {
        if (table.flow)
            addRows(page, table, flowRows, parameters, pageTexts);
        else
            addTable(page, table, parameters, pageTexts);
    }
};

LaidOutPage layOutWith(const PageDefinition& definition, const ReportParameters& parameters,
                       const ReportParameters& pageTexts, const QList<int>& flowRows)
{
    LaidOutPage laidOut;
    const ElementPainter painter{laidOut, parameters, pageTexts, flowRows};
    for (const PageElement& element : definition.elements)
        std::visit(painter, element);
    return laidOut;
}

} // namespace

QPageLayout ReportLayouter::pageLayout(const ReportDefinition& report)
{
    return QPageLayout(report.pageSize, report.orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

QList<ReportLayouter::PlannedPage> ReportLayouter::plan(const ReportDefinition& report,
                                                        const ReportParameters& parameters)
{
    QList<PlannedPage> pages;
    for (qsizetype page = 0; page < report.pages.size(); ++page) {
        const TableRows* table = flowingTable(report.pages[page]);
        if (!table) {
            pages.append(PlannedPage{page, {}});
            continue;
        }
        // A flowing table with no rows still prints its page once, with its headings.
        const QList<int> rows = filledRows(*table, parameters);
        const int room = flowRoomOf(*table);
        qsizetype from = 0;
        do {
            pages.append(PlannedPage{page, rows.mid(from, room)});
            from += room;
        } while (from < rows.size());
    }
    return pages;
}

LaidOutPage ReportLayouter::layOutPlanned(const ReportDefinition& report, const QList<PlannedPage>& plan,
                                          qsizetype index, const ReportParameters& parameters)
{
    const PlannedPage& planned = plan.at(index);
    return layOutWith(report.pages.at(planned.page), parameters, pageTextsFor(index, plan.size()),
                      planned.flowRows);
}

LaidOutPage ReportLayouter::layOutPage(const ReportDefinition& report, qsizetype page,
                                       const ReportParameters& parameters)
{
    const PageDefinition& definition = report.pages.at(page);
    QList<int> flowRows;
    if (const TableRows* table = flowingTable(definition))
        flowRows = filledRows(*table, parameters).mid(0, flowRoomOf(*table));
    return layOutWith(definition, parameters, pageTextsFor(0, 1), flowRows);
}

LaidOutDocument ReportLayouter::layOut(const ReportDefinition& report, const ReportParameters& parameters)
{
    LaidOutDocument document{pageLayout(report), {}};
    const QList<PlannedPage> pages = plan(report, parameters);
    for (qsizetype index = 0; index < pages.size(); ++index)
        document.pages.append(layOutPlanned(report, pages, index, parameters));
    return document;
}

} // namespace quillio::report
