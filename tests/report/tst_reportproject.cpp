#include "AccessibleText.h"
#include "PdfText.h"
#include "ScriptedOutputChooser.h"
#include "TestEnvironment.h"
#include "UnexpectedWarnings.h"
#include "report/OutputOptionsDialog.h"
#include "report/PageOutput.h"
#include "report/ReportError.h"
#include "report/ReportLayouter.h"
#include "report/ReportPreviewWindow.h"
#include "report/ReportProject.h"
#include "report/ReportStatusWindow.h"
#include "report/ReportSystem.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace quillio;
using namespace quillio::report;
using report::test::ScriptedOutputChooser;

namespace {

// A report of `pages` pages, each saying which it is, and a line with the customer's name.
QByteArray pagesLayout(int pages, const QByteArray& name = "Prova")
{
    QByteArray body;
    for (int page = 1; page <= pages; ++page)
        body += "<page><text x=\"20\" y=\"20\" width=\"150\" height=\"10\">Pagina " +
                QByteArray::number(page) + " di ${Ragione_Sociale}</text></page>";
    return "<reports><report name=\"" + name + "\">" + body + "</report></reports>";
}

bool writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

QString errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const QuillioError& error) {
        return error.text();
    }
    return QStringLiteral("<no error>");
}

struct Fixture
{
    quillio::test::TestEnvironment env;
    ScriptedOutputChooser chooser;
    QTemporaryDir dir;
    ReportSystem system;
    ReportProject project{system};
    QStringList statusLines;

    explicit Fixture(int pages = 1)
    {
        writeFile(layoutPath(), pagesLayout(pages));
        project.setProjectFile(layoutPath());
        project.setParameter(QStringLiteral("Ragione_Sociale"), QStringLiteral("Zanella Luca"));
        QObject::connect(&system, &ReportSystem::statusWindowShown, [this](ReportStatusWindow* status) {
            // What assistive technology reads of the status line, which must be the line itself.
            QObject::connect(status, &ReportStatusWindow::stepShown, [this, status] {
                statusLines.append(quillio::test::accessibleText(status->findChild<QLabel*>("StatusLine")));
            });
        });
    }
    QString layoutPath() const { return dir.filePath(QStringLiteral("Prova.qrl")); }
    QString pdfPath() const { return dir.filePath(QStringLiteral("uscita.pdf")); }
};

} // namespace

class TestReportProject : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void missingFileIsReportedAndTheNextOpenTriesAgain()
    {
        Fixture f;
        const QString folder = f.dir.filePath(QStringLiteral("Report"));
        const QString doubled = f.dir.path() + QStringLiteral("//Report//ModFatturaBase.qrl");
        f.project.setProjectFile(doubled);
        const QString message =
            QStringLiteral("The following reporting project does not exist:\n\"%1\"")
                .arg(QDir::toNativeSeparators(folder + QStringLiteral("/ModFatturaBase.qrl")));
        QCOMPARE(errorOf([&] { f.project.open(); }), message);
        QVERIFY(!f.project.isOpen());

        QVERIFY(QDir().mkpath(folder));
        QVERIFY(writeFile(folder + QStringLiteral("/ModFatturaBase.qrl"), pagesLayout(1)));
        f.project.open();
        QVERIFY(f.project.isOpen());
        f.project.close();

        QVERIFY(QFile::remove(folder + QStringLiteral("/ModFatturaBase.qrl")));
        QCOMPARE(errorOf([&] { f.project.execute(); }), message);
        QVERIFY(f.chooser.requests.isEmpty());
    }

    void openLoadsOnceAndCloseDropsTheLayout()
    {
        Fixture f;
        f.project.open();
        QVERIFY(writeFile(f.layoutPath(), pagesLayout(1, "Nuovo")));
        f.project.open();
        QCOMPARE(f.project.layout().activeReport().name, QStringLiteral("Prova"));
        f.project.close();
        f.project.open();
        QCOMPARE(f.project.layout().activeReport().name, QStringLiteral("Nuovo"));

        // A file that turned bad fails at the next open with the parser's own message.
        QVERIFY(writeFile(f.layoutPath(), "<reports><report name=\"R\">"));
        f.project.close();
        QVERIFY(errorOf([&] { f.project.open(); }).startsWith(QStringLiteral("Invalid report layout")));
        QVERIFY(!f.project.isOpen());
    }

    void parametersIgnoreCaseAndEmptyTextRemoves()
    {
        Fixture f;
        f.project.setParameter(QStringLiteral("CF"), QStringLiteral("04512870263"));
        f.project.setParameter(QStringLiteral("cf"), QStringLiteral("ZNLLCU71"));
        QCOMPARE(f.project.parameters().value(QStringLiteral("Cf")), QStringLiteral("ZNLLCU71"));
        QCOMPARE(f.project.parameters().size(), 2);
        f.project.close();
        QVERIFY(f.project.parameters().contains(QStringLiteral("CF")));
        f.project.setParameter(QStringLiteral("cF"), QString());
        QVERIFY(!f.project.parameters().contains(QStringLiteral("CF")));
        QCOMPARE(f.project.parameters().size(), 1);
    }

    void fileOutputWritesEveryPage()
    {
        Fixture f(2);
        f.chooser.answers = {ScriptedOutputChooser::to(Destination::File)};
        f.env.files.answer = f.pdfPath();
        f.project.execute();

        QCOMPARE(f.chooser.requests.size(), 1);
        QCOMPARE(f.chooser.requests[0].title, QStringLiteral("Output Options"));
        QCOMPARE(f.chooser.requests[0].preselected.destination, Destination::Preview);
        QCOMPARE(f.statusLines, (QStringList{"Generating page 1", "Generating page 2"}));
        const QString text = report::test::pdfText(f.pdfPath());
        QCOMPARE(report::test::positionsInOrder(
                     text, {"Pagina 1 di Zanella Luca", "\f", "Pagina 2 di Zanella Luca"})
                     .contains(-1),
                 false);
    }

    void givingUpOutputsNothing_data()
    {
        QTest::addColumn<bool>("cancelOptions");
        QTest::newRow("output options cancelled") << true;
        QTest::newRow("file name not given") << false;
    }

    void givingUpOutputsNothing()
    {
        QFETCH(bool, cancelOptions);
        Fixture f;
        if (!cancelOptions)
            f.chooser.answers = {ScriptedOutputChooser::to(Destination::File)};
        f.project.execute();
        QCOMPARE(f.chooser.requests.size(), 1);
        QCOMPARE(f.env.files.captions.size(), cancelOptions ? 0 : 1);
        QVERIFY(f.statusLines.isEmpty());
        QVERIFY(f.env.modal.shown.isEmpty());
        QVERIFY(QDir(f.dir.path()).entryList({QStringLiteral("*.pdf")}).isEmpty());
    }

    void cancelInTheStatusWindowStopsAtTheNextPage()
    {
        Fixture f(3);
        f.chooser.answers = {ScriptedOutputChooser::to(Destination::File)};
        f.env.files.answer = f.pdfPath();
        QObject::connect(&f.system, &ReportSystem::statusWindowShown, [](ReportStatusWindow* status) {
            QCOMPARE(status->windowTitle(), QStringLiteral("Report Status"));
            QObject::connect(status, &ReportStatusWindow::stepShown, [status](const QString& line) {
                if (line == QStringLiteral("Generating page 2"))
                    QTest::mouseClick(status->cancelButton(), Qt::LeftButton);
            });
        });
        f.project.execute();
        QCOMPARE(f.statusLines, (QStringList{"Generating page 1", "Generating page 2"}));
        QVERIFY(!QFile::exists(f.pdfPath()));
    }

    void previewIsModalMaximizedAt100AndPrintsThroughTheOutputPath()
    {
        Fixture f(2);
        OutputOptions preview = ScriptedOutputChooser::to(Destination::Preview);
        f.chooser.answers = {preview, ScriptedOutputChooser::to(Destination::File)};
        f.env.files.answer = f.pdfPath();
        f.project.execute();

        QCOMPARE(f.env.modal.shown.size(), 1);
        auto* window = qobject_cast<ReportPreviewWindow*>(f.env.modal.shown[0].data());
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("Report Preview"));
        QVERIFY(window->windowState() & Qt::WindowMaximized);
        QCOMPARE(window->previewWidget()->zoomMode(), QPrintPreviewWidget::CustomZoom);
        QCOMPARE(window->previewWidget()->zoomFactor(), 1.0);
        window->previewWidget()->updatePreview();
        QCOMPARE(window->previewWidget()->pageCount(), 2);

        window->printAction()->trigger();
        QCOMPARE(f.chooser.requests.size(), 2);
        QCOMPARE(f.chooser.requests[1].preselected.destination, Destination::Printer);
        QVERIFY(!f.chooser.requests[1].previewAllowed);
        QVERIFY(report::test::pdfText(f.pdfPath()).contains(QStringLiteral("Pagina 2 di Zanella Luca")));
        QVERIFY(f.env.transcript.entries().isEmpty());

        window->close();
        QTRY_VERIFY(f.env.modal.shown[0].isNull());
    }

    void faultWhileWritingIsReportedNotSwallowed()
    {
        Fixture f;
        f.chooser.answers = {ScriptedOutputChooser::to(Destination::File)};
        f.env.files.answer = f.dir.filePath(QStringLiteral("no/such/folder/uscita.pdf"));
        QVERIFY(errorOf([&] { f.project.execute(); }).startsWith(QStringLiteral("The file \"")));
    }

    void printerWithoutCopiesGetsThePagesAgain_data()
    {
        QTest::addColumn<int>("copies");
        QTest::addColumn<bool>("collate");
        QTest::addColumn<QStringList>("pages");
        QTest::newRow("one copy") << 1 << true << QStringList{"1", "2"};
        QTest::newRow("two collated") << 2 << true << QStringList{"1", "2", "1", "2"};
        QTest::newRow("two not collated") << 2 << false << QStringList{"1", "1", "2", "2"};
    }

    void printerWithoutCopiesGetsThePagesAgain()
    {
        QFETCH(int, copies);
        QFETCH(bool, collate);
        QFETCH(QStringList, pages);
        Fixture f(2);
        f.project.open();
        const LaidOutDocument document =
            ReportLayouter::layOut(f.project.layout().activeReport(), f.project.parameters());
        // A file printer makes no copies of its own, as many small printers.
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(f.pdfPath());
        QVERIFY(!printer.supportsMultipleCopies());
        OutputOptions options = ScriptedOutputChooser::to(Destination::Printer);
        options.copies = copies;
        options.collate = collate;
        QStringList printed;
        QVERIFY(PageOutput::toPrinter(printer, document, options, QStringLiteral("Quillio Report"), 1, 1,
                                      [&](int page) { return printed.append(QString::number(page)), true; }));
        QCOMPARE(printer.docName(), QStringLiteral("Quillio Report"));
        QCOMPARE(printed.size(), pages.size());
        QStringList found;
        for (const QString& page : report::test::pdfText(f.pdfPath()).split(u'\f', Qt::SkipEmptyParts))
            if (page.contains(QStringLiteral("Pagina")))
                found.append(page.trimmed().section(u' ', 1, 1));
        QCOMPARE(found, pages);
    }
};

QTEST_MAIN(TestReportProject)
#include "tst_reportproject.moc"
