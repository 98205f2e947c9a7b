#pragma once

#include "PostgresCluster.h"
#include "engine/DataPlace.h"

#include <QCoreApplication>
#include <QTest>
#include <cstdio>

namespace quillio::engine::test {

// The two storages the engine's behaviour tests run on, one after the other, from the same test
// code: table files in a temporary directory, and tables on a throw-away database server.
enum class Storage { Files, Server };

inline Storage& currentStorage()
{
    static Storage storage = Storage::Files;
    return storage;
}

inline bool onServer()
{
    return currentStorage() == Storage::Server;
}

inline const char* storageName(Storage storage)
{
    return storage == Storage::Files ? "table files" : "database server";
}

// A new, empty year place of the current storage's server: a schema of the process's one test
// database. Files make their own temporary directory instead.
// The process's one test database on the server.
inline QString serverDatabase()
{
    static const QString database = quillio::test::PostgresCluster::shared()->newDatabase();
    return database;
}

inline QString newServerYear()
{
    static int years = 0;
    QString year = DataPlace::child(serverDatabase(), QStringLiteral("y%1").arg(++years));
    if (!DataPlace::create(year))
        qFatal("Cannot create the test year %s: %s", qPrintable(year), qPrintable(DataPlace::lastError()));
    return year;
}

} // namespace quillio::engine::test

// In initTestCase(): on the server storage, skips the whole class, saying why, when no server can
// be started here.
#define QUILLIO_REQUIRE_STORAGE()                                                                            \
    do {                                                                                                     \
        if (quillio::engine::test::onServer() && !quillio::test::PostgresCluster::shared())                  \
            QSKIP(qPrintable(quillio::test::PostgresCluster::unavailableReason()));                          \
    } while (false)

// At the top of a test about the files themselves (their bytes, SQLite's own checks).
#define QUILLIO_FILES_ONLY(why)                                                                              \
    do {                                                                                                     \
        if (quillio::engine::test::onServer())                                                               \
            QSKIP("On table files only: " why);                                                              \
    } while (false)

// Runs every test of the class on the table files, then on the database server.
#define QUILLIO_MAIN_ON_EACH_STORAGE(TestClass)                                                              \
    int main(int argc, char** argv)                                                                          \
    {                                                                                                        \
        QCoreApplication app(argc, argv);                                                                    \
        TestClass test;                                                                                      \
        int failures = 0;                                                                                    \
        for (auto storage :                                                                                  \
             {quillio::engine::test::Storage::Files, quillio::engine::test::Storage::Server}) {              \
            quillio::engine::test::currentStorage() = storage;                                               \
            std::printf("=== Storage: %s ===\n", quillio::engine::test::storageName(storage));               \
            std::fflush(stdout);                                                                             \
            failures += QTest::qExec(&test, argc, argv);                                                     \
        }                                                                                                    \
        return failures;                                                                                     \
    }
