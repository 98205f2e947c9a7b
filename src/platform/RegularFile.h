#pragma once

#include <QByteArray>
#include <QString>

namespace quillio {

// A file named from outside (on the command line, in a layout the person edits) is read only when
// it is a regular file. A FIFO, a device, a socket or a folder is refused before anything is read,
// and without waiting: opening a FIFO for reading waits for a writer, and a device may never end.
class RegularFile
{
public:
    struct Content
    {
        QByteArray bytes;
        // Why nothing was read, in Italian, to follow the file's name ("è una pipe (FIFO), …");
        // empty when the file was read.
        QString error;
    };

    // At most `limit` + 1 bytes, so that a caller with a size limit can tell a file above it.
    static Content read(const QString& path, qint64 limit);
};

} // namespace quillio
