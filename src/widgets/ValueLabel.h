#pragma once

#include <QLabel>

namespace quillio::widgets {

// A label that shows a value (the working year, the time, a page being printed). Assistive
// technology reads the value itself as the label's name and its meaning as the description, and
// is told whenever the value changes, so a screen reader hears "2010", not "Anno di lavoro".
class ValueLabel : public QLabel
{
    Q_OBJECT

public:
    ValueLabel(const QString& meaning, const QString& value = {}, QWidget* parent = nullptr);

    QString value() const { return text(); }
    void setValue(const QString& value);
};

} // namespace quillio::widgets
