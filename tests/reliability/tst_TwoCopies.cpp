// Two copies of the program, two processes, on one archive: storing at once loses no record and
// never gives two records one number; a post over a record the other copy changed or deleted is
// refused with an engine error and the record stays pending.

#include "ArchiveFixture.h"
#include "UnexpectedWarnings.h"

#include <QProcess>
#include <QSet>
#include <QTest>

using namespace quillio::engine;
using namespace quillio::engine::test;

namespace {

const QString Customers = QStringLiteral("Rubrica.DB");

// One running copy, spoken to a command at a time.
class Copy
{
public:
    explicit Copy(ArchiveFixture& archive)
    {
        m_process.start(QStringLiteral(RELIABILITY_COPY), {archive.location, Customers});
        m_process.waitForStarted(5000);
    }
    ~Copy()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
    }

    void send(const QString& command)
    {
        m_process.write(command.toUtf8() + '\n');
        m_process.waitForBytesWritten(5000);
    }
    QString readLine()
    {
        while (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(30000))
                return QStringLiteral("<no answer>");
        }
        return QString::fromUtf8(m_process.readLine()).trimmed();
    }
    QString ask(const QString& command)
    {
        send(command);
        return readLine();
    }

private:
    QProcess m_process;
};

// The Tipo of the first stored record. The table is closed again at once: while it stood on a
// record, its read lock would keep the copies from storing (this test runs no event loop).
QString firstTipo(ArchiveFixture& archive)
{
    auto table = archive.table(Customers);
    table->open();
    return table->fieldValue(QStringLiteral("Tipo")).toString();
}

// The numbers one copy printed for its records, until its final answer.
QList<int> numbersUntilDone(Copy& copy, QString* last)
{
    QList<int> numbers;
    for (QString line = copy.readLine(); !line.startsWith(QLatin1String("ok")); line = copy.readLine()) {
        bool isNumber = false;
        const int number = line.toInt(&isNumber);
        if (!isNumber) {
            *last = line;
            return numbers;
        }
        numbers << number;
    }
    return numbers;
}

} // namespace

class TwoCopiesTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void storingAtOnceLosesNothingAndSharesNoNumber();
    void stalePostIsRefusedAndStaysPending_data();
    void stalePostIsRefusedAndStaysPending();
    void initTestCase() { QUILLIO_REQUIRE_STORAGE(); }
};

void TwoCopiesTest::storingAtOnceLosesNothingAndSharesNoNumber()
{
    constexpr int PerCopy = 150;
    ArchiveFixture archive;
    archive.create(Customers, customerColumns());
    Copy first(archive);
    Copy second(archive);
    QCOMPARE(first.ask(QStringLiteral("open")), QStringLiteral("ok"));
    QCOMPARE(second.ask(QStringLiteral("open")), QStringLiteral("ok"));

    first.send(QStringLiteral("appendmany %1 Primo").arg(PerCopy));
    second.send(QStringLiteral("appendmany %1 Secondo").arg(PerCopy));
    QString firstFault;
    QString secondFault;
    const QList<int> firstNumbers = numbersUntilDone(first, &firstFault);
    const QList<int> secondNumbers = numbersUntilDone(second, &secondFault);
    QVERIFY2(firstFault.isEmpty(), qPrintable(firstFault));
    QVERIFY2(secondFault.isEmpty(), qPrintable(secondFault));
    QCOMPARE(firstNumbers.size(), PerCopy);
    QCOMPARE(secondNumbers.size(), PerCopy);

    const QHash<int, QString> stored = archive.storedNames(Customers);
    QCOMPARE(stored.size(), 2 * PerCopy);
    for (int number : firstNumbers)
        QCOMPARE(stored.value(number), QStringLiteral("Primo"));
    for (int number : secondNumbers)
        QCOMPARE(stored.value(number), QStringLiteral("Secondo"));
}

void TwoCopiesTest::stalePostIsRefusedAndStaysPending_data()
{
    QTest::addColumn<bool>("otherDeletes");
    QTest::newRow("changed by the other copy") << false;
    QTest::newRow("deleted by the other copy") << true;
}

void TwoCopiesTest::stalePostIsRefusedAndStaysPending()
{
    QFETCH(bool, otherDeletes);
    ArchiveFixture archive;
    archive.create(Customers, customerColumns());
    archive.addRecords(Customers, QStringLiteral("Tipo"), {"originale", "secondo"});
    Copy mine(archive);
    Copy other(archive);
    for (Copy* copy : {&mine, &other})
        QCOMPARE(copy->ask(QStringLiteral("open")), QStringLiteral("ok"));

    QCOMPARE(mine.ask(QStringLiteral("edit")), QStringLiteral("ok"));
    QCOMPARE(mine.ask(QStringLiteral("set Tipo mio")), QStringLiteral("ok"));
    if (otherDeletes) {
        QCOMPARE(other.ask(QStringLiteral("remove")), QStringLiteral("ok"));
    } else {
        QCOMPARE(other.ask(QStringLiteral("edit")), QStringLiteral("ok"));
        QCOMPARE(other.ask(QStringLiteral("set Tipo suo")), QStringLiteral("ok"));
        QCOMPARE(other.ask(QStringLiteral("post")), QStringLiteral("ok"));
    }

    const QString refusal = mine.ask(QStringLiteral("post"));
    QVERIFY2(refusal.startsWith(QLatin1String("error ")), qPrintable(refusal));
    QVERIFY2(refusal.contains(otherDeletes ? QStringLiteral("another user deleted")
                                           : QStringLiteral("another user changed")),
             qPrintable(refusal));
    QCOMPARE(mine.ask(QStringLiteral("state")), QStringLiteral("ok edit modified"));
    QCOMPARE(mine.ask(QStringLiteral("get Tipo")), QStringLiteral("ok mio"));

    // The other copy's work is what is stored; nothing else changed.
    const QHash<int, QString> stored = archive.storedNames(Customers);
    QCOMPARE(stored.size(), otherDeletes ? 1 : 2);
    QCOMPARE(stored.contains(1), !otherDeletes);
    QCOMPARE(firstTipo(archive), otherDeletes ? QStringLiteral("secondo") : QStringLiteral("suo"));

    // Given up and read again, the record takes the change.
    QCOMPARE(mine.ask(QStringLiteral("cancel")), QStringLiteral("ok"));
    QCOMPARE(mine.ask(QStringLiteral("first")), QStringLiteral("ok"));
    QCOMPARE(mine.ask(QStringLiteral("edit")), QStringLiteral("ok"));
    QCOMPARE(mine.ask(QStringLiteral("set Tipo mio")), QStringLiteral("ok"));
    QCOMPARE(mine.ask(QStringLiteral("post")), QStringLiteral("ok"));
    QCOMPARE(firstTipo(archive), QStringLiteral("mio"));
}

QUILLIO_MAIN_ON_EACH_STORAGE(TwoCopiesTest)
#include "tst_TwoCopies.moc"
