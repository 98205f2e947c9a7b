// The baseline of the start-up figure: a Qt program that shows one maximized window, then says so.
#include <QApplication>
#include <QMainWindow>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.showMaximized();
    QApplication::processEvents();
    QTextStream(stdout) << "shown" << Qt::endl;
    return 0;
}
