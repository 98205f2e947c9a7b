#include "AccessibleText.h"
#include "SvgPicture.h"
#include "TestEnvironment.h"
#include "UnexpectedWarnings.h"
#include "app/BannerPicture.h"
#include "app/ClockText.h"
#include "app/Program.h"
#include "app/TFF_About.h"
#include "app/TFMain.h"
#include "archive/PendingRecords.h"
#include "archive/TFDB.h"
#include "backupwindows/TFCopiaSicurezza.h"
#include "backupwindows/TFEsportaCommercialista.h"
#include "backupwindows/TFRipristinaCopia.h"
#include "company/TFDatiAzienda.h"
#include "customers/TFRubrica.h"
#include "dbcontrols/RecordWindow.h"
#include "drafts/TFBozze.h"
#include "invoices/TFFatture1.h"
#include "platform/Platform.h"
#include "widgets/ValueLabel.h"
#include "workingyear/TFCambioAnno.h"
#include "workingyear/TFCreaArchivio.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHelpEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QToolTip>
#include <QUrl>

using namespace quillio;
using Kind = test::Transcript::Kind;

namespace {

struct Started
{
    test::TestEnvironment env;
    app::Program program;
    app::TFMain& main = program.main();

    Started()
    {
        program.showMainWindow();
        env.transcript.clear();
    }
};

// The program's windows other than the main window that exist now.
QList<QWidget*> otherWindows(const QWidget& main)
{
    QList<QWidget*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget != &main && (qobject_cast<QMainWindow*>(widget) || qobject_cast<QDialog*>(widget)))
            windows << widget;
    return windows;
}

// A command of the main window and the accessor of the window it opens.
struct WindowCommand
{
    void (app::TFMain::*command)();
    QWidget& (*window)(app::Program&);
};

const QMap<QString, WindowCommand> windowCommands = {
    {"address book",
     {&app::TFMain::openAddressBook, [](app::Program& p) -> QWidget& { return p.rubrica(); }}},
    {"drafts", {&app::TFMain::openDrafts, [](app::Program& p) -> QWidget& { return p.bozze(); }}},
    {"invoices", {&app::TFMain::openInvoices, [](app::Program& p) -> QWidget& { return p.fatture(); }}},
    {"about", {&app::TFMain::showAbout, [](app::Program& p) -> QWidget& { return p.about(); }}},
    {"change year",
     {&app::TFMain::changeWorkingYear, [](app::Program& p) -> QWidget& { return p.cambioAnno(); }}},
    {"new archive",
     {&app::TFMain::createNewArchive, [](app::Program& p) -> QWidget& { return p.creaArchivio(); }}},
    {"company data",
     {&app::TFMain::editCompanyData, [](app::Program& p) -> QWidget& { return p.datiAzienda(); }}},
    {"backup", {&app::TFMain::backUp, [](app::Program& p) -> QWidget& { return p.copiaSicurezza(); }}},
    {"restore", {&app::TFMain::restoreCopy, [](app::Program& p) -> QWidget& { return p.ripristinaCopia(); }}},
    {"accountant export",
     {&app::TFMain::exportForAccountant,
      [](app::Program& p) -> QWidget& { return p.esportaCommercialista(); }}},
};

// Actions in order, "-" for a separator, one with a menu (a submenu, a drop-down button) as its
// caption followed by its entries.
QStringList itemsOf(const QList<QAction*>& actions)
{
    QStringList items;
    for (QAction* action : actions) {
        if (action->isSeparator())
            items << QStringLiteral("-");
        else if (action->menu())
            items << action->text() + QStringLiteral(" > ") +
                         itemsOf(action->menu()->actions()).join(QStringLiteral(", "));
        else
            items << action->text();
    }
    return items;
}

QStringList menuItems(QMenu* menu)
{
    return itemsOf(menu->actions());
}

QStringList toolbarItems(QToolBar* toolBar)
{
    return itemsOf(toolBar->actions());
}

bool writeFile(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("<html></html>") > 0;
}

dbcontrols::RecordWindow& recordWindow(app::Program& program, const QString& name)
{
    if (name == QLatin1String("address book"))
        return program.rubrica();
    if (name == QLatin1String("drafts"))
        return program.bozze();
    return program.fatture();
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void menusAndToolbarOfferEveryCommand()
    {
        Started s;
        const QList<QAction*> menus = s.main.menuBar()->actions();
        QCOMPARE(menus.size(), 3);
        QCOMPARE(menus[0]->text(), QStringLiteral("&Documenti"));
        QCOMPARE(menuItems(menus[0]->menu()), (QStringList{"&Bozze Fatture", "&Fattura", "-", "&Esci"}));
        QCOMPARE(menus[1]->text(), QStringLiteral("&Strumenti"));
        QCOMPARE(
            menuItems(menus[1]->menu()),
            (QStringList{"Rubrica Clienti", "-", "Cambio Anno", "Crea Nuovo Archivio", "-", "Dati Azienda",
                         "-", "Copia di sicurezza", "Ripristina copia", "Esporta per il commercialista"}));
        QCOMPARE(menus[2]->text(), QStringLiteral("?"));
        QCOMPARE(menuItems(menus[2]->menu()), (QStringList{"Guida", "About"}));

        QStringList buttons;
        for (QAction* action : s.main.ToolBar1->actions())
            if (QWidget* button = s.main.ToolBar1->widgetForAction(action);
                button && !action->text().isEmpty())
                buttons << button->accessibleName();
        QCOMPARE(buttons, (QStringList{"Bozza Fattura", "Fattura", "Rubrica", "Esci"}));
        QCOMPARE(s.main.ToolBar1->widgetForAction(s.main.TBEsci)->size(), QSize(39, 38));
    }

    void recordWindowsListEveryCommandInOrder_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("menuTitle");
        QTest::addColumn<QStringList>("menu");
        QTest::addColumn<QStringList>("toolbar");
        const QStringList editing{"&Nuovo", "&Modifica", "&Salva", "&Cancella", "&Annulla"};
        QTest::newRow("address book")
            << "address book"
            << "Rubrica" << editing + QStringList{"-", "&Esci"} << editing + QStringList{"-", "&Esci"};
        QTest::newRow("drafts") << "drafts"
                                << "DareAvere" << editing + QStringList{"-", "&Esci"}
                                << editing + QStringList{"-", "&Esci"};
        QTest::newRow("invoices") << "invoices"
                                  << "DareAvere"
                                  << editing + QStringList{"-", "&Stampa > Fattura, Fattura elettronica", "-",
                                                           "&Esci"}
                                  << editing + QStringList{"&Stampa > Stampa Fattura, Fattura elettronica",
                                                           "-", "&Esci"};
    }
    void recordWindowsListEveryCommandInOrder()
    {
        QFETCH(QString, window);
        QFETCH(QString, menuTitle);
        QFETCH(QStringList, menu);
        QFETCH(QStringList, toolbar);
        Started s;
        dbcontrols::RecordWindow& record = recordWindow(s.program, window);
        const QList<QAction*> menus = record.menuBar()->actions();
        QCOMPARE(menus.size(), 1);
        QCOMPARE(menus[0]->text(), menuTitle);
        QCOMPARE(menuItems(menus[0]->menu()), menu);
        QCOMPARE(toolbarItems(record.toolBar()), toolbar);
    }

    void toolbarShowsNoHints()
    {
        Started s;
        QWidget* button = s.main.ToolBar1->widgetForAction(s.main.TBRubrica);
        QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(button, &help);
        QVERIFY(!QToolTip::isVisible());
    }

    void clockShowsTheLongTimeWithoutZone()
    {
        Started s;
        s.env.clock.moment = QDateTime(QDate(2009, 3, 5), QTime(9, 7, 3));
        s.main.Timer1Timer();
        QCOMPARE(s.main.clockPanel->text(), QStringLiteral("09:07:03"));
        QCOMPARE(test::accessibleText(s.main.clockPanel), QStringLiteral("09:07:03"));
        QCOMPARE(test::accessibleText(s.main.clockPanel, QAccessible::Description),
                 QStringLiteral("Orologio"));
        QCOMPARE(s.main.Timer1.interval(), 1000);
        QVERIFY(s.main.Timer1.isActive());
    }

    // A real nested loop: the clock must keep ticking while a modal window waits for the person,
    // and assistive technology reads each new time. The window closes once the time has changed
    // twice.
    void clockTicksWhileAModalWindowIsOpen()
    {
        Started s;
        Platform::setClock(nullptr);
        QStringList heard;
        QDialog modal(&s.main);
        connect(&s.main.Timer1, &QTimer::timeout, &modal, [&] {
            const QString name = test::accessibleText(s.main.clockPanel);
            if (heard.isEmpty() || heard.last() != name)
                heard << name;
            if (heard.size() == 3)
                modal.accept();
        });
        QTimer::singleShot(10000, &modal, &QDialog::reject);
        QCOMPARE(modal.exec(), int(QDialog::Accepted));
        for (const QString& time : heard)
            QVERIFY2(QTime::fromString(time, app::ClockText::timeFormat()).isValid(), qPrintable(time));
    }

    void editorsOpenAtTheirSizeEveryTime()
    {
        Started s;
        s.main.openDrafts();
        QWidget& drafts = s.program.bozze();
        QVERIFY(drafts.isVisible());
        QCOMPARE(drafts.size(), app::TFMain::editorSize);
        QVERIFY(s.program.db().T_Bozze.isActive());
        drafts.resize(600, 500);
        drafts.close();
        s.main.openDrafts();
        QCOMPARE(drafts.size(), app::TFMain::editorSize);

        s.main.openInvoices();
        QCOMPARE(s.program.fatture().size(), app::TFMain::editorSize);
        QVERIFY(s.program.db().T_Fatture.isActive());
        QCOMPARE(s.env.transcript.texts(), QStringList());
    }

    void commandsShowTheirWindows()
    {
        Started s;
        s.main.openAddressBook();
        s.main.showAbout();
        s.main.changeWorkingYear();
        s.main.createNewArchive();
        QCOMPARE(s.env.modal.shown.size(), 4);
        QCOMPARE(s.env.modal.shown[0].data(), static_cast<QWidget*>(&s.program.rubrica()));
        QCOMPARE(s.env.modal.shown[1].data(), static_cast<QWidget*>(&s.program.about()));
        QVERIFY(s.program.db().T_Rubrica.isActive());
    }

    // The start builds the main window alone; each command makes its window at its first opening,
    // the one its accessor gives, and opens that same window again afterwards.
    void eachWindowIsMadeOnceWhenFirstOpened_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString& name : windowCommands.keys())
            QTest::newRow(qPrintable(name)) << name;
    }
    void eachWindowIsMadeOnceWhenFirstOpened()
    {
        QFETCH(QString, name);
        const WindowCommand command = windowCommands.value(name);
        Started s;
        QCOMPARE(otherWindows(s.main), QList<QWidget*>());
        (s.main.*command.command)();
        const QList<QWidget*> made = otherWindows(s.main);
        QCOMPARE(made.size(), 1);
        QCOMPARE(&command.window(s.program), made.first());
        QCOMPARE(s.env.modal.shown.size(), 1);
        QCOMPARE(s.env.modal.shown[0].data(), made.first());
        made.first()->close();
        (s.main.*command.command)();
        QCOMPARE(otherWindows(s.main), made);
        QCOMPARE(s.env.modal.shown.size(), 2);
        QCOMPARE(s.env.modal.shown[1].data(), made.first());
    }

    // The banner is drawn on a worker thread: a paint right after it is made must already show the
    // whole picture, as drawn directly.
    void bannerShowsInTheFirstPaint()
    {
        const QString path = QStringLiteral(":/banner.svg");
        const QSize size(495, 154);
        app::BannerPicture banner(path, size);
        const QImage shown = banner.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage drawn = SvgPicture::image(path, size, 1).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown, drawn);
        QVERIFY(drawn.pixel(10, 10) != drawn.pixel(10, 110));
    }

    void tableThatCannotOpenShowsTheErrorAndNoWindow()
    {
        Started s;
        QVERIFY(QFile::remove(s.env.paths.programDir() + QStringLiteral("2009/Fatture.DB")));
        s.main.openInvoices();
        QCOMPARE(s.env.modal.shown.size(), 0);
        QCOMPARE(s.env.transcript.texts(Kind::Error).size(), 1);
        QVERIFY(!s.program.fatture().isVisible());
        s.main.openDrafts();
        QCOMPARE(s.env.modal.shown.size(), 1);
    }

    void exitWithNothingPendingAsksNothing()
    {
        Started s;
        s.main.openDrafts();
        s.program.db().T_Bozze.append(); // a new record nobody changed
        s.main.TBEsci->trigger();
        QVERIFY(!s.main.isVisible());
        QCOMPARE(s.env.transcript.texts(), QStringList());
    }

    void exitWithAChangedPendingRecordAsks_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes ends") << true;
        QTest::newRow("no stays") << false;
    }
    void exitWithAChangedPendingRecordAsks()
    {
        QFETCH(bool, yes);
        Started s;
        s.main.openAddressBook();
        engine::Table& table = s.program.db().T_Rubrica;
        table.append();
        table.setFieldValue(QStringLiteral("Ragione_Sociale"), QStringLiteral("Rossi"));
        s.program.rubrica().close();
        s.env.messages.answerNext(yes);
        s.main.Esci1->trigger();
        QCOMPARE(s.env.transcript.texts(Kind::Confirm), QStringList{archive::PendingRecords::question});
        QCOMPARE(s.env.messages.lastDefault(), Messages::Default::No);
        QCOMPARE(s.main.isVisible(), !yes);
    }

    // The guide opens from the build tree first, else from the installation, and only as the
    // local file; with no guide at all nothing is opened and the person is told where it was sought.
    void guideOpensTheLocalIndex_data()
    {
        QTest::addColumn<bool>("besideProgram");
        QTest::addColumn<bool>("installed");
        QTest::newRow("build tree") << true << false;
        QTest::newRow("installation") << false << true;
        QTest::newRow("both: the build tree wins") << true << true;
        QTest::newRow("no guide") << false << false;
    }

    void guideOpensTheLocalIndex()
    {
        QFETCH(bool, besideProgram);
        QFETCH(bool, installed);
        Started s;
        const QString inBuildTree = s.env.paths.programDir() + QStringLiteral("guida/index.html");
        const QString inInstallation =
            s.env.paths.root() + QStringLiteral("/share/doc/quillio/guida/index.html");
        if (besideProgram)
            QVERIFY(writeFile(inBuildTree));
        if (installed)
            QVERIFY(writeFile(inInstallation));

        s.main.Guida1->trigger();

        if (!besideProgram && !installed) {
            QCOMPARE(s.env.shell.opened, QList<QUrl>());
            QCOMPARE(s.env.transcript.texts(), QStringList{app::TFMain::guideMissing()});
            QVERIFY(app::TFMain::guideMissing().contains(inBuildTree));
            QVERIFY(app::TFMain::guideMissing().contains(inInstallation));
            return;
        }
        const QString expected = besideProgram ? inBuildTree : inInstallation;
        QCOMPARE(s.env.shell.opened, QList<QUrl>{QUrl::fromLocalFile(expected)});
        QCOMPARE(s.env.shell.opened.first().scheme(), QStringLiteral("file"));
        QCOMPARE(s.env.transcript.texts(), QStringList());
    }

    void versionShownIsTheProjectVersion()
    {
        Started s;
        s.main.showAbout();
        const QString shown = QStringLiteral("Ver. ") + QStringLiteral(QUILLIO_PROJECT_VERSION);
        QCOMPARE(s.main.findChild<QLabel*>(QStringLiteral("Label1"))->text(), shown);
        QCOMPARE(s.program.about().findChild<QLabel*>(QStringLiteral("Label1"))->text(), shown);
    }

    void aboutBoxClosesWithOk()
    {
        Started s;
        s.main.showAbout();
        app::TFF_About& about = s.program.about();
        QVERIFY(about.isVisible());
        QTest::mouseClick(about.OKButton, Qt::LeftButton);
        QVERIFY(!about.isVisible());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
