#include "TestEnvironment.h"
#include "UnexpectedWarnings.h"
#include "report/OutputOptionsDialog.h"
#include "report/ReportPreviewWindow.h"
#include "report/ReportStatusWindow.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

using namespace quillio::report;

namespace {

OutputRequest request(Destination preselected, bool previewAllowed = true)
{
    OutputRequest request{QStringLiteral("Output Options"), {}, previewAllowed};
    request.preselected.destination = preselected;
    return request;
}

// Every control a person can reach has a name a screen reader can speak.
void checkAccessibleNames(const QWidget& window)
{
    QVERIFY(!window.accessibleName().isEmpty());
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        const bool interactive =
            qobject_cast<const QAbstractButton*>(control) || qobject_cast<const QAbstractSpinBox*>(control) ||
            qobject_cast<const QComboBox*>(control) || qobject_cast<const QPrintPreviewWidget*>(control);
        if (interactive && control->window() == &window && !control->inherits("QToolBarExtension"))
            QVERIFY2(!control->accessibleName().isEmpty(), control->metaObject()->className());
    }
}

} // namespace

class TestOutputOptions : public QObject
{
    Q_OBJECT

    quillio::test::TestEnvironment env;

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void choicesFollowTheDestinationAndThePrinters_data()
    {
        QTest::addColumn<QStringList>("printers");
        QTest::addColumn<int>("preselected");
        QTest::addColumn<bool>("previewAllowed");
        QTest::addColumn<int>("shown");
        QTest::addColumn<bool>("printerChoice");
        QTest::addColumn<bool>("printerSetup");
        QTest::addColumn<bool>("copies");

        const QStringList office{QStringLiteral("Ufficio"), QStringLiteral("Magazzino")};
        QTest::newRow("no printer, preview") << QStringList() << int(Destination::Preview) << true
                                             << int(Destination::Preview) << false << false << false;
        QTest::newRow("no printer, printer asked") << QStringList() << int(Destination::Printer) << true
                                                   << int(Destination::Preview) << false << false << false;
        QTest::newRow("no printer, from the preview") << QStringList() << int(Destination::Printer) << false
                                                      << int(Destination::File) << false << false << false;
        QTest::newRow("printers, preview") << office << int(Destination::Preview) << true
                                           << int(Destination::Preview) << true << true << false;
        QTest::newRow("printers, printer") << office << int(Destination::Printer) << false
                                           << int(Destination::Printer) << true << true << true;
        QTest::newRow("printers, file")
            << office << int(Destination::File) << true << int(Destination::File) << true << false << false;
    }

    void choicesFollowTheDestinationAndThePrinters()
    {
        QFETCH(QStringList, printers);
        QFETCH(int, preselected);
        QFETCH(bool, previewAllowed);
        QFETCH(int, shown);
        QFETCH(bool, printerChoice);
        QFETCH(bool, printerSetup);
        QFETCH(bool, copies);
        OutputOptionsDialog dialog(request(Destination(preselected), previewAllowed), printers);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Output Options"));
        QCOMPARE(int(dialog.options().destination), shown);
        QCOMPARE(dialog.printerChoice()->isEnabled(), printerChoice);
        QCOMPARE(dialog.previewChoice()->isEnabled(), previewAllowed);
        QCOMPARE(dialog.noPrinterNote()->isVisibleTo(&dialog), printers.isEmpty());
        QCOMPARE(dialog.printerSetupButton()->isEnabled(), printerSetup);
        QCOMPARE(dialog.copiesBox()->isEnabled(), copies);
        QCOMPARE(dialog.zoomBox()->isEnabled(), shown == int(Destination::Preview));
        checkAccessibleNames(dialog);
    }

    void switchingToFileDisablesPrinterSetup()
    {
        OutputOptionsDialog dialog(request(Destination::Printer), {QStringLiteral("Ufficio")});
        QVERIFY(dialog.printerSetupButton()->isEnabled());
        dialog.fileChoice()->setChecked(true);
        QVERIFY(!dialog.printerSetupButton()->isEnabled());
        QVERIFY(!dialog.copiesBox()->isEnabled());
        dialog.printerChoice()->setChecked(true);
        dialog.copiesBox()->setValue(3);
        QCOMPARE(dialog.options().destination, Destination::Printer);
        QCOMPARE(dialog.options().copies, 3);
        QCOMPARE(dialog.options().printerName, QStringLiteral("Ufficio"));
    }

    void statusAndPreviewWindowsSpeak()
    {
        ReportStatusWindow status(QStringLiteral("Report Status"));
        QVERIFY(status.showStep(QStringLiteral("Generating page 1")));
        QCOMPARE(status.line(), QStringLiteral("Generating page 1"));
        QCOMPARE(status.cancelButton()->text(), QStringLiteral("Cancel"));
        checkAccessibleNames(status);

        auto document = std::make_shared<LaidOutDocument>();
        document->pageLayout = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
        document->pages.append(LaidOutPage{});
        ReportPreviewWindow preview(document, QStringLiteral("Report Preview"), 100, [] {});
        checkAccessibleNames(preview);
    }
};

QTEST_MAIN(TestOutputOptions)
#include "tst_outputoptions.moc"
