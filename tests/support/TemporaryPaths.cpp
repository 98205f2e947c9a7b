#include "TemporaryPaths.h"

#include <QDir>
#include <QFileInfo>

namespace quillio::test {

TemporaryPaths::TemporaryPaths() : m_root(m_dir.path())
{
    QDir root(m_root);
    root.mkpath(QStringLiteral("program"));
    root.mkpath(QStringLiteral("settings"));
    root.mkpath(QStringLiteral("home/tmp"));
    m_programDir = QDir::toNativeSeparators(root.filePath(QStringLiteral("program"))) + QDir::separator();
    m_settingsRoot = root.filePath(QStringLiteral("settings"));
}

bool TemporaryPaths::programDirWritable() const
{
    return programDirWritableOverride.value_or(QFileInfo(m_programDir).isWritable());
}

QString TemporaryPaths::settingsFile() const
{
    return m_settingsRoot + QStringLiteral("/ORVALDA/Quillio09.ini");
}

} // namespace quillio::test
