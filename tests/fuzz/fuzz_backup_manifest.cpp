// The manifest of a copy someone hands over: reading it always ends with a manifest or a reason,
// a manifest read never names a place outside the data directory nor a year that is not the
// file's directory, never declares sizes beyond the limits, and what it writes reads back the same.
// Whole copies, zip and all, go through the verifier in fuzz_backup_zip.

#include "FuzzSupport.h"
#include "backup/BackupManifest.h"

using namespace quillio;
using namespace quillio::backup;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QString error;
    const std::optional<BackupManifest> manifest = BackupManifest::fromJson(fuzz::bytes(data, size), &error);
    if (!manifest) {
        if (error.isEmpty())
            fuzz::fail("a refused manifest without a reason");
        return 0;
    }
    qint64 total = 0;
    for (const BackupManifest::File& file : manifest->files) {
        const QStringList parts = file.path.split(u'/');
        if (!BackupManifest::isSafePath(file.path) || parts.size() > 2 ||
            parts.contains(QLatin1String("..")) || parts.contains(QLatin1String(".")) ||
            parts.contains(QString()) || file.path.contains(u'\\') || file.path.contains(u':'))
            fuzz::fail("a manifest naming a place outside the data directory");
        if (file.year != (parts.size() == 2 ? parts[0] : QString()))
            fuzz::fail("a manifest whose year is not the file's directory");
        if (file.size > BackupManifest::maximumFileSize)
            fuzz::fail("a manifest declaring a file beyond the limit");
        total += file.size;
    }
    if (total > BackupManifest::maximumTotalSize)
        fuzz::fail("a manifest declaring files beyond the limit");
    const std::optional<BackupManifest> again = BackupManifest::fromJson(manifest->toJson(), &error);
    if (!again || again->toJson() != manifest->toJson())
        fuzz::fail("a manifest written does not read back the same");
    return 0;
}
