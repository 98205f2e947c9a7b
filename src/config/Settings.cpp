#include "config/Settings.h"

#include "config/SettingsKey.h"
#include "config/SettingsStore.h"
#include "engine/DataPlace.h"

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

// A folder is joined as plain text, as stored settings expect; a server address gains the year as
// a path segment before its options. A year that is not one plain name is refused there.
QString Settings::yearDirectory(const QString& year)
{
    return engine::DataPlace::child(dataDirectory(), year);
}

bool Settings::isDirectory(const QString& path)
{
    if (engine::DataPlace::isServerAddress(path))
        return engine::DataPlace::exists(path);
    return !path.isEmpty() && QFileInfo(path).isDir();
}

bool Settings::createDirectory(const QString& path)
{
    if (engine::DataPlace::isServerAddress(path))
        return engine::DataPlace::create(path);
    return QDir().mkdir(path);
}

} // namespace quillio::config
