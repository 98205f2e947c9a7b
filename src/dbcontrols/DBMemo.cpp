#include "dbcontrols/DBMemo.h"

#include "dbcontrols/BoundField.h"
#include "dbcontrols/ReadOnlyLook.h"

#include <QKeyEvent>

namespace quillio::dbcontrols {

DBMemo::DBMemo(QWidget* parent) : QPlainTextEdit(parent)
{
    ReadOnlyLook::apply(this);
    setTabChangesFocus(true);
    m_binding = new BoundField(this, {[this] { return toPlainText(); },
                                      [this](const QString& shown) {
                                          m_showing = true;
                                          setPlainText(shown);
                                          m_showing = false;
                                      },
                                      [this] { selectAll(); }});
    connect(this, &QPlainTextEdit::textChanged, m_binding, [this] {
        if (!m_showing)
            m_binding->markChanged();
    });
}

void DBMemo::bind(engine::DataSource* source, const QString& fieldName)
{
    if (objectName().isEmpty())
        setObjectName(fieldName);
    m_binding->bind(source, fieldName);
}

void DBMemo::focusInEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusInEvent(event);
    m_binding->focusIn();
}

void DBMemo::focusOutEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusOutEvent(event);
    m_binding->focusOut(event->reason());
}

void DBMemo::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        m_binding->restore();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

} // namespace quillio::dbcontrols
