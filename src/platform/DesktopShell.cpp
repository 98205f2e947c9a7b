#include "DesktopShell.h"

#include <QDesktopServices>

namespace quillio {

void DesktopShell::open(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}

} // namespace quillio
