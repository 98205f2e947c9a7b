#include "DataDirectory.h"
#include "PdfText.h"
#include "TestEnvironment.h"
#include "UnexpectedWarnings.h"
#include "accountant/AccountantExport.h"
#include "accountant/SalesRegister.h"
#include "backup/ZipArchive.h"
#include "business/BusinessFile.h"
#include "business/CompanyStore.h"
#include "business/ExportRegister.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace quillio;
using namespace quillio::accountant;
using test::DataDirectory;

namespace {

einvoice::InvoiceRecord invoice(qint64 number, QDate date, double taxable, double rate, double vat,
                                double total, QList<double> lines = {})
{
    einvoice::InvoiceRecord record;
    record.ordNum = number;
    record.data = date;
    record.ragioneSociale = QStringLiteral("Cliente %1").arg(number);
    record.iva = rate;
    record.totale = taxable;
    record.totaleIva = vat;
    record.totaleFattura = total;
    if (lines.isEmpty())
        lines = {taxable};
    for (qsizetype i = 0; i < lines.size(); ++i)
        record.costo[i] = lines[i];
    return record;
}

// The CSV as Python's csv module reads it, row by row; nothing when python3 is missing.
std::optional<QList<QStringList>> readCsv(const QString& path)
{
    if (QStandardPaths::findExecutable(QStringLiteral("python3")).isEmpty())
        return std::nullopt;
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {"-c",
                  "import csv, json, sys\n"
                  "with open(sys.argv[1], newline='', encoding='utf-8-sig') as f:\n"
                  "    print(json.dumps(list(csv.reader(f, delimiter=';', strict=True))))",
                  path});
    if (!python.waitForFinished(30000) || python.exitCode() != 0)
        return QList<QStringList>{{QString::fromUtf8(python.readAllStandardError())}};
    QList<QStringList> rows;
    for (const auto& row : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
        QStringList fields;
        for (const auto& field : row.toArray())
            fields << field.toString();
        rows << fields;
    }
    return rows;
}

} // namespace

Q_DECLARE_METATYPE(RegisterPeriod)

class TestAccountant : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void registerRoundsAndAddsRoundedFigures()
    {
        // 0.005 rounds away from zero, as the printed invoice shows it; the totals add the rounded figures.
        const QList<einvoice::InvoiceRecord> invoices = {
            invoice(1, QDate(2026, 1, 10), 10.005, 22, 2.2011, 12.2061, {10.005}),
            invoice(2, QDate(2026, 1, 20), 20.005, 22, 4.4011, 24.4061, {20.005}),
            invoice(3, QDate(2026, 2, 3), 100, 10, 10, 110),
        };
        const SalesRegister reg = SalesRegister::build(invoices, {2026, 1, 12});
        QCOMPARE(reg.rows().at(0).taxable, 1001);
        QCOMPARE(reg.rows().at(0).total, 1221);
        QCOMPARE(reg.monthTotals().value(1).taxable, 1001 + 2001);
        QCOMPARE(reg.monthTotals().value(1).total, 1221 + 2441);
        QCOMPARE(reg.rateTotals().value(2200).vat, 220 + 440);
        QCOMPARE(reg.rateTotals().value(1000).invoices, 1);
        QCOMPARE(reg.grandTotal().total, 1221 + 2441 + 11000);
        QVERIFY(reg.oddities().isEmpty());
    }

    void registerListsWhatTheAccountantWillAsk_data()
    {
        QTest::addColumn<QList<einvoice::InvoiceRecord>>("invoices");
        QTest::addColumn<RegisterPeriod>("period");
        QTest::addColumn<QStringList>("oddities");
        const QDate march(2026, 3, 1);
        QTest::newRow("continuous") << QList{invoice(1, march, 10, 22, 2.2, 12.2),
                                             invoice(2, march, 5, 22, 1.1, 6.1)}
                                    << RegisterPeriod{2026, 1, 12} << QStringList{};
        QTest::newRow("one deleted") << QList{invoice(1, march, 10, 22, 2.2, 12.2),
                                              invoice(3, march, 5, 22, 1.1, 6.1)}
                                     << RegisterPeriod{2026, 1, 12}
                                     << QStringList{"Manca la fattura numero 2."};
        QTest::newRow("several deleted, first ones too")
            << QList{invoice(3, march, 10, 22, 2.2, 12.2), invoice(7, march, 5, 22, 1.1, 6.1)}
            << RegisterPeriod{2026, 1, 12}
            << QStringList{"Mancano le fatture dal numero 1 al numero 2.",
                           "Mancano le fatture dal numero 4 al numero 6."};
        QTest::newRow("a gap belongs to the period of the invoice after it")
            << QList{invoice(1, QDate(2026, 1, 5), 10, 22, 2.2, 12.2),
                     invoice(3, QDate(2026, 4, 5), 5, 22, 1.1, 6.1)}
            << RegisterPeriod{2026, 1, 3} << QStringList{};
        QTest::newRow("totals not from the lines")
            << QList{invoice(1, march, 100, 22, 22, 122, {90})} << RegisterPeriod{2026, 1, 12}
            << QStringList{
                   "I totali della fattura 1 non corrispondono alle sue righe (imponibile dalle righe 90,00, "
                   "memorizzato 100,00)."};
        QTest::newRow("dated in another year")
            << QList{invoice(1, QDate(2025, 12, 31), 10, 22, 2.2, 12.2), invoice(2, march, 5, 22, 1.1, 6.1)}
            << RegisterPeriod{2026, 1, 12}
            << QStringList{"La fattura 1 è datata 31/12/2025, fuori dall'anno 2026: non è nel registro."};
    }

    void registerListsWhatTheAccountantWillAsk()
    {
        QFETCH(QList<einvoice::InvoiceRecord>, invoices);
        QFETCH(RegisterPeriod, period);
        QFETCH(QStringList, oddities);
        QStringList found;
        // The register is kept: a loop over a temporary's member would read freed memory.
        const SalesRegister reg = SalesRegister::build(invoices, period);
        for (const RegisterOddity& oddity : reg.oddities())
            found << oddity.text;
        QCOMPARE(found, oddities);
    }

    void exportWritesCsvRegisterAndElectronicInvoices()
    {
        test::TestEnvironment env;
        QTemporaryDir root;
        const DataDirectory data(root.path());
        QDir().mkpath(env.paths.programDir() + "Report");
        QFile::copy(QStringLiteral(QUILLIO_LAYOUT_DIR "/RegistroIVA.qrl"),
                    env.paths.programDir() + "Report/RegistroIVA.qrl");
        data.writeSettings(env.paths.programDir(), "2026");
        data.makeYear("2026");
        data.addInvoice("2026",
                        {QDate(2026, 1, 12), "Bar \"Il Sole\"; di Rossi", "01234567897", {}, {1000.005}});
        const qint64 deleted = data.addInvoice("2026", {QDate(2026, 1, 20), "Da cancellare", {}, {}, {1}});
        data.addInvoice("2026", {QDate(2026, 2, 3),
                                 "Società Agricola Città di Castello",
                                 {},
                                 "RSSMRA80A01H501U",
                                 {250, 49.5},
                                 10});
        data.addInvoice("2026", {QDate(2026, 3, 9), "Fuori periodo", {}, {}, {5}});
        data.removeRecord("2026", "Fatture.DB", deleted);
        {
            business::BusinessFile company(data.path());
            einvoice::CompanyData seller;
            seller.denominazione = QStringLiteral("Ferramenta Esempio S.r.l.");
            seller.partitaIva = QStringLiteral("01234567897");
            business::CompanyStore(company).setCompany(seller);
            business::ExportRegister(company).record({2026, 1, "00001", "IT01234567897_00001.xml",
                                                      QDateTime::currentDateTime(), "00",
                                                      "<FatturaElettronica/>"});
        }

        const QString folder = QDir(root.path()).filePath("commercialista");
        const AccountantExport::Result result = AccountantExport::run({2026, 1, 2}, folder);
        QCOMPARE(result.written, (QStringList{folder + "/Fatture-2026.csv", folder + "/Registro-IVA-2026.pdf",
                                              folder + "/Fatture-elettroniche-2026.zip"}));
        QCOMPARE(result.invoices, 2);
        QCOMPARE(result.oddities.size(), 1);
        QCOMPARE(result.oddities[0].text, QStringLiteral("Manca la fattura numero 2."));

        QFile csvFile(result.written[0]);
        QVERIFY(csvFile.open(QIODevice::ReadOnly));
        QVERIFY(csvFile.readAll().startsWith("\xEF\xBB\xBFNumero;Data;"));
        const std::optional<QList<QStringList>> rows = readCsv(result.written[0]);
        if (!rows)
            QSKIP("python3 is not installed: the CSV cannot be read back by a CSV reader");
        QCOMPARE(rows->size(), 3);
        QCOMPARE(rows->at(1),
                 (QStringList{"1", "12/01/2026", "Bar \"Il Sole\"; di Rossi", "01234567897", "", "1000,01",
                              "22", "220,00", "1220,01", "Emessa", "IT01234567897_00001.xml"}));
        QCOMPARE(rows->at(2),
                 (QStringList{"3", "03/02/2026", "Società Agricola Città di Castello", "", "RSSMRA80A01H501U",
                              "299,50", "10", "29,95", "329,45", "Emessa", ""}));

        const backup::ZipArchive zip(result.written[2], backup::ZipArchive::Mode::Read);
        QCOMPARE(zip.entryNames(), QStringList{"IT01234567897_00001.xml"});
        QCOMPARE(zip.read("IT01234567897_00001.xml", 1000), QByteArray("<FatturaElettronica/>"));

        const QString text = report::test::pdfText(result.written[1]);
        if (text.isNull())
            QSKIP("pdftotext is not installed: the register cannot be read back");
        for (const char* expected :
             {"Ferramenta Esempio S.r.l.", "gennaio – febbraio 2026", "Totali per mese",
              "Totali per aliquota", "Aliquota 22%", "Aliquota 10%", "Totale del periodo", "1.549,46",
              "Manca la fattura numero 2.", "Pagina 1 di 1"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)),
                     qPrintable(QString::fromUtf8(expected) + " not in:\n" + text));
        QVERIFY(!text.contains("Fuori periodo"));
        // The month lines carry the month's own sums.
        QVERIFY2(text.contains(QRegularExpression("gennaio\\s+1 fattura\\s+1.000,01\\s+220,00\\s+1.220,01")),
                 qPrintable(text));
        QVERIFY2(text.contains(QRegularExpression("febbraio\\s+1 fattura\\s+299,50\\s+29,95\\s+329,45")),
                 qPrintable(text));
    }

    void longRegisterContinuesOnNumberedPages()
    {
        test::TestEnvironment env;
        QTemporaryDir root;
        const DataDirectory data(root.path());
        QDir().mkpath(env.paths.programDir() + "Report");
        QFile::copy(QStringLiteral(QUILLIO_LAYOUT_DIR "/RegistroIVA.qrl"),
                    env.paths.programDir() + "Report/RegistroIVA.qrl");
        data.writeSettings(env.paths.programDir(), "2026");
        data.makeYear("2026");
        for (int i = 1; i <= 70; ++i)
            data.addInvoice("2026",
                            {QDate(2026, 1 + i % 12, 1), QStringLiteral("Cliente %1").arg(i), {}, {}, {10}});
        const AccountantExport::Result result = AccountantExport::run({2026, 1, 12}, root.path());
        const QString text = report::test::pdfText(result.written[1]);
        if (text.isNull())
            QSKIP("pdftotext is not installed: the register cannot be read back");
        const QStringList pages = text.split(u'\f', Qt::SkipEmptyParts);
        // 70 invoices and 22 lines of totals and notes, 31 lines a page.
        QCOMPARE(pages.size(), 3);
        QVERIFY(pages[0].contains("Pagina 1 di 3") && pages[2].contains("Pagina 3 di 3"));
        // Every page repeats the headings; the last invoice and the totals follow on the later pages.
        for (const QString& page : pages)
            QVERIFY(page.contains("Registro IVA delle vendite") && page.contains("Imponibile"));
        QVERIFY(!pages[1].contains("Cliente 70") && pages[2].contains("Cliente 70"));
        QVERIFY(text.contains(QRegularExpression("Totale del periodo\\s+70 fatture\\s+700,00")));
    }
};

QTEST_MAIN(TestAccountant)
#include "tst_accountant.moc"
