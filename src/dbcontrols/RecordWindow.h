#pragma once

#include <QMainWindow>
#include <functional>

class QLabel;
class QMenu;
class QToolBar;

namespace quillio::engine {
class Table;
}

namespace quillio::dbcontrols {

class DBNavigator;

// The frame every record window shares: one record of its table at a time, the navigator, and
// the six commands (Nuovo, Modifica, Salva, Cancella, Annulla, Esci), each a menu item and a
// toolbar button on one action, so both run one handler and are enabled together. Each command
// first sets the layout that follows it, then does its table operation. A status bar of three
// panels whose first holds a fixed text; hints kept as names but never shown; the window opens
// centred, and closing it by the close box only hides it.
class RecordWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Confirming: while the delete question is open, nothing else can be used.
    enum class Layout { Browse, Edit, Confirming };
    // The hints of the six buttons, in command order.
    struct Hints
    {
        QString nuovo, modifica, salva, cancella, annulla, esci;
    };

    RecordWindow(const QString& caption, const QString& menuTitle, const QString& statusText,
                 QWidget* parent = nullptr);

    // Asked before a record is deleted.
    static const QString deleteQuestion;

    QMenu* menu() const { return m_menu; }
    QToolBar* toolBar() const { return m_toolBar; }
    QLabel* statusPanel() const { return m_statusPanel; }
    Layout layout() const { return m_layout; }

    DBNavigator* DBNavigator1 = nullptr;
    QAction* Nuovo1 = nullptr;
    QAction* Modifica1 = nullptr;
    QAction* Salva1 = nullptr;
    QAction* Cancella1 = nullptr;
    QAction* Annulla1 = nullptr;
    QAction* Esci1 = nullptr;

    virtual void Nuovo1Click() = 0;
    void Modifica1Click();
    // Disabling the fields makes the focused one leave first: its text is written and its exit
    // handler runs before the record is stored. A field that refused its text stops the store;
    // the record stays pending in the browse layout.
    virtual void Salva1Click();
    virtual void Annulla1Click();
    // Asks first: one click beside Annulla must not destroy a record.
    void Cancella1Click();
    void Esci1Click();

protected:
    // Adds the six commands; `extra` adds the window's own between Annulla and the separator
    // before Esci.
    void buildCommands(const Hints& hints, const std::function<void()>& extra = {});
    // A command: menu item `itemName`, toolbar button `buttonName`, both running `handler` through
    // the default error handler.
    QAction* addCommand(const QString& itemName, const QString& buttonName, const QString& caption,
                        const QString& hint, const QString& icon, std::function<void()> handler);
    void addSeparator();
    void setTable(engine::Table* table) { m_table = table; }
    engine::Table& table() const { return *m_table; }

    // Sets the commands in their order, then the navigator, then the window's own controls.
    void setLayout(Layout layout);
    // The window's own commands, set between Annulla and Esci.
    virtual void setOwnCommands(Layout layout) { Q_UNUSED(layout); }
    // The window's panels, set last.
    virtual void setPanels(Layout layout) = 0;
    // Where the typing starts after Nuovo and Modifica.
    virtual void focusFirstField() = 0;
    // Run after a record was stored or deleted, and each time the window is shown.
    virtual void recordStored() {}
    virtual void recordDeleted() {}
    virtual void windowShown() {}

    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QMenu* m_menu;
    QToolBar* m_toolBar;
    QLabel* m_statusPanel;
    engine::Table* m_table = nullptr;
    Layout m_layout = Layout::Browse;
};

} // namespace quillio::dbcontrols
