#include "widgets/ValueLabel.h"

#include <QAccessible>

namespace quillio::widgets {

ValueLabel::ValueLabel(const QString& meaning, const QString& value, QWidget* parent) : QLabel(value, parent)
{
    setAccessibleDescription(meaning);
    setAccessibleName(value);
}

void ValueLabel::setValue(const QString& value)
{
    if (value == text())
        return;
    setText(value);
    setAccessibleName(value);
    QAccessibleEvent changed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

} // namespace quillio::widgets
