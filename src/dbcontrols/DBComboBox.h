#pragma once

#include <QComboBox>
#include <functional>

namespace quillio::engine {
class DataSource;
}

namespace quillio::dbcontrols {

class BoundField;

// An editable combo box bound to a text field: free text plus a drop-down list. It completes
// nothing by itself, never adds the typed text to its list, keeps the field's text when its list
// is refilled, and counts a pick from the list as a change. Typing stops at the field's width.
// Its list may be given later: a long list is then made elsewhere while the window shows, and
// the box takes it before it handles a key, a wheel turn or the opening of its list.
class DBComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit DBComboBox(QWidget* parent = nullptr);

    void bind(engine::DataSource* source, const QString& fieldName);
    BoundField& binding() const { return *m_binding; }
    // Replaces the list, leaving the text in the box, its cursor and its selection as they were.
    void setItems(const QStringList& items);
    // The list will be what `items` returns; it is called (and may wait for its list) at the
    // latest when the list is first needed, or at applyPendingItems().
    void setItemsLater(std::function<QStringList()> items);
    bool hasPendingItems() const { return bool(m_pendingItems); }
    // Takes the list given later now; nothing when there is none.
    void applyPendingItems();
    void showPopup() override;

protected:
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void applyFieldWidth();

    BoundField* m_binding;
    bool m_showing = false;
    std::function<QStringList()> m_pendingItems;
};

} // namespace quillio::dbcontrols
