#pragma once

#include "report/OutputChooser.h"

namespace quillio::report {

// The production chooser: the "Output Options" dialog, run modally.
class DialogOutputChooser : public OutputChooser
{
public:
    std::optional<OutputOptions> choose(const OutputRequest& request, QWidget* parent) override;
};

} // namespace quillio::report
