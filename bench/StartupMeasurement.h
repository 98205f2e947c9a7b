#pragma once

#include "Figure.h"
#include "GeneratedArchive.h"

#include <QString>
#include <QStringList>

namespace quillio::bench {

// The time from starting the program's process to its main window shown, the start-up of the
// archive done, against a bare Qt program that shows one maximized window. Both run as fresh
// processes; each tells it is ready with one line on standard output.
class StartupMeasurement
{
public:
    // The hidden option that makes this program the starting child, on the archive of a directory.
    static inline const QString ChildOption = QStringLiteral("startup-child");
    static inline const QByteArray ReadyLine = "shown";

    static Figure measure(const GeneratedArchive& archive);
    // The child's work, in a QApplication: the whole program on the archive, then the ready line.
    static int runChild(const QString& directory);

private:
    static double startMs(const QString& program, const QStringList& arguments);
};

} // namespace quillio::bench
