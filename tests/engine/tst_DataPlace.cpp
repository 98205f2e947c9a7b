#include "ArchiveFixture.h"
#include "UnexpectedWarnings.h"
#include "engine/DataPlace.h"
#include "engine/EngineError.h"

#include <QTest>

using namespace quillio::engine;
using namespace quillio::engine::test;

class DataPlaceTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void initTestCase() { QUILLIO_REQUIRE_STORAGE(); }
    void childAddsOneSegment_data();
    void childAddsOneSegment();
    void aYearIsCreatedOnceAndThenExists();
    void aTableExistsOnceCreated();
    void yearsAreListed();
    void onlyYearNamesAreJoinedAndOnlyStagingIsRemoved();
    void aPlaceThatCannotBeReachedSaysWhyWithoutItsPassword();
};

void DataPlaceTest::childAddsOneSegment_data()
{
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("child");
    QTest::newRow("folder") << "/data/"
                            << "/data/2026/";
    QTest::newRow("database") << "postgresql://host/db/"
                              << "postgresql://host/db/2026/";
    QTest::newRow("database without separator") << "postgres://host/db"
                                                << "postgres://host/db/2026/";
    QTest::newRow("options stay at the end") << "postgresql://u@host:5433/db/?sslmode=require"
                                             << "postgresql://u@host:5433/db/2026/?sslmode=require";
}

void DataPlaceTest::childAddsOneSegment()
{
    if (onServer())
        QSKIP("Text only: the same on either storage");
    QFETCH(QString, location);
    QFETCH(QString, child);
    QCOMPARE(DataPlace::child(location, QStringLiteral("2026")), child);
    QCOMPARE(DataPlace::isServerAddress(location), location.startsWith(QStringLiteral("postgres")));
}

void DataPlaceTest::aYearIsCreatedOnceAndThenExists()
{
    ArchiveFixture archive;
    const QString parent = onServer() ? serverDatabase() : archive.location;
    QVERIFY2(DataPlace::exists(parent), qPrintable(DataPlace::lastError()));
    const QString year = DataPlace::child(parent, QStringLiteral("2031"));
    QVERIFY(!DataPlace::exists(year));
    QVERIFY2(DataPlace::create(year), qPrintable(DataPlace::lastError()));
    QVERIFY2(DataPlace::exists(year), qPrintable(DataPlace::lastError()));
    QVERIFY2(DataPlace::create(year), qPrintable(DataPlace::lastError()));
}

void DataPlaceTest::aTableExistsOnceCreated()
{
    ArchiveFixture archive;
    QVERIFY(!DataPlace::tableExists(archive.location, QStringLiteral("Rubrica.DB")));
    archive.create(QStringLiteral("Rubrica.DB"), customerColumns());
    QVERIFY(DataPlace::tableExists(archive.location, QStringLiteral("Rubrica.DB")));
}

void DataPlaceTest::yearsAreListed()
{
    ArchiveFixture archive;
    const QString parent = onServer() ? serverDatabase() : archive.location;
    for (const QString& year : {QStringLiteral("2041"), QStringLiteral("2040")})
        QVERIFY2(DataPlace::create(DataPlace::child(parent, year)), qPrintable(DataPlace::lastError()));
    const QStringList years = DataPlace::children(parent);
    QVERIFY2(years.indexOf(QStringLiteral("2040")) >= 0 &&
                 years.indexOf(QStringLiteral("2040")) + 1 == years.indexOf(QStringLiteral("2041")),
             qPrintable(years.join(u',')));
}

// A name from outside that is not a year's is never joined to a place, nor listed as a year; a place
// is removed only when it is a copy's staging.
void DataPlaceTest::onlyYearNamesAreJoinedAndOnlyStagingIsRemoved()
{
    ArchiveFixture archive;
    const QString parent = onServer() ? serverDatabase() : archive.location;
    for (const QString name : {"../x", "..", ".", "a/b", "a\\b", "", ".quillio-copia-2026", " 2026"})
        QVERIFY2(!errorText<EngineError>([&] { DataPlace::child(parent, name); }).contains("<no error>"),
                 qPrintable(name));
    QVERIFY(!errorText<EngineError>([&] {
                 DataPlace::staging(parent, QStringLiteral("../x"));
             }).contains("<no error>"));

    const QString year = DataPlace::child(parent, QStringLiteral("2042"));
    const QString staging = DataPlace::staging(parent, QStringLiteral("2042"));
    QVERIFY2(DataPlace::create(year) && DataPlace::create(staging), qPrintable(DataPlace::lastError()));
    QVERIFY(!DataPlace::remove(year));
    QVERIFY(DataPlace::exists(year));
    QVERIFY(!DataPlace::rename(staging, QStringLiteral("../2043")));
    QVERIFY2(DataPlace::remove(staging), qPrintable(DataPlace::lastError()));
    QVERIFY(!DataPlace::exists(staging));
    QVERIFY(DataPlace::children(parent).contains(QStringLiteral("2042")));
}

void DataPlaceTest::aPlaceThatCannotBeReachedSaysWhyWithoutItsPassword()
{
    if (!onServer())
        QSKIP("A server's answer: on the database server only");
    ArchiveFixture archive;
    // The right socket, a user the cluster does not know.
    QString address = serverDatabase();
    address.replace(QStringLiteral("postgres@"), QStringLiteral("nessuno:segreta@"));
    QVERIFY(!DataPlace::exists(address));
    const QString reason = DataPlace::lastError();
    QVERIFY2(reason.contains(QStringLiteral("nessuno")), qPrintable(reason));
    QVERIFY2(!reason.contains(QStringLiteral("segreta")), qPrintable(reason));

    const QString text = errorText<EngineError>([&] {
        Session session(QStringLiteral("Altra"));
        session.addStandardAlias(Alias, DataPlace::child(address, QStringLiteral("y1")));
        Table table(session);
        table.setDatabaseName(Alias);
        table.setTableName(QStringLiteral("Rubrica.DB"));
        table.open();
    });
    QVERIFY2(text.contains(QStringLiteral("Cannot reach the database server")), qPrintable(text));
    QVERIFY2(!text.contains(QStringLiteral("segreta")), qPrintable(text));
}

QUILLIO_MAIN_ON_EACH_STORAGE(DataPlaceTest)
#include "tst_DataPlace.moc"
