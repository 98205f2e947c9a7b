#include "report/TextFitter.h"

#include <QTextLayout>
#include <cmath>
#include <optional>

namespace quillio::report {

namespace {

struct BrokenLine
{
    QString text;
    qreal width = 0;
    qreal top = 0;
    qreal ascent = 0;
    qreal height = 0;
};

struct Lines
{
    QList<BrokenLine> lines;
    qreal height = 0;
    qreal widest = 0;
};

QFont referenceFont(const TextStyle& style, qreal pointSize)
{
    QFont font(style.family);
    font.setPixelSize(qMax(1, qRound(Reference::fromPoints(pointSize))));
    font.setBold(style.bold);
    font.setItalic(style.italic);
    // Unhinted outlines measure the same on every device, so lines break alike everywhere.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::ForceOutline);
    font.setKerning(true);
    // Any letter spacing makes the shaper leave ligatures out, so "ffi" stays three letters a
    // reader can find and copy; 1/64 of a reference unit is far below what any device shows.
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.0 / 64);
    return font;
}

Lines breakLines(const QString& text, const QFont& font, qreal width, TextFit fit)
{
    QString prepared = text;
    prepared.replace(u'\n', QChar::LineSeparator);
    QTextLayout layout(prepared, font);
    QTextOption option;
    option.setWrapMode(fit == TextFit::Wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere
                                            : QTextOption::NoWrap);
    layout.setTextOption(option);
    Lines result;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, result.height));
        QString part = prepared.mid(line.textStart(), line.textLength());
        part.remove(QChar::LineSeparator);
        while (part.endsWith(u' '))
            part.chop(1);
        result.lines.append({part, line.naturalTextWidth(), result.height, line.ascent(), line.height()});
        result.height += line.height();
        result.widest = qMax(result.widest, line.naturalTextWidth());
    }
    layout.endLayout();
    return result;
}

bool fitsIn(const Lines& lines, const QSizeF& box)
{
    return lines.height <= box.height() + 0.01 && lines.widest <= box.width() + 0.01;
}

qreal leftOf(const BrokenLine& line, const QRectF& box, Qt::Alignment alignment)
{
    if (alignment & Qt::AlignRight)
        return box.right() - line.width;
    if (alignment & Qt::AlignHCenter)
        return box.left() + (box.width() - line.width) / 2;
    return box.left();
}

qreal topOf(qreal blockHeight, const QRectF& box, Qt::Alignment alignment)
{
    const qreal spare = qMax<qreal>(0, box.height() - blockHeight);
    if (alignment & Qt::AlignBottom)
        return box.top() + spare;
    if (alignment & Qt::AlignVCenter)
        return box.top() + spare / 2;
    return box.top();
}

// The lines that lie whole inside the box, or the first one alone when none does.
qsizetype visibleLineCount(const Lines& lines, qreal boxHeight)
{
    qsizetype count = 0;
    while (count < lines.lines.size() &&
           lines.lines[count].top + lines.lines[count].height <= boxHeight + 0.01)
        ++count;
    return qMax<qsizetype>(count, lines.lines.isEmpty() ? 0 : 1);
}

struct SetText
{
    QFont font;
    Lines lines;
};

// The text set in the style's size, else in the first size on the half-point steps down from it at
// which the lines fit, else in the smallest. The first steps are tried one by one, as a text a
// little too long needs; below them the size is found by halving the steps left, so that a font
// of hundreds of points in a small box takes a dozen layouts, not a thousand. Both give the same
// size wherever a smaller font never takes more room than a larger one.
SetText setInFittingSize(const QString& text, const QRectF& box, const TextStyle& style, TextFit fit)
{
    constexpr int stepsOneByOne = 8;
    const auto stepDown = [&](int steps) {
        return qMax(TextFitter::smallestPointSize, style.size - 0.5 * steps);
    };
    const auto setIn = [&](qreal size) {
        const QFont font = referenceFont(style, size);
        return SetText{font, breakLines(text, font, box.width(), fit)};
    };
    SetText set = setIn(style.size);
    if (style.size <= TextFitter::smallestPointSize || fitsIn(set.lines, box.size()))
        return set;
    // The last step reaches the smallest size, and may be shorter than half a point.
    const int lastStep = int(std::ceil((style.size - TextFitter::smallestPointSize) / 0.5));
    int step = 1;
    for (; step <= qMin(stepsOneByOne, lastStep); ++step) {
        set = setIn(stepDown(step));
        if (fitsIn(set.lines, box.size()))
            return set;
    }
    int low = step;
    int high = lastStep;
    std::optional<SetText> found;
    while (low <= high) {
        const int middle = low + (high - low) / 2;
        SetText tried = setIn(stepDown(middle));
        if (fitsIn(tried.lines, box.size())) {
            found = std::move(tried);
            high = middle - 1;
        } else {
            low = middle + 1;
        }
    }
    return found ? *found : (step > lastStep ? set : setIn(stepDown(lastStep)));
}

} // namespace

QList<TextRun> TextFitter::fit(const QString& text, const QRectF& box, const TextStyle& style, TextFit fit)
{
    if (text.isEmpty())
        return {};
    const auto [font, lines] = setInFittingSize(text, box, style, fit);
    const qsizetype count = visibleLineCount(lines, box.height());
    const qreal blockHeight = count > 0 ? lines.lines[count - 1].top + lines.lines[count - 1].height : 0;
    const qreal top = topOf(blockHeight, box, style.vertical);
    QList<TextRun> runs;
    for (qsizetype i = 0; i < count; ++i) {
        const BrokenLine& line = lines.lines[i];
        if (line.text.isEmpty())
            continue;
        const QPointF baseline(leftOf(line, box, style.horizontal), top + line.top + line.ascent);
        runs.append({font, style.color, baseline, line.text, box});
    }
    return runs;
}

} // namespace quillio::report
