#pragma once

#include <QComboBox>

namespace quillio::archive {
class DataSource;
}

namespace quillio::dbcontrols {

class BoundField;

// An editable combo box bound to a text field: free text plus a drop-down list. It completes
// nothing by itself, never adds the typed text to its list, keeps the field's text when its list
// is refilled, and counts a pick from the list as a change. Typing stops at the field's width.
class DBComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit DBComboBox(QWidget* parent = nullptr);

    void bind(archive::DataSource* source, const QString& fieldName);
    BoundField& binding() const { return *m_binding; }
    // Replaces the list, leaving the text in the box as it was.
    void setItems(const QStringList& items);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void applyFieldWidth();

    BoundField* m_binding;
    bool m_showing = false;
};

} // namespace quillio::dbcontrols
