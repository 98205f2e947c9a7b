#include "DesktopPlatform.h"
#include "Platform.h"
#include "Program.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(quillio::Platform::title());
    quillio::desktop::DesktopPlatform desktop;
    quillio::app::Program program;
    program.showMainWindow();
    return QApplication::exec();
}
