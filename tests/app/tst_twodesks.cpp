// Two copies of the program, each a process of its own with its own settings, pointed at one
// archive on a throw-away database server; each stores invoices through the invoice window at the
// same time as the other. Both lists must then show every invoice, numbered without gaps or doubles.
//
// The test starts this same executable twice as the desks ("--desk"). A desk given a folder
// ("--shot") saves a picture of its invoice window there at the end.

#include "DataDirectory.h"
#include "PostgresCluster.h"
#include "TestEnvironment.h"
#include "UnexpectedWarnings.h"
#include "app/Program.h"
#include "app/TFMain.h"
#include "archive/TFDB.h"
#include "engine/Table.h"
#include "invoices/TFFatture1.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QTest>
#include <QTextStream>
#include <cstdio>

using namespace quillio;

namespace {

constexpr qint64 invoicesPerDesk = 20;

QString argumentAfter(const QStringList& arguments, const QString& option)
{
    const qsizetype at = arguments.indexOf(option);
    return at >= 0 && at + 1 < arguments.size() ? arguments.at(at + 1) : QString();
}

// The numbers of the stored invoices as the desk's own invoice table reads them afresh.
QList<qint64> storedNumbers(engine::Table& invoices)
{
    invoices.close();
    invoices.open();
    QList<qint64> numbers;
    for (invoices.first(); !invoices.eof(); invoices.next())
        numbers.append(invoices.fieldValue(QStringLiteral("OrdNum")).toLongLong());
    return numbers;
}

// One desk: starts the program on the server archive, stores its invoices, waits for the other
// desk's, and prints what its list shows ("numeri: 1 2 3 ...") and any error the program showed.
int runDesk(const QStringList& arguments)
{
    test::TestEnvironment env;
    const QString desk = argumentAfter(arguments, QStringLiteral("--desk"));
    test::DataDirectory(argumentAfter(arguments, QStringLiteral("--archive")))
        .writeSettings(env.paths.programDir(), QStringLiteral("2026"));
    app::Program program;
    program.showMainWindow();
    program.main().openInvoices();
    invoices::TFFatture1& window = program.fatture();
    engine::Table& table = program.db().T_Fatture;
    // Both desks store at once: each says it is ready and waits for the word to go.
    std::printf("pronta\n");
    std::fflush(stdout);
    char go[16];
    if (!std::fgets(go, sizeof go, stdin))
        return 1;
    for (int i = 1; i <= invoicesPerDesk; ++i) {
        window.Nuovo1Click();
        window.BT_AnnullaClick();
        table.setFieldValue(QStringLiteral("Ragione_Sociale"),
                            QStringLiteral("Scrivania %1, fattura %2").arg(desk).arg(i));
        window.Salva1Click();
        QCoreApplication::processEvents();
    }
    const int total = argumentAfter(arguments, QStringLiteral("--total")).toInt();
    QList<qint64> numbers = storedNumbers(table);
    for (QDeadlineTimer deadline(60000); numbers.size() < total && !deadline.hasExpired();) {
        QTest::qWait(200);
        numbers = storedNumbers(table);
    }
    const QString shots = argumentAfter(arguments, QStringLiteral("--shot"));
    if (!shots.isEmpty()) {
        table.last();
        QTest::qWait(300);
        window.grab().save(QDir(shots).filePath(QStringLiteral("two-desks-%1.png").arg(desk)));
    }
    QTextStream out(stdout);
    out << "numeri:";
    for (qint64 number : numbers)
        out << ' ' << number;
    out << Qt::endl;
    for (const QString& error : env.transcript.texts(test::Transcript::Kind::Error))
        out << "errore: " << error << Qt::endl;
    return 0;
}

QList<qint64> numbersPrinted(const QByteArray& output)
{
    QList<qint64> numbers;
    for (const QByteArray& line : output.split('\n'))
        if (line.startsWith("numeri:"))
            for (const QByteArray& word : line.mid(7).simplified().split(' '))
                if (!word.isEmpty())
                    numbers.append(word.toLongLong());
    return numbers;
}

} // namespace

class TestTwoDesks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!test::PostgresCluster::shared())
            QSKIP(qPrintable(test::PostgresCluster::unavailableReason()));
    }
    void init() { quillio::test::failOnUnexpectedWarnings(); }

    void bothDesksSeeEveryInvoiceNumberedOnce()
    {
        const QString archive = test::PostgresCluster::shared()->newDatabase();
        const QString total = QString::number(2 * invoicesPerDesk);
        QProcess desks[2];
        for (int i = 0; i < 2; ++i) {
            QStringList arguments = {"--desk", QString::number(i + 1), "--archive", archive, "--total",
                                     total};
            if (!qEnvironmentVariableIsEmpty("QUILLIO_TWO_DESKS_SHOTS"))
                arguments << "--shot" << qEnvironmentVariable("QUILLIO_TWO_DESKS_SHOTS");
            desks[i].setProcessChannelMode(QProcess::ForwardedErrorChannel);
            desks[i].start(QCoreApplication::applicationFilePath(), arguments);
            // The first desk's start creates the year's tables; the second finds them.
            QVERIFY(desks[i].waitForReadyRead(60000));
            QVERIFY(desks[i].readLine().startsWith("pronta"));
        }
        for (QProcess& desk : desks) {
            desk.write("via\n");
            QVERIFY(desk.waitForBytesWritten(10000));
        }
        QList<qint64> expected;
        for (qint64 number = 1; number <= 2 * invoicesPerDesk; ++number)
            expected.append(number);
        QByteArray outputs[2];
        for (int i = 0; i < 2; ++i) {
            QVERIFY(desks[i].waitForFinished(120000));
            outputs[i] = desks[i].readAllStandardOutput();
        }
        const QByteArray told = "desk 1: " + outputs[0] + "desk 2: " + outputs[1];
        for (int i = 0; i < 2; ++i) {
            QVERIFY2(desks[i].exitCode() == 0, told.constData());
            QVERIFY2(!outputs[i].contains("errore:"), told.constData());
            QVERIFY2(numbersPrinted(outputs[i]) == expected, told.constData());
        }
    }
};

int main(int argc, char** argv)
{
    const QStringList arguments = [&] {
        QStringList list;
        for (int i = 0; i < argc; ++i)
            list << QString::fromLocal8Bit(argv[i]);
        return list;
    }();
    QApplication app(argc, argv);
    if (arguments.contains(QStringLiteral("--desk")))
        return runDesk(arguments);
    TestTwoDesks test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_twodesks.moc"
