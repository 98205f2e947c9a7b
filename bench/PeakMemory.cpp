#include "PeakMemory.h"

#include "EngineMeasurements.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTextStream>
#include <stdexcept>

namespace quillio::bench {

namespace {

constexpr int ChildTimeoutMs = 120000;
constexpr double KilobytesPerMegabyte = 1024;
constexpr Target PeakTarget{Target::Of::Value, 80, false};
const QByteArray PeakLabel = "VmHWM:";

[[noreturn]] void childFailed(const QString& reason)
{
    throw std::runtime_error(("the peak memory run " + reason).toStdString());
}

} // namespace

Figure PeakMemory::measure(const GeneratedArchive& archive)
{
    QProcess child;
    child.setProgram(QCoreApplication::applicationFilePath());
    child.setArguments({QStringLiteral("--") + ChildOption, archive.directory});
    child.start();
    if (!child.waitForFinished(ChildTimeoutMs)) {
        child.kill();
        child.waitForFinished();
        childFailed(QStringLiteral("did not finish: ") + child.errorString());
    }
    const QString output = QString::fromUtf8(child.readAllStandardOutput()).trimmed();
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        childFailed(QStringLiteral("failed: ") + QString::fromUtf8(child.readAllStandardError()).trimmed());
    bool isNumber = false;
    const qint64 kilobytes = output.toLongLong(&isNumber);
    if (!isNumber || kilobytes <= 0)
        childFailed(QStringLiteral("printed \"%1\" instead of a size").arg(output));
    return {QStringLiteral("peak_memory"), archive.records, double(kilobytes) / KilobytesPerMegabyte,
            QStringLiteral("MB"),          std::nullopt,    PeakTarget};
}

int PeakMemory::runChild(const QString& directory)
{
    GeneratedArchive archive;
    archive.directory = directory;
    const ScanTotals totals = EngineMeasurements(archive).scanInvoices();
    QTextStream err(stderr);
    if (totals.records == 0) {
        err << "No invoices in " << QDir::toNativeSeparators(directory) << Qt::endl;
        return 1;
    }
    const std::optional<qint64> peak = residentPeakKb();
    if (!peak) {
        err << "This system does not report the peak resident memory." << Qt::endl;
        return 1;
    }
    QTextStream(stdout) << *peak << Qt::endl;
    return 0;
}

std::optional<qint64> PeakMemory::residentPeakKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    // readAll(), not atEnd(): the system reports a size of zero for this file.
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (!line.startsWith(PeakLabel))
            continue;
        bool isNumber = false;
        const qint64 kilobytes =
            line.mid(PeakLabel.size()).trimmed().split(' ').value(0).toLongLong(&isNumber);
        return isNumber ? std::optional<qint64>(kilobytes) : std::nullopt;
    }
    return std::nullopt;
}

} // namespace quillio::bench
