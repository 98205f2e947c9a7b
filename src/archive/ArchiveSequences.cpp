#include "archive/ArchiveSequences.h"

#include "archive/TFConf.h"
#include "archive/TFDB.h"
#include "archive/TableSchemas.h"
#include "config/Settings.h"
#include "config/SettingsKey.h"
#include "config/SettingsStore.h"
#include "engine/DataPlace.h"
#include "platform/Platform.h"

namespace quillio::archive {

using config::SettingsStore;
using config::SettingsKey::path;

namespace {

struct TableRow
{
    const QString& setting;
    QString announcement;
    QString (*columns)();
};

void bind(engine::Table& table, const QString& alias, const QString& fileName)
{
    table.close();
    table.setDatabaseName(alias);
    table.setTableName(fileName);
}

} // namespace

bool ArchiveSequences::missingTableCheck(TFDB& db, const QString& yearDir)
{
    const TableRow rows[] = {
        {config::SettingsKey::dbRubrica,
         QStringLiteral("Archivio Rubrica - Assente - Premere OK per Crearlo"), &TableSchemas::customers},
        {config::SettingsKey::dbBozze, QStringLiteral("Archivio Bozze - Assente - Premere OK per Crearlo"),
         &TableSchemas::drafts},
        {config::SettingsKey::dbFatture,
         QStringLiteral("Archivio Fatture - Assente - Premere OK per Crearlo"), &TableSchemas::invoices},
    };
    bool created = false;
    for (const TableRow& row : rows) {
        if (engine::DataPlace::tableExists(yearDir, config::Settings::value(row.setting)))
            continue;
        Platform::messages().message(row.announcement);
        TFConf::CreaTabella(db, config::Settings::alias(), config::Settings::value(row.setting),
                            row.columns());
        created = true;
    }
    return created;
}

void ArchiveSequences::rebind(TFDB& db)
{
    db.QGEN.close();
    db.QGEN.setDatabaseName(config::Settings::alias());
    bind(db.T_Rubrica, config::Settings::alias(), config::Settings::customersFile());
    bind(db.T_Bozze, config::Settings::alias(), config::Settings::draftsFile());
    bind(db.T_Fatture, config::Settings::alias(), config::Settings::invoicesFile());
}

void ArchiveSequences::protectionPass(const QString& yearDir)
{
    for (const QString& name :
         {config::SettingsKey::dbRubrica, config::SettingsKey::dbBozze, config::SettingsKey::dbFatture})
        TFConf::ProteggiTabella(config::Settings::value(name), masterPassword, yearDir);
}

} // namespace quillio::archive
