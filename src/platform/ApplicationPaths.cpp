#include "platform/ApplicationPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace quillio {

QString ApplicationPaths::programDir() const
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()) + QDir::separator();
}

QString ApplicationPaths::settingsRoot() const
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

} // namespace quillio
