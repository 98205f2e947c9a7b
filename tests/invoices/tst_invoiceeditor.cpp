#include "ScriptedOutputChooser.h"
#include "TestEnvironment.h"
#include "UnexpectedWarnings.h"
#include "app/Program.h"
#include "app/TFMain.h"
#include "archive/TFDB.h"
#include "dbcontrols/DBCheckBox.h"
#include "dbcontrols/DBComboBox.h"
#include "dbcontrols/DBEdit.h"
#include "dbcontrols/DBGrid.h"
#include "invoices/TFFatture1.h"
#include "platform/DefaultErrorHandler.h"
#include "recordbody/RecordPanel.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using namespace quillio;
using invoices::TFFatture1;
using Kind = test::Transcript::Kind;

namespace {

const QDate today(2009, 3, 5);

// A started program with drafts numbered 3, 5 and 9 (unless told otherwise), invoice window open.
struct InvoiceFixture
{
    test::TestEnvironment env;
    app::Program program;
    TFFatture1& window = program.fatture();
    engine::Table& invoices = program.db().T_Fatture;
    engine::Table& drafts = program.db().T_Bozze;

    explicit InvoiceFixture(bool withDrafts = true)
    {
        program.showMainWindow();
        if (withDrafts)
            addDrafts();
        env.transcript.clear();
        program.main().openInvoices();
        QApplication::setActiveWindow(&window);
    }

    // Drafts get the numbers 3, 5 and 9: the others are made and deleted.
    void addDrafts()
    {
        drafts.open();
        for (int number = 1; number <= 9; ++number) {
            drafts.append();
            drafts.setFieldValue("Ragione_Sociale", QStringLiteral("Cliente %1").arg(number));
            drafts.setFieldValue("Testo1", QStringLiteral("Testo %1").arg(number));
            drafts.setFieldValue("TotAut", number != 5);
            drafts.setFieldValue("Iva", number == 5 ? 22.0 : 20.0);
            drafts.setFieldValue("Condizioni", QStringLiteral("Riga uno\nRiga due"));
            for (int slot = 1; slot <= 20; ++slot) {
                drafts.setFieldValue(QStringLiteral("Desc%1").arg(slot, 2, 10, QLatin1Char('0')),
                                     QStringLiteral("Voce %1.%2").arg(number).arg(slot));
                drafts.setFieldValue(QStringLiteral("Costo%1").arg(slot, 2, 10, QLatin1Char('0')),
                                     slot * 1.5);
            }
            drafts.post();
        }
        drafts.first();
        while (!drafts.eof()) {
            const int number = drafts.fieldValue("OrdNum").toInt();
            if (number == 3 || number == 5 || number == 9)
                drafts.next();
            else
                drafts.remove();
        }
        drafts.close();
    }

    void chooseRow(int row)
    {
        window.Elenco_Bozze->setCurrentIndex(window.Elenco_Bozze->queryModel()->index(row, 1));
    }
    QVariant value(const char* field) const { return invoices.fieldValue(QLatin1String(field)); }
    // The default layout beside the (temporary) program, as the build puts it beside the real one.
    void installLayout() const
    {
        QDir(env.paths.programDir()).mkpath(QStringLiteral("Report"));
        QVERIFY(QFile::copy(QStringLiteral(QUILLIO_LAYOUT_DIR "/ModFatturaBase.qrl"),
                            env.paths.programDir() + QStringLiteral("Report/ModFatturaBase.qrl")));
    }
    bool printEnabled() const
    {
        return window.Stampa1->menuAction()->isEnabled() && window.TBStampa->isEnabled();
    }
};

} // namespace

class TestInvoiceEditor : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void newShowsThePickerOverTheStartingValues()
    {
        InvoiceFixture f;
        QCOMPARE(f.window.windowTitle(), QStringLiteral("Fatture"));
        QVERIFY(f.printEnabled());
        f.window.Nuovo1Click();
        QVERIFY(f.window.pickerShown());
        QVERIFY(!f.window.PanelScheda->isEnabled());
        QVERIFY(!f.printEnabled());
        QVERIFY(f.window.Salva1->isEnabled() && f.window.Annulla1->isEnabled());
        QVERIFY(!f.window.Nuovo1->isEnabled() && !f.window.Esci1->isEnabled());
        QCOMPARE(f.invoices.state(), engine::DatasetState::Insert);
        QCOMPARE(f.value("Data").toDate(), f.env.clock.today());
        QCOMPARE(f.value("Testo1").toString(), QStringLiteral("VS DARE PER"));
        QCOMPARE(f.program.db().QGEN.sql(), QStringList{TFFatture1::draftListQuery});
        QCOMPARE(f.window.Elenco_Bozze->queryModel()->rowCount(), 3);
        QCOMPARE(f.window.Elenco_Bozze->queryModel()->index(0, 0).data().toString(), QStringLiteral("3"));
    }

    void selezionaCopiesTheChosenDraft()
    {
        InvoiceFixture f;
        f.window.Nuovo1Click();
        f.chooseRow(1);
        f.window.BT_SelezionaClick();
        QVERIFY(!f.window.pickerShown());
        QVERIFY(f.window.PanelScheda->isEnabled());
        QCOMPARE(QApplication::focusWidget(), f.window.PanelScheda->Ragione_Sociale);
        QCOMPARE(f.value("Ragione_Sociale").toString(), QStringLiteral("Cliente 5"));
        QCOMPARE(f.value("Stato").toString(), QStringLiteral("IN COMPILAZIONE"));
        QCOMPARE(f.value("Data").toDate(), f.env.clock.today());
        QCOMPARE(f.value("Testo1").toString(), QStringLiteral("Testo 5"));
        QCOMPARE(f.value("Desc11").toString(), QStringLiteral("Voce 5.11"));
        QCOMPARE(f.value("Costo20").toDouble(), 30.0);
        QCOMPARE(f.value("TotAut").toBool(), false);
        QCOMPARE(f.value("Iva").toDouble(), 22.0);
        QCOMPARE(f.value("Condizioni").toString(), QStringLiteral("Riga uno\nRiga due"));
        QVERIFY(f.value("Via").isNull());
        QVERIFY(!f.drafts.isActive());

        f.window.Salva1Click();
        QCOMPARE(f.value("OrdNum").toInt(), 1);
        QCOMPARE(f.window.PanelScheda->edit("OrdNum")->text(), QStringLiteral("1"));
        QVERIFY(f.printEnabled());
        // The draft is only read.
        f.drafts.open();
        f.drafts.first();
        f.drafts.next();
        QCOMPARE(f.drafts.fieldValue("OrdNum").toInt(), 5);
        QCOMPARE(f.drafts.fieldValue("Ragione_Sociale").toString(), QStringLiteral("Cliente 5"));
        QCOMPARE(f.drafts.recordCount(), 3);
    }

    void pickerCancelKeepsTheStartingValues()
    {
        InvoiceFixture f;
        f.window.Nuovo1Click();
        f.window.BT_AnnullaClick();
        QVERIFY(!f.window.pickerShown());
        QVERIFY(f.window.PanelScheda->isEnabled());
        f.window.Salva1Click();
        QCOMPARE(f.value("OrdNum").toInt(), 1);
        QCOMPARE(f.value("Data").toDate(), f.env.clock.today());
        QCOMPARE(f.value("Testo1").toString(), QStringLiteral("VS DARE PER"));
        QCOMPARE(f.value("TotAut").toBool(), true);
        QCOMPARE(f.value("Iva").toDouble(), 20.0);
        QCOMPARE(f.value("Totale_Fattura").toDouble(), 0.0);
        QVERIFY(f.value("Stato").isNull());
    }

    void cancelAfterSelezionaLeavesTheTable()
    {
        InvoiceFixture f;
        f.window.Nuovo1Click();
        f.window.BT_SelezionaClick();
        f.window.Annulla1Click();
        QCOMPARE(f.invoices.recordCount(), 0);
        QVERIFY(f.printEnabled());
    }

    void editorSaveWhileThePickerIsShownPutsItAway()
    {
        InvoiceFixture f;
        f.window.Nuovo1Click();
        f.window.Salva1Click();
        QVERIFY(!f.window.pickerShown());
        QVERIFY(!f.window.Panel1->isEnabled());
        QCOMPARE(f.invoices.recordCount(), 1);
        // A later edit of that invoice cannot be overwritten by a draft any more.
        f.window.Modifica1Click();
        QVERIFY(!f.window.BT_Seleziona->isVisible());
        f.window.Annulla1Click();
    }

    void draftNotFoundCopiesNothing_data()
    {
        QTest::addColumn<bool>("withDrafts");
        QTest::newRow("empty draft table") << false;
        QTest::newRow("settings name another draft file") << true;
    }
    void draftNotFoundCopiesNothing()
    {
        QFETCH(bool, withDrafts);
        InvoiceFixture f(withDrafts);
        if (withDrafts)
            f.drafts.setTableName(QStringLiteral("Fatture.DB"));
        f.window.Nuovo1Click();
        f.window.BT_SelezionaClick();
        QCOMPARE(f.env.transcript.texts(Kind::Message), QStringList{TFFatture1::draftNotFound});
        QVERIFY(f.window.pickerShown());
        QCOMPARE(f.value("Iva").toDouble(), 20.0);
        QCOMPARE(f.value("Testo1").toString(), QStringLiteral("VS DARE PER"));
        QVERIFY(f.value("Stato").isNull());
    }

    void printIsOfferedOnlyWhileBrowsing()
    {
        InvoiceFixture f;
        f.installLayout();
        report::test::ScriptedOutputChooser chooser;
        f.window.Nuovo1Click();
        QVERIFY(!f.printEnabled());
        f.window.Annulla1Click();
        QVERIFY(f.printEnabled());
        f.window.Modifica1Click();
        QVERIFY(!f.printEnabled());
        f.window.Salva1Click();
        QVERIFY(f.printEnabled());
        // Both entries run the print command, which asks where the report goes.
        f.window.StpFattura1->trigger();
        f.window.PopMenu1->trigger();
        QCOMPARE(chooser.requests.size(), 2);
        QCOMPARE(chooser.requests.first().title, QStringLiteral("Output Options"));
        QCOMPARE(f.window.PopMenu1->text(), QStringLiteral("Stampa Fattura"));
        QCOMPARE(f.window.StpFattura1->text(), QStringLiteral("Fattura"));
    }

    void printToAFileWritesThePdf()
    {
        InvoiceFixture f;
        f.installLayout();
        f.window.Nuovo1Click();
        f.window.BT_SelezionaClick();
        f.window.Salva1Click();
        report::test::ScriptedOutputChooser chooser;
        chooser.answers << report::test::ScriptedOutputChooser::to(report::Destination::File);
        f.env.files.answer = f.env.paths.root() + QStringLiteral("/fattura.pdf");
        f.window.StpFattura1->trigger();
        QCOMPARE(f.env.transcript.texts(Kind::Error), QStringList());
        QVERIFY(QFileInfo(f.env.files.answer).size() > 1000);
        QCOMPARE(f.invoices.state(), engine::DatasetState::Browse);
    }

    void printWithoutLayoutSaysWhichFileIsMissing()
    {
        InvoiceFixture f;
        report::test::ScriptedOutputChooser chooser;
        f.window.StpFattura1->trigger();
        const QStringList errors = f.env.transcript.texts(Kind::Error);
        QCOMPARE(errors.size(), 1);
        QVERIFY2(
            errors.first().startsWith(QStringLiteral("The following reporting project does not exist:\n\"")),
            qPrintable(errors.first()));
        QVERIFY(chooser.requests.isEmpty());
    }

    void dateRules_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("stored");
        QTest::addColumn<QString>("error");
        QTest::newRow("dd/MM/yyyy") << "05/03/2009" << QDate(2009, 3, 5) << "";
        QTest::newRow("d/M/yyyy") << "5/3/2009" << QDate(2009, 3, 5) << "";
        QTest::newRow("two-digit year") << "1/2/09" << QDate(2009, 2, 1) << "";
        QTest::newRow("two-digit year, last century") << "1/2/75" << QDate(1975, 2, 1) << "";
        QTest::newRow("empty clears") << "" << QDate() << "";
        QTest::newRow("impossible") << "31/02/2009" << QDate(2009, 3, 5)
                                    << "'31/02/2009' is not a valid date";
        QTest::newRow("words") << "domani" << QDate(2009, 3, 5) << "'domani' is not a valid date";
    }
    void dateRules()
    {
        QFETCH(QString, typed);
        QFETCH(QDate, stored);
        QFETCH(QString, error);
        InvoiceFixture f;
        f.window.Nuovo1Click();
        f.window.BT_AnnullaClick();
        dbcontrols::DBEdit* date = f.window.PanelScheda->edit("Data");
        QCOMPARE(date->text(), QStringLiteral("05/03/2009"));
        date->setFocus();
        date->selectAll();
        QTest::keyClick(date, Qt::Key_Delete);
        QTest::keyClicks(date, typed);
        f.window.PanelScheda->edit("Stato")->setFocus();
        if (error.isEmpty()) {
            QCOMPARE(f.value("Data").toDate(), stored);
            QCOMPARE(QApplication::focusWidget(), f.window.PanelScheda->edit("Stato"));
        } else {
            QCOMPARE(QApplication::focusWidget(), date);
            QCOMPARE(date->selectedText(), typed);
            QTRY_COMPARE(f.env.transcript.texts(Kind::Error), QStringList{error});
            QCOMPARE(f.value("Data").toDate(), stored);
        }
    }

    void lookupRefreshesTheBlockAfterACopy()
    {
        InvoiceFixture f;
        engine::Table& customers = f.program.db().T_Rubrica;
        customers.open();
        customers.append();
        customers.setFieldValue("Ragione_Sociale", "Cliente 3");
        customers.setFieldValue("Via", "Via Nuova 3");
        customers.post();
        customers.close();
        f.window.Nuovo1Click();
        f.window.BT_SelezionaClick();
        f.window.PanelScheda->edit("Via")->setFocus();
        QCOMPARE(f.value("Via").toString(), QStringLiteral("Via Nuova 3"));
        QCOMPARE(f.value("CodRif").toInt(), 1);
        QCOMPARE(f.value("Stato").toString(), QStringLiteral("IN COMPILAZIONE"));
    }

    void tabFromTotAutReachesStatoThenData()
    {
        InvoiceFixture f;
        const auto nextTabStop = [](QWidget* widget) {
            do
                widget = widget->nextInFocusChain();
            while (!(widget->focusPolicy() & Qt::TabFocus));
            return widget;
        };
        QWidget* next = nextTabStop(f.window.PanelScheda->TotAut);
        QCOMPARE(next, f.window.PanelScheda->edit("Stato"));
        QCOMPARE(nextTabStop(next), f.window.PanelScheda->edit("Data"));
    }

    void deleteAsksFirst()
    {
        InvoiceFixture f;
        f.window.Nuovo1Click();
        f.window.Salva1Click();
        f.env.messages.answerNext(false);
        f.window.Cancella1Click();
        QCOMPARE(f.invoices.recordCount(), 1);
        f.env.messages.answerNext(true);
        f.window.Cancella1Click();
        QCOMPARE(f.invoices.recordCount(), 0);
        QCOMPARE(f.env.transcript.texts(Kind::Confirm).size(), 2);
    }
};

QTEST_MAIN(TestInvoiceEditor)
#include "tst_invoiceeditor.moc"
