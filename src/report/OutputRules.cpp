#include "report/OutputRules.h"

namespace quillio::report {

bool OutputRules::printerSetupEnabled(Destination destination, bool printersInstalled)
{
    return printersInstalled && destination != Destination::File;
}

Destination OutputRules::initialDestination(Destination preferred, bool printersInstalled,
                                            bool previewAllowed)
{
    if (preferred == Destination::Printer && !printersInstalled)
        return previewAllowed ? Destination::Preview : Destination::File;
    if (preferred == Destination::Preview && !previewAllowed)
        return printersInstalled ? Destination::Printer : Destination::File;
    return preferred;
}

} // namespace quillio::report
