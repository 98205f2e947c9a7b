#pragma once

#include "platform/Clock.h"

namespace quillio {

class SystemClock : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

} // namespace quillio
