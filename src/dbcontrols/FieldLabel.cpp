#include "dbcontrols/FieldLabel.h"

#include "dbcontrols/FocusHighlight.h"

#include <QLabel>

namespace quillio::dbcontrols {

QLabel* FieldLabel::create(const QString& caption, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAutoFillBackground(true);
    label->setContentsMargins(4, 0, 4, 0);
    QPalette palette = label->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Window, FocusHighlight::colour);
    palette.setColor(QPalette::Disabled, QPalette::WindowText,
                     palette.color(QPalette::Active, QPalette::WindowText));
    label->setPalette(palette);
    return label;
}

} // namespace quillio::dbcontrols
