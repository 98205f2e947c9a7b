#include "UnexpectedWarnings.h"
#include "workingyear/YearText.h"

#include <QTest>

using quillio::workingyear::YearText;

class TestYearText : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void judgesTheTextItself_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("year") << "2010" << true;
        QTest::newRow("nested year") << "2010/sub" << true;
        QTest::newRow("nested with backslash") << "2010\\sub" << true;
        QTest::newRow("blanks kept as typed") << " 2010 " << true;
        QTest::newRow("not a number") << "archivio vecchio" << true;
        QTest::newRow("current-level prefix") << "./2010" << true;
        QTest::newRow("trailing separator") << "2010/" << true;
        QTest::newRow("dots inside a name") << "2010..bis" << true;
        QTest::newRow("colon later in the name") << "2010:a" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("data directory itself") << "." << false;
        QTest::newRow("data directory with separator") << "./" << false;
        QTest::newRow("data directory twice") << "./." << false;
        QTest::newRow("parent") << ".." << false;
        QTest::newRow("parent then a year") << "../2010" << false;
        QTest::newRow("parent in the middle") << "a/../b" << false;
        QTest::newRow("parent at the end") << "2010/.." << false;
        QTest::newRow("parent behind backslashes") << "a\\..\\b" << false;
        QTest::newRow("absolute") << "/abs" << false;
        QTest::newRow("root alone") << "/" << false;
        QTest::newRow("backslash root") << "\\2010" << false;
        QTest::newRow("drive and path") << "C:\\x" << false;
        QTest::newRow("drive relative") << "c:2010" << false;
        QTest::newRow("network share") << "\\\\server\\share" << false;
        QTest::newRow("network share with slashes") << "//server/share" << false;
    }
    void judgesTheTextItself()
    {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        QCOMPARE(YearText::staysInDataDirectory(text), accepted);
    }
};

QTEST_APPLESS_MAIN(TestYearText)
#include "tst_yeartext.moc"
