#include "CopyMeasurement.h"

#include "LentArchive.h"
#include "TestEnvironment.h"
#include "Timing.h"
#include "accountant/AccountantExport.h"
#include "backup/BackupWriter.h"
#include "config/SettingsKey.h"
#include "config/SettingsStore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <stdexcept>

namespace quillio::bench {

namespace {

const QStringList tableFiles = {GeneratedArchive::Customers, GeneratedArchive::Drafts,
                                GeneratedArchive::Invoices};

void writeSettings(const QString& dataDirectory)
{
    namespace Key = config::SettingsKey;
    const auto write = [](const QString& name, const QString& value) {
        config::SettingsStore::ScriviReg(Key::path, name, value);
    };
    write(Key::pathPrg, QCoreApplication::applicationDirPath() + QDir::separator());
    write(Key::pathDatiGen, dataDirectory);
    write(Key::dbRubrica, GeneratedArchive::Customers);
    write(Key::dbBozze, GeneratedArchive::Drafts);
    write(Key::dbFatture, GeneratedArchive::Invoices);
}

} // namespace

Figure CopyMeasurement::backup(const GeneratedArchive& archive)
{
    test::TestEnvironment env;
    const LentArchive lent(archive, env.paths.programDir());
    const QString zip = QDir(env.paths.root()).filePath(QStringLiteral("copia.zip"));
    const double ms = Timing::milliseconds([&] {
        backup::BackupWriter(env.paths.programDir(), tableFiles).write(zip, QDateTime::currentDateTime());
    });
    return {QStringLiteral("backup"), archive.records, ms, QStringLiteral("ms"), std::nullopt, std::nullopt};
}

Figure CopyMeasurement::accountantExport(const GeneratedArchive& archive)
{
    test::TestEnvironment env;
    const LentArchive lent(archive, env.paths.programDir());
    writeSettings(env.paths.programDir());
    const QString folder = QDir(env.paths.root()).filePath(QStringLiteral("commercialista"));
    accountant::AccountantExport::Result result;
    const double ms = Timing::milliseconds([&] {
        result = accountant::AccountantExport::run({LentArchive::WorkingYear.toInt(), 1, 12}, folder);
    });
    // The measurements before this one may have posted a few invoices more.
    if (result.invoices < archive.records)
        throw std::runtime_error(
            QStringLiteral("%1 invoices in the register").arg(result.invoices).toStdString());
    return {QStringLiteral("accountant_export"),
            archive.records,
            ms,
            QStringLiteral("ms"),
            std::nullopt,
            std::nullopt};
}

} // namespace quillio::bench
