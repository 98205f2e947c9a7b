#pragma once

#include "backup/BackupRestore.h"

namespace quillio::archive {
class TFDB;
}

namespace quillio::backup {

// A restore inside the running program: the data module's tables are closed before their files
// are replaced, and afterwards the working year is opened again as the start-up opens it (its
// missing tables announced and created, the tables bound to the settings' names).
class ProgramRestore
{
public:
    // The pre-restore copy goes to the backup folder of the company file. Raises BackupError
    // when the copy is refused, the data module's tables then being bound again to the files as
    // they were.
    static BackupRestore::Outcome run(archive::TFDB& db, const QString& zipPath);
};

} // namespace quillio::backup
