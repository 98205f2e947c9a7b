#pragma once

#include <QPalette>
#include <QWidget>

namespace quillio::dbcontrols {

// Record windows show their fields disabled while browsing: the values must stay easy to read.
class ReadOnlyLook
{
public:
    static void apply(QWidget* field)
    {
        QPalette palette = field->palette();
        palette.setColor(QPalette::Disabled, QPalette::Text, QColor(60, 60, 60));
        field->setPalette(palette);
    }
};

} // namespace quillio::dbcontrols
