#pragma once

#include "Paths.h"

#include <QTemporaryDir>

namespace quillio::test {

// A program directory and a settings root inside one temporary directory of the test's own.
class TemporaryPaths : public Paths
{
public:
    TemporaryPaths();
    QString programDir() const override { return m_programDir; }
    QString settingsRoot() const override { return m_settingsRoot; }
    // The temporary directory itself, without a trailing separator.
    QString root() const { return m_dir.path(); }
    // The settings file the program writes ("ORVALDA/Quillio09.ini" below the root).
    QString settingsFile() const;

private:
    QTemporaryDir m_dir;
    QString m_programDir;
    QString m_settingsRoot;
};

} // namespace quillio::test
