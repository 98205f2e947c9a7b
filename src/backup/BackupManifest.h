#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace quillio::backup {

// What a copy holds, written into it as manifest.json: when and by which program it was taken,
// the working years, and for each file its place in the data directory, its SHA-256 and the
// records of each of its tables. A file SQLite could not read is kept byte for byte and marked
// damaged, with the reason; the table files a year should have and did not are listed as missing.
// Both marks are optional keys, so a copy without them reads as before. A manifest read from a
// copy is checked for shape and for places that stay inside the data directory; its figures are
// checked against the files by BackupVerifier.
struct BackupManifest
{
    struct File
    {
        QString path;      // relative to the data directory, '/'-separated: "2026/Fatture.DB"
        QString year;      // the year directory; empty for a file of the data directory
        QByteArray sha256; // hex
        qint64 size = 0;
        QMap<QString, qint64> records;       // table -> record count
        std::optional<qint64> highestOrdNum; // table files only; none in an empty table
        bool damaged = false;                // kept as it was: SQLite could not read it, so it has no records
        QString damage;                      // why, in Italian, when damaged
    };

    static inline const QString fileName = QStringLiteral("manifest.json");
    static constexpr int formatVersion = 1;
    // A manifest larger than this is not ours.
    static constexpr qint64 maximumSize = qint64(4) * 1024 * 1024;
    // Far beyond any archive the program writes: a copy that declares a file, or files in all,
    // larger than these is refused before anything is inflated.
    static constexpr qint64 maximumFileSize = qint64(4) * 1024 * 1024 * 1024;
    static constexpr qint64 maximumTotalSize = qint64(16) * 1024 * 1024 * 1024;

    QDateTime created;
    QString programVersion;
    QList<File> files;
    QStringList missing; // table files that a year of the archive lacked: "2026/Bozze.DB"

    QStringList years() const;
    // What the person must learn of the archive the copy was taken from: each damaged file with
    // its reason, each missing table file (Italian, one line each; empty when all was well).
    QStringList warnings() const;
    // Warnings as the paragraph that ends a window's message; empty when there are none.
    static QString asMessage(const QStringList& warnings);
    // The records a file holds: a table file's records, or the rows of the company file.
    qint64 recordsOf(const QString& path) const;
    const File* find(const QString& path) const;

    QByteArray toJson() const;
    // The manifest in `json`, or nothing with the reason in `error` (Italian). Every file read has a
    // safe path, its year is the path's directory (empty for a file of the data directory) and the
    // sizes keep within the limits above.
    static std::optional<BackupManifest> fromJson(const QByteArray& json, QString* error);
    // A place a restore may write: a plain name, or a year's plain name below its year directory
    // ("Azienda.DB", "2026/Fatture.DB").
    static bool isSafePath(const QString& path);
    // The year directory of a safe path; empty for a file of the data directory.
    static QString yearOf(const QString& path);
};

} // namespace quillio::backup
