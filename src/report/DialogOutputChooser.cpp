#include "report/DialogOutputChooser.h"

#include "report/OutputOptionsDialog.h"

#include <QPrinterInfo>

namespace quillio::report {

std::optional<OutputOptions> DialogOutputChooser::choose(const OutputRequest& request, QWidget* parent)
{
    OutputOptionsDialog dialog(request, QPrinterInfo::availablePrinterNames(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.options();
}

} // namespace quillio::report
