#include "TemporaryPaths.h"

#include <QDir>

namespace quillio::test {

TemporaryPaths::TemporaryPaths()
{
    QDir root(m_dir.path());
    root.mkpath(QStringLiteral("program"));
    root.mkpath(QStringLiteral("settings"));
    m_programDir = QDir::toNativeSeparators(root.filePath(QStringLiteral("program"))) + QDir::separator();
    m_settingsRoot = root.filePath(QStringLiteral("settings"));
}

QString TemporaryPaths::settingsFile() const
{
    return m_settingsRoot + QStringLiteral("/ORVALDA/Quillio09.ini");
}

} // namespace quillio::test
