#include "UnexpectedWarnings.h"
#include "einvoice/IdentifierChecks.h"

#include <QTest>

using quillio::einvoice::IdentifierChecks;

// The valid numbers below are made up; their check digits were computed by hand, as shown.
class TestIdentifierChecks : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void partitaIva_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("valid");
        // 1234567890: odd places 1+3+5+7+9 = 25, even places doubled 4+8+3(12)+7(16)+0 = 22;
        // 47 -> check (10 - 7) % 10 = 3.
        QTest::newRow("valid") << "12345678903" << true;
        // 0070326099: 0+7+3+6+9 = 25, 0+0+4+0+9(18) = 13; 38 -> 2.
        QTest::newRow("valid, leading zeros") << "00703260992" << true;
        // 9999999999: 5 x 9 = 45, 5 x 9(18) = 45; 90 -> 0.
        QTest::newRow("valid, check digit 0") << "99999999990" << true;
        QTest::newRow("check digit off by one") << "12345678904" << false;
        QTest::newRow("two digits swapped") << "21345678903" << false;
        QTest::newRow("ten digits") << "1234567890" << false;
        QTest::newRow("twelve digits") << "123456789030" << false;
        QTest::newRow("letter inside") << "1234567890A" << false;
        QTest::newRow("country prefix") << "IT12345678903" << false;
        QTest::newRow("empty") << "" << false;
    }
    void partitaIva()
    {
        QFETCH(QString, number);
        QFETCH(bool, valid);
        QCOMPARE(IdentifierChecks::isValidPartitaIva(number), valid);
    }

    void codiceFiscale_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("valid");
        // RSSMRA85T10A562: odd places R S R 8 T 0 5 2 -> 8+12+8+19+14+1+13+5 = 80; even places
        // S M A 5 1 A 6 -> 18+12+0+5+1+0+6 = 42; 122 % 26 = 18 -> S.
        QTest::newRow("man") << "RSSMRA85T10A562S" << true;
        QTest::newRow("lower case") << "rssmra85t10a562s" << true;
        // VRDLGU70A41H501: a woman (day 41 = 1 + 40); sum 330 % 26 = 18 -> S.
        QTest::newRow("woman") << "VRDLGU70A41H501S" << true;
        // Homonym: the last digit 2 written as N; the check letter follows: 319 % 26 = 7 -> H.
        QTest::newRow("homonym letter") << "RSSMRA85T10A56NH" << true;
        QTest::newRow("homonym letter, old check letter") << "RSSMRA85T10A56NS" << false;
        QTest::newRow("wrong check letter") << "RSSMRA85T10A562T" << false;
        QTest::newRow("month letter that does not exist") << "RSSMRA85F10A562S" << false;
        QTest::newRow("day 35") << "RSSMRA85T35A562S" << false;
        QTest::newRow("digit where a letter goes") << "RSSMR185T10A562S" << false;
        QTest::newRow("fifteen characters") << "RSSMRA85T10A562" << false;
        QTest::newRow("company code, valid") << "12345678903" << true;
        QTest::newRow("company code, bad check digit") << "09876543210" << false;
        QTest::newRow("empty") << "" << false;
    }
    void codiceFiscale()
    {
        QFETCH(QString, code);
        QFETCH(bool, valid);
        QCOMPARE(IdentifierChecks::isValidCodiceFiscale(code), valid);
    }

    void iban_data()
    {
        QTest::addColumn<QString>("iban");
        QTest::addColumn<bool>("valid");
        // Check digits = 98 - (BBAN + "IT00", letters as 10..35) mod 97, computed for each BBAN.
        QTest::newRow("Italian") << "IT18K0760101600000012345678" << true;
        QTest::newRow("Italian, blanks and lower case") << "it84 b050 3411 7000 0000 0004 321" << true;
        QTest::newRow("German, 22 characters") << "DE77100100100123456789" << true;
        QTest::newRow("check digits wrong") << "IT19K0760101600000012345678" << false;
        QTest::newRow("two account digits swapped") << "IT18K0760101600000012345687" << false;
        QTest::newRow("Italian one character short") << "IT18K076010160000001234567" << false;
        QTest::newRow("no country") << "18K0760101600000012345678" << false;
        QTest::newRow("punctuation") << "IT18-K0760101600000012345678" << false;
        QTest::newRow("empty") << "" << false;
    }
    void iban()
    {
        QFETCH(QString, iban);
        QFETCH(bool, valid);
        QCOMPARE(IdentifierChecks::isValidIban(iban), valid);
    }
};

QTEST_GUILESS_MAIN(TestIdentifierChecks)
#include "tst_identifierchecks.moc"
