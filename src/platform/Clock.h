#pragma once

#include <QDateTime>

namespace quillio {

// "Today" and "now", fixed by tests that need a known date.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
};

} // namespace quillio
