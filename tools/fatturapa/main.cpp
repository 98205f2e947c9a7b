// quillio-fatturapa: electronic invoices from the command line.
//   check FILE.xml...  prints each problem as FILE:LINE: CODE message [field]; exits 0 when no
//                      file has an error, 1 when one has, 2 when a file cannot be read as an
//                      electronic invoice at all.
//   export --year YYYY [--from N] [--to N] DIR
//                      writes the stored invoices of the working year into DIR as the export
//                      dialog would, with the buyers' remembered details; prints each file, and
//                      each invoice it could not write with the reason; exits 1 when one failed.

#include "einvoice/DocumentChecks.h"
#include "einvoice/FatturaXmlReader.h"
#include "invoices/InvoiceBatchExport.h"
#include "platform/QuillioError.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QGuiApplication>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <memory>
#include <optional>

using namespace quillio::einvoice;

namespace {

enum Exit { Clean = 0, Rejected = 1, Unreadable = 2 };

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& err()
{
    static QTextStream stream(stderr);
    return stream;
}

QString codeColumn(const Problem& problem)
{
    if (!problem.code.isEmpty())
        return problem.code;
    switch (problem.severity) {
    case Problem::Error:
        return QStringLiteral("errore");
    case Problem::Warning:
        return QStringLiteral("avviso");
    case Problem::Notice:
        break;
    }
    return QStringLiteral("nota");
}

Exit checkFile(const QString& path)
{
    // One byte more than allowed is enough to tell the reader the file is too large.
    const quillio::RegularFile::Content content =
        quillio::RegularFile::read(path, FatturaXmlReader::maximumSize);
    if (!content.error.isEmpty()) {
        err() << path << ": " << content.error << Qt::endl;
        return Unreadable;
    }
    const FatturaXmlReader::Result result = FatturaXmlReader::read(content.bytes);
    if (!result.wellFormed || !result.isFatturaPA) {
        err() << path << ": " << result.error << Qt::endl;
        return Unreadable;
    }
    Exit exit = Clean;
    for (const Problem& problem : DocumentChecks::run(result.document)) {
        out() << path << ':' << problem.line << ": " << codeColumn(problem) << ' ' << problem.message << " ["
              << problem.field << ']' << Qt::endl;
        if (problem.severity == Problem::Error)
            exit = Rejected;
    }
    return exit;
}

int check(const QStringList& files)
{
    if (files.isEmpty()) {
        err() << "check: indicare almeno un file" << Qt::endl;
        return Unreadable;
    }
    int exit = Clean;
    for (const QString& file : files)
        exit = qMax(exit, int(checkFile(file)));
    return exit;
}

std::optional<qint64> numberOption(QStringList& arguments, const QString& name, bool& valid)
{
    const qsizetype at = arguments.indexOf(name);
    if (at < 0)
        return std::nullopt;
    bool ok = false;
    const qint64 number = arguments.value(at + 1).toLongLong(&ok);
    valid = valid && ok;
    arguments.remove(at, std::min<qsizetype>(2, arguments.size() - at));
    return number;
}

int exportYear(const QStringList& given)
{
    QStringList arguments = given;
    bool valid = true;
    const std::optional<qint64> year = numberOption(arguments, QStringLiteral("--year"), valid);
    quillio::invoices::InvoiceBatchExport::Range range;
    range.from = numberOption(arguments, QStringLiteral("--from"), valid);
    range.to = numberOption(arguments, QStringLiteral("--to"), valid);
    if (!valid || !year || arguments.size() != 1 || arguments[0].startsWith(QLatin1String("--"))) {
        err() << "export: uso: export --year AAAA [--from N] [--to N] CARTELLA" << Qt::endl;
        return Unreadable;
    }
    const QString folder = arguments[0];
    if (!QDir(folder).exists()) {
        err() << "export: la cartella " << folder << " non esiste" << Qt::endl;
        return Unreadable;
    }
    try {
        const auto result = quillio::invoices::InvoiceBatchExport::run(int(*year), range, folder);
        for (const QString& file : result.written)
            out() << file << Qt::endl;
        for (const QString& failure : result.failures)
            err() << failure << Qt::endl;
        return result.failures.isEmpty() ? Clean : Rejected;
    } catch (const quillio::QuillioError& error) {
        err() << "export: " << error.text() << Qt::endl;
        return Unreadable;
    }
}

struct Command
{
    const char* name;
    const char* usage;
    std::function<int(const QStringList&)> run;
};

// New commands go here; the usage text is made from this list.
const QList<Command>& commands()
{
    static const QList<Command> list = {
        {"check", "check FILE.xml...   controlla le fatture elettroniche, senza collegarsi in rete", check},
        {"export", "export --year AAAA [--from N] [--to N] CARTELLA   esporta le fatture dell'anno",
         exportYear},
    };
    return list;
}

int usage()
{
    err() << "uso: quillio-fatturapa COMANDO ..." << Qt::endl;
    for (const Command& command : commands())
        err() << "  " << command.usage << Qt::endl;
    return Unreadable;
}

} // namespace

int main(int argc, char* argv[])
{
    // The printed page of an export is laid out with fonts, which need a GUI application; the tool
    // never shows a window, so it needs no display. Checking needs neither.
    const bool exporting = argc > 1 && qstrcmp(argv[1], "export") == 0;
    if (exporting && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> application =
        exporting ? std::make_unique<QGuiApplication>(argc, argv)
                  : std::make_unique<QCoreApplication>(argc, argv);
    QStringList arguments = application->arguments().mid(1);
    if (arguments.isEmpty())
        return usage();
    const QString name = arguments.takeFirst();
    for (const Command& command : commands()) {
        if (name == QLatin1String(command.name))
            return command.run(arguments);
    }
    err() << "comando sconosciuto: " << name << Qt::endl;
    return usage();
}
