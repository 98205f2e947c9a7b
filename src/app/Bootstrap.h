#pragma once

#include <QString>
#include <functional>

namespace quillio::archive {
class TFDB;
}

namespace quillio::app {

// Makes the working year's archive usable: first-run settings, the program and data directories,
// a restore stopped halfway finished or undone, the year directory, the engine session over the
// year directory, missing tables created, the tables bound, the year shown, new tables protected. Messages go
// through Platform::messages(); an engine or settings error leaves run() at the step where it arose.
class Bootstrap
{
public:
    using YearLabel = std::function<void(const QString&)>;

    Bootstrap(archive::TFDB& db, YearLabel showYear);
    void run();

    // The messages of the four path failures that stop the start.
    static const QString programPathError;
    static const QString dataPathError;
    static const QString yearCreationError;
    static const QString yearPathError;

private:
    void writeFirstRunDefaults();
    bool pathsAreUsable(QString& yearDir);
    static bool finishStoppedRestore();
    static bool stop(const QString& message);
    void prepareSession(const QString& yearDir);

    archive::TFDB& m_db;
    YearLabel m_showYear;
};

} // namespace quillio::app
