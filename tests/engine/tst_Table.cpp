#include "ArchiveFixture.h"
#include "UnexpectedWarnings.h"
#include "engine/EngineError.h"
#include "engine/Values.h"
#include "platform/ConversionError.h"

#include <QDate>
#include <QSignalSpy>
#include <QTest>

using namespace quillio;
using namespace quillio::engine;
using namespace quillio::engine::test;

namespace {

const QString Customers = QStringLiteral("Rubrica.DB");
const QString Samples = QStringLiteral("Campioni.DB");

QList<int> numbersForward(Table& table)
{
    QList<int> numbers;
    while (!table.eof()) {
        numbers.append(table.fieldValue(QStringLiteral("OrdNum")).toInt());
        table.next();
    }
    return numbers;
}

} // namespace

class TableTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void openAndCloseAreIdempotent();
    void navigation_data();
    void navigation();
    void pendingRecordIsSettledBeforeLeaving_data();
    void pendingRecordIsSettledBeforeLeaving();
    void numbersAreAssignedOnPostAndNeverReused();
    void writingOutsideEditIsRefused_data();
    void writingOutsideEditIsRefused();
    void editStartsARecordOnAnEmptyTableAndIgnoresAPendingOne();
    void cancel_data();
    void cancel();
    void remove_data();
    void remove();
    void removeWhileInsertingOrOnEmptyTable();
    void fieldsAreFoundWithoutRegardToCase_data();
    void fieldsAreFoundWithoutRegardToCase();
    void blankFieldsReadAsNull_data();
    void blankFieldsReadAsNull();
    void writtenValuesAreStoredAsTheFieldHoldsThem_data();
    void writtenValuesAreStoredAsTheFieldHoldsThem();
    void refusedConversionLeavesTheFieldAlone();
    void signalsFollowTheCurrentRecord();
    void locateFindsTheFirstMatchOrStaysPut_data();
    void locateFindsTheFirstMatchOrStaysPut();
    void initTestCase() { QUILLIO_REQUIRE_STORAGE(); }
};

void TableTest::openAndCloseAreIdempotent()
{
    ArchiveFixture archive;
    archive.create(Customers, customerColumns());
    archive.addRecords(Customers, QStringLiteral("Ragione_Sociale"),
                       {QStringLiteral("Primo"), QStringLiteral("Secondo")});

    auto table = archive.table(Customers);
    QSignalSpy states(table.get(), &Dataset::stateChanged);
    table->open();
    table->open();
    QCOMPARE(states.count(), 1);
    QCOMPARE(table->state(), DatasetState::Browse);
    QCOMPARE(table->fieldValue(QStringLiteral("Ragione_Sociale")).toString(), QStringLiteral("Primo"));
    QVERIFY(table->bof());
    QVERIFY(!table->eof());
    QCOMPARE(table->filePath(), archive.path(Customers));

    QCOMPARE(errorText<EngineError>([&] { table->setTableName(QStringLiteral("Altro.DB")); }),
             QStringLiteral("Cannot perform this operation on an open dataset"));

    table->close();
    table->close();
    QCOMPARE(states.count(), 2);
    QVERIFY(!table->isActive());
    // Names are resolved on open: a new alias path takes effect at the next open.
    table->setTableName(QStringLiteral("Mancante.DB"));
    QVERIFY(errorText<EngineError>([&] { table->open(); }).contains(QStringLiteral("Mancante.DB")));
}

void TableTest::navigation_data()
{
    QTest::addColumn<int>("records");
    QTest::newRow("empty") << 0;
    QTest::newRow("one record") << 1;
    QTest::newRow("three records") << 3;
    // A server reads a page at a time, each page after the first larger than the one before.
    QTest::newRow("more records than the first pages hold") << 300;
}

void TableTest::navigation()
{
    QFETCH(int, records);
    ArchiveFixture archive;
    archive.create(Customers, customerColumns());
    QStringList names;
    for (int i = 1; i <= records; ++i)
        names.append(QStringLiteral("Cliente %1").arg(i));
    archive.addRecords(Customers, QStringLiteral("Ragione_Sociale"), names);

    auto table = archive.table(Customers);
    table->open();
    QCOMPARE(table->isEmpty(), records == 0);
    QCOMPARE(table->recordCount(), records);
    QVERIFY(table->bof());
    QCOMPARE(table->eof(), records == 0);

    QList<int> expected;
    for (int i = 1; i <= records; ++i)
        expected.append(i);
    QCOMPARE(numbersForward(*table), expected);
    // next() past the last record stays on it.
    QVERIFY(table->eof());
    if (records > 0)
        QCOMPARE(table->fieldValue(QStringLiteral("ordnum")).toInt(), records);
    else
        QVERIFY(Values::isNull(table->fieldValue(QStringLiteral("OrdNum"))));

    QList<int> backward;
    table->last();
    QVERIFY(table->eof());
    while (!table->bof()) {
        backward.append(table->fieldValue(QStringLiteral("OrdNum")).toInt());
        table->prior();
    }
    std::reverse(backward.begin(), backward.end());
    QCOMPARE(backward, expected);

    table->first();
    QVERIFY(table->bof());
    QCOMPARE(table->eof(), records == 0);
    QCOMPARE(numbersForward(*table), expected);
}

void TableTest::pendingRecordIsSettledBeforeLeaving_data()
{
    QTest::addColumn<bool>("inserting");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QString>("leaveBy");
    QTest::addColumn<bool>("stored");

    for (const bool inserting : {true, false}) {
        const char* pending = inserting ? "new record" : "edited record";
        for (const char* leave : {"append", "first", "next", "prior", "last", "close"}) {
            const bool isClose = QByteArray(leave) == "close";
            QTest::addRow("%s, changed, %s", pending, leave) << inserting << true << leave << !isClose;
            QTest::addRow("%s, unchanged, %s", pending, leave) << inserting << false << leave << false;
        }
    }
}

void TableTest::pendingRecordIsSettledBeforeLeaving()
{
    QFETCH(bool, inserting);
    QFETCH(bool, changed);
    QFETCH(QString, leaveBy);
    QFETCH(bool, stored);

    ArchiveFixture archive;
    archive.create(Customers, customerColumns());
    archive.addRecords(Customers, QStringLiteral("Tipo"), {QStringLiteral("uno"), QStringLiteral("due")});
    auto table = archive.table(Customers);
    table->open();
    if (inserting)
        table->append();
    else
        table->edit();
    if (changed)
        table->setFieldValue(QStringLiteral("Tipo"), QStringLiteral("cambiato"));
    QCOMPARE(table->isModified(), changed);

    if (leaveBy == QLatin1String("append"))
        table->append();
    else if (leaveBy == QLatin1String("first"))
        table->first();
    else if (leaveBy == QLatin1String("next"))
        table->next();
    else if (leaveBy == QLatin1String("prior"))
        table->prior();
    else if (leaveBy == QLatin1String("last"))
        table->last();
    else
        table->close();
    QCOMPARE(table->state(), leaveBy == QLatin1String("append")  ? DatasetState::Insert
                             : leaveBy == QLatin1String("close") ? DatasetState::Inactive
                                                                 : DatasetState::Browse);

    auto check = archive.table(Customers);
    check->open();
    QStringList types;
    for (; !check->eof(); check->next())
        types.append(check->fieldValue(QStringLiteral("Tipo")).toString());
    QStringList expected = {QStringLiteral("uno"), QStringLiteral("due")};
    if (stored && inserting)
        expected.append(QStringLiteral("cambiato"));
    if (stored && !inserting)
        expected[0] = QStringLiteral("cambiato");
    QCOMPARE(types, expected);
}

void TableTest::numbersAreAssignedOnPostAndNeverReused()
{
    ArchiveFixture archive;
    archive.create(Customers, customerColumns());
    auto table = archive.table(Customers);
    table->open();
    for (int i = 0; i < 3; ++i) {
        table->append();
        QVERIFY(Values::isNull(table->fieldValue(QStringLiteral("OrdNum"))));
        table->post();
        QCOMPARE(table->fieldValue(QStringLiteral("OrdNum")).toInt(), i + 1);
    }
    table->last();
    table->remove();
    table->append();
    table->post();
    QCOMPARE(table->fieldValue(QStringLiteral("OrdNum")).toInt(), 4);
    QCOMPARE(errorText<EngineError>([&] {
                 table->edit();
                 table->setFieldValue(QStringLiteral("OrdNum"), 9);
             }).contains(QStringLiteral("OrdNum")),
             true);
    table->cancel();

    table->close();
    table->open();
    QCOMPARE(numbersForward(*table), (QList<int>{1, 2, 4}));
}

void TableTest::writingOutsideEditIsRefused_data()
{
    QTest::addColumn<QString>("operation");
    QTest::newRow("post") << QStringLiteral("post");
    QTest::newRow("field write") << QStringLiteral("write");
    QTest::newRow("field write after post") << QStringLiteral("write after post");
}

void TableTest::writingOutsideEditIsRefused()
{
    QFETCH(QString, operation);
    ArchiveFixture archive;
    archive.create(Customers, customerColumns());
    archive.addRecords(Customers, QStringLiteral("Tipo"), {QStringLiteral("uno")});
    auto table = archive.table(Customers);
    table->open();
    const QString text = errorText<EngineError>([&] {
        if (operation == QLatin1String("post"))
            table->post();
        if (operation == QLatin1String("write after post")) {
            table->edit();
            table->setFieldValue(QStringLiteral("Tipo"), QStringLiteral("due"));
            table->post();
        }
        table->setFieldValue(QStringLiteral("Tipo"), QStringLiteral("tre"));
    });
    QCOMPARE(text, QStringLiteral("Dataset not in edit or insert mode"));
    QVERIFY(table->fieldValue(QStringLiteral("Tipo")).toString() != QStringLiteral("tre"));
}

void TableTest::editStartsARecordOnAnEmptyTableAndIgnoresAPendingOne()
{
    ArchiveFixture archive;
    archive.create(Customers, customerColumns());
    auto table = archive.table(Customers);
    table->open();
    table->edit();
    QCOMPARE(table->state(), DatasetState::Insert);
    table->setFieldValue(QStringLiteral("Tipo"), QStringLiteral("nuovo"));
    table->edit();
    QCOMPARE(table->state(), DatasetState::Insert);
    QCOMPARE(table->fieldValue(QStringLiteral("Tipo")).toString(), QStringLiteral("nuovo"));
    table->post();
    QCOMPARE(table->recordCount(), 1);

    table->edit();
    QCOMPARE(table->state(), DatasetState::Edit);
    table->setFieldValue(QStringLiteral("Tipo"), QStringLiteral("cambiato"));
    table->edit();
    QCOMPARE(table->fieldValue(QStringLiteral("Tipo")).toString(), QStringLiteral("cambiato"));
    QVERIFY(table->isModified());
}

void TableTest::cancel_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("new record is dropped") << QStringLiteral("append") << QStringList{QStringLiteral("uno")};
    QTest::newRow("edited record is restored")
        << QStringLiteral("edit") << QStringList{QStringLiteral("uno")};
    QTest::newRow("nothing while browsing") << QStringLiteral("browse") << QStringList{QStringLiteral("uno")};
}

void TableTest::cancel()
{
    QFETCH(QString, start);
    QFETCH(QStringList, after);
    ArchiveFixture archive;
    archive.create(Customers, customerColumns());
    archive.addRecords(Customers, QStringLiteral("Tipo"), {QStringLiteral("uno")});
    auto table = archive.table(Customers);
    table->open();
    if (start == QLatin1String("append"))
        table->append();
    if (start == QLatin1String("edit"))
        table->edit();
    if (start != QLatin1String("browse"))
        table->setFieldValue(QStringLiteral("Tipo"), QStringLiteral("cambiato"));
    table->cancel();
    QCOMPARE(table->state(), DatasetState::Browse);
    QCOMPARE(table->fieldValue(QStringLiteral("Tipo")).toString(), QStringLiteral("uno"));

    auto check = archive.table(Customers);
    check->open();
    QStringList stored;
    for (; !check->eof(); check->next())
        stored.append(check->fieldValue(QStringLiteral("Tipo")).toString());
    QCOMPARE(stored, after);
}

void TableTest::remove_data()
{
    QTest::addColumn<int>("removed");
    QTest::addColumn<bool>("editing");
    QTest::addColumn<int>("currentAfter");
    QTest::addColumn<bool>("eofAfter");
    QTest::newRow("first: the next becomes current") << 1 << false << 2 << false;
    QTest::newRow("middle: the next becomes current") << 2 << false << 3 << false;
    QTest::newRow("last: the new last becomes current") << 3 << false << 2 << true;
    QTest::newRow("while editing") << 2 << true << 3 << false;
}

void TableTest::remove()
{
    QFETCH(int, removed);
    QFETCH(bool, editing);
    QFETCH(int, currentAfter);
    QFETCH(bool, eofAfter);
    ArchiveFixture archive;
    archive.create(Customers, customerColumns());
    archive.addRecords(Customers, QStringLiteral("Tipo"),
                       {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    auto table = archive.table(Customers);
    table->open();
    for (int i = 1; i < removed; ++i)
        table->next();
    if (editing) {
        table->edit();
        table->setFieldValue(QStringLiteral("Tipo"), QStringLiteral("x"));
    }
    table->remove();
    QCOMPARE(table->state(), DatasetState::Browse);
    QCOMPARE(table->fieldValue(QStringLiteral("OrdNum")).toInt(), currentAfter);
    QCOMPARE(table->eof(), eofAfter);
    QCOMPARE(table->recordCount(), 2);
    table->first();
    QVERIFY(!numbersForward(*table).contains(removed));
}

void TableTest::removeWhileInsertingOrOnEmptyTable()
{
    ArchiveFixture archive;
    archive.create(Customers, customerColumns());
    auto table = archive.table(Customers);
    table->open();
    QCOMPARE(errorText<EngineError>([&] { table->remove(); }),
             QStringLiteral("Cannot perform this operation on an empty dataset"));

    table->append();
    table->post();
    table->append();
    table->setFieldValue(QStringLiteral("Tipo"), QStringLiteral("da scartare"));
    table->remove();
    QCOMPARE(table->state(), DatasetState::Browse);
    QCOMPARE(table->recordCount(), 1);

    table->remove();
    QVERIFY(table->isEmpty());
    QVERIFY(table->bof() && table->eof());
    QCOMPARE(errorText<EngineError>([&] { table->remove(); }),
             QStringLiteral("Cannot perform this operation on an empty dataset"));
}

void TableTest::fieldsAreFoundWithoutRegardToCase_data()
{
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("declared");
    QTest::newRow("PIVA") << QStringLiteral("PIVA") << QStringLiteral("PIva");
    QTest::newRow("CAP") << QStringLiteral("CAP") << QStringLiteral("Cap");
    QTest::newRow("Email") << QStringLiteral("Email") << QStringLiteral("EMail");
    QTest::newRow("Totale_FAttura") << QStringLiteral("Totale_FAttura") << QStringLiteral("Totale_Fattura");
    QTest::newRow("Totale_IVA") << QStringLiteral("Totale_IVA") << QStringLiteral("Totale_Iva");
}

void TableTest::fieldsAreFoundWithoutRegardToCase()
{
    QFETCH(QString, asked);
    QFETCH(QString, declared);
    ArchiveFixture archive;
    const QString file = QStringLiteral("Fatture.DB");
    archive.create(file, invoiceColumns());
    const bool isText = asked != QLatin1String("Totale_FAttura") && asked != QLatin1String("Totale_IVA");
    const QVariant value = isText ? QVariant(QStringLiteral("12345")) : QVariant(12.5);
    // The invoice table has no EMail: read it from a customer table.
    const QString target = asked == QLatin1String("Email") ? Customers : file;
    if (target == Customers)
        archive.create(Customers, customerColumns());

    auto table = archive.table(target);
    table->open();
    table->append();
    QSignalSpy changes(table.get(), &Dataset::fieldChanged);
    table->setFieldValue(asked, value);
    QCOMPARE(changes.value(0).value(0).toString(), declared);
    table->post();
    QVERIFY(Values::equal(table->fieldValue(declared), value));
    QVERIFY(Values::equal(table->fieldValue(asked.toLower()), value));
    QCOMPARE(table->fieldIndex(asked), table->fieldIndex(declared));

    QCOMPARE(errorText<EngineError>([&] { table->fieldValue(QStringLiteral("Nessuno")); }),
             QStringLiteral("Field 'Nessuno' not found"));
    table->edit();
    QCOMPARE(errorText<EngineError>([&] { table->setFieldValue(QStringLiteral("pIVa_x"), 1); }),
             QStringLiteral("Field 'pIVa_x' not found"));
}

void TableTest::blankFieldsReadAsNull_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("memo");
    QTest::newRow("CHAR") << QStringLiteral("Nome") << false;
    QTest::newRow("NUMERIC") << QStringLiteral("Importo") << false;
    QTest::newRow("DATE") << QStringLiteral("Data") << false;
    QTest::newRow("Boolean") << QStringLiteral("Flag") << false;
    QTest::newRow("memo") << QStringLiteral("Note") << true;
}

void TableTest::blankFieldsReadAsNull()
{
    QFETCH(QString, field);
    QFETCH(bool, memo);
    ArchiveFixture archive;
    archive.create(Samples, sampleColumns());
    auto table = archive.table(Samples);
    table->open();

    const auto checkBlank = [&](const char* when) {
        const QVariant value = table->fieldValue(field);
        if (memo) {
            QVERIFY2(!Values::isNull(value), when);
            QCOMPARE(value.toString(), QString());
            QCOMPARE(value.typeId(), QMetaType::QString);
        } else {
            QVERIFY2(Values::isNull(value), when);
        }
    };
    checkBlank("empty table");
    table->append();
    checkBlank("new record");
    table->post();
    checkBlank("stored record");
    table->close();
    table->open();
    checkBlank("reopened");
}

void TableTest::writtenValuesAreStoredAsTheFieldHoldsThem_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("written");
    QTest::addColumn<QVariant>("read");

    QTest::newRow("CHAR cut to its width") << "Nome" << QVariant("ABCDEFGHIJKLM") << QVariant("ABCDEFGHIJ");
    QTest::newRow("CHAR within its width") << "Nome" << QVariant("Àèìòù") << QVariant("Àèìòù");
    QTest::newRow("CHAR empty text clears") << "Nome" << QVariant("") << QVariant();
    QTest::newRow("CHAR null clears") << "Nome" << QVariant() << QVariant();
    QTest::newRow("NUMERIC") << "Importo" << QVariant(1234.56) << QVariant(1234.56);
    QTest::newRow("NUMERIC from an integer") << "Importo" << QVariant(7) << QVariant(7.0);
    QTest::newRow("NUMERIC null clears") << "Importo" << QVariant() << QVariant();
    QTest::newRow("DATE") << "Data" << QVariant(QDate(2009, 3, 5)) << QVariant(QDate(2009, 3, 5));
    QTest::newRow("DATE null clears") << "Data" << QVariant() << QVariant();
    QTest::newRow("Boolean true") << "Flag" << QVariant(true) << QVariant(true);
    QTest::newRow("Boolean false") << "Flag" << QVariant(false) << QVariant(false);
    QTest::newRow("memo keeps long text")
        << "Note" << QVariant(QString(5000, u'x') + "\nfine") << QVariant(QString(5000, u'x') + "\nfine");
    QTest::newRow("memo null reads empty") << "Note" << QVariant() << QVariant(QString(""));
}

void TableTest::writtenValuesAreStoredAsTheFieldHoldsThem()
{
    QFETCH(QString, field);
    QFETCH(QVariant, written);
    QFETCH(QVariant, read);
    ArchiveFixture archive;
    archive.create(Samples, sampleColumns());
    {
        // Start from a record holding a value in every field, so clearing shows.
        auto table = archive.table(Samples);
        table->open();
        table->append();
        table->setFieldValue(QStringLiteral("Nome"), QStringLiteral("pieno"));
        table->setFieldValue(QStringLiteral("Importo"), 1.0);
        table->setFieldValue(QStringLiteral("Data"), QDate(2000, 1, 1));
        table->setFieldValue(QStringLiteral("Flag"), true);
        table->setFieldValue(QStringLiteral("Note"), QStringLiteral("nota"));
        table->post();
        table->edit();
        table->setFieldValue(field, written);
        QVERIFY2(Values::equal(table->fieldValue(field), read), "while pending");
        table->post();
    }
    // A new table object reads the file again: the declared width and types come from the file.
    auto table = archive.table(Samples);
    table->open();
    const QVariant stored = table->fieldValue(field);
    QVERIFY2(Values::equal(stored, read), qPrintable(stored.toString()));
    if (!Values::isNull(read))
        QCOMPARE(stored.typeId(), read.typeId());
}

void TableTest::refusedConversionLeavesTheFieldAlone()
{
    ArchiveFixture archive;
    archive.create(Samples, sampleColumns());
    auto table = archive.table(Samples);
    table->open();
    table->append();
    table->setFieldValue(QStringLiteral("Importo"), 3.5);
    QVERIFY(errorText<ConversionError>([&] {
                table->setFieldValue(QStringLiteral("Importo"), QStringLiteral("tre"));
            }).contains(QStringLiteral("'tre'")));
    QVERIFY(errorText<ConversionError>([&] {
                table->setFieldValue(QStringLiteral("Data"), QStringLiteral("31/02/2009"));
            }).contains(QStringLiteral("is not a valid date")));
    QCOMPARE(table->fieldValue(QStringLiteral("Importo")).toDouble(), 3.5);
    QVERIFY(Values::isNull(table->fieldValue(QStringLiteral("Data"))));
}

void TableTest::signalsFollowTheCurrentRecord()
{
    ArchiveFixture archive;
    archive.create(Samples, sampleColumns());
    auto table = archive.table(Samples);
    QSignalSpy states(table.get(), &Dataset::stateChanged);
    QSignalSpy records(table.get(), &Dataset::recordChanged);
    QSignalSpy fields(table.get(), &Dataset::fieldChanged);

    struct Step
    {
        const char* name;
        std::function<void()> run;
        int states;
        int records;
    };
    const QList<Step> steps = {
        {"open", [&] { table->open(); }, 1, 1},
        {"append", [&] { table->append(); }, 1, 1},
        {"write", [&] { table->setFieldValue(QStringLiteral("nome"), QStringLiteral("a")); }, 0, 0},
        {"post", [&] { table->post(); }, 1, 1},
        {"edit", [&] { table->edit(); }, 1, 1},
        {"cancel", [&] { table->cancel(); }, 1, 1},
        {"first", [&] { table->first(); }, 0, 1},
        {"next", [&] { table->next(); }, 0, 1},
        {"remove", [&] { table->remove(); }, 0, 1},
        {"close", [&] { table->close(); }, 1, 0},
    };
    for (const Step& step : steps) {
        states.clear();
        records.clear();
        step.run();
        QVERIFY2(states.count() == step.states, step.name);
        QVERIFY2(records.count() == step.records, step.name);
    }
    QCOMPARE(fields.count(), 1);
    QCOMPARE(fields.at(0).at(0).toString(), QStringLiteral("Nome"));
}

QUILLIO_MAIN_ON_EACH_STORAGE(TableTest)
#include "tst_Table.moc"

void TableTest::locateFindsTheFirstMatchOrStaysPut_data()
{
    QTest::addColumn<int>("startAt"); // the record current before, by number
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<bool>("found");
    QTest::addColumn<int>("current"); // the record current after
    QTest::addColumn<bool>("bof");
    QTest::newRow("a later record") << 1 << "Terzo" << true << 3 << false;
    QTest::newRow("the first match of two") << 3 << "Doppio" << true << 2 << false;
    QTest::newRow("the first record") << 4 << "Primo" << true << 1 << true;
    QTest::newRow("missing: stays on the record it was on") << 3 << "Nessuno" << false << 3 << false;
    QTest::newRow("missing, standing on the first") << 1 << "Nessuno" << false << 1 << true;
}

void TableTest::locateFindsTheFirstMatchOrStaysPut()
{
    QFETCH(int, startAt);
    QFETCH(QString, wanted);
    QFETCH(bool, found);
    QFETCH(int, current);
    QFETCH(bool, bof);
    ArchiveFixture archive;
    archive.create(Customers, customerColumns());
    archive.addRecords(Customers, QStringLiteral("Ragione_Sociale"),
                       {QStringLiteral("Primo"), QStringLiteral("Doppio"), QStringLiteral("Terzo"),
                        QStringLiteral("Doppio")});
    auto table = archive.table(Customers);
    table->open();
    while (table->fieldValue(QStringLiteral("OrdNum")).toInt() != startAt)
        table->next();
    QCOMPARE(table->locate(QStringLiteral("ragione_sociale"), wanted), found);
    QCOMPARE(table->fieldValue(QStringLiteral("OrdNum")).toInt(), current);
    QCOMPARE(table->bof(), bof);
    QVERIFY(!table->eof());
}
