#include "backup/AutomaticBackupRunner.h"

#include <QtConcurrent/QtConcurrentRun>

namespace quillio::backup {

AutomaticBackupRunner::AutomaticBackupRunner(QObject* parent) : QObject(parent)
{
    connect(&m_watcher, &QFutureWatcher<AutomaticBackup::Outcome>::finished, this,
            [this] { emit finished(m_watcher.result()); });
}

AutomaticBackupRunner::~AutomaticBackupRunner()
{
    m_watcher.waitForFinished();
}

void AutomaticBackupRunner::start(const AutomaticBackup::Job& job)
{
    if (m_watcher.isRunning())
        return;
    m_watcher.setFuture(QtConcurrent::run([job] { return AutomaticBackup::run(job); }));
}

} // namespace quillio::backup
