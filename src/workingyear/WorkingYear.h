#pragma once

#include <QString>
#include <functional>

namespace quillio::archive {
class TFDB;
}

namespace quillio::workingyear {

// Moves the program to another working year: points the archive's alias at the year directory,
// creates the tables missing there, rebinds the data module, stores the year as `Anno` and shows
// it. The dialogs hand it the typed text; each confirmation says whether the dialog may close.
// An engine or settings error leaves the confirmation at the step where it arose, with the alias
// back on the stored year, and reaches the caller.
class WorkingYear
{
public:
    using YearLabel = std::function<void(const QString&)>;

    WorkingYear(archive::TFDB& db, YearLabel showYear);

    // Switches to a year whose directory exists; tables created there stay unprotected.
    bool change(const QString& yearText);
    // Switches to a year, creating its directory (one level) when missing; when tables had to
    // be created, all three of the year are protected with the master password.
    bool create(const QString& yearText);

    static const QString invalidYear;

private:
    enum class Protection { Never, WhenCreated };

    static QString yearDirectory(const QString& yearText);
    bool refuseInvalidYear();
    bool mayDropPendingRecords();
    void switchTo(const QString& yearText, const QString& yearDir, Protection protection);
    void pointAliasAt(const QString& yearDir);

    archive::TFDB& m_db;
    YearLabel m_showYear;
};

} // namespace quillio::workingyear
