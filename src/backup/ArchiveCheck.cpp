#include "backup/ArchiveCheck.h"

#include "archive/TableSchemas.h"
#include "backup/ArchiveTransfer.h"
#include "backup/RestoreJournal.h"
#include "business/BusinessFile.h"
#include "business/ExportRegister.h"
#include "engine/DataPlace.h"
#include "engine/EngineError.h"
#include "engine/RecordReader.h"
#include "engine/TableStorage.h"

#include <QDir>
#include <QSet>

namespace quillio::backup {

using engine::DataPlace;

namespace {

// Told, never acted on: a check changes nothing.
QString unfinishedRestore(const QString& folder)
{
    return QStringLiteral(
               "un ripristino non è finito (c'è ancora il suo diario %1): l'archivio può essere "
               "in parte quello di prima e in parte quello della copia; sarà completato o annullato "
               "al prossimo avvio del programma o di quillio-archive")
        .arg(QDir::toNativeSeparators(QDir(folder).filePath(RestoreJournal::journalName)));
}

} // namespace

ArchiveCheck::Report ArchiveCheck::check(const QString& givenPlace, const QStringList& tableFiles)
{
    Report report;
    const QString place = ArchiveTransfer::normalized(givenPlace);
    if (!DataPlace::exists(place)) {
        report.problems
            << QStringLiteral("%1 non si raggiunge: %2").arg(DataPlace::shown(place), DataPlace::lastError());
        return report;
    }
    if (!DataPlace::isServerAddress(place) && RestoreJournal::isUnfinished(place))
        report.problems << unfinishedRestore(place);
    QStringList skipped;
    const QStringList years = ArchiveTransfer::yearsOf(place, tableFiles, &skipped);
    for (const QString& name : std::as_const(skipped))
        report.lines << ArchiveTransfer::skippedLine(name);
    if (years.isEmpty())
        report.problems << QStringLiteral("%1 non ha anni di lavoro").arg(DataPlace::shown(place));
    for (const QString& year : years) {
        const QString yearPlace = DataPlace::child(place, year);
        for (int kind = 0; kind < int(tableFiles.size()); ++kind) {
            if (!DataPlace::tableExists(yearPlace, tableFiles[kind])) {
                report.problems << QStringLiteral("%1/%2: manca").arg(year, tableFiles[kind]);
                continue;
            }
            checkTable(yearPlace, year, tableFiles[kind], kind, report);
        }
    }
    checkCompanyData(place, report);
    return report;
}

void ArchiveCheck::checkTable(const QString& yearPlace, const QString& year, const QString& fileName,
                              int kind, Report& report)
{
    const QString name = year + u'/' + fileName;
    try {
        const std::unique_ptr<engine::TableStorage> table = engine::TableStorage::open(yearPlace, fileName);
        table->requireAccess({archive::masterPassword});
        const QString difference =
            kind < 3 ? archive::TableSchemas::columnDifference(table->fields(), kind) : QString();
        if (!difference.isEmpty())
            report.problems << QStringLiteral("%1: %2").arg(name, difference);
        qint64 records = 0;
        qint64 highest = 0;
        const std::unique_ptr<engine::RecordReader> reader = table->reader(nullptr);
        for (bool any = reader->first(); any; any = reader->next()) {
            reader->values();
            highest = std::max(highest, reader->position());
            ++records;
        }
        const qint64 next = table->nextNumber();
        if (next <= highest)
            report.problems << QStringLiteral("%1: il prossimo numero %2 non supera l'ultimo, %3")
                                   .arg(name)
                                   .arg(next)
                                   .arg(highest);
        report.lines << QStringLiteral("%1: %2 record, prossimo numero %3%4")
                            .arg(name)
                            .arg(records)
                            .arg(next)
                            .arg(table->isProtected() ? QStringLiteral(", protetta") : QString());
    } catch (const engine::EngineError& error) {
        report.problems << QStringLiteral("%1: %2").arg(name, error.text());
    }
}

void ArchiveCheck::checkCompanyData(const QString& place, Report& report)
{
    if (!business::BusinessFile::existsIn(place)) {
        report.lines << QStringLiteral("dati dell'azienda: nessuno");
        return;
    }
    try {
        const business::BusinessData data = business::BusinessFile(place).storage().everything();
        QSet<QString> given;
        for (const business::BusinessData::Progressive& row : data.progressives) {
            if (row.progressive != business::ExportRegister::progressiveText(row.sequence) ||
                given.contains(row.progressive))
                report.problems << QStringLiteral(
                                       "registro delle fatture elettroniche: il progressivo %1 non è "
                                       "in ordine")
                                       .arg(row.progressive);
            given.insert(row.progressive);
        }
        report.lines << QStringLiteral(
                            "dati dell'azienda: %1 documenti, %2 progressivi, %3 fatture elettroniche")
                            .arg(data.documents.size())
                            .arg(data.progressives.size())
                            .arg(data.exports.size());
    } catch (const engine::EngineError& error) {
        report.problems << QStringLiteral("dati dell'azienda: %1").arg(error.text());
    }
}

} // namespace quillio::backup
