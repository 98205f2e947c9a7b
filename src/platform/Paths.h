#pragma once

#include <QString>

namespace quillio {

// Where the program runs from and where the per-user settings live. Tests point both into a
// temporary directory, so they never write into the build tree and can run side by side.
class Paths
{
public:
    virtual ~Paths() = default;
    // Directory of the running executable, ending with the platform's separator.
    virtual QString programDir() const = 0;
    // Root of the per-user configuration; the settings file lies below it.
    virtual QString settingsRoot() const = 0;
};

} // namespace quillio
