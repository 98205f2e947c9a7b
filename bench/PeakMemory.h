#pragma once

#include "Figure.h"
#include "GeneratedArchive.h"

#include <QString>
#include <optional>

namespace quillio::bench {

// The peak resident memory of a process that opens the invoice table and scans it. It is measured
// in a fresh run of this program, so nothing the bench itself built counts towards it.
class PeakMemory
{
public:
    // The hidden option that makes the program the measuring child.
    static inline const QString ChildOption = QStringLiteral("peak-memory-child");

    // Starts the child on `archive` and returns its figure.
    static Figure measure(const GeneratedArchive& archive);
    // The child's work: open and scan the invoices of the archive in `directory`, then print the
    // peak in kilobytes on standard output. Returns the exit code.
    static int runChild(const QString& directory);

private:
    // VmHWM of /proc/self/status, in kilobytes; none where the system does not report it.
    static std::optional<qint64> residentPeakKb();
};

} // namespace quillio::bench
