#include "accountant/AccountantExport.h"

#include "accountant/RegisterReport.h"
#include "accountant/SalesRegisterCsv.h"
#include "archive/TableSchemas.h"
#include "backup/ZipArchive.h"
#include "business/BusinessFile.h"
#include "business/CompanyStore.h"
#include "business/ExportRegister.h"
#include "config/Settings.h"
#include "config/SettingsKey.h"
#include "engine/DataPlace.h"
#include "engine/EngineError.h"
#include "engine/Session.h"
#include "engine/Table.h"
#include "report/ReportProject.h"
#include "report/ReportSystem.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSet>

namespace quillio::accountant {

namespace {

namespace Key = config::SettingsKey;

const QString alias = QStringLiteral("QUILCOMMERCIALISTA");

QString setting(const QString& name)
{
    return config::Settings::value(name);
}

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

void writeElectronicZip(const QString& path, const QMap<qint64, business::ExportEntry>& files)
{
    QFile::remove(path);
    backup::ZipArchive zip(path, backup::ZipArchive::Mode::Create);
    for (const business::ExportEntry& entry : files)
        zip.addData(entry.fileName, entry.content);
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

AccountantExport::Result AccountantExport::run(const RegisterPeriod& period, const QString& folder)
{
    const QString yearDir = config::Settings::yearDirectory(QString::number(period.year));
    if (!config::Settings::isDirectory(yearDir))
        throw engine::EngineError(QStringLiteral("L'anno %1 non ha un archivio (%2).")
                                      .arg(period.year)
                                      .arg(engine::DataPlace::shown(yearDir)));
    if (!QDir().mkpath(folder))
        throw engine::EngineError(
            QStringLiteral("Impossibile creare la cartella %1.").arg(QDir::toNativeSeparators(folder)));
    const QList<einvoice::InvoiceRecord> invoices = readInvoices(yearDir, setting(Key::dbFatture));
    business::BusinessFile file = business::BusinessFile::inDataDirectory();
    const QMap<qint64, business::ExportEntry> electronic = electronicFiles(file, period, invoices);
    QMap<qint64, QString> electronicNames;
    for (auto it = electronic.cbegin(); it != electronic.cend(); ++it)
        electronicNames.insert(it.key(), it.value().fileName);
    const SalesRegister salesRegister = SalesRegister::build(invoices, period, electronicNames);

    Result result;
    result.invoices = int(salesRegister.rows().size());
    result.oddities = salesRegister.oddities();
    const QDir target(folder);
    result.written << target.filePath(csvName(period.year));
    writeFile(result.written.last(), SalesRegisterCsv::of(salesRegister));

    report::ReportSystem reports;
    report::ReportProject project(reports);
    result.written << target.filePath(registerName(period.year));
    RegisterReport::writePdf(project, RegisterReport::layoutPath(setting(Key::pathPrg)), salesRegister,
                             business::CompanyStore(file).company(), result.written.last());
    if (!electronic.isEmpty()) {
        result.written << target.filePath(electronicName(period.year));
        writeElectronicZip(result.written.last(), electronic);
    }
    return result;
}

} // namespace quillio::accountant
