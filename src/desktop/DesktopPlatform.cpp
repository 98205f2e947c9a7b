#include "desktop/DesktopPlatform.h"

#include "platform/Platform.h"

namespace quillio::desktop {

DesktopPlatform::DesktopPlatform()
{
    Platform::setMessages(&m_messages);
    Platform::setErrors(&m_errors);
    Platform::setModal(&m_modal);
    Platform::setFiles(&m_files);
    Platform::setShell(&m_shell);
}

DesktopPlatform::~DesktopPlatform()
{
    Platform::setMessages(nullptr);
    Platform::setErrors(nullptr);
    Platform::setModal(nullptr);
    Platform::setFiles(nullptr);
    Platform::setShell(nullptr);
}

} // namespace quillio::desktop
