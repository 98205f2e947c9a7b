#include "SvgPicture.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

namespace quillio {

QImage SvgPicture::image(const QString& path, QSize size, qreal pixelRatio)
{
    QSvgRenderer renderer(path);
    if (!renderer.isValid() || size.isEmpty())
        return {};
    QImage image(size * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    image.setDevicePixelRatio(pixelRatio);
    return image;
}

qreal SvgPicture::screenRatio()
{
    return qMax(qreal(1), qGuiApp->devicePixelRatio());
}

} // namespace quillio
