// One copy of the program working on a customer table, driven line by line on its input, for the
// two-copies test. Each command answers one line: "ok" with what it read, or "error" with the
// engine's text.
//
// Usage: reliability_copy DIRECTORY FILE
// Commands: open | first | last | next | edit | append | post | cancel | remove | state
//           set FIELD TEXT | get FIELD | appendmany COUNT LABEL (prints the numbers, then "ok")

#include "engine/EngineError.h"
#include "engine/Session.h"
#include "engine/Table.h"

#include <QCoreApplication>
#include <QTextStream>
#include <chrono>
#include <cstdio>
#include <thread>

using namespace quillio::engine;

namespace {

void answer(const QString& line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

QString stateName(DatasetState state)
{
    switch (state) {
    case DatasetState::Inactive:
        return QStringLiteral("inactive");
    case DatasetState::Browse:
        return QStringLiteral("browse");
    case DatasetState::Edit:
        return QStringLiteral("edit");
    case DatasetState::Insert:
        return QStringLiteral("insert");
    }
    return {};
}

void appendMany(Table& table, int count, const QString& label)
{
    for (int i = 1; i <= count; ++i) {
        table.append();
        table.setFieldValue(QStringLiteral("Ragione_Sociale"), label);
        table.setFieldValue(QStringLiteral("Note"), QStringLiteral("%1 %2").arg(label).arg(i));
        table.post();
        answer(table.fieldValue(QStringLiteral("OrdNum")).toString());
        // Let queued work run, as the program's event loop does between two records.
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::microseconds(300));
    }
}

QString run(Table& table, const QString& line)
{
    const QString command = line.section(QLatin1Char(' '), 0, 0);
    const QString first = line.section(QLatin1Char(' '), 1, 1);
    const QString rest = line.section(QLatin1Char(' '), 2);
    if (command == QLatin1String("open"))
        table.open();
    else if (command == QLatin1String("first"))
        table.first();
    else if (command == QLatin1String("last"))
        table.last();
    else if (command == QLatin1String("next"))
        table.next();
    else if (command == QLatin1String("edit"))
        table.edit();
    else if (command == QLatin1String("append"))
        table.append();
    else if (command == QLatin1String("post"))
        table.post();
    else if (command == QLatin1String("cancel"))
        table.cancel();
    else if (command == QLatin1String("remove"))
        table.remove();
    else if (command == QLatin1String("set"))
        table.setFieldValue(first, rest);
    else if (command == QLatin1String("get"))
        return QStringLiteral("ok ") + table.fieldValue(first).toString();
    else if (command == QLatin1String("state"))
        return QStringLiteral("ok ") + stateName(table.state()) + (table.isModified() ? " modified" : "");
    else if (command == QLatin1String("appendmany"))
        appendMany(table, first.toInt(), rest);
    else
        return QStringLiteral("error unknown command ") + command;
    return QStringLiteral("ok");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: reliability_copy DIRECTORY FILE\n");
        return 2;
    }
    Session session(QStringLiteral("Copia"));
    session.addStandardAlias(QStringLiteral("Archivio"), args.at(1));
    Table table(session);
    table.setDatabaseName(QStringLiteral("Archivio"));
    table.setTableName(args.at(2));
    QTextStream input(stdin);
    QString line;
    while (input.readLineInto(&line)) {
        try {
            answer(run(table, line));
        } catch (const EngineError& error) {
            answer(QStringLiteral("error ") + error.text());
        }
        QCoreApplication::processEvents();
    }
    return 0;
}
