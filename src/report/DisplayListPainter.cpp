#include "report/DisplayListPainter.h"

#include <QPainter>

namespace quillio::report {

namespace {

struct ItemPainter
{
    QPainter& painter;

    void operator()(const TextRun& run) const
    {
        painter.save();
        painter.setClipRect(run.clip, Qt::IntersectClip);
        painter.setFont(run.font);
        painter.setPen(run.color);
        painter.drawText(run.baseline, run.text);
        painter.restore();
    }
    void operator()(const LineRun& run) const
    {
        painter.setPen(QPen(run.color, run.width, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(run.line);
    }
    void operator()(const RectRun& run) const
    {
        painter.setPen(run.border > 0 && run.borderColor.isValid() ? QPen(run.borderColor, run.border)
                                                                   : QPen(Qt::NoPen));
        painter.setBrush(run.fill.isValid() ? QBrush(run.fill) : QBrush(Qt::NoBrush));
        painter.drawRect(run.rect);
        painter.setBrush(Qt::NoBrush);
    }
    void operator()(const ImageRun& run) const { painter.drawImage(run.target, run.image); }
};

} // namespace

void DisplayListPainter::paintPage(QPainter& painter, const LaidOutPage& page, qreal dpiX, qreal dpiY,
                                   qreal scale)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(scale * dpiX / Reference::dotsPerInch, scale * dpiY / Reference::dotsPerInch);
    const ItemPainter itemPainter{painter};
    for (const DisplayItem& item : page.items)
        std::visit(itemPainter, item);
    painter.restore();
}

} // namespace quillio::report
