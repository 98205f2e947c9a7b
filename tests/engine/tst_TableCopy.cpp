#include "ArchiveFixture.h"
#include "UnexpectedWarnings.h"
#include "engine/DataPlace.h"
#include "engine/Engine.h"
#include "engine/EngineError.h"
#include "engine/TableCopy.h"

#include <QTest>

using namespace quillio::engine;
using namespace quillio::engine::test;

namespace {

const QString Customers = QStringLiteral("Rubrica.DB");
const QString Password = QStringLiteral("chiave");

} // namespace

class TableCopyTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void initTestCase() { QUILLIO_REQUIRE_STORAGE(); }
    void copyKeepsNumbersProtectionAndNumbering_data();
    void copyKeepsNumbersProtectionAndNumbering();
    void existingDestinationIsRefusedAndKept();
};

void TableCopyTest::copyKeepsNumbersProtectionAndNumbering_data()
{
    QTest::addColumn<bool>("toTheOtherStorage");
    QTest::newRow("to the same storage") << false;
    QTest::newRow("to the other storage") << true;
}

void TableCopyTest::copyKeepsNumbersProtectionAndNumbering()
{
    QFETCH(bool, toTheOtherStorage);
    const Storage storage = currentStorage();
    const Storage other = storage == Storage::Files ? Storage::Server : Storage::Files;
    if (toTheOtherStorage && other == Storage::Server && !quillio::test::PostgresCluster::shared())
        QSKIP(qPrintable(quillio::test::PostgresCluster::unavailableReason()));
    ArchiveFixture from;
    currentStorage() = toTheOtherStorage ? other : storage;
    ArchiveFixture to;
    currentStorage() = storage;
    from.create(Customers, customerColumns());
    from.addRecords(Customers, QStringLiteral("Ragione_Sociale"), {"uno", "due", "tre", "quattro"});
    {
        // Record 2 removed and the last number, 4, removed too: the copy keeps the gaps and goes on at 5.
        auto table = from.table(Customers);
        from.session.addPassword(Password);
        table->open();
        table->next();
        table->remove();
        table->last();
        table->remove();
    }
    Engine::protectTable(from.location, Customers, Password);

    copyTable(from.location, to.location, Customers);

    QVERIFY(DataPlace::tableExists(to.location, Customers));
    const QString refused = errorText<EngineError>([&] { to.table(Customers)->open(); });
    QVERIFY2(refused.contains(QStringLiteral("protected")), qPrintable(refused));
    to.session.addPassword(Password);
    QCOMPARE(to.storedNames(Customers), (QHash<int, QString>{{1, "uno"}, {3, "tre"}}));
    auto copy = to.table(Customers);
    copy->open();
    auto original = from.table(Customers);
    original->open();
    QCOMPARE(copy->fields(), original->fields());
    copy->append();
    copy->setFieldValue(QStringLiteral("Ragione_Sociale"), QStringLiteral("cinque"));
    copy->post();
    QCOMPARE(copy->fieldValue(QStringLiteral("OrdNum")).toInt(), 5);
}

void TableCopyTest::existingDestinationIsRefusedAndKept()
{
    ArchiveFixture from;
    ArchiveFixture to;
    from.create(Customers, customerColumns());
    from.addRecords(Customers, QStringLiteral("Ragione_Sociale"), {"nuovo"});
    to.create(Customers, customerColumns());
    to.addRecords(Customers, QStringLiteral("Ragione_Sociale"), {"da tenere"});

    const QString text = errorText<EngineError>([&] { copyTable(from.location, to.location, Customers); });
    QVERIFY2(text.contains(QStringLiteral("already exists")), qPrintable(text));
    QCOMPARE(to.storedNames(Customers), (QHash<int, QString>{{1, "da tenere"}}));
}

QUILLIO_MAIN_ON_EACH_STORAGE(TableCopyTest)
#include "tst_TableCopy.moc"
