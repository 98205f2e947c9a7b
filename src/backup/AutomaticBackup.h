#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace quillio::backup {

// The daily copy: the first start of a day writes a copy into the backup folder and applies the
// rotation there, unless the archive has damaged or missing files: then the copy is written, every
// older copy is kept, and the person is told as of a failure. It touches nothing but files and
// connections of its own, so it may run on a worker thread while the program works; whatever it
// needs from the settings is read before.
class AutomaticBackup
{
public:
    struct Job
    {
        QString dataDirectory;
        QStringList tableFiles;
        QDateTime now;
    };
    struct Outcome
    {
        bool ran = false; // false: a copy was already taken today, or the archive is on a server
        QString copy;     // the copy written
        QString failure;  // empty when it succeeded; also tells of a copy of a damaged archive
    };

    // The job for now, from the settings and the clock.
    static Job fromSettings();
    // Takes the copy when none was taken on the job's day; a failure is recorded in the company
    // file to be shown the next time the backup dialog opens, and returned, never raised.
    static Outcome run(const Job& job);
};

} // namespace quillio::backup
