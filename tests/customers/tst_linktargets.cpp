#include "UnexpectedWarnings.h"
#include "customers/LinkTargets.h"

#include <QTest>

using quillio::customers::LinkTargets;

class TestLinkTargets : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void webSite_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("opened"); // empty: nothing is opened
        QTest::newRow("bare host gets http") << "www.rossi.it"
                                             << "http://www.rossi.it";
        QTest::newRow("host with port") << "www.rossi.it:8080/listino"
                                        << "http://www.rossi.it:8080/listino";
        QTest::newRow("http kept") << "http://rossi.it/a?b=c"
                                   << "http://rossi.it/a?b=c";
        QTest::newRow("https kept, any case") << "HTTPS://rossi.it"
                                              << "https://rossi.it";
        QTest::newRow("file refused") << "file:///usr/bin/xterm"
                                      << "";
        QTest::newRow("program path refused") << "/usr/bin/xterm"
                                              << "";
        QTest::newRow("javascript refused") << "javascript:alert(1)"
                                            << "";
        QTest::newRow("smb refused") << "smb://server/share"
                                     << "";
        QTest::newRow("mailto refused") << "mailto:a@b.it"
                                        << "";
        QTest::newRow("leading blanks before a host") << "   www.rossi.it "
                                                      << "http://www.rossi.it";
        QTest::newRow("leading blanks before https") << "  https://rossi.it"
                                                     << "https://rossi.it";
        QTest::newRow("leading blanks do not hide a scheme") << "  javascript:alert(1)"
                                                             << "";
        QTest::newRow("only blanks") << "   "
                                     << "";
    }
    void webSite()
    {
        QFETCH(QString, stored);
        QFETCH(QString, opened);
        const std::optional<QUrl> url = LinkTargets::webSite(stored);
        QCOMPARE(url ? url->toString() : QString(), opened);
    }

    void mailTo_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("link");
        QTest::newRow("plain") << "abc"
                               << "mailto:abc";
        QTest::newRow("address") << "anna.rossi@example.it"
                                 << "mailto:anna.rossi@example.it";
        QTest::newRow("no headers added") << "a@b.it?cc=x@y.it&subject=hi"
                                          << "mailto:a@b.it%3Fcc=x@y.it%26subject=hi";
        QTest::newRow("no attachment") << "a@b.it?attach=/etc/passwd"
                                       << "mailto:a@b.it%3Fattach=%2Fetc%2Fpasswd";
        QTest::newRow("no fragment") << "a@b.it#x"
                                     << "mailto:a@b.it%23x";
        QTest::newRow("blanks kept, encoded") << " a@b.it "
                                              << "mailto:%20a@b.it%20";
    }
    void mailTo()
    {
        QFETCH(QString, stored);
        QFETCH(QString, link);
        const QUrl url = LinkTargets::mailTo(stored);
        QCOMPARE(url.toString(QUrl::FullyEncoded), link);
        QVERIFY(!url.hasQuery());
        QVERIFY(!url.hasFragment());
    }
};

QTEST_GUILESS_MAIN(TestLinkTargets)
#include "tst_linktargets.moc"
