// The manifest of a copy someone hands over: reading it always ends with a manifest or a reason,
// a manifest read never names a place outside the data directory, and what it writes reads back
// the same.

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
    for (const BackupManifest::File& file : manifest->files)
        if (!BackupManifest::isSafePath(file.path) || file.path.contains(QLatin1String("..")) ||
            file.path.startsWith(u'/') || file.path.contains(u'\\'))
            fuzz::fail("a manifest naming a place outside the data directory");
    const std::optional<BackupManifest> again = BackupManifest::fromJson(manifest->toJson(), &error);
    if (!again || again->toJson() != manifest->toJson())
        fuzz::fail("a manifest written does not read back the same");
    return 0;
}
