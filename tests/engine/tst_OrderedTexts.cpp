#include "ArchiveFixture.h"
#include "UnexpectedWarnings.h"
#include "engine/EngineError.h"
#include "engine/TableFile.h"

#include <QLocale>
#include <QTest>
#include <sqlite3.h>
#include <thread>

using namespace quillio::engine;
using namespace quillio::engine::test;

namespace {

const QString Customers = QStringLiteral("Rubrica.DB");
const QString Name = QStringLiteral("Ragione_Sociale");

// Writes straight into the file, as another program could: values the engine itself never stores.
void rawUpdate(const QString& path, const QByteArray& sql)
{
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    QCOMPARE(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

// The text of `field` in each record, read one by one in the order of `rowids`.
QStringList textsOfRows(const QString& path, const QString& field, const QList<qint64>& rowids)
{
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    sqlite3_stmt* select = nullptr;
    const QByteArray sql = "SELECT \"" + field.toUtf8() + "\" FROM records WHERE rowid = ?1";
    sqlite3_prepare_v2(db, sql.constData(), -1, &select, nullptr);
    QStringList texts;
    for (qint64 rowid : rowids) {
        sqlite3_bind_int64(select, 1, rowid);
        if (sqlite3_step(select) == SQLITE_ROW)
            texts.append(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(select, 0)),
                                           sqlite3_column_bytes(select, 0)));
        sqlite3_reset(select);
    }
    sqlite3_finalize(select);
    sqlite3_close(db);
    return texts;
}

} // namespace

class OrderedTextsTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy)); }
    void textsInTheOrderOfTheirRows_data();
    void textsInTheOrderOfTheirRows();
    void readOnAWorkerThreadWhileTheFileIsInUse();
};

void OrderedTextsTest::textsInTheOrderOfTheirRows_data()
{
    QTest::addColumn<QByteArray>("rawChange");
    QTest::addColumn<QStringList>("expected");
    // Records in file order: 1 beta, 2 <missing>, 3 Zeta, 4 Édith, 5 alfa, 6 edoardo, 7 Alfa, 8 ""
    QTest::newRow("texts: blanks first, case and accents ignored, ties in file order")
        << QByteArray() << QStringList{"", "", "alfa", "Alfa", "beta", "Édith", "edoardo", "Zeta"};
    // A value that is not text (a blob: the column turns numbers into texts) written by another
    // program reads as SQLite's text of it, in SQLite's order of mixed values: after the texts.
    QTest::newRow("a blob among the texts")
        << QByteArray("UPDATE records SET Ragione_Sociale = X'31322E35' WHERE rowid = 3")
        << QStringList{"", "", "alfa", "Alfa", "beta", "Édith", "edoardo", "12.5"};
}

void OrderedTextsTest::textsInTheOrderOfTheirRows()
{
    QFETCH(QByteArray, rawChange);
    QFETCH(QStringList, expected);
    ArchiveFixture archive;
    archive.create(Customers, customerColumns());
    archive.addRecords(Customers, Name, {"beta", "", "Zeta", "Édith", "alfa", "edoardo", "Alfa", "vuoto"});
    rawUpdate(archive.path(Customers), "UPDATE records SET Ragione_Sociale = '' WHERE rowid = 8");
    if (!rawChange.isEmpty())
        rawUpdate(archive.path(Customers), rawChange);

    const auto file = TableFile::open(archive.path(Customers));
    const int field = file->fieldIndex(Name);
    const QStringList texts = file->orderedTexts(field);
    QCOMPARE(texts, expected);
    QCOMPARE(texts, textsOfRows(archive.path(Customers), Name, file->orderedRowids(field, false)));
}

void OrderedTextsTest::readOnAWorkerThreadWhileTheFileIsInUse()
{
    ArchiveFixture archive;
    archive.create(Customers, customerColumns());
    archive.addRecords(Customers, Name, {"Rossi", "bianchi", "", "Bianchi", "Àlfa"});
    // This thread stands on a record, reading.
    auto table = archive.table(Customers);
    table->open();
    table->next();
    QCOMPARE(table->fieldValue(Name).toString(), QStringLiteral("bianchi"));

    QStringList texts;
    QString failure;
    std::thread worker([&] {
        try {
            const auto file = TableFile::open(archive.path(Customers));
            texts = file->orderedTexts(file->fieldIndex(Name));
        } catch (const EngineError& error) {
            failure = error.text();
        }
    });
    worker.join();
    QCOMPARE(failure, QString());
    QCOMPARE(texts, (QStringList{"", "Àlfa", "bianchi", "Bianchi", "Rossi"}));
    QCOMPARE(table->fieldValue(Name).toString(), QStringLiteral("bianchi"));
}

QTEST_GUILESS_MAIN(OrderedTextsTest)
#include "tst_OrderedTexts.moc"
