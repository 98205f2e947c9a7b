#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace quillio::backup {

// Moves a whole data directory between a folder and a database server, in either direction: every
// year with its tables, every record with its OrdNum, the automatic numbering (the next number
// continues), and the company data beside the years.
class ArchiveTransfer
{
public:
    // Told one line per step, for the person watching.
    using Progress = std::function<void(const QString& line)>;

    // Copies every year of `from` to `to`; `tableFiles` names the three tables. Refused with a
    // BackupError, touching nothing, when `from` has no year or `to` already has one of its years.
    // Each year arrives whole or not at all: it is written under a staging name and renamed last.
    // Company data is copied only to a place that holds none; otherwise `to` keeps its own, and
    // `progress` says so.
    static void copy(const QString& from, const QString& to, const QStringList& tableFiles,
                     const Progress& progress);

    // The years of a data place: its year-named subfolders (or schemas) that hold at least one of
    // the tables. Names that cannot be a year's go to `skipped` when given.
    static QStringList yearsOf(const QString& place, const QStringList& tableFiles,
                               QStringList* skipped = nullptr);
    // The line that tells the person a name found in a data place was left out.
    static QString skippedLine(const QString& name);

    // A folder given without a closing separator gets one, as the years are joined to it as text.
    static QString normalized(const QString& place);

private:
    static void copyYear(const QString& from, const QString& to, const QString& year,
                         const QStringList& tableFiles);
    static void copyCompanyData(const QString& from, const QString& to, const Progress& progress);
};

} // namespace quillio::backup
