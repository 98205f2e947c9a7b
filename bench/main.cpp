#include "BenchProgram.h"
#include "PeakMemory.h"
#include "StartupMeasurement.h"
#include "engine/Engine.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLocale>
#include <QTextStream>
#include <algorithm>
#include <exception>
#include <memory>
#include <optional>

using namespace quillio::bench;

namespace {

const QList<int> DefaultSizes = {1000, 10000, 100000};

// "1000,10000" → the sizes; empty when any of them is not a positive whole number.
QList<int> parseSizes(const QString& text)
{
    QList<int> sizes;
    for (const QString& part : text.split(u',')) {
        bool isNumber = false;
        const int records = part.trimmed().toInt(&isNumber);
        if (!isNumber || records < 1)
            return {};
        sizes.append(records);
    }
    return sizes;
}

std::optional<BenchProgram::Backend> parseBackend(const QString& text)
{
    if (text == QLatin1String("files"))
        return BenchProgram::Backend::Files;
    if (text == QLatin1String("postgresql"))
        return BenchProgram::Backend::PostgreSql;
    return std::nullopt;
}

int fail(const QString& text)
{
    QTextStream(stderr) << "quillio-bench: " << text << Qt::endl;
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    // Printing and the windows need widgets, so the program is a GUI one; the peak-memory child stays a core
    // one, so it measures the engine and not the GUI. Without a display everything runs offscreen.
    const bool isChild = std::any_of(argv, argv + argc, [](const char* argument) {
        return QByteArray(argument).contains(PeakMemory::ChildOption.toLatin1());
    });
    if (!isChild && qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app =
        isChild ? std::make_unique<QCoreApplication>(argc, argv) : std::make_unique<QApplication>(argc, argv);
    QCoreApplication& application = *app;
    QCoreApplication::setApplicationName(QStringLiteral("quillio-bench"));
    // Customer names sort as the Italian program sorts them, whatever the machine's own locale.
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Builds archives of generated customers, drafts and invoices and prints how fast the engine and the "
        "windows work on them."));
    parser.addHelpOption();
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("Print the figures as a JSON array."));
    const QCommandLineOption records(
        QStringLiteral("records"),
        QStringLiteral("Archive sizes, comma-separated (default 1000,10000,100000)."),
        QStringLiteral("sizes"));
    QCommandLineOption child(PeakMemory::ChildOption, QString(), QStringLiteral("directory"));
    child.setFlags(QCommandLineOption::HiddenFromHelp);
    QCommandLineOption startupChild(StartupMeasurement::ChildOption, QString(), QStringLiteral("directory"));
    startupChild.setFlags(QCommandLineOption::HiddenFromHelp);
    const QCommandLineOption backend(
        QStringLiteral("backend"),
        QStringLiteral(
            "Where the archives live: files (table files, the default) or postgresql (tables on a "
            "throw-away server the bench starts and removes; only the engine and window figures)."),
        QStringLiteral("files|postgresql"), QStringLiteral("files"));
    parser.addOptions({json, records, backend, child, startupChild});
    parser.process(application);

    try {
        quillio::engine::Engine::initialize();
        if (parser.isSet(child))
            return PeakMemory::runChild(parser.value(child));
        if (parser.isSet(startupChild))
            return StartupMeasurement::runChild(parser.value(startupChild));
        const QList<int> sizes = parser.isSet(records) ? parseSizes(parser.value(records)) : DefaultSizes;
        if (sizes.isEmpty())
            return fail(QStringLiteral("--records takes positive whole numbers separated by commas."));
        const std::optional<BenchProgram::Backend> where = parseBackend(parser.value(backend));
        if (!where)
            return fail(QStringLiteral("--backend takes files or postgresql."));
        return BenchProgram(parser.isSet(json) ? BenchProgram::Output::Json : BenchProgram::Output::Text,
                            *where, sizes)
            .run();
    } catch (const std::exception& error) {
        return fail(QString::fromUtf8(error.what()));
    }
}
