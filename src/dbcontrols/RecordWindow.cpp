#include "dbcontrols/RecordWindow.h"

#include "dbcontrols/BoundField.h"
#include "dbcontrols/DBNavigator.h"
#include "engine/Table.h"
#include "platform/DefaultErrorHandler.h"
#include "platform/Platform.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QShowEvent>
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
    DBNavigator1 = new DBNavigator(this);
    DBNavigator1->setAccessibleName(QStringLiteral("DBNavigator1"));
}

void RecordWindow::buildCommands(const Hints& hints, const std::function<void()>& extra)
{
    Nuovo1 = addCommand("Nuovo1", "TBNuovo", "&Nuovo", hints.nuovo, ":/icons/nuovo.svg",
                        [this] { Nuovo1Click(); });
    Modifica1 = addCommand("Modifica1", "TBModifica", "&Modifica", hints.modifica, ":/icons/modifica.svg",
                           [this] { Modifica1Click(); });
    Salva1 = addCommand("Salva1", "TBSalva", "&Salva", hints.salva, ":/icons/salva.svg",
                        [this] { Salva1Click(); });
    Cancella1 = addCommand("Cancella1", "TBCancella", "&Cancella", hints.cancella, ":/icons/cancella.svg",
                           [this] { Cancella1Click(); });
    Annulla1 = addCommand("Annulla1", "TBAnnulla", "&Annulla", hints.annulla, ":/icons/annulla.svg",
                          [this] { Annulla1Click(); });
    if (extra)
        extra();
    addSeparator();
    Esci1 = addCommand("Esci1", "TBEsci", "&Esci", hints.esci, ":/icons/esci.svg", [this] { Esci1Click(); });
}

void RecordWindow::setLayout(Layout layout)
{
    m_layout = layout;
    const bool browse = layout == Layout::Browse;
    const bool edit = layout == Layout::Edit;
    Nuovo1->setEnabled(browse);
    Modifica1->setEnabled(browse);
    Salva1->setEnabled(edit);
    Cancella1->setEnabled(browse);
    Annulla1->setEnabled(edit);
    setOwnCommands(layout);
    Esci1->setEnabled(browse);
    DBNavigator1->setEnabled(browse);
    setPanels(layout);
}

void RecordWindow::Modifica1Click()
{
    setLayout(Layout::Edit);
    table().edit();
    focusFirstField();
}

void RecordWindow::Salva1Click()
{
    setLayout(Layout::Browse);
    BoundField::throwIfFailed();
    table().post();
    recordStored();
}

void RecordWindow::Annulla1Click()
{
    setLayout(Layout::Browse);
    BoundField::takeFailure();
    table().cancel();
}

void RecordWindow::Cancella1Click()
{
    setLayout(Layout::Confirming);
    // Whatever the answer or the outcome, the window returns to browsing.
    struct BackToBrowse
    {
        RecordWindow* window;
        ~BackToBrowse() { window->setLayout(Layout::Browse); }
    } backToBrowse{this};
    if (!Platform::messages().confirm(deleteQuestion, Messages::Default::Yes))
        return;
    table().remove();
    recordDeleted();
}

void RecordWindow::Esci1Click()
{
    table().close();
    close();
}

void RecordWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (event->spontaneous())
        return;
    if (QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    DefaultErrorHandler::run([this] { windowShown(); });
}

QAction* RecordWindow::addCommand(const QString& itemName, const QString& buttonName, const QString& caption,
                                  const QString& hint, const QString& icon, std::function<void()> handler)
{
    auto* action = new QAction(QIcon(icon), caption, this);
    action->setObjectName(itemName);
    action->setToolTip(hint);
    connect(action, &QAction::triggered, this,
            [handler = std::move(handler)] { DefaultErrorHandler::run(handler); });
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
