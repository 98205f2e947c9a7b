// Posts records to a customer table in a loop, printing each record's number as soon as its post
// has returned. Used by the concurrency tests, which run several of it at once or kill it midway.
//
// Usage: engine_writer DIRECTORY FILE COUNT LABEL   (COUNT 0: until killed)
// It opens the table, then waits for one line on its input before writing, so that several
// writers can be started together.

#include "engine/EngineError.h"
#include "engine/Session.h"
#include "engine/Table.h"

#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <thread>

using namespace quillio::engine;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: engine_writer DIRECTORY FILE COUNT LABEL\n");
        return 2;
    }
    const int count = args.at(3).toInt();
    try {
        Session session(QStringLiteral("Writer"));
        session.addStandardAlias(QStringLiteral("Archivio"), args.at(1));
        Table table(session);
        table.setDatabaseName(QStringLiteral("Archivio"));
        table.setTableName(args.at(2));
        table.open();
        char line[16];
        if (!std::fgets(line, sizeof line, stdin))
            return 2;
        for (int i = 1; count == 0 || i <= count; ++i) {
            table.append();
            table.setFieldValue(QStringLiteral("Ragione_Sociale"), args.at(4));
            table.setFieldValue(QStringLiteral("Note"),
                                QStringLiteral("record %1 of %2").arg(i).arg(args.at(4)));
            table.post();
            std::printf("%d\n", table.fieldValue(QStringLiteral("OrdNum")).toInt());
            std::fflush(stdout);
            // Let queued work run, as the program's event loop would between two records, and pause
            // a moment so that another writer gets its turn at the file.
            QCoreApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
    } catch (const EngineError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
