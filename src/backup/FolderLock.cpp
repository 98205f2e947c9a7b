#include "backup/FolderLock.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quillio::backup {

FolderLock::FolderLock(QString lockFile) : m_path(std::move(lockFile)) {}

#ifdef Q_OS_WIN

// Opened with no sharing, the file is ours alone until the handle closes, which deletes it.
FolderLock::Outcome FolderLock::tryLock()
{
    const HANDLE handle =
        CreateFileW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(m_path).utf16()),
                    GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION ? Outcome::Busy : Outcome::Failed;
    m_handle = handle;
    return Outcome::Locked;
}

FolderLock::~FolderLock()
{
    if (m_handle)
        CloseHandle(m_handle);
}

#else

namespace {

bool sameFile(int descriptor, const QByteArray& name)
{
    struct stat held
    {
    };
    struct stat there
    {
    };
    return ::fstat(descriptor, &held) == 0 && ::stat(name.constData(), &there) == 0 &&
           held.st_dev == there.st_dev && held.st_ino == there.st_ino;
}

} // namespace

// flock() is released by the kernel with the process. The holder before us removes the file on
// release, perhaps between our open and our lock: the lock counts only on the file that is there.
FolderLock::Outcome FolderLock::tryLock()
{
    const QByteArray name = QFile::encodeName(m_path);
    for (int attempt = 0; attempt < 10; ++attempt) {
        const int descriptor = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (descriptor < 0)
            return Outcome::Failed;
        if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(descriptor);
            return error == EWOULDBLOCK ? Outcome::Busy : Outcome::Failed;
        }
        if (sameFile(descriptor, name)) {
            m_descriptor = descriptor;
            return Outcome::Locked;
        }
        ::close(descriptor);
    }
    return Outcome::Busy;
}

// Removed while still held, so that nobody locks a file that is about to go.
FolderLock::~FolderLock()
{
    if (m_descriptor < 0)
        return;
    ::unlink(QFile::encodeName(m_path).constData());
    ::close(m_descriptor);
}

#endif

} // namespace quillio::backup
