#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

namespace quillio::business {
class BusinessFile;
}

namespace quillio::backup {

// What the copies remember for the whole data directory, kept in the company file: the backup
// folder, the day of the last automatic copy, and the failure of the last one until it is shown.
class BackupPreferences
{
public:
    explicit BackupPreferences(business::BusinessFile& file) : m_file(file) {}

    // The chosen folder, or "Backup" under the data directory until one is chosen.
    QString folder(const QString& dataDirectory);
    void setFolder(const QString& folder);

    // Invalid until the first automatic copy was written.
    QDate lastAutomaticCopy();
    void setLastAutomaticCopy(const QDate& day);

    // The text of the last failed automatic copy, empty when none is waiting to be shown.
    QString pendingFailure();
    void setPendingFailure(const QString& text);

    static QString defaultFolder(const QString& dataDirectory);

private:
    QString value(const QString& name);
    void setValue(const QString& name, const QString& value);

    business::BusinessFile& m_file;
};

} // namespace quillio::backup
