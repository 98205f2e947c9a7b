#pragma once

#include "backup/AutomaticBackup.h"

#include <QFutureWatcher>
#include <QObject>

namespace quillio::backup {

// Runs the daily copy on a worker thread and reports its outcome on the thread that started it.
// Destroying the runner waits for a copy still being written, so no thread outlives it.
class AutomaticBackupRunner : public QObject
{
    Q_OBJECT

public:
    explicit AutomaticBackupRunner(QObject* parent = nullptr);
    ~AutomaticBackupRunner() override;

    // Starts the copy for the job; nothing while one is running.
    void start(const AutomaticBackup::Job& job);
    bool isRunning() const { return m_watcher.isRunning(); }
    void waitForFinished() { m_watcher.waitForFinished(); }

signals:
    void finished(const quillio::backup::AutomaticBackup::Outcome& outcome);

private:
    QFutureWatcher<AutomaticBackup::Outcome> m_watcher;
};

} // namespace quillio::backup
