#pragma once

#include "report/OutputOptions.h"

namespace quillio::report {

// Which choices of the output options make sense for a destination, and on which machine.
class OutputRules
{
public:
    static bool printerDestinationAllowed(bool printersInstalled) { return printersInstalled; }
    // Printer setup concerns the paper a printer uses: never for a file, never without a printer.
    static bool printerSetupEnabled(Destination destination, bool printersInstalled);
    // Copies, collation and duplex are the printer's.
    static bool copiesEnabled(Destination destination) { return destination == Destination::Printer; }
    static bool previewSetupEnabled(Destination destination) { return destination == Destination::Preview; }
    // The destination offered first: the preferred one unless it cannot be used here.
    static Destination initialDestination(Destination preferred, bool printersInstalled, bool previewAllowed);
};

} // namespace quillio::report
