#include "ArchiveFixture.h"
#include "UnexpectedWarnings.h"
#include "engine/Values.h"
#include "platform/ConversionError.h"

#include <QDate>
#include <QTest>
#include <limits>

using namespace quillio;
using namespace quillio::engine;
using namespace quillio::engine::test;

class ValuesTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void equal_data();
    void equal();
    void toDouble_data();
    void toDouble();
    void nullIsNotANumber();
    void initTestCase() { QUILLIO_REQUIRE_STORAGE(); }
};

void ValuesTest::equal_data()
{
    QTest::addColumn<QVariant>("a");
    QTest::addColumn<QVariant>("b");
    QTest::addColumn<bool>("equal");

    QTest::newRow("null, null") << QVariant() << QVariant() << true;
    QTest::newRow("null, empty text") << QVariant() << QVariant(QString("")) << false;
    QTest::newRow("null, zero") << QVariant() << QVariant(0) << false;
    QTest::newRow("null, false") << QVariant() << QVariant(false) << false;
    QTest::newRow("same text") << QVariant("Rossi") << QVariant("Rossi") << true;
    QTest::newRow("text in another case") << QVariant("Rossi") << QVariant("ROSSI") << false;
    QTest::newRow("text with a trailing blank") << QVariant("Rossi") << QVariant("Rossi ") << false;
    QTest::newRow("int, double of the same value") << QVariant(22) << QVariant(22.0) << true;
    QTest::newRow("longlong, int") << QVariant(qlonglong(5)) << QVariant(5) << true;
    QTest::newRow("int, double of another value") << QVariant(22) << QVariant(22.5) << false;
    QTest::newRow("large longlongs one apart")
        << QVariant(qlonglong(9007199254740993LL)) << QVariant(qlonglong(9007199254740992LL)) << false;
    QTest::newRow("unsigned above the signed range, -1")
        << QVariant(std::numeric_limits<qulonglong>::max()) << QVariant(qlonglong(-1)) << false;
    QTest::newRow("number, its text") << QVariant(22) << QVariant("22") << false;
    QTest::newRow("same date") << QVariant(QDate(2009, 3, 5)) << QVariant(QDate(2009, 3, 5)) << true;
    QTest::newRow("other date") << QVariant(QDate(2009, 3, 5)) << QVariant(QDate(2009, 3, 6)) << false;
    QTest::newRow("true, true") << QVariant(true) << QVariant(true) << true;
    QTest::newRow("true, 1") << QVariant(true) << QVariant(1) << false;
}

void ValuesTest::equal()
{
    QFETCH(QVariant, a);
    QFETCH(QVariant, b);
    QFETCH(bool, equal);
    QCOMPARE(Values::equal(a, b), equal);
    QCOMPARE(Values::equal(b, a), equal);
}

void ValuesTest::toDouble_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<double>("number");
    QTest::newRow("double") << QVariant(12.25) << 12.25;
    QTest::newRow("int") << QVariant(-3) << -3.0;
    QTest::newRow("longlong") << QVariant(qlonglong(1) << 40) << double(qlonglong(1) << 40);
    QTest::newRow("text") << QVariant("2.5") << 2.5;
}

void ValuesTest::toDouble()
{
    QFETCH(QVariant, value);
    QFETCH(double, number);
    QCOMPARE(Values::toDouble(value), number);
}

void ValuesTest::nullIsNotANumber()
{
    QCOMPARE(errorText<ConversionError>([] { Values::toDouble(QVariant()); }),
             QStringLiteral("Could not convert variant of type (Null) into type (Double)"));
    QCOMPARE(errorText<ConversionError>([] { Values::toDouble(QVariant(QDate(2009, 1, 1))); }),
             QStringLiteral("Could not convert variant of type (Date) into type (Double)"));
    QCOMPARE(errorText<ConversionError>([] { Values::toDouble(QVariant("tre")); }),
             QStringLiteral("Could not convert variant of type (String) into type (Double)"));
}

QUILLIO_MAIN_ON_EACH_STORAGE(ValuesTest)
#include "tst_Values.moc"
