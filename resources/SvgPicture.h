#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace quillio {

// Draws the program's SVG pictures straight through the SVG renderer: no icon engine is looked up
// or loaded, which a window built at start-up cannot afford.
class SvgPicture
{
public:
    // The picture at `path` drawn to fill `size` (in device-independent pixels) at `pixelRatio`;
    // null when it cannot be read. Safe on any thread.
    static QImage image(const QString& path, QSize size, qreal pixelRatio);
    // The pixel ratio of the screens, at least 1.
    static qreal screenRatio();
};

} // namespace quillio
