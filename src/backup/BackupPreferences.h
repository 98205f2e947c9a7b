#pragma once

#include <QDate>
#include <QDateTime>
#include <QJsonObject>
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
    // The folder a restore saves the archive as it was into: the chosen one, or the default one
    // when the company file is missing or too damaged to read, since a damaged archive is exactly
    // what a restore must still be able to replace.
    static QString folderForRestore(const QString& dataDirectory);

    // A restore keeps the archive's own preferences, not the copy's: a copy (perhaps not one of
    // ours) must not decide where later copies go, stop the daily copy with a day still to come, or
    // plant a failure to be shown. `held` reads them from the archive before the restore;
    // `keepAcrossRestore` writes them into the copy's company file in `restoredDirectory` before
    // that file is put in place, and returns the backup folder the copy named when it differs from
    // the archive's: the person may choose it, the program never takes it by itself.
    static QJsonObject held(const QString& dataDirectory);
    static QString keepAcrossRestore(const QString& restoredDirectory, const QString& dataDirectory,
                                     const QJsonObject& held);

private:
    QString value(const QString& name);
    void setValue(const QString& name, const QString& value);

    business::BusinessFile& m_file;
};

} // namespace quillio::backup
