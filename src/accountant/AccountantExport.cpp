#include "accountant/AccountantExport.h"

#include "accountant/RegisterReport.h"
#include "accountant/SalesRegisterCsv.h"
#include "archive/TableSchemas.h"
#include "backup/ArchiveTransfer.h"
#include "backup/ZipArchive.h"
#include "business/BusinessFile.h"
#include "business/CompanyStore.h"
#include "business/ExportRegister.h"
#include "config/Settings.h"
#include "engine/DataPlace.h"
#include "engine/EngineError.h"
#include "engine/Session.h"
#include "engine/Table.h"
#include "platform/Paths.h"
#include "platform/PlainName.h"
#include "platform/Platform.h"
#include "report/ReportProject.h"
#include "report/ReportSystem.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSet>

namespace quillio::accountant {

namespace {

const QString alias = QStringLiteral("QUILCOMMERCIALISTA");

void writeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw engine::EngineError(QStringLiteral("Impossibile scrivere %1: %2.")
                                      .arg(QDir::toNativeSeparators(path), file.errorString()));
}

// The last file written for each invoice of the period, by invoice number.
QMap<qint64, business::ExportEntry> electronicFiles(business::BusinessFile& file,
                                                    const RegisterPeriod& period,
                                                    const QList<einvoice::InvoiceRecord>& invoices)
{
    QSet<qint64> inPeriod;
    for (const einvoice::InvoiceRecord& invoice : invoices)
        if (invoice.ordNum && period.contains(invoice.data))
            inPeriod.insert(*invoice.ordNum);
    QMap<qint64, business::ExportEntry> last;
    for (const business::ExportEntry& entry : business::ExportRegister(file).entries(period.year, true))
        if (inPeriod.contains(entry.number))
            last.insert(entry.number, entry);
    return last;
}

struct ZipNames
{
    QMap<qint64, QString> byNumber;
    QList<RegisterOddity> renamed;
};

// The name each electronic invoice takes in the zip. The register's names come from the company
// file, which a restored copy may have brought: a name that is not one plain segment would become
// an entry path that unpacks outside the accountant's folder, and a name taken twice (in any case,
// as some systems unpack) would replace another invoice. Such a file is kept under a name made
// from its number rather than left out, since the accountant needs every invoice; the person is
// told why it was renamed.
ZipNames zipNamesOf(const QMap<qint64, business::ExportEntry>& files, int year)
{
    ZipNames names;
    QSet<QString> taken;
    const auto take = [&](qint64 number, const QString& name) {
        names.byNumber.insert(number, name);
        taken.insert(name.toLower());
    };
    // Plain names first, so that a renamed file never takes the name of a file that has it rightly.
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        if (PlainName::isSegment(it.value().fileName) && !taken.contains(it.value().fileName.toLower()))
            take(it.key(), it.value().fileName);
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        if (names.byNumber.contains(it.key()))
            continue;
        const QString& stored = it.value().fileName;
        QString name = QStringLiteral("Fattura-%1-%2.xml").arg(year).arg(it.key());
        for (int copy = 2; taken.contains(name.toLower()); ++copy)
            name = QStringLiteral("Fattura-%1-%2-%3.xml").arg(year).arg(it.key()).arg(copy);
        take(it.key(), name);
        const QString why = PlainName::isSegment(stored)
                                ? QStringLiteral("è già il nome del file di un'altra fattura")
                                : QStringLiteral("non è un semplice nome di file");
        names.renamed.append({RegisterOddity::Kind::RenamedElectronicFile, it.key(),
                              QStringLiteral("Il nome registrato del file della fattura elettronica %1 "
                                             "(\"%2\") %3: nel file zip si chiama \"%4\".")
                                  .arg(it.key())
                                  .arg(stored, why, name)});
    }
    return names;
}

void writeElectronicZip(const QString& path, const QMap<qint64, business::ExportEntry>& files,
                        const QMap<qint64, QString>& names)
{
    QFile::remove(path);
    backup::ZipArchive zip(path, backup::ZipArchive::Mode::Create);
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        zip.addData(names.value(it.key()), it.value().content);
    zip.commit();
}

} // namespace

QList<einvoice::InvoiceRecord> AccountantExport::readInvoices(const QString& yearDirectory,
                                                              const QString& tableFile)
{
    engine::Session session(QStringLiteral("Commercialista"));
    session.addStandardAlias(alias, yearDirectory);
    session.activate();
    session.addPassword(archive::masterPassword);
    engine::Table table(session);
    table.setDatabaseName(alias);
    table.setTableName(tableFile);
    table.open();
    QList<einvoice::InvoiceRecord> invoices;
    for (table.first(); !table.eof(); table.next())
        invoices.append(einvoice::InvoiceRecord::fromDataset(table));
    return invoices;
}

AccountantExport::Source AccountantExport::Source::ofSettings()
{
    return of(config::Settings::dataDirectory(), config::Settings::invoicesFile());
}

AccountantExport::Source AccountantExport::Source::of(const QString& dataDirectory,
                                                      const QString& invoicesFile)
{
    QString programDirectory = config::Settings::programDirectory();
    if (programDirectory.isEmpty())
        programDirectory = Platform::paths().programDir();
    return {backup::ArchiveTransfer::normalized(dataDirectory), invoicesFile,
            RegisterReport::layoutPath(programDirectory)};
}

AccountantExport::Result AccountantExport::run(const RegisterPeriod& period, const QString& folder,
                                               const Source& source)
{
    if (const QString problem = period.problem(); !problem.isEmpty())
        throw engine::EngineError(problem);
    const QString yearDir = engine::DataPlace::child(source.dataDirectory, QString::number(period.year));
    if (!config::Settings::isDirectory(yearDir))
        throw engine::EngineError(QStringLiteral("L'anno %1 non ha un archivio (%2).")
                                      .arg(period.year)
                                      .arg(engine::DataPlace::shown(yearDir)));
    if (!QDir().mkpath(folder))
        throw engine::EngineError(
            QStringLiteral("Impossibile creare la cartella %1.").arg(QDir::toNativeSeparators(folder)));
    const QList<einvoice::InvoiceRecord> invoices = readInvoices(yearDir, source.invoicesFile);
    business::BusinessFile file(source.dataDirectory);
    const QMap<qint64, business::ExportEntry> electronic = electronicFiles(file, period, invoices);
    const ZipNames zipNames = zipNamesOf(electronic, period.year);
    const SalesRegister salesRegister = SalesRegister::build(invoices, period, zipNames.byNumber);

    Result result;
    result.invoices = int(salesRegister.rows().size());
    result.oddities = salesRegister.oddities() + zipNames.renamed;
    const QDir target(folder);
    result.written << target.filePath(csvName(period.year));
    writeFile(result.written.last(), SalesRegisterCsv::of(salesRegister));

    report::ReportSystem reports;
    report::ReportProject project(reports);
    result.written << target.filePath(registerName(period.year));
    RegisterReport::writePdf(project, source.layoutPath, salesRegister,
                             business::CompanyStore(file).company(), result.written.last());
    if (!electronic.isEmpty()) {
        result.written << target.filePath(electronicName(period.year));
        writeElectronicZip(result.written.last(), electronic, zipNames.byNumber);
    }
    return result;
}

} // namespace quillio::accountant
