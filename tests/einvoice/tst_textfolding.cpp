#include "UnexpectedWarnings.h"
#include "einvoice/TextFolding.h"

#include <QTest>

using quillio::einvoice::TextFolding;

class TestTextFolding : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void fold_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("folded");
        QTest::addColumn<bool>("changed");
        QTest::newRow("plain") << "Consulenza mese di marzo"
                               << "Consulenza mese di marzo" << false;
        QTest::newRow("Latin-1 accents kept") << "Perché è già così: 5° piano, ½ giornata"
                                              << "Perché è già così: 5° piano, ½ giornata" << false;
        QTest::newRow("euro") << "Acconto 100 €"
                              << "Acconto 100 EUR" << true;
        QTest::newRow("typographic quotes") << "l\u2019art. \u201cbis\u201d"
                                            << "l'art. \"bis\"" << true;
        QTest::newRow("dashes") << "pagine 3\u20135 \u2014 fine"
                                << "pagine 3-5 - fine" << true;
        QTest::newRow("ellipsis") << "ecc\u2026"
                                  << "ecc..." << true;
        QTest::newRow("line breaks and tabs") << "riga uno\r\nriga due\nfine\tcolonna"
                                              << "riga uno riga due fine colonna" << true;
        QTest::newRow("accents outside Latin-1") << "\u015etefan Dvo\u0159\u00e1k, Bra\u0219ov"
                                                 << "Stefan Dvor\u00e1k, Brasov" << true;
        QTest::newRow("ligature and full width") << "\ufb01ne \uff21"
                                                 << "fine A" << true;
        QTest::newRow("letters without decomposition") << "\u0141\u00f3d\u017a, \u0152uvre"
                                                       << "L\u00f3dz, OEuvre" << true;
        QTest::newRow("nothing plain: question mark") << "\u4e2d\u6587 \U0001F600"
                                                      << "?? ?" << true;
    }
    void fold()
    {
        QFETCH(QString, text);
        QFETCH(QString, folded);
        QFETCH(bool, changed);
        const TextFolding::Result result = TextFolding::fold(text);
        QCOMPARE(result.text, folded);
        QCOMPARE(result.changed, changed);
        QVERIFY(TextFolding::isLatin1(result.text));
    }
};

QTEST_GUILESS_MAIN(TestTextFolding)
#include "tst_textfolding.moc"
