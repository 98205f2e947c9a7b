#pragma once

#include "engine/DataPlace.h"

#include <QDir>
#include <QString>

namespace quillio::bench {

// A year's archive filled with generated records: its directory (or the address of its year on a
// server) and how many records each table holds.
struct GeneratedArchive
{
    QString directory;
    int records = 0;

    bool isOnServer() const { return engine::DataPlace::isServerAddress(directory); }

    static inline const QString Customers = QStringLiteral("Rubrica.DB");
    static inline const QString Drafts = QStringLiteral("Bozze.DB");
    static inline const QString Invoices = QStringLiteral("Fatture.DB");

    // The path of a table file; for an archive of files only.
    QString path(const QString& fileName) const { return QDir(directory).filePath(fileName); }
};

} // namespace quillio::bench
