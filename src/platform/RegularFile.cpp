#include "platform/RegularFile.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quillio {

namespace {

#ifdef Q_OS_UNIX

QString notRegular(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("è una cartella, non un file");
    if (S_ISFIFO(mode))
        return QStringLiteral("è una pipe (FIFO), non un file ordinario: non viene letta");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("è un dispositivo, non un file ordinario: non viene letto");
    if (S_ISSOCK(mode))
        return QStringLiteral("è un socket, non un file ordinario: non viene letto");
    return QStringLiteral("non è un file ordinario");
}

QString systemError(int error)
{
    if (error == ENOENT)
        return QStringLiteral("non esiste");
    if (error == EACCES || error == EPERM)
        return QStringLiteral("non si può leggere: permesso negato");
    return QStringLiteral("non si può leggere: %1").arg(QString::fromLocal8Bit(std::strerror(error)));
}

// The descriptor of `path` opened for reading, or -1 with the reason in `error`. The kind is
// checked before opening, so a FIFO or a device is never opened, and again on what was opened,
// without blocking, in case another file was put in its place meanwhile.
int openRegular(const QString& path, QString& error)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat before = {};
    if (::stat(name.constData(), &before) != 0) {
        error = systemError(errno);
        return -1;
    }
    if (!S_ISREG(before.st_mode)) {
        error = notRegular(before.st_mode);
        return -1;
    }
    const int descriptor = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        error = systemError(errno);
        return -1;
    }
    struct stat opened = {};
    if (::fstat(descriptor, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        error = notRegular(opened.st_mode);
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

#else

QString notRegular(const QFileInfo& info)
{
    if (!info.exists())
        return QStringLiteral("non esiste");
    if (info.isDir())
        return QStringLiteral("è una cartella, non un file");
    return QStringLiteral("non è un file ordinario");
}

#endif

} // namespace

RegularFile::Content RegularFile::read(const QString& path, qint64 limit)
{
    Content content;
    QFile file;
#ifdef Q_OS_UNIX
    const int descriptor = openRegular(path, content.error);
    if (descriptor < 0)
        return content;
    const bool opened = file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
#else
    const QFileInfo info(path);
    if (!info.isFile()) {
        content.error = notRegular(info);
        return content;
    }
    file.setFileName(path);
    const bool opened = file.open(QIODevice::ReadOnly);
#endif
    if (!opened) {
        content.error = QStringLiteral("non si può leggere: %1").arg(file.errorString());
        return content;
    }
    content.bytes = file.read(limit + 1);
    if (file.error() != QFileDevice::NoError) {
        content.bytes.clear();
        content.error = QStringLiteral("non si può leggere: %1").arg(file.errorString());
    }
    return content;
}

} // namespace quillio
