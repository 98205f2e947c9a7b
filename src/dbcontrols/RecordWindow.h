#pragma once

#include <QMainWindow>
#include <functional>

class QLabel;
class QMenu;
class QToolBar;

namespace quillio::dbcontrols {

// The frame the record windows share: one menu whose items are also toolbar buttons (one action
// each, so both run one handler and are enabled together), a status bar of three panels whose
// first holds a fixed text, hints kept as names but never shown. Closing by the close box only
// hides the window.
class RecordWindow : public QMainWindow
{
    Q_OBJECT

public:
    RecordWindow(const QString& caption, const QString& menuTitle, const QString& statusText,
                 QWidget* parent = nullptr);

    // Asked before a record is deleted.
    static const QString deleteQuestion;

    QMenu* menu() const { return m_menu; }
    QToolBar* toolBar() const { return m_toolBar; }
    QLabel* statusPanel() const { return m_statusPanel; }

protected:
    // A command: menu item `itemName`, toolbar button `buttonName`, both running `handler` through
    // the default error handler.
    QAction* addCommand(const QString& itemName, const QString& buttonName, const QString& caption,
                        const QString& hint, const QString& icon, std::function<void()> handler);
    void addSeparator();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QMenu* m_menu;
    QToolBar* m_toolBar;
    QLabel* m_statusPanel;
};

} // namespace quillio::dbcontrols
