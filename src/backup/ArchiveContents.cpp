#include "backup/ArchiveContents.h"

#include "backup/BackupError.h"
#include "business/BusinessFile.h"
#include "config/Settings.h"
#include "config/SettingsKey.h"
#include "engine/DataPlace.h"
#include "platform/PlainName.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace quillio::backup {

namespace Key = config::SettingsKey;

ArchiveContents::Listing ArchiveContents::of(const QString& dataDirectory, const QStringList& tableFiles)
{
    Listing listing;
    const QDir data(dataDirectory);
    for (const QString& year : data.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (!PlainName::isYear(year))
            continue;
        const QDir directory(data.filePath(year));
        const auto present = [&](const QString& name) {
            return QFileInfo(directory.filePath(name)).isFile();
        };
        if (std::none_of(tableFiles.begin(), tableFiles.end(), present))
            continue;
        for (const QString& name : tableFiles) {
            if (present(name))
                listing.items.append({year + u'/' + name, directory.filePath(name), year});
            else
                listing.missing.append(year + u'/' + name);
        }
    }
    const QString company = data.filePath(business::BusinessFile::fileName);
    if (QFileInfo(company).isFile())
        listing.items.append({business::BusinessFile::fileName, company, {}});
    return listing;
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

void ArchiveContents::requireArchive(const QString& dataDirectory, const Listing& listing)
{
    if (listing.items.isEmpty())
        throw BackupError(
            QStringLiteral("La cartella %1 non contiene un archivio di Quillio: non ci sono anni "
                           "di lavoro con le loro tabelle né i dati dell'azienda, quindi non "
                           "c'è niente da copiare.")
                .arg(QDir::toNativeSeparators(dataDirectory)));
}

} // namespace quillio::backup
