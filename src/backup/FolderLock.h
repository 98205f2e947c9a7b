#pragma once

#include <QString>

namespace quillio::backup {

// One process at a time at some work on a folder, through a lock file that the operating system
// releases when the process ends, however it ends: a killed process never leaves a lock that
// keeps the next one waiting. The file is removed when the lock is released.
class FolderLock
{
public:
    enum class Outcome {
        Locked,
        Busy,   // another process holds it now
        Failed, // the folder cannot be written
    };

    explicit FolderLock(QString lockFile);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Does not wait.
    Outcome tryLock();

private:
    QString m_path;
#ifdef Q_OS_WIN
    void* m_handle = nullptr;
#else
    int m_descriptor = -1;
#endif
};

} // namespace quillio::backup
