// Renders the program's windows, filled with sample records, into PNG files for the documentation
// and the guide, and the first page of the stored invoice as the print command lays it out.
// Usage: quillio-screenshots OUTPUT_DIR   (run under xvfb-run, or with QT_QPA_PLATFORM=offscreen)
#include "DataDirectory.h"
#include "SampleCompany.h"
#include "SampleCustomers.h"
#include "TestEnvironment.h"
#include "app/Program.h"
#include "app/TFF_About.h"
#include "app/TFMain.h"
#include "archive/TFDB.h"
#include "backup/AutomaticBackupRunner.h"
#include "backupwindows/TFCopiaSicurezza.h"
#include "backupwindows/TFEsportaCommercialista.h"
#include "backupwindows/TFRipristinaCopia.h"
#include "company/TFDatiAzienda.h"
#include "config/Settings.h"
#include "config/SettingsKey.h"
#include "config/SettingsStore.h"
#include "customers/TFRubrica.h"
#include "dbcontrols/DBComboBox.h"
#include "dbcontrols/DBEdit.h"
#include "dbcontrols/DBGrid.h"
#include "dbcontrols/DBMemo.h"
#include "drafts/TFBozze.h"
#include "invoices/InvoicePrintParameters.h"
#include "invoices/TFFatturaElettronica.h"
#include "invoices/TFFatture1.h"
#include "platform/Platform.h"
#include "recordbody/LineSlots.h"
#include "recordbody/RecordPanel.h"
#include "report/DisplayListPainter.h"
#include "report/OutputOptionsDialog.h"
#include "report/ReportLayouter.h"
#include "report/ReportProject.h"
#include "report/ReportSystem.h"
#include "workingyear/TFCambioAnno.h"
#include "workingyear/TFCreaArchivio.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace quillio;

namespace {

void save(QWidget& window, const QString& dir, const QString& name)
{
    QApplication::processEvents();
    window.grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

void addCustomers(engine::Table& table)
{
    table.open();
    for (const test::SampleCustomer& customer : test::SampleCustomers::all()) {
        table.append();
        table.setFieldValue("Ragione_Sociale", customer.name);
        table.setFieldValue("Via", customer.street);
        table.setFieldValue("Citta", customer.town);
        table.setFieldValue("Cap", customer.postCode);
        table.setFieldValue("Telefono", customer.phone);
        table.setFieldValue("Cellulare", customer.mobile);
        table.setFieldValue("Riferimento", customer.contact);
        table.setFieldValue("PIva", "01234567890");
        table.setFieldValue("EMail", "info@example.it");
        table.setFieldValue("Sito", "www.example.it");
        table.setFieldValue("Tipo", "Cliente");
        table.post();
    }
    table.close();
}

void typeInto(QWidget* field, const QString& text)
{
    field->setFocus();
    QTest::keyClicks(field, text);
}

void fillDraft(drafts::TFBozze& bozze)
{
    recordbody::RecordPanel& panel = *bozze.PanelScheda;
    typeInto(panel.Ragione_Sociale, test::SampleCustomers::all().first().name);
    typeInto(panel.edit("Testo02"),
             QStringLiteral("Fornitura e posa in opera come da preventivo n. 14/2009"));
    const QStringList lines[] = {
        {"Scrivania in noce con cassettiera", "1250"},
        {"Sedie ergonomiche (4 pezzi)", "680.5"},
        {"Libreria a muro su misura", "2100"},
        {"Trasporto e montaggio", "180"},
        {"Sconto concordato", "-150"},
    };
    int slot = 1;
    for (const QStringList& line : lines) {
        typeInto(panel.edit(recordbody::LineSlots::description(slot)), line[0]);
        typeInto(panel.edit(recordbody::LineSlots::amount(slot)), line[1]);
        ++slot;
    }
    typeInto(panel.Condizioni, QStringLiteral("Bonifico bancario a 30 giorni data fattura"));
    QTest::keyClick(panel.Condizioni, Qt::Key_Return);
    QTest::keyClicks(panel.Condizioni, QStringLiteral("IBAN IT60 X054 2811 1010 0000 0123 456"));
    typeInto(panel.edit("Desc07"), QString());
}

// The company's data typed into their dialog and stored, as a person does once.
void enterCompanyData(app::Program& program, const QString& out)
{
    program.main().editCompanyData();
    company::TFDatiAzienda& dialog = program.datiAzienda();
    dialog.fill(test::SampleCompany::seller());
    save(dialog, out, QStringLiteral("company-data"));
    dialog.BT_Salva->click();
}

// The stored invoice's electronic invoice, as the dialog shows it before it is exported.
void showElectronicInvoice(invoices::TFFatture1& fatture, const QString& out, const QString& name)
{
    fatture.StpFatturaElettronica1Click();
    invoices::TFFatturaElettronica& dialog = fatture.electronicInvoiceDialog();
    QTest::keyClicks(dialog.CodiceDestinatario, QStringLiteral("M5UXCR1"));
    QTest::keyClicks(dialog.Provincia, QStringLiteral("MI"));
    save(dialog, out, name);
    dialog.close();
}

// The corrected invoice's file, without the attached page so it reads easily, beside the pictures.
void exportExample(invoices::TFFatture1& fatture, const QString& out)
{
    test::ScriptedFiles& files = static_cast<test::ScriptedFiles&>(Platform::files());
    QTemporaryDir folder;
    files.folderAnswer = folder.path();
    fatture.StpFatturaElettronica1Click();
    invoices::TFFatturaElettronica& dialog = fatture.electronicInvoiceDialog();
    QTest::keyClicks(dialog.CodiceDestinatario, QStringLiteral("M5UXCR1"));
    QTest::keyClicks(dialog.Provincia, QStringLiteral("MI"));
    dialog.AllegaPdf->setChecked(false);
    dialog.BT_EsportaClick();
    const QString example = QDir(out).filePath(QStringLiteral("electronic-invoice-example.xml"));
    QFile::remove(example);
    QFile::copy(dialog.writtenFile(), example);
}

// What the problems of the first screenshot ask for: the buyer's real numbers, the discount
// taken off the line instead of a negative line, the current rate.
void correctInvoice(invoices::TFFatture1& fatture)
{
    // Typing reaches the fields, and leaving them writes the record, only in the active window.
    QApplication::setActiveWindow(&fatture);
    fatture.Modifica1Click();
    recordbody::RecordPanel& panel = *fatture.PanelScheda;
    // Select what the field holds and type over it, as a person does.
    const auto retype = [](QLineEdit* field, const QString& text) {
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    };
    retype(panel.edit("PIVA"), QStringLiteral("12345678903"));
    retype(panel.edit("CF"), QString());
    retype(panel.edit("Desc05"), QString());
    retype(panel.edit("Costo05"), QString());
    retype(panel.edit("IVA"), QStringLiteral("22"));
    panel.edit("Desc06")->setFocus();
    fatture.Salva1Click();
}

// A message as the program's message box shows it.
void saveMessage(const QString& dir, const QString& name, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, Platform::title(), text, QMessageBox::Ok);
    box.show();
    save(box, dir, name);
}

void saveYearDialogs(app::Program& program, const QString& out)
{
    program.main().changeWorkingYear();
    save(program.cambioAnno(), out, QStringLiteral("change-year"));
    program.cambioAnno().BT_AnnullaClick();
    program.main().createNewArchive();
    program.creaArchivio().Edit1->setText(QStringLiteral("2010"));
    save(program.creaArchivio(), out, QStringLiteral("new-archive"));
    program.creaArchivio().BT_AnnullaClick();
}

void saveOutputOptions(const QString& out)
{
    report::ReportSystem system;
    report::OutputOptionsDialog dialog({system.settings.setupTitle, {}, true}, {});
    dialog.show();
    save(dialog, out, QStringLiteral("print-options"));
}

// The layout beside the program, copied into the sample's program directory.
void provideLayout(const QString& programDir)
{
    const QString layout = QStringLiteral("Report/ModFatturaBase.qrl");
    QDir(programDir).mkpath(QStringLiteral("Report"));
    QFile::copy(QDir(QCoreApplication::applicationDirPath()).filePath(layout), programDir + layout);
}

// The first page of the invoice the dataset stands on, laid out from the program's layout file.
void savePrintedInvoice(const engine::Dataset& invoice, const QString& out)
{
    report::ReportSystem system;
    report::ReportProject project(system);
    const QString pathPrg = config::Settings::programDirectory();
    project.setProjectFile(invoices::InvoicePrintParameters::layoutPath(pathPrg));
    project.open();
    for (const auto& [name, text] : invoices::InvoicePrintParameters::read(invoice))
        project.setParameter(name, text);
    const report::LaidOutDocument document =
        report::ReportLayouter::layOut(project.layout().activeReport(), project.parameters());
    const int dpi = 110;
    QImage page(document.pageLayout.fullRectPixels(dpi).size(), QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.setRenderHint(QPainter::Antialiasing);
    report::DisplayListPainter::paintPage(painter, document.pages.first(), dpi, dpi);
    painter.end();
    page.save(QDir(out).filePath(QStringLiteral("printed-invoice.png")));
}

// A quarter of invoices in the working year, one of them deleted, for the accountant's export.
void addQuarterOfInvoices(const QString& dataDirectory)
{
    const test::DataDirectory data(dataDirectory);
    const QStringList customers = test::SampleCustomers::names();
    for (int i = 0; i < 24; ++i) {
        const QString& customer = customers[i % customers.size()];
        data.addInvoice(QStringLiteral("2009"), {QDate(2009, 1 + i / 8, 2 + i),
                                                 customer,
                                                 i % 5 == 4 ? QString() : QStringLiteral("01234567897"),
                                                 i % 5 == 4 ? QStringLiteral("BNCGNN70A01L219K") : QString(),
                                                 {120.0 * (i + 1), 35.5},
                                                 i % 6 == 5 ? 10.0 : 20.0});
    }
    data.removeRecord(QStringLiteral("2009"), QStringLiteral("Fatture.DB"), 9);
}

// The three dialogs of the copies and of the accountant's export, and a page of the register.
void showBackupDialogs(app::Program& program, const QString& out)
{
    program.startAutomaticBackup();
    program.automaticBackup().waitForFinished();
    QApplication::processEvents();
    program.main().backUp();
    save(program.copiaSicurezza(), out, QStringLiteral("backup"));
    program.copiaSicurezza().close();

    program.main().restoreCopy();
    program.ripristinaCopia().LB_Copie->setCurrentRow(0);
    save(program.ripristinaCopia(), out, QStringLiteral("restore"));
    program.ripristinaCopia().close();

    QTemporaryDir folder;
    static_cast<test::ScriptedFiles&>(Platform::files()).folderAnswer = folder.path();
    program.main().exportForAccountant();
    backupwindows::TFEsportaCommercialista& dialog = program.esportaCommercialista();
    dialog.SE_Anno->setValue(2009);
    dialog.CB_AlMese->setCurrentIndex(2);
    dialog.BT_Esporta->click();
    save(dialog, out, QStringLiteral("accountant-export"));
    dialog.close();
    QProcess::execute(QStringLiteral("pdftoppm"), {"-png", "-r", "70", "-f", "1", "-l", "1", "-singlefile",
                                                   QDir(folder.path()).filePath("Registro-IVA-2009.pdf"),
                                                   QDir(out).filePath("sales-register")});
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots");
    QDir().mkpath(out);
    test::TestEnvironment env;
    env.clock.moment = QDateTime::currentDateTime();
    provideLayout(env.paths.programDir());
    saveMessage(out, QStringLiteral("first-start"), QStringLiteral("CONFIGURAZIONE ASSENTE"));
    app::Program program;
    program.main().resize(1280, 800);
    program.main().show();
    program.main().Timer1Timer();
    addCustomers(program.db().T_Rubrica);
    save(program.main(), out, QStringLiteral("main-window"));

    program.main().showAbout();
    save(program.about(), out, QStringLiteral("about"));
    program.about().close();

    customers::TFRubrica& rubrica = program.rubrica();
    program.main().openAddressBook();
    QApplication::setActiveWindow(&rubrica);
    rubrica.DBGrid1->setFocus();
    save(rubrica, out, QStringLiteral("address-book-browse"));
    rubrica.Modifica1Click();
    save(rubrica, out, QStringLiteral("address-book-edit"));
    rubrica.Annulla1Click();
    rubrica.Esci1Click();

    drafts::TFBozze& bozze = program.bozze();
    program.main().openDrafts();
    QApplication::setActiveWindow(&bozze);
    save(bozze, out, QStringLiteral("drafts-browse-empty"));
    bozze.Nuovo1Click();
    fillDraft(bozze);
    save(bozze, out, QStringLiteral("drafts-edit"));
    bozze.Salva1Click();
    save(bozze, out, QStringLiteral("drafts-browse"));
    bozze.Esci1Click();

    invoices::TFFatture1& fatture = program.fatture();
    program.main().openInvoices();
    QApplication::setActiveWindow(&fatture);
    fatture.Nuovo1Click();
    save(fatture, out, QStringLiteral("invoice-picker"));
    fatture.BT_SelezionaClick();
    typeInto(fatture.PanelScheda->edit("CF"), QStringLiteral("RSSPLA70A01F205X"));
    fatture.Salva1Click();
    save(fatture, out, QStringLiteral("invoice-browse"));
    savePrintedInvoice(program.db().T_Fatture, out);
    saveOutputOptions(out);

    enterCompanyData(program, out);
    showElectronicInvoice(fatture, out, QStringLiteral("electronic-invoice-problems"));
    correctInvoice(fatture);
    showElectronicInvoice(fatture, out, QStringLiteral("electronic-invoice"));
    exportExample(fatture, out);
    fatture.Esci1Click();

    saveYearDialogs(program, out);

    const QString programDir = Platform::paths().programDir();
    QDir().mkpath(programDir + QStringLiteral("Report"));
    QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/Report/RegistroIVA.qrl"),
                programDir + QStringLiteral("Report/RegistroIVA.qrl"));
    addQuarterOfInvoices(programDir);
    showBackupDialogs(program, out);
    return 0;
}
