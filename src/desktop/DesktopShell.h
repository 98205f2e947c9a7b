#pragma once

#include "platform/Shell.h"

namespace quillio::desktop {

// Opens links with the desktop's default programs.
class DesktopShell : public Shell
{
public:
    void open(const QUrl& url) override;
};

} // namespace quillio::desktop
