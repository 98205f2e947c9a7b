#pragma once

#include <QtGlobal>

namespace quillio::bench {

// What a scan read, kept so the work cannot be skipped and so two scans of one table can be
// checked against each other.
struct ScanTotals
{
    int records = 0;
    qsizetype textLength = 0;
    double amount = 0;

    bool operator==(const ScanTotals&) const = default;
};

} // namespace quillio::bench
