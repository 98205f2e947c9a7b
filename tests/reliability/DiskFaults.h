#pragma once

#include <QString>

struct sqlite3;

namespace quillio::reliability {

// Faults of the disk under the engine, for tests. Installed once per process, before any table is
// opened. SQLite's file layer is wrapped, so a file marked read-only opens read-only even for a
// user whom permissions do not stop (root); SQLite's page limit on the engine's own connection
// stands for a full disk.
class DiskFaults
{
public:
    static void install();

    // Files opened from now on at `path` are read-only until clearReadOnly().
    static void markReadOnly(const QString& path);
    static void clearReadOnly();

    // Starts the list of connections anew; those listed must stay open until freeDisk().
    static void watchConnections();
    // The disk holding `path` is full for the connection opened last on it since
    // watchConnections(): it gets no new page. False when there is no such connection.
    static bool fillDisk(const QString& path);
    // Space is back for that connection.
    static void freeDisk();

private:
    static sqlite3* lastConnectionTo(const QString& path);
};

} // namespace quillio::reliability
