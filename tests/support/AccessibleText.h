#pragma once

#include <QAccessible>

namespace quillio::test {

// What assistive technology reads of a widget through Qt's accessibility interface.
inline QString accessibleText(QObject* object, QAccessible::Text which = QAccessible::Name)
{
    QAccessibleInterface* interface = QAccessible::queryAccessibleInterface(object);
    return interface ? interface->text(which) : QStringLiteral("<no accessible interface>");
}

} // namespace quillio::test
