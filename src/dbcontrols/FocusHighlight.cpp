#include "dbcontrols/FocusHighlight.h"

#include <QApplication>
#include <QWidget>

namespace quillio::dbcontrols {

void FocusHighlight::on(QWidget* field)
{
    QPalette palette = field->palette();
    palette.setColor(QPalette::Active, QPalette::Base, colour);
    palette.setColor(QPalette::Inactive, QPalette::Base, colour);
    field->setPalette(palette);
}

void FocusHighlight::off(QWidget* field)
{
    // Back to the field's own base colour (the system's window colour for fields), not the grey of
    // the window behind it.
    // A read-only field keeps its own disabled look.
    const QPalette own = QApplication::palette(field);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Active, QPalette::Base, own.color(QPalette::Active, QPalette::Base));
    palette.setColor(QPalette::Inactive, QPalette::Base, own.color(QPalette::Inactive, QPalette::Base));
    field->setPalette(palette);
}

bool FocusHighlight::isOn(const QWidget* field)
{
    return field->palette().color(QPalette::Active, QPalette::Base) == colour;
}

} // namespace quillio::dbcontrols
