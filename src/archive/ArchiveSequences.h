#pragma once

#include <QString>

namespace quillio::archive {

class TFDB;

// The sequences that make a year directory's archive usable, run by the start-up and by the
// working-year dialogs. Every setting is read afresh at the moment of use.
class ArchiveSequences
{
public:
    // For the customer, draft and invoice tables in that order: a table whose file is missing in
    // `yearDir` is announced and created. Returns whether it created any table.
    static bool missingTableCheck(TFDB& db, const QString& yearDir);
    // Closes the shared query and the three tables and binds them to the alias and file names of
    // the settings; they stay closed.
    static void rebind(TFDB& db);
    // Protects the three table files of `yearDir` with the master password.
    static void protectionPass(const QString& yearDir);
};

} // namespace quillio::archive
