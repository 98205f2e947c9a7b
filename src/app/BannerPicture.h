#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <future>

namespace quillio::app {

// A fixed-size SVG picture drawn on a worker thread from the moment it is made, so that drawing it
// (and the font set-up its text needs) overlaps the building and showing of the rest of its window.
// Its first paint waits for the drawing if it is not done yet, so it never shows empty.
class BannerPicture : public QWidget
{
public:
    // Starts drawing; the widget's end waits for a drawing still running.
    BannerPicture(const QString& path, QSize size, QWidget* parent = nullptr);

    QSize sizeHint() const override { return size(); }
    // The drawn picture, waiting for it.
    const QPixmap& picture();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::future<QImage> m_drawing;
    QPixmap m_picture;
};

} // namespace quillio::app
