#include "ArchiveFixture.h"
#include "UnexpectedWarnings.h"
#include "engine/EngineError.h"
#include "engine/LocalSql.h"
#include "engine/TableStorage.h"
#include "engine/Values.h"

#include <QLocale>
#include <QSignalSpy>
#include <QTest>

using namespace quillio::engine;
using namespace quillio::engine::test;

namespace {

const QString Customers = QStringLiteral("Rubrica.DB");

QStringList column(Query& query, const QString& field)
{
    QStringList values;
    for (query.first(); !query.eof(); query.next()) {
        const QVariant value = query.fieldValue(field);
        values.append(Values::isNull(value) ? QStringLiteral("<blank>") : value.toString());
    }
    return values;
}

} // namespace

class QueryTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void initTestCase()
    {
        QUILLIO_REQUIRE_STORAGE();
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    }
    void createTableDeclaresTheColumns_data();
    void createTableDeclaresTheColumns();
    void createTableNeverTouchesAnExistingFile();
    void createTableInAMissingDirectoryFails();
    void selectOrder_data();
    void selectOrder();
    void rowsForGrids();
    void aLongSortedResultReadsEveryRowInItsOrder();
    void resultIsReadOnly_data();
    void resultIsReadOnly();
    void refusedStatements_data();
    void refusedStatements();
};

void QueryTest::createTableDeclaresTheColumns_data()
{
    QTest::addColumn<QString>("columns");
    QTest::newRow("customer table") << customerColumns();
    QTest::newRow("draft table") << draftColumns();
    QTest::newRow("invoice table") << invoiceColumns();
}

void QueryTest::createTableDeclaresTheColumns()
{
    QFETCH(QString, columns);
    ArchiveFixture archive;
    archive.create(QStringLiteral("Nuova.DB"), columns);
    if (!onServer())
        QCOMPARE(QDir(archive.dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("Nuova.DB")});
    QVERIFY(DataPlace::tableExists(archive.location, QStringLiteral("Nuova.DB")));

    auto table = archive.table(QStringLiteral("Nuova.DB"));
    table->open();
    QVERIFY(table->isEmpty());
    QCOMPARE(table->fields(), LocalSql::parse("CREATE TABLE x " + columns).columns);
}

void QueryTest::createTableNeverTouchesAnExistingFile()
{
    ArchiveFixture archive;
    archive.create(Customers, customerColumns());
    archive.addRecords(Customers, QStringLiteral("Tipo"), {QStringLiteral("da tenere")});
    const QByteArray before = fileBytes(archive.path(Customers));

    const QString text =
        errorText<EngineError>([&] { archive.create(Customers, QStringLiteral("( a NUMERIC )")); });
    QVERIFY2(text.contains(QDir::toNativeSeparators(archive.path(Customers))), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("already exists")), qPrintable(text));
    if (!onServer()) {
        QCOMPARE(fileBytes(archive.path(Customers)), before);
        QCOMPARE(QDir(archive.dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{Customers});
    }
    auto table = archive.table(Customers);
    table->open();
    QCOMPARE(table->recordCount(), 1);
    QCOMPARE(table->fieldValue(QStringLiteral("Tipo")).toString(), QStringLiteral("da tenere"));
}

void QueryTest::createTableInAMissingDirectoryFails()
{
    ArchiveFixture archive;
    archive.session.deleteAlias(Alias);
    // A year not made yet: a folder of the year's directory, or a schema of the server's database.
    const QString missing =
        DataPlace::child(onServer() ? serverDatabase() : archive.location, QStringLiteral("2010"));
    archive.session.addStandardAlias(Alias, missing);
    const QString text = errorText<EngineError>([&] { archive.create(Customers, customerColumns()); });
    QVERIFY2(text.contains(QStringLiteral("does not exist")), qPrintable(text));
    QVERIFY(!DataPlace::exists(missing));
}

void QueryTest::selectOrder_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QStringList>("names");

    // Records in file order: 1 beta, 2 <blank>, 3 Zeta, 4 Édith, 5 alfa, 6 edoardo, 7 Alfa, 8 <blank>
    QTest::newRow("file order") << "SELECT * FROM Rubrica.DB"
                                << QStringList{"beta", "<blank>", "Zeta", "Édith",
                                               "alfa", "edoardo", "Alfa", "<blank>"};
    QTest::newRow("quoted file name, ORDNUM descending")
        << "SELECT * FROM \"Rubrica.DB\" ORDER BY ORDNUM DESC"
        << QStringList{"<blank>", "Alfa", "edoardo", "alfa", "Édith", "Zeta", "<blank>", "beta"};
    QTest::newRow("text: blanks first, case and accents ignored, ties in file order")
        << "SELECT * FROM Rubrica.DB ORDER BY Ragione_Sociale ASC"
        << QStringList{"<blank>", "<blank>", "alfa", "Alfa", "beta", "Édith", "edoardo", "Zeta"};
    QTest::newRow("text descending, column in another case")
        << "select * from Rubrica.DB order by RAGIONE_SOCIALE desc"
        << QStringList{"<blank>", "<blank>", "Zeta", "edoardo", "Édith", "beta", "alfa", "Alfa"};
}

void QueryTest::selectOrder()
{
    QFETCH(QString, statement);
    QFETCH(QStringList, names);
    ArchiveFixture archive;
    archive.create(Customers, customerColumns());
    archive.addRecords(Customers, QStringLiteral("Ragione_Sociale"),
                       {"beta", "", "Zeta", "Édith", "alfa", "edoardo", "Alfa", ""});

    Query query(archive.session);
    query.setDatabaseName(Alias);
    // A statement may come in several lines.
    for (const QString& line : statement.split(u' '))
        query.addSql(line);
    query.open();
    query.open();
    QCOMPARE(query.state(), DatasetState::Browse);
    QVERIFY(query.bof());
    QCOMPARE(query.recordCount(), 8);
    QCOMPARE(column(query, QStringLiteral("ragione_sociale")), names);
}

void QueryTest::rowsForGrids()
{
    ArchiveFixture archive;
    archive.create(Customers, customerColumns());
    archive.addRecords(Customers, QStringLiteral("Tipo"), {"c", "a", "b"});
    Query query(archive.session);
    query.setDatabaseName(Alias);
    query.addSql(QStringLiteral("SELECT * FROM Rubrica.DB ORDER BY Tipo"));
    query.open();
    QCOMPARE(query.rowNumber(), 0);
    QSignalSpy records(&query, &Dataset::recordChanged);
    query.moveToRow(2);
    QCOMPARE(records.count(), 1);
    QCOMPARE(query.rowNumber(), 2);
    QCOMPARE(query.fieldValue(QStringLiteral("Tipo")).toString(), QStringLiteral("c"));
    QCOMPARE(query.fieldValue(QStringLiteral("OrdNum")).toInt(), 1);
    query.moveToRow(0);
    QCOMPARE(query.fieldValue(QStringLiteral("Tipo")).toString(), QStringLiteral("a"));
    query.next();
    QCOMPARE(query.rowNumber(), 1);
    QVERIFY(!errorText<EngineError>([&] { query.moveToRow(3); }).isEmpty());
    QCOMPARE(query.rowNumber(), 1);

    // A row removed by someone else after the query ran reads as blank.
    auto table = archive.table(Customers);
    table->open();
    table->remove();
    query.moveToRow(2);
    QVERIFY(Values::isNull(query.fieldValue(QStringLiteral("Tipo"))));

    query.close();
    query.clearSql();
    QVERIFY(query.sql().isEmpty());
    QCOMPARE(query.rowNumber(), -1);
}

// More rows than one read-ahead holds, sorted against their record order, visited in order and by
// jumps; one removed after the query ran reads as blank where it stood.
void QueryTest::aLongSortedResultReadsEveryRowInItsOrder()
{
    ArchiveFixture archive;
    archive.create(Customers, customerColumns());
    constexpr int Count = 700;
    QList<TableStorage::NumberedRecord> records;
    const std::unique_ptr<TableStorage> storage = TableStorage::open(archive.location, Customers);
    const int nameField = storage->fieldIndex(QStringLiteral("Ragione_Sociale"));
    for (int number = 1; number <= Count; ++number) {
        QList<QVariant> values(storage->fields().size());
        values[nameField] = QStringLiteral("Cliente %1").arg(Count - number, 3, 10, QLatin1Char('0'));
        records.append({number, values});
    }
    storage->insertNumbered(records);

    Query query(archive.session);
    query.setDatabaseName(Alias);
    query.addSql(QStringLiteral("SELECT * FROM Rubrica.DB ORDER BY Ragione_Sociale"));
    query.open();
    query.moveToRow(650);
    QCOMPARE(query.fieldValue(QStringLiteral("OrdNum")).toInt(), Count - 650);
    query.moveToRow(10);
    QCOMPARE(query.fieldValue(QStringLiteral("Ragione_Sociale")).toString(), QStringLiteral("Cliente 010"));
    {
        auto table = archive.table(Customers);
        table->open();
        while (table->fieldValue(QStringLiteral("OrdNum")).toInt() != Count - 450)
            table->next();
        table->remove();
    }
    QStringList expected;
    for (int row = 0; row < Count; ++row)
        expected.append(row == 450 ? QStringLiteral("<blank>")
                                   : QStringLiteral("Cliente %1").arg(row, 3, 10, QLatin1Char('0')));
    QCOMPARE(column(query, QStringLiteral("Ragione_Sociale")), expected);
}

void QueryTest::resultIsReadOnly_data()
{
    QTest::addColumn<QString>("operation");
    for (const char* operation : {"write", "append", "edit", "post", "cancel", "remove"})
        QTest::newRow(operation) << QString::fromLatin1(operation);
}

void QueryTest::resultIsReadOnly()
{
    QFETCH(QString, operation);
    ArchiveFixture archive;
    archive.create(Customers, customerColumns());
    archive.addRecords(Customers, QStringLiteral("Tipo"), {"uno"});
    Query query(archive.session);
    query.setDatabaseName(Alias);
    query.addSql(QStringLiteral("SELECT * FROM Rubrica.DB"));
    query.open();
    const QString text = errorText<EngineError>([&] {
        if (operation == QLatin1String("write"))
            query.setFieldValue(QStringLiteral("Tipo"), QStringLiteral("due"));
        else if (operation == QLatin1String("append"))
            query.append();
        else if (operation == QLatin1String("edit"))
            query.edit();
        else if (operation == QLatin1String("post"))
            query.post();
        else if (operation == QLatin1String("cancel"))
            query.cancel();
        else
            query.remove();
    });
    QCOMPARE(text, QStringLiteral("Cannot modify a read-only dataset"));
    QCOMPARE(query.state(), DatasetState::Browse);
    QCOMPARE(query.recordCount(), 1);
    QCOMPARE(query.fieldValue(QStringLiteral("Tipo")).toString(), QStringLiteral("uno"));
}

void QueryTest::refusedStatements_data()
{
    QTest::addColumn<QString>("alias");
    QTest::addColumn<QString>("statement");
    QTest::addColumn<bool>("execute");
    QTest::addColumn<QString>("message");

    QTest::newRow("unknown alias") << "Nessuno"
                                   << "SELECT * FROM Rubrica.DB" << false << "Unknown database: Nessuno";
    QTest::newRow("SELECT executed") << Alias << "SELECT * FROM Rubrica.DB" << true
                                     << "The statement \"SELECT * FROM Rubrica.DB\" returns rows";
    QTest::newRow("CREATE opened") << Alias << "CREATE TABLE x.DB ( a NUMERIC )" << false
                                   << "The statement \"CREATE TABLE x.DB ( a NUMERIC )\" returns no rows";
    QTest::newRow("unknown ORDER BY column") << Alias << "SELECT * FROM Rubrica.DB ORDER BY Nessuna" << false
                                             << "Rubrica.DB has no column Nessuna";
    QTest::newRow("missing file") << Alias << "SELECT * FROM Manca.DB" << false << "Manca.DB does not exist";
}

void QueryTest::refusedStatements()
{
    QFETCH(QString, alias);
    QFETCH(QString, statement);
    QFETCH(bool, execute);
    QFETCH(QString, message);
    ArchiveFixture archive;
    archive.create(Customers, customerColumns());
    Query query(archive.session);
    query.setDatabaseName(alias);
    query.addSql(statement);
    const QString text = errorText<EngineError>([&] { execute ? query.execSql() : query.open(); });
    QVERIFY2(text.contains(message), qPrintable(text));
    QVERIFY(!query.isActive());
}

QUILLIO_MAIN_ON_EACH_STORAGE(QueryTest)
#include "tst_Query.moc"
