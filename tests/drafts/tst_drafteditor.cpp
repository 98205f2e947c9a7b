#include "DraftFixture.h"
#include "UnexpectedWarnings.h"
#include "customers/TFRubrica.h"
#include "dbcontrols/DBCheckBox.h"
#include "dbcontrols/DBComboBox.h"
#include "dbcontrols/DBEdit.h"
#include "dbcontrols/DBNavigator.h"
#include "dbcontrols/FocusHighlight.h"
#include "engine/EngineError.h"
#include "engine/Session.h"
#include "engine/SortedColumn.h"
#include "platform/DefaultErrorHandler.h"
#include "recordbody/CustomerNameList.h"
#include "recordbody/RecordPanel.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace quillio;
using recordbody::RecordEditor;
using Kind = test::Transcript::Kind;

namespace {

dbcontrols::DBEdit* field(test::DraftFixture& f, const QString& name)
{
    return f.window.PanelScheda->edit(name);
}

QStringList nameList(test::DraftFixture& f)
{
    QStringList items;
    for (int i = 0; i < f.window.PanelScheda->Ragione_Sociale->count(); ++i)
        items << f.window.PanelScheda->Ragione_Sociale->itemText(i);
    return items;
}

void typeInto(QWidget* widget, const QString& text)
{
    widget->setFocus();
    QTest::keyClicks(widget, text);
}

void checkLayout(RecordEditor& w, RecordEditor::Layout layout)
{
    const bool edit = layout == RecordEditor::Layout::Edit;
    QCOMPARE(w.layout(), layout);
    QCOMPARE(w.Nuovo1->isEnabled(), !edit);
    QCOMPARE(w.Modifica1->isEnabled(), !edit);
    QCOMPARE(w.Cancella1->isEnabled(), !edit);
    QCOMPARE(w.Esci1->isEnabled(), !edit);
    QCOMPARE(w.Salva1->isEnabled(), edit);
    QCOMPARE(w.Annulla1->isEnabled(), edit);
    QCOMPARE(w.DBNavigator1->isEnabled(), !edit);
    QCOMPARE(w.PanelScheda->isEnabled(), edit);
}

} // namespace

class TestDraftEditor : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void newDraftHoldsTheDefaultsAndSavesAtOnce()
    {
        test::DraftFixture f;
        QCOMPARE(f.window.windowTitle(), QStringLiteral("Bozze"));
        checkLayout(f.window, RecordEditor::Layout::Browse);
        f.window.Nuovo1Click();
        checkLayout(f.window, RecordEditor::Layout::Edit);
        QCOMPARE(f.drafts.state(), engine::DatasetState::Insert);
        QCOMPARE(QApplication::focusWidget(), f.window.PanelScheda->Ragione_Sociale);
        QCOMPARE(field(f, "Testo01")->text(), QStringLiteral("VS DARE PER"));
        QCOMPARE(field(f, "IVA")->text(), QStringLiteral("20"));
        QCOMPARE(field(f, "Totale_Fattura")->text(), QStringLiteral("0"));
        QVERIFY(f.window.PanelScheda->TotAut->isChecked());
        QVERIFY(field(f, "OrdNum")->text().isEmpty());

        f.window.Salva1Click();
        checkLayout(f.window, RecordEditor::Layout::Browse);
        QCOMPARE(f.drafts.fieldValue("OrdNum").toInt(), 1);
        QCOMPARE(field(f, "OrdNum")->text(), QStringLiteral("1"));
        QCOMPARE(f.drafts.fieldValue("Testo1").toString(), QStringLiteral("VS DARE PER"));
        QCOMPARE(f.drafts.fieldValue("TotAut").toBool(), true);
        QCOMPARE(f.drafts.fieldValue("Iva").toDouble(), 20.0);
        QVERIFY(f.drafts.fieldValue("Ragione_Sociale").isNull());
        QCOMPARE(f.env.transcript.texts(), QStringList());
    }

    void nameListOffersEveryCustomerSortedWithoutCase()
    {
        test::DraftFixture f({{"rossi"}, {"Bianchi"}, {"Àlfa"}, {"Rossi"}, {""}});
        QVERIFY(!f.customers.isActive());
        // The list is read on a worker thread and arrives without anything asking for it.
        QTRY_VERIFY(!f.window.PanelScheda->Ragione_Sociale->hasPendingItems());
        const QStringList items = nameList(f);
        QCOMPARE(items.size(), 5);
        QCOMPARE(items.mid(0, 3), (QStringList{"", "Àlfa", "Bianchi"}));
        // Names equal but for case keep the table's order.
        QCOMPARE(items.mid(3), (QStringList{"rossi", "Rossi"}));
    }

    void keyInTheNameBoxWaitsForTheList()
    {
        test::DraftFixture f({{"Rossi"}, {"Bianchi"}});
        f.window.Nuovo1Click();
        // No event has been handled since the window showed, so the list has not been taken yet.
        QVERIFY(f.window.PanelScheda->Ragione_Sociale->hasPendingItems());
        QTest::keyClick(f.window.PanelScheda->Ragione_Sociale, Qt::Key_Down);
        QCOMPARE(nameList(f), (QStringList{"Bianchi", "Rossi"}));
        QCOMPARE(f.window.PanelScheda->Ragione_Sociale->currentText(), QStringLiteral("Rossi"));
    }

    void arrivingListKeepsTextCursorAndSelection()
    {
        test::DraftFixture f({{"Rossi"}});
        f.window.Nuovo1Click();
        QLineEdit* edit = f.window.PanelScheda->Ragione_Sociale->lineEdit();
        edit->setText(QStringLiteral("Verdi"));
        edit->setSelection(4, -3);
        f.window.PanelScheda->Ragione_Sociale->applyPendingItems();
        QCOMPARE(nameList(f), QStringList{"Rossi"});
        QCOMPARE(edit->text(), QStringLiteral("Verdi"));
        QCOMPARE(edit->selectedText(), QStringLiteral("erd"));
        QCOMPARE(edit->cursorPosition(), 1);
    }

    void reopeningReadsTheCustomersAgain()
    {
        test::DraftFixture f({{"Rossi"}});
        f.window.Esci1Click();
        f.customers.open();
        f.customers.append();
        f.customers.setFieldValue("Ragione_Sociale", "Bianchi");
        f.customers.post();
        f.customers.close();
        f.program.main().openDrafts();
        QTRY_VERIFY(!f.window.PanelScheda->Ragione_Sociale->hasPendingItems());
        QCOMPARE(nameList(f), (QStringList{"Bianchi", "Rossi"}));
    }

    // The list reads through a session as a table opens: a missing file, or a protected one the
    // session has no password for, is the engine's error.
    void nameListReadingReportsAMissingOrForeignFile_data()
    {
        QTest::addColumn<bool>("missing");
        QTest::newRow("missing file") << true;
        QTest::newRow("no password for the file") << false;
    }
    void nameListReadingReportsAMissingOrForeignFile()
    {
        QFETCH(bool, missing);
        test::DraftFixture f({{"Rossi", "Via R1", "Roma"}});
        f.customers.open();
        const QString directory = QFileInfo(f.customers.filePath()).absolutePath();
        f.customers.close();
        engine::Session stranger(QStringLiteral("Estranea"));
        stranger.addStandardAlias(QStringLiteral("ALTRO"),
                                  missing ? QStringLiteral("/nonexistent/") : directory);
        recordbody::CustomerNameList list;
        QSignalSpy ready(&list, &recordbody::CustomerNameList::ready);
        list.start(engine::SortedColumn(stranger, QStringLiteral("ALTRO"), f.customers.tableName(),
                                        QStringLiteral("Ragione_Sociale")));
        QVERIFY(ready.wait());
        QVERIFY_THROWS_EXCEPTION(engine::EngineError, list.take());
    }

    void lookupFillsTheBlockFromTheFirstExactName_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("via");
        QTest::addColumn<int>("codRif");
        QTest::newRow("exact") << "Bianchi"
                               << "Via B" << 2;
        QTest::newRow("first of two") << "Rossi"
                                      << "Via R1" << 1;
        QTest::newRow("other case") << "rossi"
                                    << "" << 0;
        QTest::newRow("trailing blank") << "Rossi "
                                        << "" << 0;
        QTest::newRow("blank matches blank") << ""
                                             << "Via Vuota" << 4;
    }
    void lookupFillsTheBlockFromTheFirstExactName()
    {
        QFETCH(QString, typed);
        QFETCH(QString, via);
        QFETCH(int, codRif);
        test::DraftFixture f({{"Rossi", "Via R1", "Roma", "00100"},
                              {"Bianchi", "Via B", "Bari", "70100"},
                              {"Rossi", "Via R2", "Rieti", "02100"},
                              {"", "Via Vuota", "", ""}});
        f.window.Nuovo1Click();
        QTest::keyClicks(f.window.PanelScheda->Ragione_Sociale, typed);
        field(f, "Via")->setFocus();
        QCOMPARE(f.drafts.fieldValue("Via").toString(), via);
        QCOMPARE(field(f, "Via")->text(), via);
        QCOMPARE(f.drafts.fieldValue("CodRif").toInt(), codRif);
        QVERIFY(!dbcontrols::FocusHighlight::isOn(f.window.PanelScheda->Ragione_Sociale));
        // The customer table is left just after the match (or at its end).
        QVERIFY(f.customers.isActive());
        if (codRif > 0 && codRif < 4)
            QCOMPARE(f.customers.fieldValue("OrdNum").toInt(), codRif + 1);
        else
            QVERIFY(f.customers.eof());
    }

    void lookupRepeatsWhenTheNameIsLeftAgain()
    {
        test::DraftFixture f({{"Rossi", "Via R1", "Roma", "00100"}});
        f.window.Nuovo1Click();
        QTest::keyClicks(f.window.PanelScheda->Ragione_Sociale, "Rossi");
        typeInto(field(f, "Via"), " bis");
        f.window.PanelScheda->Ragione_Sociale->setFocus();
        field(f, "CF")->setFocus();
        QCOMPARE(f.drafts.fieldValue("Via").toString(), QStringLiteral("Via R1"));
    }

    void saveRightAfterTypingANameFillsTheBlock()
    {
        test::DraftFixture f({{"Rossi", "Via R1", "Roma", "00100"}});
        f.window.Nuovo1Click();
        QTest::keyClicks(f.window.PanelScheda->Ragione_Sociale, "Rossi");
        f.window.Salva1Click();
        QCOMPARE(f.drafts.state(), engine::DatasetState::Browse);
        QCOMPARE(f.drafts.fieldValue("Ragione_Sociale").toString(), QStringLiteral("Rossi"));
        QCOMPARE(f.drafts.fieldValue("Citta").toString(), QStringLiteral("Roma"));
        QCOMPARE(f.drafts.fieldValue("Cap").toString(), QStringLiteral("00100"));
    }

    void saveRightAfterTypingAnAmountSumsIt()
    {
        test::DraftFixture f;
        f.window.Nuovo1Click();
        typeInto(field(f, "Costo01"), "100");
        typeInto(field(f, "Costo20"), "50");
        f.window.Salva1Click();
        QCOMPARE(f.drafts.fieldValue("Costo20").toDouble(), 50.0);
        QCOMPARE(f.drafts.fieldValue("Totale").toDouble(), 150.0);
        QCOMPARE(f.drafts.fieldValue("Totale_Iva").toDouble(), 30.0);
        QCOMPARE(f.drafts.fieldValue("Totale_Fattura").toDouble(), 180.0);
    }

    void refusedAmountStopsTheSave()
    {
        test::DraftFixture f;
        f.window.Nuovo1Click();
        typeInto(field(f, "Costo03"), "1e");
        DefaultErrorHandler::run([&] { f.window.Salva1Click(); });
        QCOMPARE(f.env.transcript.texts(Kind::Error),
                 QStringList{"'1e' is not a valid floating point value"});
        checkLayout(f.window, RecordEditor::Layout::Browse);
        QCOMPARE(f.drafts.state(), engine::DatasetState::Insert);
        QCOMPARE(f.drafts.recordCount(), 0);
        f.window.Modifica1Click();
        checkLayout(f.window, RecordEditor::Layout::Edit);
        QCOMPARE(f.drafts.state(), engine::DatasetState::Insert);
        f.window.Annulla1Click();
        QCOMPARE(f.drafts.recordCount(), 0);
    }

    void refusedAmountKeepsTheFocusWhenLeftByHand()
    {
        test::DraftFixture f;
        f.window.Nuovo1Click();
        dbcontrols::DBEdit* amount = field(f, "Costo02");
        typeInto(amount, "1e");
        field(f, "Desc03")->setFocus(Qt::TabFocusReason);
        QCOMPARE(QApplication::focusWidget(), amount);
        QTRY_COMPARE(f.env.transcript.texts(Kind::Error),
                     QStringList{"'1e' is not a valid floating point value"});
        QCOMPARE(amount->selectedText(), QStringLiteral("1e"));
        QVERIFY(f.drafts.fieldValue("Totale").toDouble() == 0.0);
    }

    void decimalPointInNumericFields_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("shown");
        const QLocale italian(QLocale::Italian, QLocale::Italy);
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("amount, Italian") << italian << "Costo05"
                                         << "12,5";
        QTest::newRow("total, Italian") << italian << "Totale"
                                        << "12,5";
        QTest::newRow("rate, Italian: refused") << italian << "IVA"
                                                << "125";
        QTest::newRow("amount, point locale") << english << "Costo05"
                                              << "12.5";
        QTest::newRow("rate, point locale") << english << "IVA"
                                            << "12.5";
    }
    void decimalPointInNumericFields()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, field);
        QFETCH(QString, shown);
        test::DraftFixture f;
        QLocale::setDefault(locale);
        f.window.Nuovo1Click();
        dbcontrols::DBEdit* edit = ::field(f, field);
        edit->setFocus();
        edit->clear();
        QTest::keyClicks(edit, "12.5x");
        QCOMPARE(edit->text(), shown);
    }

    void lineRunsOnIntoTheNextCarryingTheCharacter()
    {
        test::DraftFixture f;
        f.window.Nuovo1Click();
        dbcontrols::DBEdit* first = field(f, "Desc01");
        typeInto(first, QString(80, QLatin1Char('a')));
        QCOMPARE(first->text().size(), 80);
        QTest::keyClicks(first, "b");
        QTest::keyClicks(QApplication::focusWidget(), "c");
        QCOMPARE(QApplication::focusWidget(), field(f, "Desc02"));
        QCOMPARE(field(f, "Desc02")->text(), QStringLiteral("bc"));

        // Correcting a full line keeps the focus where the person is.
        first->setFocus();
        first->setCursorPosition(10);
        QTest::keyClick(first, Qt::Key_Backspace);
        QCOMPARE(QApplication::focusWidget(), first);
        QCOMPARE(first->text().size(), 79);

        // A full last description refuses further characters.
        dbcontrols::DBEdit* last = field(f, "Desc20");
        typeInto(last, QString(85, QLatin1Char('z')));
        QCOMPARE(last->text().size(), 80);
        QCOMPARE(QApplication::focusWidget(), last);

        // The second text line runs on into the first description.
        dbcontrols::DBEdit* second = field(f, "Testo02");
        typeInto(second, QString(101, QLatin1Char('t')));
        QCOMPARE(second->text().size(), 100);
        QCOMPARE(QApplication::focusWidget(), first);
        QVERIFY(first->text().endsWith(QLatin1Char('t')) || first->text().size() == 80);
    }

    void storedLongDescriptionIsKeptWhole()
    {
        test::DraftFixture f;
        const QString long100 = QString(100, QLatin1Char('d'));
        f.drafts.append();
        f.drafts.setFieldValue("Desc04", long100);
        f.drafts.post();
        f.window.Modifica1Click();
        QCOMPARE(field(f, "Desc04")->text(), long100);
        typeInto(field(f, "Desc04"), "x");
        QCOMPARE(QApplication::focusWidget(), field(f, "Desc04"));
        field(f, "Desc05")->setFocus();
        field(f, "Desc05")->setFocus();
        f.window.Salva1Click();
        QCOMPARE(f.drafts.fieldValue("Desc04").toString(), long100);
    }

    void rateChangedAndLeftRecomputes()
    {
        test::DraftFixture f;
        f.window.Nuovo1Click();
        typeInto(field(f, "Costo01"), "100");
        dbcontrols::DBEdit* rate = field(f, "IVA");
        rate->setFocus();
        rate->selectAll();
        QTest::keyClicks(rate, "22");
        field(f, "Totale_IVA")->setFocus();
        QCOMPARE(f.drafts.fieldValue("Totale_Iva").toDouble(), 22.0);
        QCOMPARE(field(f, "Totale_Fattura")->text(), QStringLiteral("122"));
    }

    void deleteAsksAndNoKeeps()
    {
        test::DraftFixture f;
        f.window.Nuovo1Click();
        f.window.Salva1Click();
        f.env.messages.answerNext(false);
        f.window.Cancella1Click();
        QCOMPARE(f.env.transcript.texts(Kind::Confirm), QStringList{RecordEditor::deleteQuestion});
        QCOMPARE(f.drafts.recordCount(), 1);
        f.window.Cancella1Click();
        QCOMPARE(f.drafts.recordCount(), 0);
        DefaultErrorHandler::run([&] { f.window.Cancella1Click(); });
        QCOMPARE(f.env.transcript.texts(Kind::Error),
                 QStringList{"Cannot perform this operation on an empty dataset"});
        checkLayout(f.window, RecordEditor::Layout::Browse);
    }

    void cancelAfterNewLeavesTheTable()
    {
        test::DraftFixture f;
        f.window.Nuovo1Click();
        typeInto(field(f, "Desc01"), "da buttare");
        f.window.Annulla1Click();
        QCOMPARE(f.drafts.recordCount(), 0);
        checkLayout(f.window, RecordEditor::Layout::Browse);
    }

    void closeBoxKeepsLayoutAndPendingRecord()
    {
        test::DraftFixture f;
        f.window.Nuovo1Click();
        typeInto(field(f, "Desc01"), "in sospeso");
        field(f, "Costo01")->setFocus();
        f.window.close();
        QCOMPARE(f.drafts.state(), engine::DatasetState::Insert);
        f.program.main().openDrafts();
        checkLayout(f.window, RecordEditor::Layout::Edit);
        QCOMPARE(field(f, "Desc01")->text(), QStringLiteral("in sospeso"));
        f.window.Salva1Click();
        f.window.Esci1Click();
        QVERIFY(!f.drafts.isActive());
        QVERIFY(!f.window.isVisible());
    }

    void tabOrderRunsThroughTheBody()
    {
        test::DraftFixture f;
        f.window.Nuovo1Click();
        QStringList visited;
        QWidget* widget = f.window.PanelScheda->Ragione_Sociale;
        for (int i = 0; i < 8; ++i) {
            visited << widget->objectName();
            widget = widget->nextInFocusChain();
            while (widget->focusPolicy() == Qt::NoFocus || !widget->isVisible() ||
                   widget->objectName().isEmpty())
                widget = widget->nextInFocusChain();
        }
        QCOMPARE(visited,
                 (QStringList{"Ragione_Sociale", "Via", "CAP", "Citta", "PIVA", "CF", "Testo01", "Testo02"}));
    }
};

QTEST_MAIN(TestDraftEditor)
#include "tst_drafteditor.moc"
