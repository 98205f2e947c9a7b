#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace quillio::backup {

// Which automatic copies of the backup folder stay: the newest copy of each of the last ten days
// that have one, and the newest copy of each of the last twelve calendar months (this one
// included). Only files named as copies ("Quillio-AAAA-MM-GG-hhmm.zip") are considered: the
// copies taken before a restore, and anything else in the folder, are never removed.
class BackupRotation
{
public:
    static constexpr int keptDays = 10;
    static constexpr int keptMonths = 12;

    // The moment a copy's name gives; nothing for a name that is not a copy's.
    static std::optional<QDateTime> momentOf(const QString& fileName);
    // The names among `fileNames` that rotation removes on `today`.
    static QStringList toRemove(const QStringList& fileNames, const QDate& today);
    // Removes them from `folder`; returns the names removed.
    static QStringList apply(const QString& folder, const QDate& today);
};

} // namespace quillio::backup
