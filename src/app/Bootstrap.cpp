#include "app/Bootstrap.h"

#include "archive/ArchiveSequences.h"
#include "archive/TFDB.h"
#include "archive/TableSchemas.h"
#include "backup/BackupError.h"
#include "backup/RestoreJournal.h"
#include "config/Settings.h"
#include "config/SettingsKey.h"
#include "config/SettingsStore.h"
#include "engine/DataPlace.h"
#include "platform/PlainName.h"
#include "platform/Platform.h"

#include <QDir>

namespace quillio::app {

namespace Key = config::SettingsKey;
using config::Settings;
using config::SettingsStore;

const QString Bootstrap::programPathError =
    QStringLiteral(" ERRORE NEI PERCORSO DEL PROGRAMMA \r\r     CHIUDERE E RIAVVIARE");
const QString Bootstrap::dataPathError =
    QStringLiteral("    ERRORE NEI PERCORSO DEI DATI \r\r CHIUDERE E RIAVVIARE IL PROGRAMMA");
const QString Bootstrap::yearCreationError =
    QStringLiteral("       ERRORE NELLA CREZIONE\r\rDEL PERCORSO DEI DATI DI LAVORO");
const QString Bootstrap::yearPathError = QStringLiteral("  ERRORE NEI PERCORSO DEI DATI DI LAVORO");

Bootstrap::Bootstrap(archive::TFDB& db, YearLabel showYear) : m_db(db), m_showYear(std::move(showYear)) {}

void Bootstrap::run()
{
    if (Settings::value(Key::conf) != QLatin1String("OK")) {
        Platform::messages().message(QStringLiteral("CONFIGURAZIONE ASSENTE"));
        writeFirstRunDefaults();
        Platform::messages().message(QStringLiteral("E STATA CARICATA LA CONFIGURAZIONE DI BASE"));
    }
    QString yearDir;
    if (!pathsAreUsable(yearDir))
        return;
    prepareSession(yearDir);
    const bool created = archive::ArchiveSequences::missingTableCheck(m_db, yearDir);
    archive::ArchiveSequences::rebind(m_db);
    m_showYear(Settings::workingYear());
    if (created)
        archive::ArchiveSequences::protectionPass(yearDir);
}

// The program's directory holds the archive, as a copy run from its own folder expects; a
// system-wide installation cannot write there, so its archive goes to the user's own place.
void Bootstrap::writeFirstRunDefaults()
{
    const Paths& paths = Platform::paths();
    const QString programDir = paths.programDir();
    const bool besideProgram = paths.programDirWritable();
    const QString dataDir = besideProgram ? programDir : paths.userDataDir();
    const QString tempDir = besideProgram ? programDir : paths.userTempDir();
    if (!besideProgram)
        QDir().mkpath(dataDir);
    // Conf goes first, before the values it vouches for.
    const std::pair<const QString&, QString> defaults[] = {
        {Key::conf, QStringLiteral("OK")},
        {Key::pathPrg, programDir},
        {Key::pathTemp, tempDir},
        {Key::pathDatiGen, dataDir},
        {Key::aliasDb, Key::defaultAlias},
        {Key::anno, Key::defaultYear},
        {Key::dbBozze, QStringLiteral("Bozze.DB")},
        {Key::dbFatture, QStringLiteral("Fatture.DB")},
        {Key::dbRubrica, QStringLiteral("Rubrica.DB")},
    };
    for (const auto& [name, value] : defaults)
        SettingsStore::ScriviReg(Key::path, name, value);
}

// Checks the program and data directories and makes sure the year directory exists (creating
// its last level when missing); shows the stop message and returns false when one fails.
bool Bootstrap::pathsAreUsable(QString& yearDir)
{
    if (!Settings::isDirectory(Settings::programDirectory())) {
        Platform::messages().message(programPathError);
        return false;
    }
    if (!Settings::isDirectory(Settings::dataDirectory()))
        return stop(dataPathError);
    if (!finishStoppedRestore())
        return false;
    // A year that is not one plain name below the data directory cannot be made there.
    if (!PlainName::isYear(Settings::workingYear()))
        return stop(yearCreationError);
    yearDir = Settings::yearDirectory();
    if (!Settings::isDirectory(yearDir) && !Settings::createDirectory(yearDir))
        return stop(yearCreationError);
    if (!Settings::isDirectory(yearDir))
        return stop(yearPathError);
    return true;
}

// A restore stopped halfway (the program killed, the power cut) is finished or undone before a
// year directory is made or a table opened; the person is told which. When that fails, the start
// stops, rather than work on an archive that is part old and part restored.
bool Bootstrap::finishStoppedRestore()
{
    const QString dataDir = Settings::dataDirectory();
    if (engine::DataPlace::isServerAddress(dataDir))
        return true;
    try {
        const QString told =
            backup::RestoreJournal::messageFor(backup::RestoreJournal::recover(dataDir), dataDir);
        if (!told.isEmpty())
            Platform::messages().message(told);
        return true;
    } catch (const backup::BackupError& error) {
        Platform::errors().showError(error.text());
        return false;
    }
}

// On a server the stop message alone would not tell which of an address, a login or a network is
// wrong: the server's own reason follows it.
bool Bootstrap::stop(const QString& message)
{
    Platform::messages().message(message);
    const QString reason = engine::DataPlace::lastError();
    if (engine::DataPlace::isServerAddress(Settings::dataDirectory()) && !reason.isEmpty())
        Platform::errors().showError(reason);
    return false;
}

void Bootstrap::prepareSession(const QString& yearDir)
{
    engine::Session& session = m_db.Session1;
    session.deactivate();
    session.setNetDir(Settings::tempDirectory());
    session.setPrivateDir(Settings::programDirectory());
    const QString alias = Settings::alias();
    session.deleteAlias(alias);
    session.addStandardAlias(alias, yearDir);
    session.activate();
    session.addPassword(archive::masterPassword);
}

} // namespace quillio::app
