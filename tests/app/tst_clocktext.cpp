#include "UnexpectedWarnings.h"
#include "app/ClockText.h"

#include <QTest>

using quillio::app::ClockText;

class TestClockText : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void longFormatWithoutZone_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Italian") << QLocale(QLocale::Italian, QLocale::Italy) << "14:05:09";
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << "14:05:09";
        // The blank before PM is the locale data's own (newer data has a narrow no-break space).
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        const QString format = us.timeFormat(QLocale::LongFormat);
        const qsizetype seconds = format.indexOf(QLatin1String("ss")) + 2;
        const QString beforePm = format.mid(seconds, format.indexOf(QLatin1String("AP")) - seconds);
        QTest::newRow("US English") << us << QStringLiteral("2:05:09") + beforePm + us.pmText();
    }
    void longFormatWithoutZone()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, expected);
        QVERIFY2(locale.timeFormat(QLocale::LongFormat).contains(QLatin1Char('t')),
                 "the locale's long format is expected to carry a zone");
        QCOMPARE(ClockText::format(QTime(14, 5, 9), locale), expected);
    }
};

QTEST_GUILESS_MAIN(TestClockText)
#include "tst_clocktext.moc"
