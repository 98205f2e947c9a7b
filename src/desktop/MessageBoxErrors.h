#pragma once

#include "platform/ErrorDisplay.h"

namespace quillio::desktop {

// The default error handler's box: the error's text, captioned with the application title.
class MessageBoxErrors : public ErrorDisplay
{
public:
    void showError(const QString& text) override;
};

} // namespace quillio::desktop
