#pragma once

#include <QPushButton>

namespace quillio::widgets {

// A push button of a dialog: its component name, its caption with the access key, and the caption
// without the "&" and the ellipsis of a button that asks more as the name assistive technology reads.
class NamedButton
{
public:
    static QPushButton* make(const QString& name, const QString& caption, QWidget* parent);
};

} // namespace quillio::widgets
