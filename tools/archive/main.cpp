// quillio-archive: the archive's copies from the command line, for scheduled jobs.
//   backup PLACE FILE.zip    writes a verified copy of the data directory PLACE into FILE.zip
//   restore FILE.zip PLACE   verifies the copy, saves PLACE as it is into a copy of its own
//                            ("Quillio-prima-del-ripristino-….zip" in its backup folder), then
//                            puts the copy's files in place, all or none of them
//   verify FILE.zip          checks that the copy is whole and restorable
//   copy FROM TO             copies a whole data directory between a folder and a database server
//                            (postgresql://host/database/), either way; never over an existing year
//   check PLACE              verifies a data directory, folder or server, and prints what it holds
//   accountant --year YYYY [--from M] [--to M] PLACE FOLDER
//                            writes the accountant's export of those months of the year into FOLDER,
//                            as "Esporta per il commercialista" does, and prints what to check
// Every command that takes a data folder, but check, first finishes or undoes a restore stopped
// halfway there (the restore itself does so too); check reports it and changes nothing.
// Exits 0 when the command succeeded, 1 when a copy or an export was refused or could not be
// written, 2 for a wrong command line, 3 when backup, restore or verify was carried out but a file
// was damaged (kept as it was, not restored) or missing: the lines beginning "attenzione:" say which.

#include "accountant/AccountantExport.h"
#include "backup/ArchiveCheck.h"
#include "backup/ArchiveContents.h"
#include "backup/ArchiveTransfer.h"
#include "backup/BackupError.h"
#include "backup/BackupPreferences.h"
#include "backup/BackupRestore.h"
#include "backup/BackupVerifier.h"
#include "backup/BackupWriter.h"
#include "backup/RestoreJournal.h"
#include "engine/DataPlace.h"
#include "platform/QuillioError.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <memory>
#include <optional>

using namespace quillio::backup;

namespace {

enum Exit { Done = 0, Refused = 1, Usage = 2, Warned = 3 };

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& err()
{
    static QTextStream stream(stderr);
    return stream;
}

// The table names of the settings, or the program's defaults where the settings have none.
QStringList tableFiles()
{
    return ArchiveContents::tableFilesOfSettings();
}

void printManifest(const BackupManifest& manifest)
{
    out() << "copia del " << manifest.created.toString(QStringLiteral("dd/MM/yyyy HH:mm")) << ", anni "
          << manifest.years().join(QStringLiteral(", ")) << Qt::endl;
    for (const BackupManifest::File& file : manifest.files)
        if (!file.damaged)
            out() << "  " << file.path << ": " << manifest.recordsOf(file.path) << " record" << Qt::endl;
}

// Done, or Warned when there is anything to warn of.
int warn(const QStringList& warnings)
{
    for (const QString& warning : warnings)
        err() << "attenzione: " << warning << Qt::endl;
    return warnings.isEmpty() ? Done : Warned;
}

int runGuarded(const std::function<int()>& command)
{
    try {
        return command();
    } catch (const quillio::QuillioError& error) {
        err() << error.text() << Qt::endl;
        return Refused;
    }
}

// A restore stopped halfway in a data folder is finished or undone before the command reads or
// copies the folder (check alone only reports it).
void recoverStoppedRestore(const QString& place)
{
    if (quillio::engine::DataPlace::isServerAddress(place) || !QFileInfo(place).isDir())
        return;
    const QString message = RestoreJournal::messageFor(RestoreJournal::recover(place), place);
    if (!message.isEmpty())
        err() << message << Qt::endl;
}

int backup(const QStringList& arguments)
{
    if (arguments.size() != 2) {
        err() << "uso: backup CARTELLA_DATI FILE.zip" << Qt::endl;
        return Usage;
    }
    return runGuarded([&] {
        recoverStoppedRestore(arguments[0]);
        const BackupManifest manifest =
            BackupWriter(arguments[0], tableFiles()).write(arguments[1], QDateTime::currentDateTime());
        out() << QDir::toNativeSeparators(arguments[1]) << Qt::endl;
        printManifest(manifest);
        return warn(manifest.warnings());
    });
}

int restore(const QStringList& arguments)
{
    if (arguments.size() != 2) {
        err() << "uso: restore FILE.zip CARTELLA_DATI" << Qt::endl;
        return Usage;
    }
    return runGuarded([&] {
        const QString& dataDirectory = arguments[1];
        // Before the backup folder is looked up, which on a server would need the server.
        ArchiveContents::requireFolder(dataDirectory);
        const BackupRestore::Outcome outcome =
            BackupRestore(dataDirectory, tableFiles())
                .restore(arguments[0], BackupPreferences::folderForRestore(dataDirectory),
                         QDateTime::currentDateTime());
        if (outcome.preRestoreCopy.isEmpty())
            out() << "nessun archivio precedente da salvare" << Qt::endl;
        else
            out() << "archivio precedente salvato in " << QDir::toNativeSeparators(outcome.preRestoreCopy)
                  << Qt::endl;
        if (!outcome.backupFolderOfCopy.isEmpty())
            out() << "la copia indica come cartella delle copie "
                  << QDir::toNativeSeparators(outcome.backupFolderOfCopy)
                  << ": non è stata adottata (si sceglie da \"Copia di sicurezza\" nel programma)"
                  << Qt::endl;
        printManifest(outcome.restored);
        return warn(outcome.warnings());
    });
}

int verify(const QStringList& arguments)
{
    if (arguments.size() != 1) {
        err() << "uso: verify FILE.zip" << Qt::endl;
        return Usage;
    }
    const BackupVerifier::Result result = BackupVerifier::verify(arguments[0], {}, tableFiles());
    if (result.manifest)
        printManifest(*result.manifest);
    for (const QString& problem : result.problems)
        err() << arguments[0] << ": " << problem << Qt::endl;
    if (!result.ok())
        return Refused;
    out() << "copia integra" << Qt::endl;
    return warn(result.manifest->warnings());
}

int copy(const QStringList& arguments)
{
    if (arguments.size() != 2) {
        err() << "uso: copy DA A" << Qt::endl;
        return Usage;
    }
    return runGuarded([&] {
        recoverStoppedRestore(arguments[0]);
        recoverStoppedRestore(arguments[1]);
        ArchiveTransfer::copy(arguments[0], arguments[1], tableFiles(),
                              [](const QString& line) { out() << line << Qt::endl; });
        out() << "archivio copiato in " << quillio::engine::DataPlace::shown(arguments[1]) << Qt::endl;
        return Done;
    });
}

int check(const QStringList& arguments)
{
    if (arguments.size() != 1) {
        err() << "uso: check ARCHIVIO" << Qt::endl;
        return Usage;
    }
    const ArchiveCheck::Report report = ArchiveCheck::check(arguments[0], tableFiles());
    for (const QString& line : report.lines)
        out() << line << Qt::endl;
    for (const QString& problem : report.problems)
        err() << "problema: " << problem << Qt::endl;
    if (!report.ok())
        return Refused;
    out() << "archivio integro" << Qt::endl;
    return Done;
}

// The whole number after `name`, taken out of `arguments`; `fallback` when the option is not there,
// nothing when its value is missing or not a number.
std::optional<int> numberOption(QStringList& arguments, const QString& name, int fallback)
{
    const qsizetype at = arguments.indexOf(name);
    if (at < 0)
        return fallback;
    bool ok = false;
    const int number = arguments.value(at + 1).toInt(&ok);
    arguments.remove(at, std::min<qsizetype>(2, arguments.size() - at));
    return ok ? std::optional(number) : std::nullopt;
}

int accountant(const QStringList& given)
{
    QStringList arguments = given;
    const std::optional<int> year = numberOption(arguments, QStringLiteral("--year"), 0);
    const std::optional<int> from = numberOption(arguments, QStringLiteral("--from"), 1);
    const std::optional<int> to = numberOption(arguments, QStringLiteral("--to"), 12);
    if (!year || *year == 0 || !from || !to || arguments.size() != 2 ||
        arguments[0].startsWith(QLatin1String("--")) || arguments[1].startsWith(QLatin1String("--"))) {
        err() << "uso: accountant --year AAAA [--from MESE] [--to MESE] CARTELLA_DATI CARTELLA" << Qt::endl;
        return Usage;
    }
    const quillio::accountant::RegisterPeriod period{*year, *from, *to};
    if (const QString problem = period.problem(); !problem.isEmpty()) {
        err() << problem << Qt::endl;
        return Usage;
    }
    return runGuarded([&] {
        recoverStoppedRestore(arguments[0]);
        using quillio::accountant::AccountantExport;
        const AccountantExport::Result result = AccountantExport::run(
            period, arguments[1], AccountantExport::Source::of(arguments[0], tableFiles().at(2)));
        for (const QString& file : result.written)
            out() << QDir::toNativeSeparators(file) << Qt::endl;
        out() << result.invoices << " fatture esportate" << Qt::endl;
        for (const quillio::accountant::RegisterOddity& oddity : result.oddities)
            out() << "da verificare: " << oddity.text << Qt::endl;
        return Done;
    });
}

struct Command
{
    const char* name;
    const char* usage;
    std::function<int(const QStringList&)> run;
};

// New commands go here; the usage text is made from this list.
const QList<Command>& commands()
{
    static const QList<Command> list = {
        {"backup", "backup CARTELLA_DATI FILE.zip   scrive una copia verificata dell'archivio", backup},
        {"restore",
         "restore FILE.zip CARTELLA_DATI   ripristina una copia, salvando prima l'archivio attuale", restore},
        {"verify", "verify FILE.zip   controlla che la copia sia integra e ripristinabile", verify},
        {"copy", "copy DA A   copia tutto l'archivio da una cartella a un server di database o viceversa",
         copy},
        {"check", "check ARCHIVIO   controlla un archivio, cartella o server, e dice che cosa contiene",
         check},
        {"accountant",
         "accountant --year AAAA [--from MESE] [--to MESE] CARTELLA_DATI CARTELLA   scrive nella CARTELLA "
         "il CSV, il registro IVA e le fatture elettroniche del periodo per il commercialista",
         accountant},
    };
    return list;
}

int usage()
{
    err() << "uso: quillio-archive COMANDO ..." << Qt::endl;
    for (const Command& command : commands())
        err() << "  " << command.usage << Qt::endl;
    return Usage;
}

} // namespace

int main(int argc, char* argv[])
{
    // The accountant's register is a printed page, laid out with fonts, which need a GUI
    // application; the tool never shows a window, so it needs no display.
    const bool printing = argc > 1 && qstrcmp(argv[1], "accountant") == 0;
    if (printing && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> application =
        printing ? std::make_unique<QGuiApplication>(argc, argv)
                 : std::make_unique<QCoreApplication>(argc, argv);
    QStringList arguments = application->arguments().mid(1);
    if (arguments.isEmpty())
        return usage();
    const QString name = arguments.takeFirst();
    for (const Command& command : commands())
        if (name == QLatin1String(command.name))
            return command.run(arguments);
    err() << "comando sconosciuto: " << name << Qt::endl;
    return usage();
}
