#include "BenchProgram.h"

#include "ArchiveGenerator.h"
#include "CopyMeasurement.h"
#include "EngineMeasurements.h"
#include "FatturaPAMeasurement.h"
#include "FigureReport.h"
#include "PeakMemory.h"
#include "PrintMeasurement.h"
#include "StartupMeasurement.h"
#include "WindowMeasurements.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>
#include <stdexcept>

namespace quillio::bench {

BenchProgram::BenchProgram(Output output, const QList<int>& sizes) : m_output(output), m_sizes(sizes) {}

QList<Measurement> BenchProgram::measurements()
{
    const auto engine = [](Figure (EngineMeasurements::*figure)()) {
        return [figure](const GeneratedArchive& archive) {
            EngineMeasurements measurements(archive);
            return (measurements.*figure)();
        };
    };
    return {
        {QStringLiteral("open"), engine(&EngineMeasurements::open)},
        {QStringLiteral("scan"), engine(&EngineMeasurements::scan)},
        {QStringLiteral("list_query"), engine(&EngineMeasurements::listQuery)},
        {QStringLiteral("post"), engine(&EngineMeasurements::post)},
        {QStringLiteral("peak_memory"), &PeakMemory::measure},
        {QStringLiteral("startup"), &StartupMeasurement::measure},
    };
}

QList<Figure> BenchProgram::measureArchiveOf(int records, const QString& root)
{
    const GeneratedArchive archive = ArchiveGenerator(root).generate(records);
    QList<Figure> figures;
    for (const Measurement& measurement : measurements()) {
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
    if (records == 10000) {
        figures.append(FatturaPAMeasurement::batch(archive));
        figures.append(CopyMeasurement::backup(archive));
        figures.append(CopyMeasurement::accountantExport(archive));
    }
    // The largest archives take hundreds of megabytes: each goes as soon as it is measured.
    QDir(archive.directory).removeRecursively();
    return figures;
}

int BenchProgram::run()
{
    QTemporaryDir root(QDir(QDir::tempPath()).filePath(QStringLiteral("quillio-bench-XXXXXX")));
    if (!root.isValid())
        throw std::runtime_error("cannot create a temporary directory: " + root.errorString().toStdString());
    QTextStream out(stdout);
    QList<Figure> all;
    for (int records : m_sizes) {
        const QList<Figure> figures = measureArchiveOf(records, root.path());
        if (m_output == Output::Text)
            out << FigureReport::textBlock(records, figures) << Qt::flush;
        all.append(figures);
    }
    const Figure print = PrintMeasurement::invoicePdf(root.path());
    if (m_output == Output::Text)
        out << FigureReport::textBlock(print.records, {print}) << Qt::flush;
    all.append(print);
    const Figure fatturapa = FatturaPAMeasurement::exportOne(root.path());
    if (m_output == Output::Text)
        out << FigureReport::textBlock(fatturapa.records, {fatturapa}) << Qt::flush;
    all.append(fatturapa);
    if (m_output == Output::Json)
        out << FigureReport::json(all) << Qt::flush;
    return 0;
}

} // namespace quillio::bench
