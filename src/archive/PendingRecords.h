#pragma once

#include <QString>

namespace quillio::archive {

class TFDB;

// Records being added or edited that hold changes not yet stored, left behind by an editor that was
// closed by its close box. Leaving the program or the working year would drop them.
class PendingRecords
{
public:
    static bool anyChanged(const TFDB& db);
    static const QString question;
};

} // namespace quillio::archive
