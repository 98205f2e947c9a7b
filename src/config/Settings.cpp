#include "config/Settings.h"

#include "config/SettingsKey.h"
#include "config/SettingsStore.h"

#include <QDir>
#include <QFileInfo>

namespace quillio::config {

QString Settings::value(const QString& name)
{
    return SettingsStore::LeggiReg(SettingsKey::path, name);
}

QString Settings::programDirectory()
{
    return value(SettingsKey::pathPrg);
}

QString Settings::dataDirectory()
{
    return value(SettingsKey::pathDatiGen);
}

QString Settings::tempDirectory()
{
    return value(SettingsKey::pathTemp);
}

QString Settings::alias()
{
    return value(SettingsKey::aliasDb);
}

QString Settings::workingYear()
{
    return value(SettingsKey::anno);
}

QString Settings::customersFile()
{
    return value(SettingsKey::dbRubrica);
}

QString Settings::draftsFile()
{
    return value(SettingsKey::dbBozze);
}

QString Settings::invoicesFile()
{
    return value(SettingsKey::dbFatture);
}

QString Settings::yearDirectory(const QString& year)
{
    return dataDirectory() + year + QDir::separator();
}

bool Settings::isDirectory(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

} // namespace quillio::config
