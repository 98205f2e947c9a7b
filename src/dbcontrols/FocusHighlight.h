#pragma once

#include <QColor>

class QWidget;

namespace quillio::dbcontrols {

// An input field takes this colour while it has the focus and its base colour again when it leaves.
class FocusHighlight
{
public:
    static inline const QColor colour{166, 202, 240};
    static void on(QWidget* field);
    static void off(QWidget* field);
    static bool isOn(const QWidget* field);
};

} // namespace quillio::dbcontrols
