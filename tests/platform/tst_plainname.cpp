#include "platform/PlainName.h"

#include <QTest>

using quillio::PlainName;

class TestPlainName : public QObject
{
    Q_OBJECT

private slots:
    void names_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("segment");
        QTest::addColumn<bool>("year");

        QTest::newRow("a year") << "2026" << true << true;
        QTest::newRow("a year named in words") << "2026 bis" << true << true;
        QTest::newRow("a table file") << "Fatture.DB" << true << true;
        QTest::newRow("accented letters") << "Città" << true << true;
        QTest::newRow("an e-invoice file") << "IT01234567890_00001.xml" << true << true;
        QTest::newRow("empty") << "" << false << false;
        QTest::newRow("dot") << "." << false << false;
        QTest::newRow("dot dot") << ".." << false << false;
        QTest::newRow("climbs out") << "../x" << false << false;
        QTest::newRow("two levels") << "2026/x" << false << false;
        QTest::newRow("backslash") << "..\\x" << false << false;
        QTest::newRow("absolute") << "/etc" << false << false;
        QTest::newRow("drive letter") << "C:" << false << false;
        QTest::newRow("NUL inside") << QStringLiteral("2026") + QChar(0) + QStringLiteral("x") << false
                                    << false;
        QTest::newRow("line break") << "20\n26" << false << false;
        QTest::newRow("direction mark") << QStringLiteral("2026") + QChar(0x202e) << false << false;
        QTest::newRow("trailing dot") << "2026." << false << false;
        QTest::newRow("trailing blank") << "2026 " << false << false;
        QTest::newRow("leading blank") << " 2026" << false << false;
        QTest::newRow("too long") << QString(101, u'9') << false << false;
        QTest::newRow("longest allowed") << QString(100, u'9') << true << true;
        QTest::newRow("staging folder") << ".quillio-copia-2026" << true << false;
    }

    void names()
    {
        QFETCH(QString, name);
        QFETCH(bool, segment);
        QFETCH(bool, year);
        QCOMPARE(PlainName::isSegment(name), segment);
        QCOMPARE(PlainName::isYear(name), year);
    }
};

QTEST_GUILESS_MAIN(TestPlainName)
#include "tst_plainname.moc"
