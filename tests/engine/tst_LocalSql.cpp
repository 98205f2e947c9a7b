#include "ArchiveFixture.h"
#include "UnexpectedWarnings.h"
#include "engine/EngineError.h"
#include "engine/LocalSql.h"

#include <QRandomGenerator>
#include <QTest>

using namespace quillio::engine;
using namespace quillio::engine::test;

Q_DECLARE_METATYPE(LocalStatement::Kind)

class LocalSqlTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void accepted_data();
    void accepted();
    void columnTypes();
    void refused_data();
    void refused();
    void neverFailsOtherwiseOnMangledText();
};

void LocalSqlTest::accepted_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<LocalStatement::Kind>("kind");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QString>("orderBy");
    QTest::addColumn<bool>("descending");

    const auto create = LocalStatement::Kind::CreateTable;
    const auto select = LocalStatement::Kind::Select;
    QTest::newRow("customer table") << "CREATE TABLE \"Rubrica.DB\" " + customerColumns() << create
                                    << "Rubrica.DB" << 15 << "" << false;
    QTest::newRow("draft table") << "CREATE TABLE \"Bozze.DB\" " + draftColumns() << create << "Bozze.DB"
                                 << 57 << "" << false;
    QTest::newRow("invoice table") << "CREATE TABLE \"Fatture.DB\" " + invoiceColumns() << create
                                   << "Fatture.DB" << 60 << "" << false;
    QTest::newRow("lower case, bare name, semicolon")
        << "create table t.db (a char(1), \"b c\" boolean, d date);" << create << "t.db" << 3 << "" << false;
    QTest::newRow("address book list") << "SELECT * FROM Rubrica.DB ORDER BY Ragione_Sociale ASC" << select
                                       << "Rubrica.DB" << 0 << "Ragione_Sociale" << false;
    QTest::newRow("draft picker") << "SELECT * FROM Bozze.DB ORDER BY ORDNUM ASC" << select << "Bozze.DB" << 0
                                  << "ORDNUM" << false;
    QTest::newRow("quoted file, descending") << "select * from \"Il mio \"\"file\"\".DB\" order by x desc"
                                             << select << "Il mio \"file\".DB" << 0 << "x" << true;
    QTest::newRow("no order, lines joined")
        << "SELECT *\n  FROM\tFatture.DB ;" << select << "Fatture.DB" << 0 << "" << false;
}

void LocalSqlTest::accepted()
{
    QFETCH(QString, text);
    QFETCH(LocalStatement::Kind, kind);
    QFETCH(QString, file);
    QFETCH(int, columns);
    QFETCH(QString, orderBy);
    QFETCH(bool, descending);
    const LocalStatement statement = LocalSql::parse(text);
    QCOMPARE(statement.kind, kind);
    QCOMPARE(statement.fileName, file);
    QCOMPARE(statement.columns.size(), columns);
    QCOMPARE(statement.orderBy, orderBy);
    QCOMPARE(statement.descending, descending);
}

void LocalSqlTest::columnTypes()
{
    const LocalStatement statement =
        LocalSql::parse(QStringLiteral("CREATE TABLE \"x.DB\" ( N AUTOINC, T Char(60), V NUMERIC, D date, B "
                                       "BOOLEAN, M BLOB(1,1), \"Con spazio\" CHAR(5) )"));
    const FieldDefs expected = {
        {QStringLiteral("N"), FieldType::AutoInc, 0},       {QStringLiteral("T"), FieldType::Char, 60},
        {QStringLiteral("V"), FieldType::Numeric, 0},       {QStringLiteral("D"), FieldType::Date, 0},
        {QStringLiteral("B"), FieldType::Boolean, 0},       {QStringLiteral("M"), FieldType::Memo, 0},
        {QStringLiteral("Con spazio"), FieldType::Char, 5},
    };
    QCOMPARE(statement.columns, expected);
}

void LocalSqlTest::refused_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("reason");

    QTest::newRow("empty") << ""
                           << "only CREATE TABLE and SELECT";
    QTest::newRow("other statement") << "DROP TABLE Rubrica.DB"
                                     << "only CREATE TABLE and SELECT";
    QTest::newRow("select of columns") << "SELECT Tipo FROM Rubrica.DB"
                                       << "expected *";
    QTest::newRow("where clause") << "SELECT * FROM Rubrica.DB WHERE Tipo = 'a'"
                                  << "unexpected";
    QTest::newRow("second statement") << "SELECT * FROM a.DB; DROP TABLE a.DB"
                                      << "unexpected text";
    QTest::newRow("no file") << "SELECT * FROM"
                             << "expected a file name";
    QTest::newRow("ORDER without BY") << "SELECT * FROM a.DB ORDER Tipo"
                                      << "expected BY";
    QTest::newRow("ORDER BY nothing") << "SELECT * FROM a.DB ORDER BY"
                                      << "expected a column name";
    QTest::newRow("file in another directory") << "SELECT * FROM \"../a.DB\""
                                               << "must not name a directory";
    QTest::newRow("unclosed quote") << "SELECT * FROM \"a.DB"
                                    << "not closed";
    QTest::newRow("stray character") << "SELECT * FROM a.DB ORDER BY x @"
                                     << "unexpected character";
    QTest::newRow("no column list") << "CREATE TABLE a.DB"
                                    << "expected (";
    QTest::newRow("empty column list") << "CREATE TABLE a.DB ( )"
                                       << "expected a column name";
    QTest::newRow("column without type") << "CREATE TABLE a.DB ( x )"
                                         << "no valid type";
    QTest::newRow("unknown type") << "CREATE TABLE a.DB ( x VARCHAR(5) )"
                                  << "no valid type";
    QTest::newRow("CHAR without width") << "CREATE TABLE a.DB ( x CHAR )"
                                        << "expected (";
    QTest::newRow("CHAR(0)") << "CREATE TABLE a.DB ( x CHAR(0) )"
                             << "from 1 to 255";
    QTest::newRow("CHAR(256)") << "CREATE TABLE a.DB ( x CHAR(256) )"
                               << "from 1 to 255";
    QTest::newRow("CHAR of a huge number") << "CREATE TABLE a.DB ( x CHAR(99999999999999999999) )"
                                           << "expected a number";
    QTest::newRow("BLOB other than memo") << "CREATE TABLE a.DB ( x BLOB(2,1) )"
                                          << "BLOB(1,1)";
    QTest::newRow("same column twice") << "CREATE TABLE a.DB ( x CHAR(1), X NUMERIC )"
                                       << "declared twice";
    QTest::newRow("two AUTOINC") << "CREATE TABLE a.DB ( a AUTOINC, b AUTOINC )"
                                 << "one AUTOINC";
    QTest::newRow("reserved column") << "CREATE TABLE a.DB ( rowid NUMERIC )"
                                     << "reserved";
    QTest::newRow("missing comma") << "CREATE TABLE a.DB ( a NUMERIC b NUMERIC )"
                                   << "expected , or )";
    QTest::newRow("bad column name") << "CREATE TABLE a.DB ( a.b NUMERIC )"
                                     << "not a valid column name";
}

void LocalSqlTest::refused()
{
    QFETCH(QString, text);
    QFETCH(QString, reason);
    const QString message = errorText<EngineError>([&] { LocalSql::parse(text); });
    QVERIFY2(message.startsWith(QStringLiteral("Invalid SQL statement \"%1\": ").arg(text.simplified())),
             qPrintable(message));
    QVERIFY2(message.contains(reason), qPrintable(message));
}

void LocalSqlTest::neverFailsOtherwiseOnMangledText()
{
    // Mangles the real statements by cutting, repeating, and replacing characters with ones the
    // grammar cares about; every outcome must be a parsed statement or an EngineError.
    const QStringList seeds = {
        "CREATE TABLE \"Bozze.DB\" " + draftColumns(),
        QStringLiteral("SELECT * FROM Rubrica.DB ORDER BY Ragione_Sociale ASC"),
        QStringLiteral("SELECT * FROM \"a\"\"b.DB\" ORDER BY \"x\" DESC;"),
    };
    const QString alphabet = QStringLiteral("\"(),*; \t\n0123456789azAZ_.-\\/@'\u00e8\u0000");
    QRandomGenerator random(20090305);
    int parsed = 0;
    int refused = 0;
    for (int round = 0; round < 20000; ++round) {
        QString text = seeds.at(random.bounded(int(seeds.size())));
        const int edits = 1 + random.bounded(4);
        for (int e = 0; e < edits && !text.isEmpty(); ++e) {
            const int at = random.bounded(int(text.size()));
            switch (random.bounded(4)) {
            case 0:
                text[at] = alphabet.at(random.bounded(int(alphabet.size())));
                break;
            case 1:
                text.remove(at, random.bounded(1, 8));
                break;
            case 2:
                text.insert(at, text.mid(random.bounded(int(text.size())), random.bounded(1, 40)));
                break;
            default:
                text.truncate(at);
                break;
            }
        }
        try {
            const LocalStatement statement = LocalSql::parse(text);
            QVERIFY(!statement.fileName.isEmpty());
            ++parsed;
        } catch (const EngineError& error) {
            QVERIFY(error.text().startsWith(QStringLiteral("Invalid SQL statement \"")));
            ++refused;
        }
    }
    // Both outcomes occur, so the mangling reaches past the first keyword.
    QVERIFY(parsed > 0);
    QVERIFY(refused > 0);
}

QTEST_GUILESS_MAIN(LocalSqlTest)
#include "tst_LocalSql.moc"
