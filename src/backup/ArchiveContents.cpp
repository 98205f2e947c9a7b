#include "backup/ArchiveContents.h"

#include "backup/BackupError.h"
#include "business/BusinessFile.h"
#include "config/Settings.h"
#include "config/SettingsKey.h"
#include "engine/DataPlace.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace quillio::backup {

namespace Key = config::SettingsKey;

namespace {

bool holdsAll(const QDir& directory, const QStringList& tableFiles)
{
    return std::all_of(tableFiles.begin(), tableFiles.end(),
                       [&](const QString& name) { return QFileInfo(directory.filePath(name)).isFile(); });
}

} // namespace

QList<ArchiveContents::Item> ArchiveContents::of(const QString& dataDirectory, const QStringList& tableFiles)
{
    QList<Item> items;
    const QDir data(dataDirectory);
    for (const QString& year : data.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QDir directory(data.filePath(year));
        if (!holdsAll(directory, tableFiles))
            continue;
        for (const QString& name : tableFiles)
            items.append({year + u'/' + name, directory.filePath(name), year});
    }
    const QString company = data.filePath(business::BusinessFile::fileName);
    if (QFileInfo(company).isFile())
        items.append({business::BusinessFile::fileName, company, {}});
    return items;
}

QStringList ArchiveContents::tableFilesOfSettings()
{
    const QString keys[] = {Key::dbRubrica, Key::dbBozze, Key::dbFatture};
    QStringList names;
    for (qsizetype i = 0; i < defaultTableFiles.size(); ++i) {
        const QString name = config::Settings::value(keys[i]);
        names.append(name.isEmpty() ? defaultTableFiles[i] : name);
    }
    return names;
}

QString ArchiveContents::dataDirectoryOfSettings()
{
    return config::Settings::dataDirectory();
}

void ArchiveContents::requireFolder(const QString& dataDirectory)
{
    if (engine::DataPlace::isServerAddress(dataDirectory))
        throw BackupError(
            QStringLiteral("L'archivio è sul server di database %1: le sue copie si fanno sul "
                           "server, con pg_dump (vedere la guida, \"Un archivio per più postazioni\").")
                .arg(engine::DataPlace::shown(dataDirectory)));
}

} // namespace quillio::backup
