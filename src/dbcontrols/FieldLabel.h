#pragma once

class QLabel;
class QString;
class QWidget;

namespace quillio::dbcontrols {

// The sunken caption in front of a field, in the focus colour; it stays readable while its panel is
// disabled for browsing.
class FieldLabel
{
public:
    static QLabel* create(const QString& caption, QWidget* parent);
};

} // namespace quillio::dbcontrols
