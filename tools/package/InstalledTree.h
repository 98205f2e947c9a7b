#pragma once

#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>

namespace quillio::tools {

// The tree the executable runs from, seen by a person who may not write into it (as under a
// system-wide installation, even when the check runs as root), with a home of its own.
class InstalledTree : public Paths
{
public:
    explicit InstalledTree(const QString& home) : m_home(home) {}
    QString programDir() const override
    {
        return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()) + QDir::separator();
    }
    QString settingsRoot() const override { return m_home + QStringLiteral("/config"); }
    bool programDirWritable() const override { return false; }
    QString userDataDir() const override { return m_home + QStringLiteral("/data/"); }
    QString userTempDir() const override { return QDir::tempPath() + QDir::separator(); }

private:
    QString m_home;
};

} // namespace quillio::tools
