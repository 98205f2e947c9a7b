#include "RecordWindow.h"

#include "DefaultErrorHandler.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace quillio::dbcontrols {

const QString RecordWindow::deleteQuestion =
    QStringLiteral("ATTENZIONE - RICHIESTA CANCELLAZIONE SCHEDA\r\rE' stato chiesto di Cancellare la scheda "
                   "corrente.\r\rConfermi l'operazione?");

RecordWindow::RecordWindow(const QString& caption, const QString& menuTitle, const QString& statusText,
                           QWidget* parent)
    : QMainWindow(parent)
{
    setWindowTitle(caption);
    m_menu = menuBar()->addMenu(menuTitle);
    m_menu->setObjectName(menuTitle);
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setAccessibleName(QStringLiteral("ToolBar1"));
    m_toolBar->setIconSize(QSize(32, 32));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);

    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    m_statusPanel = new QLabel(statusText, bar);
    m_statusPanel->setObjectName(QStringLiteral("StatusPanel1"));
    m_statusPanel->setAlignment(Qt::AlignCenter);
    m_statusPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_statusPanel->setMinimumWidth(200);
    bar->addWidget(m_statusPanel);
    for (int width : {300, 100}) {
        auto* empty = new QLabel(bar);
        empty->setFixedWidth(width);
        empty->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addWidget(empty);
    }
}

QAction* RecordWindow::addCommand(const QString& itemName, const QString& buttonName, const QString& caption,
                                  const QString& hint, const QString& icon, std::function<void()> handler)
{
    auto* action = new QAction(QIcon(icon), caption, this);
    action->setObjectName(itemName);
    action->setToolTip(hint);
    connect(action, &QAction::triggered, this, [handler = std::move(handler)] { DefaultErrorHandler::run(handler); });
    m_menu->addAction(action);
    m_toolBar->addAction(action);
    QWidget* button = m_toolBar->widgetForAction(action);
    button->setObjectName(buttonName);
    button->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
    button->setAccessibleDescription(hint);
    button->installEventFilter(this);
    return action;
}

void RecordWindow::addSeparator()
{
    m_menu->addSeparator();
    m_toolBar->addSeparator();
}

bool RecordWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ToolTip)
        return true;
    return QMainWindow::eventFilter(watched, event);
}

// Escape belongs to the fields (it restores a value); it never closes a record window.
void RecordWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

} // namespace quillio::dbcontrols
