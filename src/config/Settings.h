#pragma once

#include <QString>

namespace quillio::config {

// The program's settings by name, each read afresh from the store at every call, and the paths
// made from them the same way everywhere.
class Settings
{
public:
    // Any value of the settings key.
    static QString value(const QString& name);

    static QString programDirectory();
    static QString dataDirectory();
    static QString tempDirectory();
    static QString alias();
    static QString workingYear();
    static QString customersFile();
    static QString draftsFile();
    static QString invoicesFile();

    // The data directory followed by the year and a separator (on a server, the year's schema): how the
    // start-up, the working-year dialogs and every later reader find a year's archive. A year that is
    // not a year's name (PlainName::isYear) is refused with the engine's error.
    static QString yearDirectory(const QString& year);
    static QString yearDirectory() { return yearDirectory(workingYear()); }

    // A non-empty path naming an existing directory; for a server address, a server that answers
    // with that database (and that year's schema), the reason otherwise in
    // engine::DataPlace::lastError().
    static bool isDirectory(const QString& path);
    // Makes the last level of a year directory (the year's schema on a server); false when it
    // could not be made, the server's reason then in engine::DataPlace::lastError().
    static bool createDirectory(const QString& path);
};

} // namespace quillio::config
