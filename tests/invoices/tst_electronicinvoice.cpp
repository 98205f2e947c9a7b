#include "PdfText.h"
#include "SampleCompany.h"
#include "TestEnvironment.h"
#include "UnexpectedWarnings.h"
#include "app/Program.h"
#include "app/TFMain.h"
#include "archive/TFDB.h"
#include "business/BusinessFile.h"
#include "business/BuyerBook.h"
#include "business/CompanyStore.h"
#include "company/TFDatiAzienda.h"
#include "dbcontrols/DBComboBox.h"
#include "dbcontrols/DBEdit.h"
#include "einvoice/DocumentChecks.h"
#include "einvoice/FatturaXmlReader.h"
#include "invoices/TFFatturaElettronica.h"
#include "invoices/TFFatture1.h"
#include "recordbody/RecordPanel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace quillio;
using einvoice::CompanyData;
using invoices::TFFatturaElettronica;
using invoices::TFFatture1;

namespace {

CompanyData seller(const QString& regime = QStringLiteral("RF01"))
{
    return test::SampleCompany::seller(regime);
}

struct Line
{
    QString description;
    double amount;
};

// The data directory the program uses in tests: the temporary program directory.
QString dataDirectory(const test::TestEnvironment& env)
{
    return env.paths.programDir();
}

// The problem texts of a dialog, one a line, for failure messages.
QString problemText(const TFFatturaElettronica& dialog)
{
    QStringList lines;
    for (const einvoice::Problem& problem : dialog.problems())
        lines << problem.message;
    return lines.join(QLatin1Char('\n'));
}

// A started program with the layout beside it, the invoice window open, and (unless told not to)
// the company's data stored. Files go into a scratch folder the person "chooses".
struct ExportFixture
{
    test::TestEnvironment env;
    QTemporaryDir output;
    app::Program program;
    TFFatture1& window = program.fatture();
    engine::Table& invoices = program.db().T_Fatture;

    explicit ExportFixture(std::optional<CompanyData> company = seller())
    {
        program.showMainWindow();
        QDir(env.paths.programDir()).mkpath(QStringLiteral("Report"));
        QFile::copy(QStringLiteral(QUILLIO_LAYOUT_DIR "/ModFatturaBase.qrl"),
                    env.paths.programDir() + QStringLiteral("Report/ModFatturaBase.qrl"));
        if (company) {
            business::BusinessFile file(dataDirectory(env));
            business::CompanyStore(file).setCompany(*company);
        }
        env.files.folderAnswer = output.path();
        env.transcript.clear();
        program.main().openInvoices();
        QApplication::setActiveWindow(&window);
    }

    void addInvoice(const QString& buyer, const QString& vat, const QString& taxCode, double rate,
                    const QList<Line>& lines)
    {
        invoices.append();
        invoices.setFieldValue("Stato", QStringLiteral("EMESSA"));
        invoices.setFieldValue("Data", QDate(2026, 12, 1));
        invoices.setFieldValue("Ragione_Sociale", buyer);
        invoices.setFieldValue("Via", QStringLiteral("Corso Vittorio Emanuele 4"));
        invoices.setFieldValue("Citta", QStringLiteral("Torino"));
        invoices.setFieldValue("Cap", QStringLiteral("10121"));
        invoices.setFieldValue("PIva", vat);
        invoices.setFieldValue("CF", taxCode);
        invoices.setFieldValue("Testo1", QStringLiteral("VS DARE PER"));
        invoices.setFieldValue("TotAut", true);
        invoices.setFieldValue("Iva", rate);
        double sum = 0;
        for (int slot = 1; slot <= lines.size(); ++slot) {
            const QString nn = QStringLiteral("%1").arg(slot, 2, 10, QLatin1Char('0'));
            invoices.setFieldValue(QStringLiteral("Desc") + nn, lines[slot - 1].description);
            invoices.setFieldValue(QStringLiteral("Costo") + nn, lines[slot - 1].amount);
            sum += lines[slot - 1].amount;
        }
        invoices.setFieldValue("Totale", sum);
        invoices.setFieldValue("Totale_Iva", sum * rate / 100);
        invoices.setFieldValue("Totale_Fattura", sum + sum * rate / 100);
        invoices.post();
    }
    void addInvoice(double rate = 22, const QString& vat = QStringLiteral("12345678903"))
    {
        addInvoice(QStringLiteral("Bianchi Giovanni S.n.c."), vat, QString(), rate,
                   {{"Scrivania in rovere", 480.5}, {"Montaggio", 60}});
    }

    TFFatturaElettronica& dialog() { return window.electronicInvoiceDialog(); }
    // Opens the export of the current invoice, gives the buyer a code and writes the file.
    QString exportCurrent(bool newName = false)
    {
        window.StpFatturaElettronica1Click();
        if (dialog().CodiceDestinatario->text().isEmpty())
            dialog().CodiceDestinatario->setText(QStringLiteral("ABC1234"));
        dialog().NuovoProgressivo->setChecked(newName);
        dialog().refresh();
        QTest::mouseClick(dialog().BT_Esporta, Qt::LeftButton);
        return dialog().writtenFile();
    }
};

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The official schema's verdict on a file; a skip when the tools are not here.
void validateAgainstSchema(const QString& path)
{
    const QString script = QStringLiteral(QUILLIO_FATTURAPA_DIR "/validate");
    QVERIFY2(QFileInfo::exists(script), qPrintable(script + QStringLiteral(" not found")));
    if (QStandardPaths::findExecutable(QStringLiteral("xmllint")).isEmpty())
        QSKIP("xmllint is missing (Debian libxml2-utils): the schema step is skipped");
    QProcess validate;
    validate.start(script, {path});
    QVERIFY(validate.waitForFinished(60000));
    QVERIFY2(validate.exitCode() == 0, validate.readAllStandardError().constData());
}

} // namespace

class TestElectronicInvoice : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void companyDataAreStoredAndReloadedAfterARestart()
    {
        test::TestEnvironment env;
        {
            app::Program program;
            program.showMainWindow();
            program.main().editCompanyData();
            company::TFDatiAzienda& dialog = program.datiAzienda();
            QVERIFY(dialog.isVisible());
            dialog.fill(seller(QStringLiteral("RF19")));
            static_cast<QLineEdit*>(dialog.field("Telefono"))->setText(QStringLiteral("02 1111111"));
            QTest::mouseClick(dialog.BT_Salva, Qt::LeftButton);
            QVERIFY(!dialog.isVisible());
        }
        app::Program restarted;
        restarted.showMainWindow();
        restarted.main().editCompanyData();
        const CompanyData shown = restarted.datiAzienda().data();
        QCOMPARE(shown.toJson(), [] {
            CompanyData expected = seller(QStringLiteral("RF19"));
            expected.telefono = QStringLiteral("02 1111111");
            return expected.toJson();
        }());
    }

    void companyFieldsSayWhatIsWrong_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("said");
        QTest::newRow("VAT number too short") << "Partita IVA"
                                              << "0123456789"
                                              << "11 cifre";
        QTest::newRow("VAT check digit") << "Partita IVA"
                                         << "01234567890"
                                         << "cifra di controllo";
        QTest::newRow("postcode of four digits") << "CAP"
                                                 << "2012"
                                                 << "5 cifre";
        QTest::newRow("province with a digit") << "Provincia"
                                               << "M1"
                                               << "due lettere";
        QTest::newRow("IBAN check digits") << "IBAN"
                                           << "IT61X0542811101000000123456"
                                           << "IBAN";
    }
    void companyFieldsSayWhatIsWrong()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, said);
        test::TestEnvironment env;
        app::Program program;
        program.showMainWindow();
        program.main().editCompanyData();
        company::TFDatiAzienda& dialog = program.datiAzienda();
        dialog.fill(seller());
        static_cast<QLineEdit*>(dialog.field(field))->setText(typed);
        QTest::mouseClick(dialog.BT_Salva, Qt::LeftButton);
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.problemOf(field)->isVisible());
        QVERIFY2(dialog.problemOf(field)->text().contains(said), qPrintable(dialog.problemOf(field)->text()));
        QCOMPARE(dialog.field(field)->accessibleDescription(), dialog.problemOf(field)->text());
        business::BusinessFile file(dataDirectory(env));
        QVERIFY(!business::CompanyStore(file).company());
    }

    void withoutCompanyDataTheCommandAsksForThem()
    {
        ExportFixture f(std::nullopt);
        f.invoices.open();
        f.addInvoice();
        f.window.StpFatturaElettronica1Click();
        QCOMPARE(f.env.transcript.texts(), QStringList{TFFatture1::companyDataMissing});
        QCOMPARE(f.env.modal.shown.last().data(), static_cast<QWidget*>(&f.program.datiAzienda()));
        QVERIFY(!f.dialog().isVisible());
    }

    // The whole road: an invoice typed into the invoice window, stored, exported through the dialog.
    void aTypedInvoiceBecomesAValidFile()
    {
        ExportFixture f;
        f.window.Nuovo1Click();
        f.window.BT_AnnullaClick();
        recordbody::RecordPanel& panel = *f.window.PanelScheda;
        // Key by key, as a person types; a character without a key of its own comes as its text.
        const auto type = [](QWidget* field, const QString& text) {
            field->setFocus();
            for (const QChar c : text) {
                if (c.unicode() < 0x80)
                    QTest::keyClick(field, c.toLatin1());
                else
                    QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
            }
        };
        type(panel.Ragione_Sociale, QStringLiteral("Bianchi Giovanni S.n.c."));
        type(panel.edit("Via"), QStringLiteral("Corso Vittorio Emanuele 4"));
        type(panel.edit("Citta"), QStringLiteral("Torino"));
        type(panel.edit("CAP"), QStringLiteral("10121"));
        type(panel.edit("PIVA"), QStringLiteral("12345678903"));
        type(panel.edit("Desc01"), QStringLiteral("Scrivania in rovere – finitura “naturale”"));
        type(panel.edit("Costo01"), QStringLiteral("480,5"));
        type(panel.edit("Desc02"), QStringLiteral("Montaggio"));
        type(panel.edit("Costo02"), QStringLiteral("60"));
        QLineEdit* rate = panel.edit("IVA");
        rate->setFocus();
        rate->selectAll();
        QTest::keyClicks(rate, QStringLiteral("22"));
        f.window.Salva1Click();
        QCOMPARE(f.invoices.fieldValue("OrdNum").toInt(), 1);

        f.window.StpFatturaElettronica1Click();
        QVERIFY(f.dialog().isVisible());
        QVERIFY(!f.dialog().BT_Esporta->isEnabled() || !f.dialog().problems().isEmpty());
        QTest::keyClicks(f.dialog().CodiceDestinatario, QStringLiteral("ABC1234"));
        QTest::keyClicks(f.dialog().Provincia, QStringLiteral("TO"));
        QVERIFY2(f.dialog().BT_Esporta->isEnabled(), qPrintable(problemText(f.dialog())));
        QVERIFY2(problemText(f.dialog()).contains(QLatin1String("Descrizione riga 1")),
                 qPrintable(problemText(f.dialog())));
        QTest::mouseClick(f.dialog().BT_Esporta, Qt::LeftButton);

        const QString path = f.dialog().writtenFile();
        QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("IT01234567897_00001.xml"));
        QCOMPARE(f.env.transcript.texts().last(),
                 QStringLiteral("Fattura elettronica salvata in:\r") + QDir::toNativeSeparators(path));
        validateAgainstSchema(path);
        const einvoice::FatturaXmlReader::Result read = einvoice::FatturaXmlReader::read(readFile(path));
        QVERIFY(read.wellFormed && read.isFatturaPA);
        QVERIFY(!einvoice::hasErrors(einvoice::DocumentChecks::run(read.document)));
        const einvoice::FatturaDocument& d = read.document;
        QCOMPARE(d.datiGeneraliDocumento.numero.text, QStringLiteral("1"));
        QCOMPARE(d.datiRiepilogo.value(0).imponibileImporto.text, QStringLiteral("540.50"));
        QCOMPARE(d.datiRiepilogo.value(0).imposta.text, QStringLiteral("118.91"));
        QCOMPARE(d.datiGeneraliDocumento.importoTotaleDocumento.text, QStringLiteral("659.41"));
        QCOMPARE(d.dettaglioLinee.value(0).descrizione.text,
                 QStringLiteral("Scrivania in rovere - finitura \"naturale\""));
        QCOMPARE(d.cessionarioCommittente.sede.provincia.text, QStringLiteral("TO"));
    }

    void buyerDetailsAreRememberedForTheNextInvoice()
    {
        ExportFixture f;
        f.invoices.open();
        f.addInvoice();
        f.addInvoice();
        f.invoices.first();
        f.window.StpFatturaElettronica1Click();
        f.dialog().CodiceDestinatario->setText(QStringLiteral("M5UXCR1"));
        f.dialog().Provincia->setText(QStringLiteral("TO"));
        f.dialog().refresh();
        QTest::mouseClick(f.dialog().BT_Esporta, Qt::LeftButton);
        QVERIFY2(!f.dialog().writtenFile().isEmpty(), qPrintable(problemText(f.dialog())));

        f.invoices.last();
        f.window.StpFatturaElettronica1Click();
        QCOMPARE(f.dialog().CodiceDestinatario->text(), QStringLiteral("M5UXCR1"));
        QCOMPARE(f.dialog().Provincia->text(), QStringLiteral("TO"));
    }

    // A file name the exchange system has seen is never used again, not even after a restart.
    void progressivesAreNeverReused()
    {
        test::TestEnvironment env;
        QTemporaryDir output;
        env.files.folderAnswer = output.path();
        QStringList names;
        for (int start = 0; start < 2; ++start) {
            app::Program program;
            program.showMainWindow();
            if (start == 0) {
                business::BusinessFile file(dataDirectory(env));
                business::CompanyStore(file).setCompany(seller());
            }
            QDir(env.paths.programDir()).mkpath(QStringLiteral("Report"));
            QFile::copy(QStringLiteral(QUILLIO_LAYOUT_DIR "/ModFatturaBase.qrl"),
                        env.paths.programDir() + QStringLiteral("Report/ModFatturaBase.qrl"));
            program.main().openInvoices();
            engine::Table& invoices = program.db().T_Fatture;
            TFFatture1& window = program.fatture();
            invoices.last();
            const auto exportOnce = [&](bool newName) {
                window.StpFatturaElettronica1Click();
                window.electronicInvoiceDialog().CodiceDestinatario->setText(QStringLiteral("ABC1234"));
                window.electronicInvoiceDialog().NuovoProgressivo->setChecked(newName);
                window.electronicInvoiceDialog().refresh();
                window.electronicInvoiceDialog().BT_EsportaClick();
                names << QFileInfo(window.electronicInvoiceDialog().writtenFile()).fileName();
            };
            invoices.append();
            invoices.setFieldValue("Data", QDate(2026, 12, 1));
            invoices.setFieldValue("Ragione_Sociale", QStringLiteral("Verdi Anna"));
            invoices.setFieldValue("Via", QStringLiteral("Via Roma 1"));
            invoices.setFieldValue("Citta", QStringLiteral("Firenze"));
            invoices.setFieldValue("Cap", QStringLiteral("50122"));
            invoices.setFieldValue("PIva", QStringLiteral("09876543217"));
            invoices.setFieldValue("Desc01", QStringLiteral("Consulenza"));
            invoices.setFieldValue("Costo01", 100.0);
            invoices.setFieldValue("Iva", 22.0);
            invoices.post();
            exportOnce(false);
            exportOnce(false);
            exportOnce(true);
        }
        QCOMPARE(names, (QStringList{"IT01234567897_00001.xml", "IT01234567897_00001.xml",
                                     "IT01234567897_00002.xml", "IT01234567897_00003.xml",
                                     "IT01234567897_00003.xml", "IT01234567897_00004.xml"}));
        QCOMPARE(QDir(output.path()).entryList(QDir::Files).size(), 4);
    }

    void theAttachmentIsThePrintedPageAsPdfA()
    {
        ExportFixture f;
        f.invoices.open();
        f.addInvoice();
        const QString path = f.exportCurrent();
        QVERIFY2(!path.isEmpty(), qPrintable(problemText(f.dialog())));
        const einvoice::FatturaDocument d = einvoice::FatturaXmlReader::read(readFile(path)).document;
        QCOMPARE(d.allegati.size(), 1);
        QCOMPARE(d.allegati[0].formatoAttachment.text, QStringLiteral("PDF"));
        const QByteArray pdf = QByteArray::fromBase64(d.allegati[0].attachment.text.toLatin1());
        QVERIFY(pdf.startsWith("%PDF-"));
        QVERIFY2(pdf.contains("pdfaid:part"), "the attached page is not marked as PDF/A");
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext is missing: the attached page is not read back");
        QTemporaryDir scratch;
        const QString pdfPath = scratch.filePath(QStringLiteral("allegato.pdf"));
        QFile out(pdfPath);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(pdf);
        out.close();
        const QString text = report::test::pdfText(pdfPath);
        QVERIFY2(text.contains(QLatin1String("Bianchi Giovanni S.n.c.")), qPrintable(text));
        QVERIFY2(text.contains(QLatin1String("659,41")), qPrintable(text));
    }

    void invoicesWithoutVatStartFromTheLaw_data()
    {
        QTest::addColumn<QString>("regime");
        QTest::addColumn<double>("amount");
        QTest::addColumn<QString>("natura");
        QTest::addColumn<bool>("stamp");
        QTest::newRow("flat rate above the stamp threshold") << "RF19" << 77.48 << "N2.2" << true;
        QTest::newRow("flat rate at the threshold") << "RF19" << 77.47 << "N2.2" << false;
    }
    void invoicesWithoutVatStartFromTheLaw()
    {
        QFETCH(QString, regime);
        QFETCH(double, amount);
        QFETCH(QString, natura);
        QFETCH(bool, stamp);
        ExportFixture f(seller(regime));
        f.invoices.open();
        f.addInvoice(QStringLiteral("Bianchi Giovanni S.n.c."), QStringLiteral("12345678903"), QString(), 0,
                     {{"Lezione di disegno", amount}});
        f.window.StpFatturaElettronica1Click();
        QVERIFY(f.dialog().Esenzione->isEnabled());
        QCOMPARE(f.dialog().Natura->currentData().toString(), natura);
        QCOMPARE(f.dialog().RiferimentoNormativo->text(),
                 QStringLiteral("Legge 190/2014, art. 1, commi 54-89"));
        QCOMPARE(f.dialog().BolloVirtuale->isEnabled(), stamp);
        QCOMPARE(f.dialog().BolloVirtuale->isChecked(), stamp);
        const QString path = f.exportCurrent();
        QVERIFY2(!path.isEmpty(), qPrintable(problemText(f.dialog())));
        validateAgainstSchema(path);
        const einvoice::FatturaDocument d = einvoice::FatturaXmlReader::read(readFile(path)).document;
        QCOMPARE(d.datiRiepilogo.value(0).natura.text, natura);
        QCOMPARE(d.datiGeneraliDocumento.datiBollo.present, stamp);
        if (stamp)
            QCOMPARE(d.datiGeneraliDocumento.datiBollo.importoBollo.text, QStringLiteral("2.00"));
    }

    // The command line exports what the dialog would, reading the same settings and company file.
    void theCommandLineExportsAYearAndReportsWhatItCannot()
    {
        ExportFixture f;
        f.invoices.open();
        f.addInvoice();
        f.addInvoice(QStringLiteral("Reso Srl"), QStringLiteral("12345678903"), QString(), 22,
                     {{"Reso", -5}});
        f.addInvoice();
        f.addInvoice();
        {
            business::BusinessFile file(dataDirectory(f.env));
            einvoice::BuyerDetails remembered;
            remembered.codiceDestinatario = QStringLiteral("M5UXCR1");
            business::BuyerBook(file).remember(QStringLiteral("12345678903"), QString(), remembered);
        }
        QProcess tool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), f.env.paths.settingsRoot());
        tool.setProcessEnvironment(environment);
        tool.start(QStringLiteral(QUILLIO_FATTURAPA_TOOL),
                   {"export", "--year", "2009", "--from", "1", "--to", "3", f.output.path()});
        QVERIFY(tool.waitForFinished(60000));
        const QString written = QString::fromUtf8(tool.readAllStandardOutput());
        const QString failed = QString::fromUtf8(tool.readAllStandardError());
        QCOMPARE(tool.exitCode(), 1);
        QCOMPARE(QDir(f.output.path()).entryList(QDir::Files),
                 (QStringList{"IT01234567897_00001.xml", "IT01234567897_00002.xml"}));
        QCOMPARE(written.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size(), 2);
        const QStringList failures = failed.split(QLatin1Char('\n')).filter(QStringLiteral("Fattura "));
        QCOMPARE(failures.size(), 1);
        QVERIFY2(failures[0].startsWith(QLatin1String("Fattura 2: ")) &&
                     failures[0].contains(QLatin1String("negativ")),
                 qPrintable(failed));
        const einvoice::FatturaDocument d =
            einvoice::FatturaXmlReader::read(
                readFile(f.output.filePath(QStringLiteral("IT01234567897_00002.xml"))))
                .document;
        QCOMPARE(d.datiGeneraliDocumento.numero.text, QStringLiteral("3"));
        QCOMPARE(d.datiTrasmissione.codiceDestinatario.text, QStringLiteral("M5UXCR1"));
        QCOMPARE(d.allegati.size(), 1);
    }

    void anInvoiceWithAProblemIsNotWritten()
    {
        ExportFixture f;
        f.invoices.open();
        f.addInvoice(QStringLiteral("Bianchi Giovanni S.n.c."), QStringLiteral("12345678903"), QString(), 22,
                     {{"Reso merce", -10}, {"Scrivania", 100}});
        f.window.StpFatturaElettronica1Click();
        QVERIFY(!f.dialog().BT_Esporta->isEnabled());
        QVERIFY2(problemText(f.dialog()).contains(QLatin1String("riga 1")),
                 qPrintable(problemText(f.dialog())));
        f.dialog().BT_EsportaClick();
        QVERIFY(f.dialog().writtenFile().isEmpty());
        QVERIFY(QDir(f.output.path()).isEmpty());
    }
};

QTEST_MAIN(TestElectronicInvoice)
#include "tst_electronicinvoice.moc"
