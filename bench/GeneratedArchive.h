#pragma once

#include <QDir>
#include <QString>

namespace quillio::bench {

// A year's archive filled with generated records: its directory and how many records each table holds.
struct GeneratedArchive
{
    QString directory;
    int records = 0;

    static inline const QString Customers = QStringLiteral("Rubrica.DB");
    static inline const QString Drafts = QStringLiteral("Bozze.DB");
    static inline const QString Invoices = QStringLiteral("Fatture.DB");

    QString path(const QString& fileName) const { return QDir(directory).filePath(fileName); }
};

} // namespace quillio::bench
