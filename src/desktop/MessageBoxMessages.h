#pragma once

#include "platform/Messages.h"

namespace quillio::desktop {

// Messages and questions as modal message boxes over the active window.
class MessageBoxMessages : public Messages
{
public:
    void message(const QString& text) override;
    bool confirm(const QString& text, Default defaultButton) override;
};

} // namespace quillio::desktop
