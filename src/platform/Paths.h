#pragma once

#include <QString>

namespace quillio {

// Where the program runs from, where an installation put its shared files, and where the
// per-user settings and data live. Tests point all of them into a temporary directory, so they
// never write into the build tree or the home and can run side by side.
class Paths
{
public:
    virtual ~Paths() = default;
    // Directory of the running executable, ending with the platform's separator.
    virtual QString programDir() const = 0;
    // Root of the per-user configuration; the settings file lies below it.
    virtual QString settingsRoot() const = 0;

    // Whether the program may create files in its own directory. A system-wide installation
    // may not, so its first start keeps the archive in the user's place instead.
    virtual bool programDirWritable() const;
    // The user's own data directory for this program, ending with a separator; it may not exist yet.
    virtual QString userDataDir() const;
    // The user's temporary directory, ending with a separator.
    virtual QString userTempDir() const;

    // The installation's directories, found from the executable's directory, so a copy unpacked
    // anywhere finds its own files. Both end with a separator and may not exist.
    QString installedDataDir() const;
    QString installedDocDir() const;
};

} // namespace quillio
