#pragma once

#include <QString>

namespace quillio::engine {

class Session;

// Engine-wide operations that stand outside any one session.
class Engine
{
public:
    // Reference-counted start and stop of the engine; release() balances initialize().
    static void initialize();
    static void release();
    // The engine's default session, distinct from the program's own named session.
    static Session& defaultSession();

    // Protects an existing table file of `directory` with `password`: afterwards it opens only in
    // a session where that password is registered. Protecting again with the same password changes
    // nothing; a table protected with another password, a missing file or a file that is not a
    // table is an EngineError. The file is protected, not encrypted.
    static void protectTable(const QString& directory, const QString& fileName, const QString& password);
};

} // namespace quillio::engine
