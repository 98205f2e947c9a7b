#pragma once

#include "Figure.h"
#include "GeneratedArchive.h"

namespace quillio::bench {

// The archive's chores on a working year: a verified copy of the data directory, and the
// accountant's export of the whole year (CSV, register PDF).
class CopyMeasurement
{
public:
    static Figure backup(const GeneratedArchive& archive);
    static Figure accountantExport(const GeneratedArchive& archive);
};

} // namespace quillio::bench
