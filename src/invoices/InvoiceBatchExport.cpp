#include "invoices/InvoiceBatchExport.h"

#include "archive/TableSchemas.h"
#include "business/BusinessFile.h"
#include "business/BuyerBook.h"
#include "business/CompanyStore.h"
#include "business/InvoiceExport.h"
#include "config/Settings.h"
#include "config/SettingsKey.h"
#include "config/SettingsStore.h"
#include "einvoice/ExportDefaults.h"
#include "einvoice/InvoiceRecord.h"
#include "engine/DataPlace.h"
#include "engine/EngineError.h"
#include "engine/Session.h"
#include "engine/Table.h"
#include "invoices/InvoicePrintParameters.h"
#include "report/ReportProject.h"
#include "report/ReportSystem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace quillio::invoices {

namespace {

namespace Key = config::SettingsKey;

const QString alias = QStringLiteral("QUILFATTURAPA");

QString setting(const QString& name)
{
    return config::Settings::value(name);
}

QByteArray archivalPdf(report::ReportProject& project, const engine::Dataset& invoice)
{
    QTemporaryDir scratch;
    const QString path = scratch.filePath(QStringLiteral("fattura.pdf"));
    InvoicePrintParameters::writeArchivalPdf(project, invoice, setting(Key::pathPrg), path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw engine::EngineError(QStringLiteral("Impossibile leggere la pagina della fattura: ") +
                                  file.errorString());
    return file.readAll();
}

QString errorsOf(const QList<einvoice::Problem>& problems)
{
    QStringList messages;
    for (const einvoice::Problem& problem : problems)
        if (problem.severity == einvoice::Problem::Error)
            messages << problem.message;
    return messages.join(QStringLiteral("; "));
}

} // namespace

InvoiceBatchExport::Result InvoiceBatchExport::run(int year, const Range& range, const QString& folder,
                                                   bool attachPdf)
{
    const QString yearDir = config::Settings::yearDirectory(QString::number(year));
    if (!config::Settings::isDirectory(yearDir))
        throw engine::EngineError(QStringLiteral("L'anno %1 non ha un archivio (%2).")
                                      .arg(year)
                                      .arg(engine::DataPlace::shown(yearDir)));
    business::BusinessFile file = business::BusinessFile::inDataDirectory();
    const std::optional<einvoice::CompanyData> seller = business::CompanyStore(file).company();
    if (!seller)
        throw engine::EngineError(
            QStringLiteral("Mancano i dati dell'azienda: inserirli in \"Dati Azienda\"."));

    engine::Session session(QStringLiteral("FatturaPA"));
    session.addStandardAlias(alias, yearDir);
    session.activate();
    session.addPassword(archive::masterPassword);
    engine::Table invoices(session);
    invoices.setDatabaseName(alias);
    invoices.setTableName(setting(Key::dbFatture));
    invoices.open();

    report::ReportSystem reports;
    report::ReportProject project(reports);
    business::BuyerBook buyers(file);
    business::InvoiceExport exporter(file);
    Result result;
    for (invoices.first(); !invoices.eof(); invoices.next()) {
        const einvoice::InvoiceRecord invoice = einvoice::InvoiceRecord::fromDataset(invoices);
        if (!invoice.ordNum || !range.contains(*invoice.ordNum))
            continue;
        einvoice::ExportOptions options =
            einvoice::ExportDefaults::forInvoice(invoice, *seller, buyers.details(invoice.pIva, invoice.cf));
        options.attachmentName = QStringLiteral("Fattura_%1_%2.pdf").arg(*invoice.ordNum).arg(year);
        if (attachPdf)
            options.attachment = archivalPdf(project, invoices);
        const business::InvoiceExport::Outcome outcome =
            exporter.write(invoice, year, *seller, options, folder, false);
        if (outcome.written())
            result.written << outcome.filePath;
        else
            result.failures
                << QStringLiteral("Fattura %1: %2").arg(*invoice.ordNum).arg(errorsOf(outcome.problems));
    }
    return result;
}

} // namespace quillio::invoices
