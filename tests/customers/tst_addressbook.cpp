#include "AccessibleText.h"
#include "DataDirectory.h"
#include "PostgresCluster.h"
#include "TestEnvironment.h"
#include "UnexpectedWarnings.h"
#include "app/Program.h"
#include "app/TFMain.h"
#include "archive/TFDB.h"
#include "archive/TableSchemas.h"
#include "customers/TFRubrica.h"
#include "dbcontrols/BoundField.h"
#include "dbcontrols/DBEdit.h"
#include "dbcontrols/DBGrid.h"
#include "dbcontrols/DBMemo.h"
#include "dbcontrols/DBNavigator.h"
#include "dbcontrols/FocusHighlight.h"
#include "engine/DataPlace.h"
#include "engine/Session.h"
#include "engine/Table.h"
#include "platform/DefaultErrorHandler.h"

#include <QApplication>
#include <QTest>
#include <QToolButton>

using namespace quillio;
using customers::TFRubrica;
using Layout = TFRubrica::Layout;
using Kind = test::Transcript::Kind;

namespace {

// A started program with a few customers, its address book open.
struct AddressBook
{
    test::TestEnvironment env;
    app::Program program;
    TFRubrica& window = program.rubrica();
    archive::TFDB& db = program.db();
    engine::Table& table = program.db().T_Rubrica;

    // `archive`: a database on a server to keep the archive in, instead of the program's folder.
    explicit AddressBook(std::initializer_list<QStringList> customers = {}, const QString& archive = {})
    {
        if (!archive.isEmpty())
            test::DataDirectory(archive).writeSettings(env.paths.programDir(), QStringLiteral("2009"));
        program.showMainWindow();
        env.transcript.clear();
        db.T_Rubrica.open();
        for (const QStringList& customer : customers) {
            table.append();
            table.setFieldValue("Ragione_Sociale", customer.value(0));
            table.setFieldValue("Telefono", customer.value(1));
            table.post();
        }
        db.T_Rubrica.close();
        program.main().openAddressBook();
        QApplication::setActiveWindow(&window);
    }

    QVariant current(const QString& field) const { return table.fieldValue(field); }
    dbcontrols::DBEdit* field(const QString& name) const { return window.edit(name); }
    int listRows() const { return db.QGEN.isActive() ? db.QGEN.recordCount() : -1; }
    QStringList listNames() const
    {
        QStringList names;
        auto* model = window.DBGrid1->queryModel();
        for (int row = 0; row < model->rowCount(); ++row)
            names << model->index(row, 0).data().toString();
        return names;
    }
    void type(const QString& name, const QString& text)
    {
        dbcontrols::DBEdit* edit = field(name);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_End);
        QTest::keyClicks(edit, text);
    }
    // Moves the list to `row` and double-clicks it.
    void doubleClickRow(int row)
    {
        window.DBGrid1->setCurrentIndex(window.DBGrid1->queryModel()->index(row, 0));
        window.DBGrid1DblClick();
    }
};

void checkLayout(const TFRubrica& w, Layout layout)
{
    const bool browse = layout == Layout::Browse;
    const bool edit = layout == Layout::Edit;
    QCOMPARE(w.layout(), layout);
    QCOMPARE(w.Nuovo1->isEnabled(), browse);
    QCOMPARE(w.Modifica1->isEnabled(), browse);
    QCOMPARE(w.Cancella1->isEnabled(), browse);
    QCOMPARE(w.Esci1->isEnabled(), browse);
    QCOMPARE(w.Salva1->isEnabled(), edit);
    QCOMPARE(w.Annulla1->isEnabled(), edit);
    QCOMPARE(w.DBNavigator1->isEnabled(), browse);
    QCOMPARE(w.Panel2->isEnabled(), browse);
    QCOMPARE(w.Panel3->isEnabled(), edit);
}

} // namespace

class TestAddressBook : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void opensInBrowseWithTheListSorted()
    {
        AddressBook book({{"rossi", "1"}, {"Bianchi", "2"}, {"Àlfa", "3"}, {"", "4"}});
        QCOMPARE(book.env.modal.shown.size(), 1);
        QCOMPARE(book.env.modal.shown.first().data(), &book.window);
        checkLayout(book.window, Layout::Browse);
        QCOMPARE(book.db.QGEN.sql(), QStringList{TFRubrica::listQuery});
        QCOMPARE(book.listNames(), (QStringList{"", "Àlfa", "Bianchi", "rossi"}));
        // The detail panel shows the table's first record, not the list's.
        QCOMPARE(book.field("Ragione_Sociale")->text(), QStringLiteral("rossi"));
    }

    void newCustomerIsStoredAndTakesItsPlaceInTheList()
    {
        AddressBook book({{"Bianchi"}, {"Verdi"}});
        book.window.Nuovo1Click();
        checkLayout(book.window, Layout::Edit);
        QCOMPARE(book.table.state(), engine::DatasetState::Insert);
        QCOMPARE(QApplication::focusWidget(), book.field("Ragione_Sociale"));
        QVERIFY(dbcontrols::FocusHighlight::isOn(book.field("Ragione_Sociale")));
        QTest::keyClicks(book.field("Ragione_Sociale"), "Rossi");
        book.type("Telefono", "02 1234");
        QVERIFY(!dbcontrols::FocusHighlight::isOn(book.field("Ragione_Sociale")));
        book.window.DBGrid1->setCurrentIndex(book.window.DBGrid1->queryModel()->index(1, 0));

        book.window.Salva1Click();
        checkLayout(book.window, Layout::Browse);
        QCOMPARE(book.table.state(), engine::DatasetState::Browse);
        QCOMPARE(book.current("Telefono").toString(), QStringLiteral("02 1234"));
        QCOMPARE(book.listNames(), (QStringList{"Bianchi", "Rossi", "Verdi"}));
        QCOMPARE(book.db.QGEN.rowNumber(), 0);
    }

    void cancelDropsANewRecordAndRestoresAnEditedOne()
    {
        AddressBook book({{"Bianchi", "1"}});
        book.window.Nuovo1Click();
        QTest::keyClicks(book.field("Ragione_Sociale"), "Rossi");
        book.window.Annulla1Click();
        checkLayout(book.window, Layout::Browse);
        QCOMPARE(book.table.recordCount(), 1);

        book.window.Modifica1Click();
        QTest::keyClicks(book.field("Telefono"), "99");
        book.field("Telefono")->setFocus();
        QTest::keyClicks(book.field("Telefono"), "x");
        book.window.Annulla1Click();
        QCOMPARE(book.current("Telefono").toString(), QStringLiteral("1"));
        QCOMPARE(book.field("Telefono")->text(), QStringLiteral("1"));
        // The list is re-run only after Save and after a confirmed delete.
        QCOMPARE(book.listNames(), QStringList{"Bianchi"});
    }

    void listIsNotRerunAfterCancel()
    {
        AddressBook book({{"Bianchi"}});
        // Another customer reaches the file behind the list's back.
        book.table.append();
        book.table.setFieldValue("Ragione_Sociale", "Aaron");
        book.table.post();
        book.window.Modifica1Click();
        book.window.Annulla1Click();
        QCOMPARE(book.listNames(), QStringList{"Bianchi"});
        book.window.Modifica1Click();
        book.window.Salva1Click();
        QCOMPARE(book.listNames(), (QStringList{"Aaron", "Bianchi"}));
    }

    void editOnAnEmptyTableStartsANewRecord()
    {
        AddressBook book;
        QCOMPARE(book.listRows(), 0);
        book.window.Modifica1Click();
        QCOMPARE(book.table.state(), engine::DatasetState::Insert);
        checkLayout(book.window, Layout::Edit);
    }

    void tipoTakesAtMostSixtyCharacters()
    {
        AddressBook book;
        book.window.Nuovo1Click();
        book.type("Tipo", QString(100, QLatin1Char('t')));
        QCOMPARE(book.field("Tipo")->text().size(), 60);
        book.window.Salva1Click();
        QCOMPARE(book.current("Tipo").toString(), QString(60, QLatin1Char('t')));
    }

    void fieldsWithoutOwnLimitTakeTheirColumnWidth_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("limit");
        QTest::newRow("CAP") << "CAP" << 5;
        QTest::newRow("PIVA") << "PIVA" << 11;
        QTest::newRow("CF") << "CF" << 16;
        QTest::newRow("Citta") << "Citta" << 40;
        QTest::newRow("Telefono") << "Telefono" << 100;
    }
    void fieldsWithoutOwnLimitTakeTheirColumnWidth()
    {
        QFETCH(QString, field);
        QFETCH(int, limit);
        AddressBook book;
        book.window.Nuovo1Click();
        book.type(field, QString(limit + 7, QLatin1Char('9')));
        QCOMPARE(book.field(field)->text().size(), limit);
    }

    void escapeRestoresTheStoredValueAndKeepsTheWindow()
    {
        AddressBook book({{"Bianchi", "1"}});
        book.window.Modifica1Click();
        book.type("Via", "Via Roma 1");
        QTest::keyClick(book.field("Via"), Qt::Key_Escape);
        QCOMPARE(book.field("Via")->text(), QString());
        QVERIFY(book.window.isVisible());
        book.field("Telefono")->setFocus();
        QTest::keyClick(book.field("Telefono"), Qt::Key_End);
        QTest::keyClicks(book.field("Telefono"), "2");
        book.window.Salva1Click();
        QVERIFY(book.current("Via").isNull());
        QCOMPARE(book.current("Telefono").toString(), QStringLiteral("12"));
    }

    void refusedSaveLeavesTheRecordPending()
    {
        AddressBook book({{"Bianchi", "1"}});
        book.window.Modifica1Click();
        book.type("Telefono", "5");
        // Another copy of the program deletes the customer meanwhile.
        {
            engine::Session other(QStringLiteral("other"));
            other.addStandardAlias("A", book.env.paths.programDir() + "2009/");
            other.addPassword(archive::masterPassword);
            engine::Table table(other);
            table.setDatabaseName("A");
            table.setTableName("Rubrica.DB");
            table.open();
            table.remove();
        }
        book.window.DBGrid1->setFocus();
        book.env.transcript.clear();
        DefaultErrorHandler::run([&] { book.window.Salva1Click(); });
        QCOMPARE(book.env.transcript.texts(Kind::Error).size(), 1);
        checkLayout(book.window, Layout::Browse);
        QCOMPARE(book.table.state(), engine::DatasetState::Edit);
        QCOMPARE(book.listRows(), 1); // not re-run: it would find the table empty
        book.window.Modifica1Click();
        checkLayout(book.window, Layout::Edit);
        QCOMPARE(book.field("Telefono")->text(), QStringLiteral("15"));
        book.window.Annulla1Click();
        QCOMPARE(book.table.state(), engine::DatasetState::Browse);
    }

    // The server is stopped and started again while a customer is being edited: the next Salva
    // stores it, and another desk reads it.
    void aSaveAfterTheServerCameBackStoresTheCustomer()
    {
        test::PostgresCluster* cluster = test::PostgresCluster::shared();
        if (!cluster)
            QSKIP(qPrintable(test::PostgresCluster::unavailableReason()));
        const QString archive = cluster->newDatabase();
        AddressBook book({{"Bianchi", "1"}}, archive);
        book.window.Modifica1Click();
        book.type("Telefono", "5");
        QCOMPARE(cluster->stop(), QString());
        QCOMPARE(cluster->start(), QString());
        book.window.DBGrid1->setFocus();
        book.env.transcript.clear();
        DefaultErrorHandler::run([&] { book.window.Salva1Click(); });
        const QStringList errors = book.env.transcript.texts(Kind::Error);
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join(u'\n')));
        QCOMPARE(book.table.state(), engine::DatasetState::Browse);

        engine::Session other(QStringLiteral("other"));
        other.addStandardAlias("A", engine::DataPlace::child(archive, QStringLiteral("2009")));
        other.addPassword(archive::masterPassword);
        engine::Table table(other);
        table.setDatabaseName("A");
        table.setTableName("Rubrica.DB");
        table.open();
        QCOMPARE(table.fieldValue("Telefono").toString(), QStringLiteral("15"));
    }

    void deleteAsksFirst_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes deletes") << true;
        QTest::newRow("no keeps") << false;
    }
    void deleteAsksFirst()
    {
        QFETCH(bool, yes);
        AddressBook book({{"Bianchi"}, {"Verdi"}});
        Layout whileAsking = Layout::Browse;
        bool everythingDisabled = false;
        book.env.messages.whileShown = [&](const QString&) {
            whileAsking = book.window.layout();
            everythingDisabled = !book.window.Nuovo1->isEnabled() && !book.window.Salva1->isEnabled() &&
                                 !book.window.Esci1->isEnabled() && !book.window.Panel2->isEnabled() &&
                                 !book.window.Panel3->isEnabled() && !book.window.DBNavigator1->isEnabled();
        };
        book.env.messages.answerNext(yes);
        book.window.Cancella1Click();
        QCOMPARE(book.env.transcript.texts(Kind::Confirm), QStringList{TFRubrica::deleteQuestion});
        QCOMPARE(book.env.messages.lastDefault(), Messages::Default::Yes);
        QCOMPARE(whileAsking, Layout::Confirming);
        QVERIFY(everythingDisabled);
        checkLayout(book.window, Layout::Browse);
        QCOMPARE(book.table.recordCount(), yes ? 1 : 2);
        QCOMPARE(book.listNames(), yes ? QStringList{"Verdi"} : (QStringList{"Bianchi", "Verdi"}));
    }

    void deleteOnAnEmptyTableReportsAndReturnsToBrowse()
    {
        AddressBook book;
        DefaultErrorHandler::run([&] { book.window.Cancella1Click(); });
        QCOMPARE(book.env.transcript.texts(Kind::Error),
                 QStringList{"Cannot perform this operation on an empty dataset"});
        checkLayout(book.window, Layout::Browse);
    }

    void doubleClickFindsTheCustomerByNumber()
    {
        AddressBook book({{"Rossi", "first"}, {"Bianchi", "b"}, {"Rossi", "second"}});
        QCOMPARE(book.listNames(), (QStringList{"Bianchi", "Rossi", "Rossi"}));
        const QVariant rowNumber =
            (book.window.DBGrid1->setCurrentIndex(book.window.DBGrid1->queryModel()->index(2, 0)),
             book.db.QGEN.fieldValue("OrdNum"));
        book.doubleClickRow(2);
        QCOMPARE(book.current("OrdNum"), rowNumber);
        QCOMPARE(book.field("Telefono")->text(), book.current("Telefono").toString());
        book.doubleClickRow(1);
        QCOMPARE(book.current("Telefono").toString(),
                 rowNumber.toInt() == 3 ? QStringLiteral("first") : QStringLiteral("second"));
        checkLayout(book.window, Layout::Browse);
    }

    void doubleClickOnACustomerDeletedElsewhereStaysPut()
    {
        AddressBook book({{"Bianchi"}, {"Rossi"}, {"Verdi"}});
        book.table.first();
        book.table.next(); // Rossi
        // The list still shows Verdi, whom another copy deletes.
        book.table.last();
        book.table.remove();
        book.table.first();
        book.table.next();
        QCOMPARE(book.current("Ragione_Sociale").toString(), QStringLiteral("Rossi"));
        book.doubleClickRow(2);
        QCOMPARE(book.current("Ragione_Sociale").toString(), QStringLiteral("Rossi"));
    }

    void linkButtons_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("opened");
        QTest::newRow("site") << "Sito"
                              << "www.rossi.it"
                              << "http://www.rossi.it";
        QTest::newRow("site with another scheme") << "Sito"
                                                  << "file:///bin/sh"
                                                  << "";
        QTest::newRow("empty site") << "Sito"
                                    << ""
                                    << "";
        QTest::newRow("site after blanks") << "Sito"
                                           << "   www.rossi.it"
                                           << "http://www.rossi.it";
        QTest::newRow("blank site") << "Sito"
                                    << "    "
                                    << "";
        QTest::newRow("mail") << "EMail"
                              << "abc"
                              << "mailto:abc";
        QTest::newRow("empty mail") << "EMail"
                                    << ""
                                    << "";
    }
    void linkButtons()
    {
        QFETCH(QString, field);
        QFETCH(QString, stored);
        QFETCH(QString, opened);
        AddressBook book;
        book.window.Nuovo1Click();
        book.type(field, stored);
        book.field("Ragione_Sociale")->setFocus();
        QToolButton* button = field == "Sito" ? book.window.SpeedButton1 : book.window.SpeedButton2;
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(book.env.shell.opened.isEmpty() ? QString() : book.env.shell.opened.first().toString(),
                 opened);
        QCOMPARE(book.env.transcript.texts(), QStringList());
        // In the browse layout the buttons do not react.
        book.window.Salva1Click();
        book.env.shell.opened.clear();
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(book.env.shell.opened.isEmpty());
    }

    void closeBoxKeepsTableAndLayout()
    {
        AddressBook book({{"Bianchi"}});
        book.window.Modifica1Click();
        book.window.close();
        QVERIFY(book.table.isActive());
        QCOMPARE(book.table.state(), engine::DatasetState::Edit);
        book.program.main().openAddressBook();
        checkLayout(book.window, Layout::Edit);
        book.window.Annulla1Click();
        book.window.Esci1Click();
        QVERIFY(!book.table.isActive());
        QVERIFY(!book.window.isVisible());
    }

    void everyControlHasAName()
    {
        AddressBook book;
        for (QWidget* widget : book.window.findChildren<QWidget*>()) {
            if (widget->objectName().startsWith(QLatin1String("qt_")))
                continue; // Qt's own overflow buttons
            if (qobject_cast<dbcontrols::DBEdit*>(widget) || qobject_cast<QToolButton*>(widget) ||
                qobject_cast<dbcontrols::DBMemo*>(widget) || qobject_cast<dbcontrols::DBGrid*>(widget))
                QVERIFY2(!widget->accessibleName().isEmpty(), qPrintable(widget->objectName()));
        }
        QCOMPARE(book.field("Ragione_Sociale")->accessibleName(), QStringLiteral("Ragione Sociale"));
        QCOMPARE(book.window.SpeedButton1->accessibleName(), QStringLiteral("Apri Sito"));
        QCOMPARE(test::accessibleText(book.window.DBNavigator1, QAccessible::Description),
                 QStringLiteral("Scorri Archivio"));
        QCOMPARE(book.window.findChild<QWidget*>("TBNuovo")->accessibleName(), QStringLiteral("Nuovo"));
    }
};

QTEST_MAIN(TestAddressBook)
#include "tst_addressbook.moc"
