// A whole copy someone hands over, as the zip file it is: the verifier always ends with a verdict
// (a refusal with its reasons), accepts a copy only when it holds nothing but the files an archive
// has, and writes no file but those the copy lists, where it was told to, and no byte beyond the
// sizes the copy declares, whatever the zip claims.
//
// The corpus (tests/fuzz/backup_zip/) holds copies the program wrote of a small one-year archive,
// and crafted ones made from them with tests/support/CraftedCopy: a planted trigger, an empty
// company file, an entry the manifest does not list, and a zip whose entry inflates beyond the
// size it declares.

#include "FuzzSupport.h"
#include "backup/BackupVerifier.h"
#include "business/BusinessFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

using namespace quillio;
using namespace quillio::backup;

namespace {

const QStringList TableFiles = {"Rubrica.DB", "Bozze.DB", "Fatture.DB"};

bool isArchiveFile(const BackupManifest::File& file)
{
    if (file.path == business::BusinessFile::fileName)
        return file.year.isEmpty();
    return !file.year.isEmpty() && file.path.startsWith(file.year + u'/') &&
           TableFiles.contains(file.path.mid(file.year.size() + 1));
}

// Every file written below `into` is one the manifest lists; the bytes they hold in all.
qint64 writtenBytes(const QString& into, const std::optional<BackupManifest>& manifest)
{
    qint64 total = 0;
    QDirIterator it(into, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!manifest || !manifest->find(QDir(into).relativeFilePath(path)))
            fuzz::fail("a file written that the copy does not list");
        total += QFileInfo(path).size();
    }
    return total;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    const QDir scratch(fuzz::scratchDirectory());
    const QString zipPath = scratch.filePath(QStringLiteral("copia.zip"));
    {
        QFile zip(zipPath);
        if (!zip.open(QIODevice::WriteOnly | QIODevice::Truncate))
            fuzz::fail("cannot write the copy");
        zip.write(fuzz::bytes(data, size));
    }
    const QTemporaryDir into(scratch.filePath(QStringLiteral("estratti-XXXXXX")));
    const BackupVerifier::Result result = BackupVerifier::verify(zipPath, into.path(), TableFiles);
    if (!result.ok() && result.problems.isEmpty())
        fuzz::fail("a copy refused without a reason");
    qint64 declared = 0;
    if (result.manifest)
        for (const BackupManifest::File& file : result.manifest->files) {
            declared += file.size;
            if (result.ok() && !isArchiveFile(file))
                fuzz::fail("a copy accepted with a file no archive has");
        }
    if (writtenBytes(into.path(), result.manifest) > declared)
        fuzz::fail("more bytes written than the copy declares");
    if (scratch.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).size() != 2)
        fuzz::fail("a file written beside the copy");
    return 0;
}
