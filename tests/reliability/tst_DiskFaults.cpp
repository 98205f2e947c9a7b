// Faults of the disk under a post: a full disk and a read-only file. The change is refused with an
// EngineError that says why, the record stays pending, every stored record is intact, and the
// same change is stored once the fault is gone.

#include "ArchiveFixture.h"
#include "DiskFaults.h"
#include "UnexpectedWarnings.h"
#include "engine/EngineError.h"

#include <QFile>
#include <QTest>
#include <sqlite3.h>

using namespace quillio::engine;
using namespace quillio::engine::test;
using namespace quillio::reliability;

namespace {

const QString Customers = QStringLiteral("Rubrica.DB");
const QString Name = QStringLiteral("Ragione_Sociale");
const QString Note = QStringLiteral("Note");

// Every stored record, as "number|name|note", in file order.
QStringList storedRecords(ArchiveFixture& archive)
{
    QStringList records;
    auto table = archive.table(Customers);
    table->open();
    for (; !table->eof(); table->next())
        records << QStringLiteral("%1|%2|%3")
                       .arg(table->fieldValue(QStringLiteral("OrdNum")).toString(),
                            table->fieldValue(Name).toString(), table->fieldValue(Note).toString());
    return records;
}

// An archive with three customers.
void fill(ArchiveFixture& archive)
{
    archive.create(Customers, customerColumns());
    auto table = archive.table(Customers);
    table->open();
    for (const QString& name : {QStringLiteral("Alfa"), QStringLiteral("Beta"), QStringLiteral("Gamma")}) {
        table->append();
        table->setFieldValue(Name, name);
        table->setFieldValue(Note, QStringLiteral("nota di ") + name);
        table->post();
    }
}

// Starts the change `kind` on the table: a new record or an edit of the first one.
void startChange(Table& table, const QString& kind, const QString& note)
{
    if (kind == QLatin1String("new")) {
        table.append();
        table.setFieldValue(Name, QStringLiteral("Nuovo"));
    } else {
        table.first();
        table.edit();
    }
    table.setFieldValue(Note, note);
}

void setWritable(const QString& path, bool writable)
{
    const QFile::Permissions readable = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    QFile::setPermissions(path, writable ? readable | QFile::WriteOwner : readable);
    if (writable)
        DiskFaults::clearReadOnly();
    else
        DiskFaults::markReadOnly(path);
}

} // namespace

class DiskFaultsTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void initTestCase() { DiskFaults::install(); }
    void fullDiskRefusesThePostUntilSpaceIsBack_data();
    void fullDiskRefusesThePostUntilSpaceIsBack();
    void readOnlyFileRefusesEveryChange_data();
    void readOnlyFileRefusesEveryChange();
    void fileReplacedWhileOpenRefusesTheChangeAndSaysWhy_data();
    void fileReplacedWhileOpenRefusesTheChangeAndSaysWhy();
};

void DiskFaultsTest::fullDiskRefusesThePostUntilSpaceIsBack_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("new record") << QStringLiteral("new");
    QTest::newRow("edited record") << QStringLiteral("edit");
}

void DiskFaultsTest::fullDiskRefusesThePostUntilSpaceIsBack()
{
    QFETCH(QString, kind);
    ArchiveFixture archive;
    fill(archive);
    const QStringList before = storedRecords(archive);

    DiskFaults::watchConnections();
    auto table = archive.table(Customers);
    table->open();
    QVERIFY(DiskFaults::fillDisk(archive.path(Customers)));
    // A note of a few hundred pages cannot fit in a file that may not grow.
    const QString note = QString(300000, QLatin1Char('x'));
    startChange(*table, kind, note);

    const QString text = errorText<EngineError>([&] { table->post(); });
    QVERIFY2(text.contains(QStringLiteral("the disk is full")), qPrintable(text));
    QVERIFY2(text.contains(QDir::toNativeSeparators(archive.path(Customers))), qPrintable(text));
    QCOMPARE(table->state(), kind == QLatin1String("new") ? DatasetState::Insert : DatasetState::Edit);
    QVERIFY(table->isModified());
    QCOMPARE(table->fieldValue(Note).toString(), note);
    QCOMPARE(storedRecords(archive), before);
    QCOMPARE(archive.integrityCheck(Customers), QStringLiteral("ok"));

    DiskFaults::freeDisk();
    table->post();
    QCOMPARE(table->state(), DatasetState::Browse);
    QStringList after = before;
    if (kind == QLatin1String("new"))
        after << QStringLiteral("4|Nuovo|") + note;
    else
        after[0] = QStringLiteral("1|Alfa|") + note;
    QCOMPARE(storedRecords(archive), after);
    QCOMPARE(archive.integrityCheck(Customers), QStringLiteral("ok"));
}

void DiskFaultsTest::readOnlyFileRefusesEveryChange_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("new record") << QStringLiteral("new");
    QTest::newRow("edited record") << QStringLiteral("edit");
    QTest::newRow("deleted record") << QStringLiteral("delete");
}

void DiskFaultsTest::readOnlyFileRefusesEveryChange()
{
    QFETCH(QString, kind);
    ArchiveFixture archive;
    fill(archive);
    const QString path = archive.path(Customers);
    const QStringList before = storedRecords(archive);
    const auto change = [&](Table& table) {
        if (kind == QLatin1String("delete")) {
            table.first();
            table.remove();
        } else {
            startChange(table, kind, QStringLiteral("cambiata"));
            table.post();
        }
    };

    setWritable(path, false);
    auto table = archive.table(Customers);
    table->open();
    const QString text = errorText<EngineError>([&] { change(*table); });
    setWritable(path, true);
    QVERIFY2(text.contains(QStringLiteral("the file is read-only")), qPrintable(text));
    QVERIFY2(text.contains(QDir::toNativeSeparators(path)), qPrintable(text));
    if (kind == QLatin1String("delete")) {
        QCOMPARE(table->fieldValue(Name).toString(), QStringLiteral("Alfa"));
    } else {
        QVERIFY(table->isModified());
        QCOMPARE(table->fieldValue(Note).toString(), QStringLiteral("cambiata"));
    }
    QCOMPARE(storedRecords(archive), before);

    // Writable again, the file takes the change once the table is opened anew.
    table->close();
    table->open();
    change(*table);
    QCOMPARE(storedRecords(archive).size(),
             kind == QLatin1String("delete") ? 2 : before.size() + (kind == "new"));
    QCOMPARE(archive.integrityCheck(Customers), QStringLiteral("ok"));
}

void DiskFaultsTest::fileReplacedWhileOpenRefusesTheChangeAndSaysWhy_data()
{
    readOnlyFileRefusesEveryChange_data();
}

// Another desk restores a copy while this one has the table open: the file this desk opened is no
// longer the archive's. Its change is refused with a text that says what happened and what to do,
// and, once the window is opened again, it works on the restored file.
void DiskFaultsTest::fileReplacedWhileOpenRefusesTheChangeAndSaysWhy()
{
    QFETCH(QString, kind);
    ArchiveFixture archive;
    fill(archive);
    const QString path = archive.path(Customers);
    const QStringList before = storedRecords(archive);
    auto table = archive.table(Customers);
    table->open();

    // What a restore does: the copy's file is put in place by one rename.
    const QString restored = path + QStringLiteral(".ripristinato");
    QVERIFY(QFile::copy(path, restored));
    QVERIFY(QFile::rename(path, path + QStringLiteral(".vecchio")));
    QVERIFY(QFile::rename(restored, path));

    const QString text = errorText<EngineError>([&] {
        if (kind == QLatin1String("delete")) {
            table->first();
            table->remove();
        } else {
            startChange(*table, kind, QStringLiteral("cambiata"));
            table->post();
        }
    });
    QVERIFY2(text.contains(QStringLiteral("è stato sostituito")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("riaprirla")), qPrintable(text));
    QVERIFY2(text.contains(QDir::toNativeSeparators(path)), qPrintable(text));
    QVERIFY2(!text.contains(QStringLiteral("read-only")), qPrintable(text));
    QCOMPARE(storedRecords(archive), before);

    table->close();
    table->open();
    table->first();
    table->edit();
    table->setFieldValue(Note, QStringLiteral("dopo il ripristino"));
    table->post();
    QCOMPARE(storedRecords(archive).first(), QStringLiteral("1|Alfa|dopo il ripristino"));
}

QTEST_GUILESS_MAIN(DiskFaultsTest)
#include "tst_DiskFaults.moc"
