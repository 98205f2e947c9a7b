#include "backup/ArchiveTransfer.h"

#include "backup/BackupError.h"
#include "business/BusinessFile.h"
#include "engine/DataPlace.h"
#include "engine/EngineError.h"
#include "engine/TableCopy.h"

#include <QDir>

namespace quillio::backup {

using engine::DataPlace;

QString ArchiveTransfer::normalized(const QString& place)
{
    if (DataPlace::isServerAddress(place) || place.isEmpty() || place.endsWith(u'/') ||
        place.endsWith(QDir::separator()))
        return place;
    return place + QDir::separator();
}

QStringList ArchiveTransfer::yearsOf(const QString& place, const QStringList& tableFiles,
                                     QStringList* skipped)
{
    QStringList years;
    for (const QString& name : DataPlace::children(place, skipped)) {
        const QString year = DataPlace::child(place, name);
        for (const QString& table : tableFiles) {
            if (DataPlace::tableExists(year, table)) {
                years.append(name);
                break;
            }
        }
    }
    return years;
}

QString ArchiveTransfer::skippedLine(const QString& name)
{
    // Shown as found, but for characters that would break the line or turn the text around.
    QString printable = name;
    for (QChar& c : printable)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format ||
            c.category() == QChar::Separator_Line || c.category() == QChar::Separator_Paragraph)
            c = u'?';
    return QStringLiteral("\"%1\" saltato: non è il nome di un anno di lavoro").arg(printable);
}

void ArchiveTransfer::copy(const QString& fromPlace, const QString& toPlace, const QStringList& tableFiles,
                           const Progress& progress)
{
    const QString from = normalized(fromPlace);
    const QString to = normalized(toPlace);
    if (!DataPlace::exists(from))
        throw BackupError(QStringLiteral("L'archivio %1 non si raggiunge: %2")
                              .arg(DataPlace::shown(from), DataPlace::lastError()));
    QStringList skipped;
    const QStringList years = yearsOf(from, tableFiles, &skipped);
    for (const QString& name : std::as_const(skipped))
        progress(skippedLine(name));
    if (years.isEmpty())
        throw BackupError(
            QStringLiteral("L'archivio %1 non ha anni di lavoro da copiare.").arg(DataPlace::shown(from)));
    if (!DataPlace::exists(to) && !DataPlace::create(to))
        throw BackupError(QStringLiteral("La destinazione %1 non si raggiunge: %2")
                              .arg(DataPlace::shown(to), DataPlace::lastError()));
    for (const QString& year : years)
        if (DataPlace::exists(DataPlace::child(to, year)))
            throw BackupError(
                QStringLiteral("L'anno %1 esiste già in %2: la copia non lo sovrascrive, e non è "
                               "stato copiato nulla.")
                    .arg(year, DataPlace::shown(to)));
    copyCompanyData(from, to, progress);
    for (const QString& year : years) {
        copyYear(from, to, year, tableFiles);
        progress(QStringLiteral("anno %1 copiato").arg(year));
    }
}

void ArchiveTransfer::copyYear(const QString& from, const QString& to, const QString& year,
                               const QStringList& tableFiles)
{
    const QString source = DataPlace::child(from, year);
    const QString staging = DataPlace::staging(to, year);
    // What an interrupted copy left behind is only ever our own staging: remove() takes nothing else.
    DataPlace::remove(staging);
    if (!DataPlace::create(staging))
        throw BackupError(QStringLiteral("Impossibile preparare l'anno %1 in %2: %3")
                              .arg(year, DataPlace::shown(to), DataPlace::lastError()));
    try {
        for (const QString& table : tableFiles)
            if (DataPlace::tableExists(source, table))
                engine::copyTable(source, staging, table);
        if (!DataPlace::rename(staging, year))
            throw BackupError(QStringLiteral("Impossibile completare l'anno %1 in %2: %3")
                                  .arg(year, DataPlace::shown(to), DataPlace::lastError()));
    } catch (...) {
        DataPlace::remove(staging);
        throw;
    }
}

void ArchiveTransfer::copyCompanyData(const QString& from, const QString& to, const Progress& progress)
{
    if (!business::BusinessFile::existsIn(from))
        return;
    const business::BusinessData data = business::BusinessFile(from).storage().everything();
    if (data.isEmpty())
        return;
    business::BusinessFile target(to);
    if (!target.storage().everything().isEmpty()) {
        progress(QStringLiteral("dati dell'azienda: la destinazione ha già i suoi, che restano come sono"));
        return;
    }
    target.storage().takeOver(data);
    progress(QStringLiteral("dati dell'azienda copiati (%1 fatture elettroniche nel registro)")
                 .arg(data.exports.size()));
}

} // namespace quillio::backup
