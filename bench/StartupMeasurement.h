#pragma once

#include "Figure.h"
#include "GeneratedArchive.h"
#include "platform/Paths.h"

#include <QString>
#include <QStringList>

namespace quillio::bench {

// The time from starting the program's process to its main window shown, the start-up of the
// archive done, against a bare Qt program that shows one maximized window. Both run as fresh
// processes; each tells it is ready with one line on standard output. The program is measured
// as it starts every day: a first start, not timed, leaves its settings beside the archive, and
// each timed start must find everything in place and tell the person nothing.
class StartupMeasurement
{
public:
    // The hidden option that makes this program the starting child, on an installation directory.
    static inline const QString ChildOption = QStringLiteral("startup-child");
    static inline const QByteArray ReadyLine = "shown";

    static Figure measure(const GeneratedArchive& archive);
    // The child's work, in a QApplication: the whole program on the installation, then the ready
    // line, then every text the start showed the person, one a line.
    static int runChild(const QString& directory);

private:
    // The program's directory (with the working year's archive) and its settings root, both
    // inside one installation directory, so that every start of the program finds the same ones.
    class Installation : public Paths
    {
    public:
        explicit Installation(const QString& directory);
        QString programDir() const override;
        QString settingsRoot() const override;

    private:
        QString m_directory;
    };

    // One start of a program: how long it took to be ready, and what it told the person.
    struct Start
    {
        double milliseconds = 0;
        QStringList told;
    };

    static Start start(const QString& program, const QStringList& arguments);
};

} // namespace quillio::bench
