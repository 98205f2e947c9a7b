#include "UnexpectedWarnings.h"
#include "einvoice/Cents.h"

#include <QTest>
#include <cmath>
#include <limits>

using quillio::einvoice::Cents;

class TestCents : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    // The rounding the printed invoice uses: half away from zero on the 15 digits the editor shows,
    // so 0.285 (stored as 0.28499999999999998) is 29 cents, not 28.
    void cents_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<qint64>("cents");
        QTest::addColumn<QString>("xml");
        QTest::newRow("whole") << 1234.5 << qint64(123450) << "1234.50";
        QTest::newRow("binary just below half") << 0.285 << qint64(29) << "0.29";
        QTest::newRow("1.005") << 1.005 << qint64(101) << "1.01";
        QTest::newRow("negative half") << -2.675 << qint64(-268) << "-2.68";
        QTest::newRow("below a cent") << 0.004 << qint64(0) << "0.00";
        QTest::newRow("negative below a cent") << -0.004 << qint64(0) << "0.00";
        QTest::newRow("small negative") << -0.05 << qint64(-5) << "-0.05";
    }
    void cents()
    {
        QFETCH(double, value);
        QFETCH(qint64, cents);
        QFETCH(QString, xml);
        QCOMPARE(Cents::fromDouble(value), std::optional<qint64>(cents));
        QCOMPARE(Cents::toXml(cents), xml);
    }

    void centsOutOfRange()
    {
        QCOMPARE(Cents::fromDouble(std::nan("")), std::nullopt);
        QCOMPARE(Cents::fromDouble(HUGE_VAL), std::nullopt);
        QCOMPARE(Cents::fromDouble(1e18), std::nullopt);
        QCOMPARE(Cents::toXml(std::numeric_limits<qint64>::min()), QStringLiteral("-92233720368547758.08"));
    }

    void percentRoundsHalfAwayFromZero()
    {
        QCOMPARE(Cents::percentOf(25, 2200), qint64(6)); // 5.5 cents -> 6
        QCOMPARE(Cents::percentOf(-25, 2200), qint64(-6));
        QCOMPARE(Cents::percentOf(2272, 2200), qint64(500)); // 499.84 -> 500
        QCOMPARE(Cents::percentOf(99999999999, 10000), qint64(99999999999));
    }
};

QTEST_GUILESS_MAIN(TestCents)
#include "tst_cents.moc"
