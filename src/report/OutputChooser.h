#pragma once

#include "report/OutputOptions.h"

#include <optional>

class QWidget;

namespace quillio::report {

// Asks the person where a report goes. The production chooser is the "Output Options" dialog;
// tests install a scripted one so no dialog ever opens.
class OutputChooser
{
public:
    virtual ~OutputChooser() = default;
    // The options chosen, or nothing when the person cancelled.
    virtual std::optional<OutputOptions> choose(const OutputRequest& request, QWidget* parent) = 0;

    // The chooser in use; the dialog unless another one is installed. Not owned; null restores the dialog.
    static OutputChooser& installed();
    static void install(OutputChooser* chooser);
};

} // namespace quillio::report
