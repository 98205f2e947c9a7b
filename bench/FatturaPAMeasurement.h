#pragma once

#include "Figure.h"
#include "GeneratedArchive.h"

namespace quillio::bench {

// The electronic invoices: one invoice built, checked and written; and a working year's invoices
// exported from the command line's batch, printed page attached, in invoices a second.
class FatturaPAMeasurement
{
public:
    static Figure exportOne(const QString& workDirectory);
    // On the archive's invoices, the first `BatchInvoices` of them.
    static Figure batch(const GeneratedArchive& archive);

    static constexpr int BatchInvoices = 500;
};

} // namespace quillio::bench
