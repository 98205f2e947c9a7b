#include "app/BannerPicture.h"

#include "SvgPicture.h"

#include <QPainter>

namespace quillio::app {

BannerPicture::BannerPicture(const QString& path, QSize size, QWidget* parent) : QWidget(parent)
{
    setFixedSize(size);
    const qreal ratio = SvgPicture::screenRatio();
    // Drawn on the GUI thread at the first paint instead when no thread can be started.
    m_drawing = std::async(std::launch::async | std::launch::deferred,
                           [path, size, ratio] { return SvgPicture::image(path, size, ratio); });
}

const QPixmap& BannerPicture::picture()
{
    if (m_drawing.valid())
        m_picture = QPixmap::fromImage(m_drawing.get());
    return m_picture;
}

void BannerPicture::paintEvent(QPaintEvent*)
{
    QPainter(this).drawPixmap(0, 0, picture());
}

} // namespace quillio::app
