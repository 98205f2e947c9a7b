#include "dbcontrols/DBEdit.h"

#include "dbcontrols/BoundField.h"
#include "dbcontrols/ReadOnlyLook.h"

#include <QKeyEvent>

namespace quillio::dbcontrols {

DBEdit::DBEdit(QWidget* parent) : QLineEdit(parent)
{
    ReadOnlyLook::apply(this);
    m_binding = new BoundField(this, {[this] { return text(); },
                                      [this](const QString& shown) {
                                          setText(shown);
                                          setCursorPosition(0);
                                      },
                                      [this] { selectAll(); }});
    connect(this, &QLineEdit::textEdited, m_binding, &BoundField::markChanged);
}

void DBEdit::bind(engine::DataSource* source, const QString& fieldName)
{
    if (objectName().isEmpty())
        setObjectName(fieldName);
    m_binding->bind(source, fieldName);
}

int DBEdit::inputLimit() const
{
    if (m_ownLimit > 0)
        return m_ownLimit;
    const engine::FieldDef field = m_binding->field();
    return field.type == engine::FieldType::Char ? field.width : 0;
}

bool DBEdit::exceedsLimit(const QString& inserted) const
{
    const int limit = inputLimit();
    return limit > 0 && text().size() - selectedText().size() + inserted.size() > limit;
}

void DBEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    m_binding->focusIn();
}

void DBEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    m_binding->focusOut(event->reason());
}

void DBEdit::keyPressEvent(QKeyEvent* event)
{
    if (keyFilter && keyFilter(event))
        return;
    if (event->key() == Qt::Key_Escape) {
        m_binding->restore();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        QLineEdit::keyPressEvent(event);
        if (const int limit = inputLimit(); limit > 0 && text().size() > limit && m_binding->changed())
            setText(text().left(limit));
        return;
    }
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.at(0).isPrint() && exceedsLimit(typed)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace quillio::dbcontrols
