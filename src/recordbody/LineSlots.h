#pragma once

#include <QString>

namespace quillio::recordbody {

// The twenty line slots of a record: DescNN and CostoNN, NN from 01 to 20.
class LineSlots
{
public:
    static constexpr int count = 20;
    static constexpr int descriptionLimit = 80; // as typed; the column holds 100
    static constexpr int textLineLimit = 100;
    static QString number(int slot) { return QStringLiteral("%1").arg(slot, 2, 10, QLatin1Char('0')); }
    static QString description(int slot) { return QStringLiteral("Desc") + number(slot); }
    static QString amount(int slot) { return QStringLiteral("Costo") + number(slot); }
};

} // namespace quillio::recordbody
