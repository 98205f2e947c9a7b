#include "desktop/WindowModalShower.h"

#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QWidget>

namespace quillio::desktop {

namespace {

class QuitOnHide : public QObject
{
public:
    explicit QuitOnHide(QEventLoop& loop) : m_loop(loop) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide && !static_cast<QWidget*>(watched)->isVisible())
            m_loop.quit();
        return false;
    }

private:
    QEventLoop& m_loop;
};

} // namespace

void WindowModalShower::showModal(QWidget* window)
{
    if (auto* dialog = qobject_cast<QDialog*>(window)) {
        dialog->exec();
        return;
    }
    QEventLoop loop;
    QuitOnHide watcher(loop);
    window->setWindowModality(Qt::ApplicationModal);
    window->installEventFilter(&watcher);
    window->show();
    if (window->isVisible())
        loop.exec();
    window->removeEventFilter(&watcher);
}

} // namespace quillio::desktop
