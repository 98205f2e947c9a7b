#include "FuzzSupport.h"

#include <QGuiApplication>
#include <QLocale>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace quillio::fuzz {

void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program runs with the Italian locale: decimal comma and day-first dates.
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    static int argc = 1;
    static char name[] = "quillio-fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

QString scratchDirectory()
{
    static QTemporaryDir dir;
    if (!dir.isValid())
        fail("no temporary directory");
    return dir.path();
}

void fail(const char* what)
{
    std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
    std::abort();
}

} // namespace quillio::fuzz
