#include "StartupMeasurement.h"

#include "LentArchive.h"
#include "TestEnvironment.h"
#include "Timing.h"
#include "app/Program.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <stdexcept>

namespace quillio::bench {

namespace {

constexpr int Rounds = 7;
constexpr int ChildTimeoutMs = 120000;
constexpr Target StartupTarget{Target::Of::Ratio, 1.5, true};
const QString BareProgram = QStringLiteral("quillio-bench-bare");
// What the first start of the program says when it writes its settings.
const QString FirstStartMessage = QStringLiteral("CONFIGURAZIONE ASSENTE");

[[noreturn]] void childFailed(const QString& program, const QString& reason)
{
    throw std::runtime_error(QStringLiteral("the start of %1 %2").arg(program, reason).toStdString());
}

QStringList outputLines(QProcess& child)
{
    QStringList lines;
    while (child.canReadLine())
        lines << QString::fromUtf8(child.readLine()).trimmed();
    return lines;
}

} // namespace

StartupMeasurement::Installation::Installation(const QString& directory) : m_directory(directory) {}

QString StartupMeasurement::Installation::programDir() const
{
    return QDir::toNativeSeparators(QDir(m_directory).filePath(QStringLiteral("program"))) +
           QDir::separator();
}

QString StartupMeasurement::Installation::settingsRoot() const
{
    return QDir(m_directory).filePath(QStringLiteral("settings"));
}

StartupMeasurement::Start StartupMeasurement::start(const QString& program, const QStringList& arguments)
{
    QProcess child;
    child.setProgram(program);
    child.setArguments(arguments);
    QElapsedTimer clock;
    clock.start();
    child.start();
    // The ready line is the end of the start; what the child does after it is not timed.
    while (!child.canReadLine()) {
        if (!child.waitForReadyRead(ChildTimeoutMs)) {
            child.kill();
            child.waitForFinished();
            childFailed(program, QStringLiteral("gave no ready line: ") +
                                     QString::fromUtf8(child.readAllStandardError()).trimmed());
        }
    }
    Start start{double(clock.nsecsElapsed()) / 1e6, {}};
    if (child.readLine().trimmed() != ReadyLine)
        childFailed(program, QStringLiteral("printed something else than the ready line"));
    if (!child.waitForFinished(ChildTimeoutMs) || child.exitCode() != 0)
        childFailed(program,
                    QStringLiteral("failed: ") + QString::fromUtf8(child.readAllStandardError()).trimmed());
    start.told = outputLines(child);
    return start;
}

Figure StartupMeasurement::measure(const GeneratedArchive& archive)
{
    QTemporaryDir directory(QDir(QDir::tempPath()).filePath(QStringLiteral("quillio-startup-XXXXXX")));
    if (!directory.isValid())
        throw std::runtime_error("cannot create a temporary directory: " +
                                 directory.errorString().toStdString());
    const Installation installation(directory.path());
    if (!QDir().mkpath(installation.settingsRoot()))
        throw std::runtime_error("cannot create " + installation.settingsRoot().toStdString());
    const LentArchive lent(archive, installation.programDir());
    const QString ours = QCoreApplication::applicationFilePath();
    const QStringList oursArguments{QStringLiteral("--") + ChildOption, directory.path()};
    if (!start(ours, oursArguments).told.contains(FirstStartMessage))
        childFailed(ours, QStringLiteral("found settings before its first start"));

    const QString bare = QDir(QCoreApplication::applicationDirPath()).filePath(BareProgram);
    QList<double> oursMs;
    QList<double> bareMs;
    for (int round = 0; round < Rounds; ++round) {
        const Start again = start(ours, oursArguments);
        if (!again.told.isEmpty())
            childFailed(ours, QStringLiteral("told the person: ") + again.told.join(QStringLiteral(" | ")));
        oursMs << again.milliseconds;
        bareMs << start(bare, {}).milliseconds;
    }
    return {QStringLiteral("startup"), archive.records,        Timing::median(oursMs),
            QStringLiteral("ms"),      Timing::median(bareMs), StartupTarget};
}

int StartupMeasurement::runChild(const QString& directory)
{
    test::TestEnvironment environment;
    const Installation installation(directory);
    Platform::setPaths(&installation);
    app::Program program;
    program.showMainWindow();
    QApplication::processEvents();
    QTextStream out(stdout);
    out << ReadyLine << Qt::endl;
    for (const QString& text : environment.transcript.texts())
        out << QString(text).replace(u'\n', u' ') << Qt::endl;
    return 0;
}

} // namespace quillio::bench
