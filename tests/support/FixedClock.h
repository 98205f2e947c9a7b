#pragma once

#include "platform/Clock.h"

namespace quillio::test {

class FixedClock : public Clock
{
public:
    QDateTime now() const override { return moment; }
    QDateTime moment{QDate(2009, 3, 5), QTime(10, 30, 15)};
};

} // namespace quillio::test
