#pragma once

#include "platform/Paths.h"

#include <QTemporaryDir>
#include <optional>

namespace quillio::test {

// A program directory, a settings root and the user's own places, all inside one temporary
// directory of the test's own. The installation's directories follow from the program directory
// as in a real installation: `share/quillio/` and `share/doc/quillio/` beside `program/`.
class TemporaryPaths : public Paths
{
public:
    TemporaryPaths();
    QString programDir() const override { return m_programDir; }
    QString settingsRoot() const override { return m_settingsRoot; }
    // Asks the file system, unless a test decided: as root every directory is writable.
    bool programDirWritable() const override;
    // Not made in advance: the first start has to make it, as in a new account.
    QString userDataDir() const override { return m_root + QStringLiteral("/home/data/"); }
    QString userTempDir() const override { return m_root + QStringLiteral("/home/tmp/"); }
    // The temporary directory itself, without a trailing separator.
    QString root() const { return m_root; }
    // The settings file the program writes ("ORVALDA/Quillio09.ini" below the root).
    QString settingsFile() const;

    std::optional<bool> programDirWritableOverride;

private:
    QTemporaryDir m_dir;
    QString m_root;
    QString m_programDir;
    QString m_settingsRoot;
};

} // namespace quillio::test
