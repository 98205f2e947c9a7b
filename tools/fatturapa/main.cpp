// quillio-fatturapa: electronic invoices from the command line.
//   check FILE.xml...  prints each problem as FILE:LINE: CODE message [field]; exits 0 when no
//                      file has an error, 1 when one has, 2 when a file cannot be read as an
//                      electronic invoice at all.

#include "DocumentChecks.h"
#include "FatturaXmlReader.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QTextStream>
#include <functional>

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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        err() << path << ": impossibile aprire il file: " << file.errorString() << Qt::endl;
        return Unreadable;
    }
    // One byte more than allowed is enough to tell the reader the file is too large.
    const FatturaXmlReader::Result result =
        FatturaXmlReader::read(file.read(FatturaXmlReader::maximumSize + 1));
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
    QCoreApplication application(argc, argv);
    QStringList arguments = application.arguments().mid(1);
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
