#pragma once

#include "desktop/DesktopShell.h"
#include "desktop/DialogFileChooser.h"
#include "desktop/MessageBoxErrors.h"
#include "desktop/MessageBoxMessages.h"
#include "desktop/WindowModalShower.h"

namespace quillio::desktop {

// The production seams that need widgets, installed for the life of the program.
class DesktopPlatform
{
public:
    DesktopPlatform();
    ~DesktopPlatform();
    DesktopPlatform(const DesktopPlatform&) = delete;
    DesktopPlatform& operator=(const DesktopPlatform&) = delete;

private:
    MessageBoxMessages m_messages;
    MessageBoxErrors m_errors;
    WindowModalShower m_modal;
    DialogFileChooser m_files;
    DesktopShell m_shell;
};

} // namespace quillio::desktop
