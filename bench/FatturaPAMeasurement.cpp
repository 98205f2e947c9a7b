#include "FatturaPAMeasurement.h"

#include "LentArchive.h"
#include "SampleCompany.h"
#include "TestEnvironment.h"
#include "Timing.h"
#include "business/BusinessFile.h"
#include "business/CompanyStore.h"
#include "business/InvoiceExport.h"
#include "config/SettingsKey.h"
#include "config/SettingsStore.h"
#include "invoices/InvoiceBatchExport.h"

#include <QCoreApplication>
#include <QDir>
#include <stdexcept>

namespace quillio::bench {

namespace {

// Twenty lines at 22%, a buyer by VAT number and destination code.
einvoice::InvoiceRecord twentyLineInvoice()
{
    einvoice::InvoiceRecord invoice;
    invoice.ordNum = 1;
    invoice.data = QDate(2026, 12, 1);
    invoice.ragioneSociale = QStringLiteral("Bianchi Giovanni S.n.c.");
    invoice.via = QStringLiteral("Corso Vittorio Emanuele 4");
    invoice.citta = QStringLiteral("Torino");
    invoice.cap = QStringLiteral("10121");
    invoice.pIva = QStringLiteral("12345678903");
    invoice.testo1 = QStringLiteral("VS DARE PER");
    invoice.iva = 22;
    for (int slot = 0; slot < einvoice::InvoiceRecord::slotCount; ++slot) {
        invoice.desc[slot] = QStringLiteral("Voce di fattura numero %1").arg(slot + 1);
        invoice.costo[slot] = 10.5 * (slot + 1);
    }
    return invoice;
}

void require(bool condition, const QString& what)
{
    if (!condition)
        throw std::runtime_error(what.toStdString());
}

void writeSettings(const QString& dataDirectory)
{
    namespace Key = config::SettingsKey;
    const auto write = [](const QString& name, const QString& value) {
        config::SettingsStore::ScriviReg(Key::path, name, value);
    };
    write(Key::pathPrg, QCoreApplication::applicationDirPath() + QDir::separator());
    write(Key::pathDatiGen, dataDirectory);
    write(Key::dbFatture, GeneratedArchive::Invoices);
}

} // namespace

Figure FatturaPAMeasurement::exportOne(const QString& workDirectory)
{
    const QString folder = QDir(workDirectory).filePath(QStringLiteral("fatturapa-one"));
    QDir().mkpath(folder);
    business::BusinessFile file(folder);
    business::InvoiceExport exporter(file);
    einvoice::ExportOptions options;
    options.buyer.codiceDestinatario = QStringLiteral("M5UXCR1");
    const einvoice::InvoiceRecord invoice = twentyLineInvoice();
    const einvoice::CompanyData company = test::SampleCompany::seller();
    QList<double> times;
    for (int run = 0; run < 21; ++run)
        times << Timing::milliseconds([&] {
            require(exporter.write(invoice, 2026, company, options, folder, false).written(),
                    QStringLiteral("the sample invoice was not exported"));
        });
    QDir(folder).removeRecursively();
    return {QStringLiteral("fatturapa_export"),
            1,
            Timing::median(times),
            QStringLiteral("ms"),
            std::nullopt,
            std::nullopt};
}

Figure FatturaPAMeasurement::batch(const GeneratedArchive& archive)
{
    test::TestEnvironment env;
    const LentArchive lent(archive, env.paths.programDir());
    writeSettings(env.paths.programDir());
    {
        business::BusinessFile file(env.paths.programDir());
        business::CompanyStore(file).setCompany(test::SampleCompany::seller());
    }
    const QString folder = QDir(env.paths.programDir()).filePath(QStringLiteral("fatturapa"));
    QDir().mkpath(folder);
    invoices::InvoiceBatchExport::Result result;
    const double ms = Timing::milliseconds([&] {
        result =
            invoices::InvoiceBatchExport::run(LentArchive::WorkingYear.toInt(), {1, BatchInvoices}, folder);
    });
    require(result.failures.isEmpty(), QStringLiteral("invoices not exported: ") + result.failures.value(0));
    require(result.written.size() == BatchInvoices,
            QStringLiteral("%1 invoices exported").arg(result.written.size()));
    return {QStringLiteral("fatturapa_batch"),
            archive.records,
            BatchInvoices / (ms / 1000),
            QStringLiteral("/s"),
            std::nullopt,
            std::nullopt};
}

} // namespace quillio::bench
