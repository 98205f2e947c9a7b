#include "backup/BackupVerifier.h"

#include "archive/TableSchemas.h"
#include "backup/BackupError.h"
#include "backup/SqliteFileCopy.h"
#include "backup/ZipArchive.h"
#include "engine/EngineError.h"
#include "engine/TableFile.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace quillio::backup {

namespace {

QStringList problemsOfFile(const BackupManifest::File& expected, const QString& path)
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
    if (!expected.year.isEmpty()) {
        try {
            engine::TableFile::open(path)->requireAccess({archive::masterPassword});
        } catch (const engine::EngineError& error) {
            problems << QStringLiteral("la tabella %1 non si apre: %2").arg(expected.path, error.text());
        }
    }
    return problems;
}

void verifyFiles(const ZipArchive& zip, const BackupManifest& manifest, const QString& into,
                 QStringList& problems)
{
    for (const BackupManifest::File& file : manifest.files) {
        if (!zip.contains(file.path)) {
            problems << QStringLiteral("manca il file %1").arg(file.path);
            continue;
        }
        const QString target = QDir(into).filePath(file.path);
        QDir().mkpath(QFileInfo(target).absolutePath());
        try {
            zip.extract(file.path, target);
            problems << problemsOfFile(file, target);
        } catch (const BackupError& error) {
            problems << error.text();
        }
    }
}

} // namespace

BackupVerifier::Result BackupVerifier::verify(const QString& zipPath, const QString& extractInto)
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
        verifyFiles(zip, *result.manifest, into, result.problems);
    } catch (const BackupError& error) {
        result.problems << error.text();
    }
    return result;
}

} // namespace quillio::backup
