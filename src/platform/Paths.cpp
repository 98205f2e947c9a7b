#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace quillio {

namespace {

QString withSeparator(const QString& path)
{
    return QDir::toNativeSeparators(QDir::cleanPath(path)) + QDir::separator();
}

} // namespace

bool Paths::programDirWritable() const
{
    return QFileInfo(programDir()).isWritable();
}

QString Paths::userDataDir() const
{
    return withSeparator(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

QString Paths::userTempDir() const
{
    return withSeparator(QStandardPaths::writableLocation(QStandardPaths::TempLocation));
}

// The build system tells where the data and documentation directories lie relative to the
// directory of the installed executables.
QString Paths::installedDataDir() const
{
    return withSeparator(programDir() + QStringLiteral(QUILLIO_DATA_FROM_BIN));
}

QString Paths::installedDocDir() const
{
    return withSeparator(programDir() + QStringLiteral(QUILLIO_DOC_FROM_BIN));
}

} // namespace quillio
