#include "ProgramVersion.h"
#include "app/Program.h"
#include "desktop/DesktopPlatform.h"
#include "platform/Platform.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(quillio::Platform::title());
    QApplication::setApplicationVersion(quillio::app::ProgramVersion::number());
    // Ties the windows to the installed menu entry, so the desktop shows its name and icon.
    QApplication::setDesktopFileName(QStringLiteral("example.quillio.Quillio"));
    quillio::desktop::DesktopPlatform desktop;
    quillio::app::Program program;
    program.showMainWindow();
    return QApplication::exec();
}
