#include "workingyear/WorkingYear.h"

#include "archive/ArchiveSequences.h"
#include "archive/PendingRecords.h"
#include "archive/TFDB.h"
#include "config/Settings.h"
#include "config/SettingsKey.h"
#include "config/SettingsStore.h"
#include "platform/PlainName.h"
#include "platform/Platform.h"

namespace quillio::workingyear {

namespace Key = config::SettingsKey;
using archive::ArchiveSequences;
using config::Settings;
using config::SettingsStore;

const QString WorkingYear::invalidYear = QStringLiteral("ANNO DI LAVORO NON VALIDO");

WorkingYear::WorkingYear(archive::TFDB& db, YearLabel showYear) : m_db(db), m_showYear(std::move(showYear)) {}

bool WorkingYear::change(const QString& yearText)
{
    if (!PlainName::isYear(yearText))
        return refuseInvalidYear();
    const QString yearDir = yearDirectory(yearText);
    if (!Settings::isDirectory(yearDir))
        return refuseInvalidYear();
    if (!mayDropPendingRecords())
        return false;
    switchTo(yearText, yearDir, Protection::Never);
    return true;
}

bool WorkingYear::create(const QString& yearText)
{
    if (!PlainName::isYear(yearText))
        return refuseInvalidYear();
    const QString yearDir = yearDirectory(yearText);
    // Asked before the directory is made, so that No leaves no trace.
    if (!mayDropPendingRecords())
        return false;
    if (!Settings::isDirectory(yearDir))
        Settings::createDirectory(yearDir);
    // A name the file system refuses, or a first level that does not exist, must not reach the alias.
    if (!Settings::isDirectory(yearDir))
        return refuseInvalidYear();
    switchTo(yearText, yearDir, Protection::WhenCreated);
    return true;
}

// Joined as the start-up joins it, so the next start opens the very same directory.
QString WorkingYear::yearDirectory(const QString& yearText)
{
    return Settings::yearDirectory(yearText);
}

bool WorkingYear::refuseInvalidYear()
{
    Platform::messages().message(invalidYear);
    return false;
}

// Rebinding closes the tables, which drops a record left changed in an editor closed by its
// close box; the person decides whether to go on.
bool WorkingYear::mayDropPendingRecords()
{
    if (!archive::PendingRecords::anyChanged(m_db))
        return true;
    return Platform::messages().confirm(archive::PendingRecords::question, Messages::Default::No);
}

// `Anno` is written last, after the protection pass: until every step has succeeded the stored
// year is still the old one, and a failure can point the alias back at it, so the year label,
// the settings and the tables never name different years.
void WorkingYear::switchTo(const QString& yearText, const QString& yearDir, Protection protection)
{
    try {
        pointAliasAt(yearDir);
        const bool created = ArchiveSequences::missingTableCheck(m_db, yearDir);
        ArchiveSequences::rebind(m_db);
        if (created && protection == Protection::WhenCreated)
            ArchiveSequences::protectionPass(yearDir);
        SettingsStore::ScriviReg(Key::path, Key::anno, yearText);
    } catch (...) {
        pointAliasAt(Settings::yearDirectory());
        throw;
    }
    if (m_showYear)
        m_showYear(Settings::workingYear());
}

// The session stays active and keeps the password registered at start.
void WorkingYear::pointAliasAt(const QString& yearDir)
{
    const QString alias = Settings::alias();
    m_db.Session1.deleteAlias(alias);
    m_db.Session1.addStandardAlias(alias, yearDir);
    m_db.Session1.activate();
}

} // namespace quillio::workingyear
