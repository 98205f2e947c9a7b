#include "StartupMeasurement.h"

#include "LentArchive.h"
#include "Program.h"
#include "TestEnvironment.h"
#include "Timing.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTextStream>
#include <stdexcept>

namespace quillio::bench {

namespace {

constexpr int Rounds = 7;
constexpr int ChildTimeoutMs = 120000;
constexpr Target StartupTarget{Target::Of::Ratio, 1.5, true};
const QString BareProgram = QStringLiteral("quillio-bench-bare");

[[noreturn]] void childFailed(const QString& program, const QString& reason)
{
    throw std::runtime_error(QStringLiteral("the start of %1 %2").arg(program, reason).toStdString());
}

} // namespace

double StartupMeasurement::startMs(const QString& program, const QStringList& arguments)
{
    QProcess child;
    child.setProgram(program);
    child.setArguments(arguments);
    QElapsedTimer clock;
    clock.start();
    child.start();
    // The ready line is the end of the start; what the child does after it is not waited for.
    while (!child.canReadLine()) {
        if (!child.waitForReadyRead(ChildTimeoutMs)) {
            child.kill();
            child.waitForFinished();
            childFailed(program, QStringLiteral("gave no ready line: ") +
                                     QString::fromUtf8(child.readAllStandardError()).trimmed());
        }
    }
    const double elapsed = double(clock.nsecsElapsed()) / 1e6;
    if (child.readLine().trimmed() != ReadyLine)
        childFailed(program, QStringLiteral("printed something else than the ready line"));
    if (!child.waitForFinished(ChildTimeoutMs) || child.exitCode() != 0)
        childFailed(program,
                    QStringLiteral("failed: ") + QString::fromUtf8(child.readAllStandardError()).trimmed());
    return elapsed;
}

Figure StartupMeasurement::measure(const GeneratedArchive& archive)
{
    const QString ours = QCoreApplication::applicationFilePath();
    const QString bare = QDir(QCoreApplication::applicationDirPath()).filePath(BareProgram);
    QList<double> oursMs;
    QList<double> bareMs;
    for (int round = 0; round < Rounds; ++round) {
        oursMs << startMs(ours, {QStringLiteral("--") + ChildOption, archive.directory});
        bareMs << startMs(bare, {});
    }
    return {QStringLiteral("startup"), archive.records,        Timing::median(oursMs),
            QStringLiteral("ms"),      Timing::median(bareMs), StartupTarget};
}

int StartupMeasurement::runChild(const QString& directory)
{
    GeneratedArchive archive;
    archive.directory = directory;
    test::TestEnvironment environment;
    const LentArchive lent(archive, environment.paths.programDir());
    app::Program program;
    program.showMainWindow();
    QApplication::processEvents();
    QTextStream(stdout) << ReadyLine << Qt::endl;
    return 0;
}

} // namespace quillio::bench
