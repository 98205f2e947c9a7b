#include "dbcontrols/DBComboBox.h"

#include "dbcontrols/BoundField.h"
#include "dbcontrols/ReadOnlyLook.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStringListModel>

namespace quillio::dbcontrols {

DBComboBox::DBComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(20);
    ReadOnlyLook::apply(this);
    m_binding = new BoundField(this, {[this] { return currentText(); },
                                      [this](const QString& shown) {
                                          m_showing = true;
                                          setEditText(shown);
                                          lineEdit()->setCursorPosition(0);
                                          m_showing = false;
                                      },
                                      [this] { lineEdit()->selectAll(); }});
    connect(lineEdit(), &QLineEdit::textEdited, m_binding, &BoundField::markChanged);
    connect(this, &QComboBox::activated, m_binding, &BoundField::markChanged);
}

void DBComboBox::bind(engine::DataSource* source, const QString& fieldName)
{
    if (objectName().isEmpty())
        setObjectName(fieldName);
    m_binding->bind(source, fieldName);
    applyFieldWidth();
}

// Stored names are never longer than the field, so the edit's own limit cuts nothing stored.
void DBComboBox::applyFieldWidth()
{
    const engine::FieldDef field = m_binding->field();
    if (field.type == engine::FieldType::Char && field.width > 0)
        lineEdit()->setMaxLength(field.width);
}

void DBComboBox::setItems(const QStringList& items)
{
    m_pendingItems = nullptr;
    QLineEdit* edit = lineEdit();
    const QString text = edit->text();
    const int cursor = edit->cursorPosition();
    const int selectionStart = edit->selectionStart();
    const int selectionLength = edit->selectionLength();
    const bool edited = edit->isModified();
    const bool changed = m_binding->changed();
    m_showing = true;
    // A plain string list model takes a hundred thousand names at once; items added one by one
    // would each become an item object.
    if (auto* names = qobject_cast<QStringListModel*>(model()))
        names->setStringList(items);
    else
        setModel(new QStringListModel(items, this));
    setEditText(text);
    if (selectionStart < 0) {
        edit->setCursorPosition(cursor);
    } else if (cursor == selectionStart) {
        // Selected backwards: the selection runs from its end back to the cursor.
        edit->setSelection(selectionStart + selectionLength, -selectionLength);
    } else {
        edit->setSelection(selectionStart, selectionLength);
    }
    edit->setModified(edited);
    m_showing = false;
    if (changed)
        m_binding->markChanged();
}

void DBComboBox::setItemsLater(std::function<QStringList()> items)
{
    m_pendingItems = std::move(items);
}

void DBComboBox::applyPendingItems()
{
    if (!m_pendingItems)
        return;
    const std::function<QStringList()> items = std::move(m_pendingItems);
    m_pendingItems = nullptr;
    setItems(items());
}

void DBComboBox::showPopup()
{
    applyPendingItems();
    QComboBox::showPopup();
}

// Keys and the wheel move through the list, and Return looks the text up in it: the list given
// later must be there before any of them is handled.
bool DBComboBox::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
        applyPendingItems();
        break;
    default:
        break;
    }
    return QComboBox::event(event);
}

void DBComboBox::focusInEvent(QFocusEvent* event)
{
    QComboBox::focusInEvent(event);
    applyFieldWidth();
    m_binding->focusIn();
}

void DBComboBox::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    m_binding->focusOut(event->reason());
}

void DBComboBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && !view()->isVisible()) {
        m_binding->restore();
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

} // namespace quillio::dbcontrols
