#include "BenchProgram.h"

#include "ArchiveGenerator.h"
#include "CopyMeasurement.h"
#include "EngineMeasurements.h"
#include "FatturaPAMeasurement.h"
#include "FigureReport.h"
#include "PeakMemory.h"
#include "PostgresCluster.h"
#include "PrintMeasurement.h"
#include "StartupMeasurement.h"
#include "WindowMeasurements.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>
#include <memory>
#include <stdexcept>

namespace quillio::bench {

namespace {

const QString Database = QStringLiteral("quillio_bench");

} // namespace

BenchProgram::BenchProgram(Output output, Backend backend, const QList<int>& sizes)
    : m_output(output), m_backend(backend), m_sizes(sizes)
{
}

QList<Measurement> BenchProgram::measurements(Backend backend)
{
    const auto engine = [](Figure (EngineMeasurements::*figure)()) {
        return [figure](const GeneratedArchive& archive) {
            EngineMeasurements measurements(archive);
            return (measurements.*figure)();
        };
    };
    QList<Measurement> all = {
        {QStringLiteral("open"), engine(&EngineMeasurements::open)},
        {QStringLiteral("scan"), engine(&EngineMeasurements::scan)},
        {QStringLiteral("list_query"), engine(&EngineMeasurements::listQuery)},
        {QStringLiteral("post"), engine(&EngineMeasurements::post)},
    };
    if (backend == Backend::Files) {
        all.append({QStringLiteral("peak_memory"), &PeakMemory::measure});
        all.append({QStringLiteral("startup"), &StartupMeasurement::measure});
    }
    return all;
}

QList<Figure> BenchProgram::measureArchiveOf(int records, const QString& root)
{
    const GeneratedArchive archive = ArchiveGenerator(root).generate(records);
    QList<Figure> figures;
    for (const Measurement& measurement : measurements(m_backend)) {
        try {
            figures.append(measurement.measure(archive));
        } catch (const std::exception& error) {
            throw std::runtime_error(QStringLiteral("%1 at %2 records: %3")
                                         .arg(measurement.name)
                                         .arg(records)
                                         .arg(QString::fromUtf8(error.what()))
                                         .toStdString());
        }
    }
    figures.append(WindowMeasurements::measure(archive));
    // A year of 10,000 invoices is a large office's; the batch is measured on that one.
    if (records == 10000 && !archive.isOnServer()) {
        figures.append(FatturaPAMeasurement::batch(archive));
        figures.append(CopyMeasurement::backup(archive));
        figures.append(CopyMeasurement::accountantExport(archive));
    }
    // The largest archives take hundreds of megabytes: each goes as soon as it is measured.
    ArchiveGenerator::remove(archive);
    return figures;
}

void BenchProgram::report(int records, const QList<Figure>& figures)
{
    if (m_output == Output::Text)
        QTextStream(stdout) << FigureReport::textBlock(records, figures) << Qt::flush;
    m_all.append(figures);
}

int BenchProgram::finish()
{
    if (m_output == Output::Json)
        QTextStream(stdout) << FigureReport::json(m_all) << Qt::flush;
    return 0;
}

int BenchProgram::run()
{
    return m_backend == Backend::Files ? runOnFiles() : runOnServer();
}

int BenchProgram::runOnFiles()
{
    QTemporaryDir root(QDir(QDir::tempPath()).filePath(QStringLiteral("quillio-bench-XXXXXX")));
    if (!root.isValid())
        throw std::runtime_error("cannot create a temporary directory: " + root.errorString().toStdString());
    for (int records : m_sizes)
        report(records, measureArchiveOf(records, root.path()));
    const Figure print = PrintMeasurement::invoicePdf(root.path());
    report(print.records, {print});
    const Figure fatturapa = FatturaPAMeasurement::exportOne(root.path());
    report(fatturapa.records, {fatturapa});
    return finish();
}

int BenchProgram::runOnServer()
{
    // The tests' cluster, started for this run alone and with the server's own default for its
    // buffers: the tests keep theirs small to run many clusters at once, the bench runs one.
    QString reason;
    const std::unique_ptr<test::PostgresCluster> server =
        test::PostgresCluster::start(reason, {QStringLiteral("shared_buffers=128MB")});
    if (!server)
        throw std::runtime_error(reason.toStdString());
    const QString failure = server->execute(QStringLiteral("CREATE DATABASE ") + Database);
    if (!failure.isEmpty())
        throw std::runtime_error("cannot create the database " + Database.toStdString() + ": " +
                                 failure.toStdString());
    if (m_output == Output::Text)
        QTextStream(stdout) << "PostgreSQL "
                            << server->queryValue(QStringLiteral("SHOW server_version"), Database)
                            << ", a throw-away server on a Unix socket\n"
                            << Qt::flush;
    for (int records : m_sizes)
        report(records, measureArchiveOf(records, server->databaseAddress(Database)));
    return finish();
}

} // namespace quillio::bench
