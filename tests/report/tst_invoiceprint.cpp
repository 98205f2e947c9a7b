#include "PdfText.h"
#include "ScriptedOutputChooser.h"
#include "TestEnvironment.h"
#include "UnexpectedWarnings.h"
#include "archive/TableSchemas.h"
#include "engine/Query.h"
#include "engine/Session.h"
#include "engine/Table.h"
#include "invoices/InvoicePrintParameters.h"
#include "report/ReportError.h"
#include "report/ReportProject.h"
#include "report/ReportSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace quillio;
using invoices::InvoicePrintParameters;
using report::Destination;
using report::test::ScriptedOutputChooser;

namespace {

using Fields = QList<std::pair<QString, QVariant>>;

const QString layoutSource = QStringLiteral(QUILLIO_LAYOUT_DIR "/ModFatturaBase.qrl");

// An invoice table in a temporary archive, a program directory holding the default layout, and
// the report engine with a scripted output choice.
struct Fixture
{
    quillio::test::TestEnvironment env;
    ScriptedOutputChooser chooser;
    QTemporaryDir archive;
    engine::Session session{QStringLiteral("Prova")};
    engine::Table invoices{session};
    report::ReportSystem system;
    report::ReportProject project{system};

    explicit Fixture(bool withLayout = true)
    {
        session.addStandardAlias(QStringLiteral("Archivio"), archive.path());
        session.activate();
        engine::Query create(session);
        create.setDatabaseName(QStringLiteral("Archivio"));
        create.addSql(QStringLiteral("CREATE TABLE \"Fatture.DB\" ") + archive::TableSchemas::invoices());
        create.execSql();
        invoices.setDatabaseName(QStringLiteral("Archivio"));
        invoices.setTableName(QStringLiteral("Fatture.DB"));
        invoices.open();
        if (withLayout)
            installLayout();
    }

    QString programDir() const { return env.paths.programDir(); }

    void installLayout() const
    {
        QDir().mkpath(programDir() + QStringLiteral("Report"));
        QFile::copy(layoutSource, programDir() + QStringLiteral("Report/ModFatturaBase.qrl"));
    }

    void add(const Fields& fields)
    {
        invoices.append();
        for (const auto& [name, value] : fields)
            invoices.setFieldValue(name, value);
        invoices.post();
    }

    QString parameter(const QString& name) const
    {
        for (const auto& [parameterName, text] : InvoicePrintParameters::read(invoices))
            if (parameterName == name)
                return text;
        return QStringLiteral("<no parameter>");
    }

    void print() { InvoicePrintParameters::print(project, invoices, programDir()); }

    // Prints the current invoice into a PDF file and returns its text in reading order.
    QString printToPdf()
    {
        const QString pdf = archive.filePath(QStringLiteral("fattura.pdf"));
        chooser.answers = {ScriptedOutputChooser::to(Destination::File)};
        env.files.answer = pdf;
        print();
        return report::test::pdfText(pdf);
    }
};

Fields filledInvoice(int slotCount)
{
    Fields fields = {{"Numero", "99"},
                     {"Stato", "EMESSA"},
                     {"Data", QDate(2009, 3, 16)},
                     {"Ragione_Sociale", "Trattoria Al Portico di Zanella Luca"},
                     {"Via", "Piazzetta San Lorenzo, 3"},
                     {"Cap", "31100"},
                     {"Citta", "Treviso (TV)"},
                     {"PIva", "04512870263"},
                     {"Testo1", "Oggetto: materiale promozionale"},
                     {"Iva", 20.0},
                     {"Totale", 1520.0},
                     {"Totale_Iva", 304.0},
                     {"Totale_Fattura", 1824.0},
                     {"Condizioni", "Bonifico a 30 giorni\nScadenza 15/04/2009\nGrazie"},
                     {"Note", "Non stampare"}};
    for (int slot = 1; slot <= slotCount; ++slot) {
        const QString number = QStringLiteral("%1").arg(slot, 2, 10, QLatin1Char('0'));
        fields.append({QStringLiteral("Desc") + number, QStringLiteral("Voce numero %1").arg(slot)});
        fields.append({QStringLiteral("Costo") + number, 100.0 + slot});
    }
    return fields;
}

QStringList expectedNames()
{
    QStringList names{"Data", "Numero", "Ragione_Sociale", "Via",   "Citta", "CAP",
                      "PIVA", "CF",     "Testo1",          "Testo2"};
    for (int slot = 1; slot <= 20; ++slot) {
        const QString number = QStringLiteral("%1").arg(slot, 2, 10, QLatin1Char('0'));
        names << QStringLiteral("Desc") + number << QStringLiteral("Costo") + number;
    }
    return names << "Totale"
                 << "IVA"
                 << "Totale_IVA"
                 << "Totale_Fattura"
                 << "Condizioni";
}

} // namespace

class TestInvoicePrint : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void parametersComeInTheCommandsOrder()
    {
        QCOMPARE(InvoicePrintParameters::names(), expectedNames());
        QCOMPARE(InvoicePrintParameters::layoutPath(QStringLiteral("/opt/quillio/")),
                 QStringLiteral("/opt/quillio/") + QDir::separator() + QStringLiteral("Report") +
                     QDir::separator() + QStringLiteral("ModFatturaBase.qrl"));
    }

    // The layout beside the program (build tree, a portable copy) comes first, the installed one
    // after it; with neither, the path beside the program, which the missing-file error names.
    void layoutIsFoundBesideTheProgramThenInTheInstallation_data()
    {
        QTest::addColumn<bool>("besideProgram");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<bool>("expectInstalled");
        QTest::newRow("beside the program only") << true << false << false;
        QTest::newRow("installed only") << false << true << true;
        QTest::newRow("both: beside the program wins") << true << true << false;
        QTest::newRow("neither") << false << false << false;
    }

    void layoutIsFoundBesideTheProgramThenInTheInstallation()
    {
        QFETCH(bool, besideProgram);
        QFETCH(bool, installed);
        QFETCH(bool, expectInstalled);
        Fixture f(besideProgram);
        const QString installedDir = f.env.paths.root() + QStringLiteral("/share/quillio/Report/");
        if (installed) {
            QDir().mkpath(installedDir);
            QVERIFY(QFile::copy(layoutSource, installedDir + QStringLiteral("ModFatturaBase.qrl")));
        }
        const QString found = InvoicePrintParameters::layoutPath(f.programDir());
        if (expectInstalled)
            QCOMPARE(QFileInfo(found).canonicalFilePath(),
                     QFileInfo(installedDir + QStringLiteral("ModFatturaBase.qrl")).canonicalFilePath());
        else
            QCOMPARE(found, f.programDir() + QDir::separator() + QStringLiteral("Report") +
                                QDir::separator() + QStringLiteral("ModFatturaBase.qrl"));
        if (besideProgram || installed) {
            f.add(filledInvoice(1));
            f.print();
            QCOMPARE(f.chooser.requests.size(), 1);
        }
    }

    void fieldsBecomeTheirTextForms_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("parameter");
        QTest::addColumn<QString>("text");

        QTest::newRow("amount grouped") << "Costo03" << QVariant(1234.5) << "Costo03"
                                        << "1.234,50";
        QTest::newRow("zero amount") << "Totale" << QVariant(0.0) << "Totale"
                                     << "0,00";
        QTest::newRow("blank amount") << "Totale" << QVariant() << "Totale"
                                      << "";
        QTest::newRow("0.305 rounds up as shown") << "Costo01" << QVariant(0.305) << "Costo01"
                                                  << "0,31";
        QTest::newRow("1.005 rounds up as shown") << "Costo20" << QVariant(1.005) << "Costo20"
                                                  << "1,01";
        QTest::newRow("negative rounds away from zero") << "Totale_Iva" << QVariant(-1234.565) << "Totale_IVA"
                                                        << "-1.234,57";
        QTest::newRow("tiny negative is zero") << "Totale_Iva" << QVariant(-0.001) << "Totale_IVA"
                                               << "0,00";
        QTest::newRow("millions") << "Totale_Fattura" << QVariant(1234567.891) << "Totale_Fattura"
                                  << "1.234.567,89";
        QTest::newRow("slot 11 reaches the report") << "Costo11" << QVariant(99.9) << "Costo11"
                                                    << "99,90";
        QTest::newRow("rate 20") << "Iva" << QVariant(20.0) << "IVA"
                                 << "20";
        QTest::newRow("rate 7.3") << "Iva" << QVariant(7.3) << "IVA"
                                  << "7,3";
        QTest::newRow("rate 4.25") << "Iva" << QVariant(4.25) << "IVA"
                                   << "4,25";
        QTest::newRow("date with four-digit year") << "Data" << QVariant(QDate(2009, 3, 5)) << "Data"
                                                   << "05/03/2009";
        QTest::newRow("blank date") << "Data" << QVariant() << "Data"
                                    << "";
        QTest::newRow("text as stored") << "Via" << QVariant("  Via Roma, 1 ") << "Via"
                                        << "  Via Roma, 1 ";
        QTest::newRow("text holding a placeholder")
            << "Ragione_Sociale" << QVariant("Bar ${Via}") << "Ragione_Sociale"
            << "Bar ${Via}";
        QTest::newRow("postcode under its own name") << "Cap" << QVariant("31100") << "CAP"
                                                     << "31100";
        QTest::newRow("memo keeps its lines")
            << "Condizioni" << QVariant("Bonifico\nA 30 giorni\nGrazie") << "Condizioni"
            << "Bonifico\nA 30 giorni\nGrazie";
        QTest::newRow("slot 14 description") << "Desc14" << QVariant("Consegna") << "Desc14"
                                             << "Consegna";
    }

    void fieldsBecomeTheirTextForms()
    {
        QFETCH(QString, field);
        QFETCH(QVariant, value);
        QFETCH(QString, parameter);
        QFETCH(QString, text);
        Fixture f;
        f.add({{field, value}});
        QCOMPARE(f.parameter(parameter), text);
    }

    void numberIsTheRecordNumberWhateverNumeroHolds()
    {
        Fixture f;
        for (int i = 1; i <= 7; ++i)
            f.add({{"Numero", i == 7 ? QStringLiteral("99") : QString::number(40 + i)}});
        f.invoices.last();
        QCOMPARE(f.parameter(QStringLiteral("Numero")), QStringLiteral("7"));
    }

    void printedInvoiceReadsInOrderAndIsNotChanged()
    {
        Fixture f;
        f.add(filledInvoice(14));
        QList<QVariant> before;
        for (const auto& field : f.invoices.fields())
            before.append(f.invoices.fieldValue(field.name));

        const QString text = f.printToPdf();
        QVERIFY(!text.isEmpty());
        // Reading order, line by line: the customer block stands beside the number and the date.
        QStringList order{"Officina Grafica Dal Molin",
                          "FATTURA",
                          "Trattoria Al Portico di Zanella Luca",
                          "Piazzetta San Lorenzo, 3",
                          "16/03/2009",
                          "31100 Treviso (TV)",
                          "P.IVA 04512870263",
                          "Oggetto: materiale promozionale"};
        for (int slot = 1; slot <= 14; ++slot)
            order << QStringLiteral("Voce numero %1").arg(slot) << QStringLiteral("%1,00").arg(100 + slot);
        order << "Imponibile"
              << "1.520,00"
              << "I.V.A."
              << "20%"
              << "304,00"
              << "Totale Fattura"
              << "€ 1.824,00";
        const QList<qsizetype> positions = report::test::positionsInOrder(text, order);
        QVERIFY2(!positions.contains(-1), qPrintable(QStringLiteral("missing or out of order: %1\n%2")
                                                         .arg(order.value(positions.indexOf(-1)), text)));
        // The payment conditions stand beside the totals, each memo line on a line of its own.
        QVERIFY(!report::test::positionsInOrder(
                     text, {"Voce numero 14", "Bonifico a 30 giorni\n", "Scadenza 15/04/2009", "Grazie\n"})
                     .contains(-1));
        QVERIFY(QRegularExpression(QStringLiteral("^1 +16/03/2009"), QRegularExpression::MultilineOption)
                    .match(text)
                    .hasMatch());
        QVERIFY(!text.contains(QStringLiteral("99")));
        QVERIFY(!text.contains(QStringLiteral("Non stampare")));
        // A blank tax code leaves out its whole line, label included.
        QVERIFY(!QRegularExpression(QStringLiteral("C\\.F\\. *$"), QRegularExpression::MultilineOption)
                     .match(text)
                     .hasMatch());

        QVERIFY(!f.project.isOpen());
        QCOMPARE(f.invoices.state(), engine::DatasetState::Browse);
        for (qsizetype i = 0; i < before.size(); ++i)
            QCOMPARE(f.invoices.fieldValue(f.invoices.fields()[i].name), before[i]);
    }

    void twentySlotsAllPrint()
    {
        Fixture f;
        f.add(filledInvoice(20));
        const QString text = f.printToPdf();
        QVERIFY(text.contains(QStringLiteral("Voce numero 11")));
        QVERIFY(text.contains(QStringLiteral("Voce numero 20")));
        QVERIFY(text.contains(QStringLiteral("120,00")));
    }

    void blankFieldsOfTheNextInvoicePrintNothing()
    {
        Fixture f;
        Fields a = filledInvoice(5);
        a.append({QStringLiteral("CF"), QStringLiteral("ZNLLCU71C12L407P")});
        f.add(a);
        f.add({{"Ragione_Sociale", "Ferro Battuto Pellizzari"}});
        f.invoices.first();
        f.print();
        QCOMPARE(f.project.parameters().value(QStringLiteral("CF")), QStringLiteral("ZNLLCU71C12L407P"));
        f.invoices.next();
        f.print();
        for (const char* name : {"CF", "Desc05", "Costo05", "Via", "Data", "IVA", "Condizioni"})
            QVERIFY2(!f.project.parameters().contains(QLatin1String(name)), name);
        QCOMPARE(f.project.parameters().value(QStringLiteral("ragione_sociale")),
                 QStringLiteral("Ferro Battuto Pellizzari"));
        QCOMPARE(f.chooser.requests.size(), 2);
        QVERIFY(!f.project.isOpen());
    }

    void missingLayoutStopsBeforeAnyParameterAndTheNextPrintRetries()
    {
        Fixture f(false);
        f.add(filledInvoice(2));
        const QString expected =
            QStringLiteral("The following reporting project does not exist:\n\"%1\"")
                .arg(QDir::toNativeSeparators(f.programDir() + "Report/ModFatturaBase.qrl"));
        QString error;
        try {
            f.print();
        } catch (const report::ReportError& e) {
            error = e.text();
        }
        QCOMPARE(error, expected);
        QCOMPARE(f.project.parameters().size(), 0);
        QVERIFY(f.chooser.requests.isEmpty());

        f.installLayout();
        f.print();
        QCOMPARE(f.chooser.requests.size(), 1);
        QCOMPARE(f.project.parameters().value(QStringLiteral("Desc02")), QStringLiteral("Voce numero 2"));
    }

    void emptyInvoiceTablePrintsTheBareLayout()
    {
        Fixture f;
        const QString text = f.printToPdf();
        QVERIFY(text.contains(QStringLiteral("FATTURA")));
        QVERIFY(text.contains(QStringLiteral("Totale Fattura")));
        QCOMPARE(f.project.parameters().size(), 0);
    }
};

QTEST_MAIN(TestInvoicePrint)
#include "tst_invoiceprint.moc"
