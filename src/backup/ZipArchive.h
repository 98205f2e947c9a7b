#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

struct zip;

namespace quillio::backup {

// One zip file, open for writing a new archive or for reading an existing one, over libzip.
// A new archive is written only by commit(): destroyed uncommitted, it leaves no file behind.
// Every failure raises BackupError with a text that names the file.
class ZipArchive
{
public:
    enum class Mode { Create, Read };

    ZipArchive(const QString& path, Mode mode);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // Writing: the file's bytes are read at commit(), so it must stay until then.
    void addFile(const QString& nameInZip, const QString& sourcePath);
    void addData(const QString& nameInZip, const QByteArray& data);
    void commit();

    // Reading.
    QStringList entryNames() const;
    bool contains(const QString& nameInZip) const;
    // The size of the entry's bytes as the zip declares it (its central directory).
    qint64 declaredSize(const QString& nameInZip) const;
    // The entry's bytes, checked against the checksum stored in the zip; refused beyond `maximumSize`.
    QByteArray read(const QString& nameInZip, qint64 maximumSize) const;
    // Writes the entry into `targetPath`, checked against the checksum stored in the zip. An entry
    // declared larger than `maximumSize`, or that inflates to more or fewer bytes than it declares,
    // is refused; no more than the declared size is ever written.
    void extract(const QString& nameInZip, const QString& targetPath, qint64 maximumSize) const;

    const QString& path() const { return m_path; }

private:
    [[noreturn]] void fail(const QString& what) const;
    qint64 indexOf(const QString& nameInZip) const;
    // The entry's index and declared size; refused when missing or larger than `maximumSize`.
    std::pair<qint64, qint64> locate(const QString& nameInZip, qint64 maximumSize) const;

    QString m_path;
    Mode m_mode;
    zip* m_zip = nullptr;
    // Buffers handed to libzip are read at commit, so they live as long as the archive.
    QList<QByteArray> m_buffers;
};

} // namespace quillio::backup
