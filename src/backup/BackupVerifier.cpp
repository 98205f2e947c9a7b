#include "backup/BackupVerifier.h"

#include "archive/TableSchemas.h"
#include "backup/BackupError.h"
#include "backup/SqliteFileCopy.h"
#include "backup/ZipArchive.h"
#include "business/BusinessFile.h"
#include "engine/EngineError.h"
#include "engine/TableFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

namespace quillio::backup {

namespace {

constexpr int CompanyFile = -1;

// What a listed file is in an archive: the company file, or a table file of a year with the kind
// of its name (its place in `tableFiles`). Nothing when an archive has no such file.
std::optional<int> kindOf(const BackupManifest::File& file, const QStringList& tableFiles)
{
    if (file.path == business::BusinessFile::fileName)
        return CompanyFile;
    if (file.year.isEmpty())
        return std::nullopt;
    const qsizetype kind = tableFiles.indexOf(file.path.mid(file.year.size() + 1));
    return kind < 0 ? std::nullopt : std::optional<int>(int(kind));
}

// Every entry of the zip is the manifest or a file it lists, once; every file listed is one an
// archive has. A copy that fails here is not looked into any further.
QStringList namingProblems(const ZipArchive& zip, const BackupManifest& manifest,
                           const QStringList& tableFiles)
{
    QStringList problems;
    QSet<QString> seen;
    for (const QString& name : zip.entryNames()) {
        if (seen.contains(name))
            problems << QStringLiteral("la copia contiene due volte %1").arg(name);
        seen.insert(name);
        if (name != BackupManifest::fileName && !manifest.find(name))
            problems << QStringLiteral("la copia contiene %1, che non è elencato").arg(name);
    }
    for (const BackupManifest::File& file : manifest.files)
        if (!kindOf(file, tableFiles))
            problems << QStringLiteral("%1 non è un file dell'archivio").arg(file.path);
    return problems;
}

QStringList problemsOfTable(const BackupManifest::File& expected, const QString& path, int kind)
{
    try {
        const std::unique_ptr<engine::TableFile> table = engine::TableFile::open(path);
        table->requireAccess({archive::masterPassword});
        const QString difference = archive::TableSchemas::columnDifference(table->fields(), kind);
        if (!difference.isEmpty())
            return {QStringLiteral("la tabella %1 non è come il programma la crea: %2")
                        .arg(expected.path, difference)};
    } catch (const engine::EngineError& error) {
        return {QStringLiteral("la tabella %1 non si apre: %2").arg(expected.path, error.text())};
    }
    return {};
}

QStringList problemsOfFile(const BackupManifest::File& expected, const QString& path, int kind)
{
    if (SqliteFileCopy::sha256Of(path) != expected.sha256)
        return {
            QStringLiteral("il file %1 è diverso da quello copiato (impronta SHA-256)").arg(expected.path)};
    // A file saved as it was because SQLite could not read it: only its bytes can be checked.
    if (expected.damaged)
        return QFileInfo(path).size() == expected.size
                   ? QStringList()
                   : QStringList{
                         QStringLiteral("il file %1 non ha la dimensione elencata").arg(expected.path)};
    const QString integrity = SqliteFileCopy::integrityProblem(path);
    if (!integrity.isEmpty())
        return {QStringLiteral("il file %1 è danneggiato: %2").arg(expected.path, integrity)};
    QStringList problems;
    const BackupManifest::File found = SqliteFileCopy::describe(path, expected.path, expected.year);
    if (found.records != expected.records)
        problems << QStringLiteral("il file %1 non contiene i record elencati").arg(expected.path);
    if (found.highestOrdNum != expected.highestOrdNum)
        problems
            << QStringLiteral("il file %1 non ha il numero d'ordine più alto elencato").arg(expected.path);
    // The engine refuses a table file carrying triggers or views; the company file is checked here.
    if (kind == CompanyFile && SqliteFileCopy::carriesTriggersOrViews(path))
        problems << QStringLiteral("il file %1 contiene trigger o viste, che il programma non scrive mai")
                        .arg(expected.path);
    if (kind != CompanyFile)
        problems << problemsOfTable(expected, path, kind);
    return problems;
}

void verifyFiles(const ZipArchive& zip, const BackupManifest& manifest, const QStringList& tableFiles,
                 const QString& into, QStringList& problems)
{
    for (const BackupManifest::File& file : manifest.files) {
        if (!zip.contains(file.path)) {
            problems << QStringLiteral("manca il file %1").arg(file.path);
            continue;
        }
        const QString target = QDir(into).filePath(file.path);
        QDir().mkpath(QFileInfo(target).absolutePath());
        try {
            if (zip.declaredSize(file.path) != file.size) {
                problems << QStringLiteral("il file %1 non ha la dimensione elencata").arg(file.path);
                continue;
            }
            zip.extract(file.path, target, file.size);
            problems << problemsOfFile(file, target, *kindOf(file, tableFiles));
        } catch (const BackupError& error) {
            problems << error.text();
        }
    }
}

} // namespace

BackupVerifier::Result BackupVerifier::verify(const QString& zipPath, const QString& extractInto,
                                              const QStringList& tableFiles)
{
    Result result;
    QTemporaryDir scratch;
    const QString into = extractInto.isEmpty() ? scratch.path() : extractInto;
    try {
        const ZipArchive zip(zipPath, ZipArchive::Mode::Read);
        QString error;
        result.manifest =
            BackupManifest::fromJson(zip.read(BackupManifest::fileName, BackupManifest::maximumSize), &error);
        if (!result.manifest) {
            result.problems << error;
            return result;
        }
        result.problems << namingProblems(zip, *result.manifest, tableFiles);
        if (result.problems.isEmpty())
            verifyFiles(zip, *result.manifest, tableFiles, into, result.problems);
    } catch (const BackupError& error) {
        result.problems << error.text();
    }
    return result;
}

} // namespace quillio::backup
