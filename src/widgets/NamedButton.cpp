#include "widgets/NamedButton.h"

namespace quillio::widgets {

QPushButton* NamedButton::make(const QString& name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(QString(caption).remove(u'&').remove(QStringLiteral("…")));
    return button;
}

} // namespace quillio::widgets
