#include "backup/DurableFile.h"

#include "backup/BackupError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace quillio::backup {

namespace {

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString parentOf(const QString& path)
{
    return QFileInfo(path).absolutePath();
}

[[noreturn]] void fail(const QString& what, const QString& path, const QString& reason)
{
    throw BackupError(QStringLiteral("%1 %2: %3.").arg(what, native(path), reason));
}

#ifdef Q_OS_WIN

QString lastError()
{
    return qt_error_string(int(GetLastError()));
}

// Folders cannot be forced on Windows; a rename made with MOVEFILE_WRITE_THROUGH is on the disk
// when it returns.
void flush(const QString& path, bool directory)
{
    if (directory)
        return;
    const HANDLE file = CreateFileW(reinterpret_cast<const wchar_t*>(native(path).utf16()), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        fail(QStringLiteral("Impossibile aprire"), path, lastError());
    const bool flushed = FlushFileBuffers(file);
    const QString reason = flushed ? QString() : lastError();
    CloseHandle(file);
    if (!flushed)
        fail(QStringLiteral("Impossibile scrivere sul disco"), path, reason);
}

void renameOver(const QString& from, const QString& to)
{
    if (!MoveFileExW(reinterpret_cast<const wchar_t*>(native(from).utf16()),
                     reinterpret_cast<const wchar_t*>(native(to).utf16()),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        fail(QStringLiteral("Impossibile sostituire"), to, lastError());
}

#else

QString reasonOf(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// A folder that the file system will not force (EINVAL) is as durable as that file system makes it.
bool cannotForce(int error, bool directory)
{
    return directory && (error == EINVAL || error == ENOTSUP || error == EBADF);
}

void flush(const QString& path, bool directory)
{
    const QByteArray name = QFile::encodeName(path);
    const int descriptor = ::open(name.constData(), O_RDONLY | (directory ? O_DIRECTORY : 0) | O_CLOEXEC);
    if (descriptor < 0)
        fail(QStringLiteral("Impossibile aprire"), path, reasonOf(errno));
    int result = 0;
    do
        result = ::fsync(descriptor);
    while (result != 0 && errno == EINTR);
    const int error = result == 0 ? 0 : errno;
    ::close(descriptor);
    if (error != 0 && !cannotForce(error, directory))
        fail(QStringLiteral("Impossibile scrivere sul disco"), path, reasonOf(error));
}

void renameOver(const QString& from, const QString& to)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        fail(QStringLiteral("Impossibile sostituire"), to, reasonOf(errno));
}

#endif

} // namespace

void DurableFile::syncFile(const QString& path)
{
    flush(path, false);
}

void DurableFile::syncDirectory(const QString& path)
{
    flush(path, true);
}

void DurableFile::renameDurably(const QString& from, const QString& to)
{
    renameOver(from, to);
    syncDirectory(parentOf(to));
    if (parentOf(from) != parentOf(to))
        syncDirectory(parentOf(from));
}

} // namespace quillio::backup
