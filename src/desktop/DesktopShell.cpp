#include "desktop/DesktopShell.h"

#include <QDesktopServices>

namespace quillio::desktop {

void DesktopShell::open(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}

} // namespace quillio::desktop
