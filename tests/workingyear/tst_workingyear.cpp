#include "PostgresCluster.h"
#include "TestEnvironment.h"
#include "UnexpectedWarnings.h"
#include "YearArchive.h"
#include "app/Bootstrap.h"
#include "archive/PendingRecords.h"
#include "archive/TFDB.h"
#include "config/SettingsKey.h"
#include "config/SettingsStore.h"
#include "engine/DataPlace.h"
#include "engine/Session.h"
#include "engine/Table.h"
#include "platform/Platform.h"
#include "workingyear/TFCambioAnno.h"
#include "workingyear/TFCreaArchivio.h"
#include "workingyear/WorkingYear.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

using namespace quillio;
using config::SettingsStore;
using workingyear::WorkingYear;
using workingyear::YearDialog;
namespace Key = config::SettingsKey;
namespace YearArchive = test::YearArchive;
using Kind = test::Transcript::Kind;

namespace {

enum class Dialog { CambioAnno, CreaArchivio };

const QString alias = QStringLiteral("QUILDB09");

QStringList creationMessages(const QStringList& tables)
{
    QStringList texts;
    for (const QString& file : tables) {
        const QString table = file.section(u'.', 0, 0);
        texts << QStringLiteral("Archivio %1 - Assente - Premere OK per Crearlo").arg(table)
              << QStringLiteral("Archivio %1 Creato").arg(file);
    }
    return texts;
}

QString storedYear()
{
    return SettingsStore::LeggiReg(Key::path, Key::anno);
}

// A program after its first start: year 2009 with one customer, and one working-year dialog
// linked to the data module and to a stand-in for the main window's year label.
struct Started
{
    test::TestEnvironment env;
    archive::TFDB db;
    QString label = QStringLiteral("2009");
    std::unique_ptr<YearDialog> dialog;

    // `dataDirectory`: where the archive lives instead of the first start's folder (a server).
    explicit Started(Dialog kind = Dialog::CambioAnno, const QString& dataDirectory = {})
    {
        app::Bootstrap(db, [this](const QString& year) { label = year; }).run();
        if (!dataDirectory.isEmpty()) {
            SettingsStore::ScriviReg(Key::path, Key::pathDatiGen, dataDirectory);
            app::Bootstrap(db, [this](const QString& year) { label = year; }).run();
        }
        addCustomer(QStringLiteral("Cliente del 2009"));
        env.transcript.clear();
        if (kind == Dialog::CambioAnno)
            dialog = std::make_unique<workingyear::TFCambioAnno>();
        else
            dialog = std::make_unique<workingyear::TFCreaArchivio>();
        dialog->setDataModule(&db);
        dialog->setYearLabel([this](const QString& year) { label = year; });
    }

    void addCustomer(const QString& name)
    {
        db.T_Rubrica.open();
        db.T_Rubrica.append();
        db.T_Rubrica.setFieldValue(QStringLiteral("Ragione_Sociale"), name);
        db.T_Rubrica.post();
        db.T_Rubrica.close();
    }

    void show() { Platform::modal().showModal(dialog.get()); }

    // Shows the dialog, types the year over the stored one and presses "&Conferma".
    void confirm(const QString& yearText)
    {
        if (!dialog->isVisible())
            show();
        dialog->Edit1->setText(yearText);
        QTest::mouseClick(dialog->BT_Conferma, Qt::LeftButton);
    }

    QString aliasDir() const { return db.Session1.aliasPath(alias); }

    // Still on 2009 everywhere: the setting, the label, the alias and what the tables read.
    void verifyStillOn2009()
    {
        QCOMPARE(storedYear(), QStringLiteral("2009"));
        QCOMPARE(label, QStringLiteral("2009"));
        QCOMPARE(aliasDir(), YearArchive::directory(QStringLiteral("2009")));
        QCOMPARE(YearArchive::customerNames(db.T_Rubrica), QStringList{"Cliente del 2009"});
        db.T_Rubrica.close();
    }
};

void addDialogColumn()
{
    QTest::addColumn<Dialog>("kind");
}

QStringList entriesOfDirectory(const QString& path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

} // namespace

Q_DECLARE_METATYPE(Dialog)

class TestWorkingYear : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void dialogsShowTheirLayout_data()
    {
        addDialogColumn();
        QTest::addColumn<QString>("caption");
        QTest::newRow("Cambio Anno") << Dialog::CambioAnno << "Cambio Anno";
        QTest::newRow("Crea Nuovo Archivio") << Dialog::CreaArchivio << "Crea Nuovo Archivio";
    }
    void dialogsShowTheirLayout()
    {
        QFETCH(Dialog, kind);
        QFETCH(QString, caption);
        Started s(kind);
        s.show();
        YearDialog& d = *s.dialog;
        QCOMPARE(d.windowTitle(), caption);
        QCOMPARE(d.palette().color(QPalette::Window), QColor(Qt::white));
        const Qt::WindowFlags flags = d.windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                           Qt::WindowContextHelpButtonHint)));

        QCOMPARE(d.StaticText1->text(), QStringLiteral("Anno di Lavoro"));
        QVERIFY(d.StaticText1->font().bold());
        QCOMPARE(d.StaticText1->alignment(), Qt::AlignCenter);
        QCOMPARE(d.StaticText1->frameShadow(), QFrame::Sunken);
        QVERIFY(d.StaticText1->autoFillBackground());
        QCOMPARE(d.StaticText1->palette().color(QPalette::Window), QColor(166, 202, 240));

        QVERIFY(d.Edit1->font().bold());
        QCOMPARE(d.Edit1->text(), QStringLiteral("2009"));
        QCOMPARE(d.BT_Conferma->text(), QStringLiteral("&Conferma"));
        QCOMPARE(d.BT_Annulla->text(), QStringLiteral("&Annulla"));

        QCOMPARE(d.Edit1->accessibleName(), QStringLiteral("Anno di Lavoro"));
        QCOMPARE(d.BT_Conferma->accessibleName(), QStringLiteral("Conferma"));
        QCOMPARE(d.BT_Annulla->accessibleName(), QStringLiteral("Annulla"));
    }

    // A long text stays whole: the field has no limit of its own.
    void yearFieldTakesAnyLength()
    {
        Started s;
        s.show();
        const QString longYear = QString(300, u'9');
        s.dialog->Edit1->selectAll();
        QTest::keyClicks(s.dialog->Edit1, longYear);
        QCOMPARE(s.dialog->Edit1->text(), longYear);
    }

    void cancelChangesNothingAndNextShowingReadsTheStoredYear_data()
    {
        addDialogColumn();
        QTest::newRow("Cambio Anno") << Dialog::CambioAnno;
        QTest::newRow("Crea Nuovo Archivio") << Dialog::CreaArchivio;
    }
    void cancelChangesNothingAndNextShowingReadsTheStoredYear()
    {
        QFETCH(Dialog, kind);
        Started s(kind);
        YearArchive::make(QStringLiteral("2010"), YearArchive::allTables);
        s.show();
        s.dialog->Edit1->selectAll();
        QTest::keyClicks(s.dialog->Edit1, QStringLiteral("2010"));
        QCOMPARE(s.dialog->Edit1->text(), QStringLiteral("2010"));
        QTest::mouseClick(s.dialog->BT_Annulla, Qt::LeftButton);

        QVERIFY(!s.dialog->isVisible());
        QCOMPARE(s.env.transcript.texts(), QStringList());
        s.verifyStillOn2009();

        s.show();
        QCOMPARE(s.dialog->Edit1->text(), QStringLiteral("2009"));
        s.dialog->hide();
        SettingsStore::ScriviReg(Key::path, Key::anno, QStringLiteral("2012"));
        s.show();
        QCOMPARE(s.dialog->Edit1->text(), QStringLiteral("2012"));
    }

    void changeToAYearWithItsTables()
    {
        Started s;
        const QString dir = YearArchive::make(QStringLiteral("2010"), YearArchive::allTables,
                                              {"Rossi Arredamenti", "Bianchi Giovanni"});
        s.db.T_Rubrica.open(); // left open by an earlier command
        s.show();
        s.dialog->Edit1->selectAll();
        QTest::keyClicks(s.dialog->Edit1, QStringLiteral("2010"));
        QTest::keyClick(s.dialog->Edit1, Qt::Key_Return);

        QVERIFY(!s.dialog->isVisible());
        QCOMPARE(s.env.transcript.texts(), QStringList());
        QCOMPARE(storedYear(), QStringLiteral("2010"));
        QCOMPARE(s.label, QStringLiteral("2010"));
        QCOMPARE(s.aliasDir(), dir);
        QVERIFY(!s.db.T_Rubrica.isActive());
        QCOMPARE(s.db.T_Rubrica.databaseName(), alias);
        QCOMPARE(YearArchive::customerNames(s.db.T_Rubrica),
                 (QStringList{"Rossi Arredamenti", "Bianchi Giovanni"}));
        s.db.T_Fatture.open();
        QVERIFY(s.db.T_Fatture.isEmpty());
    }

    void changeToAnEmptyDirectoryCreatesUnprotectedTables()
    {
        Started s;
        const QString dir = YearArchive::make(QStringLiteral("2010"), {});
        s.confirm(QStringLiteral("2010"));

        QVERIFY(!s.dialog->isVisible());
        QCOMPARE(s.env.transcript.texts(), creationMessages(YearArchive::allTables));
        for (const QString& file : YearArchive::allTables)
            QVERIFY2(YearArchive::opensWithoutPassword(dir, file), qPrintable(file));
        QCOMPARE(s.label, QStringLiteral("2010"));
        QVERIFY(YearArchive::customerNames(s.db.T_Rubrica).isEmpty());
    }

    void changeToAMissingDirectoryIsRefused()
    {
        Started s;
        s.confirm(QStringLiteral("2010"));

        QCOMPARE(s.env.transcript.texts(), QStringList{WorkingYear::invalidYear});
        QVERIFY(s.dialog->isVisible());
        QCOMPARE(s.dialog->Edit1->text(), QStringLiteral("2010"));
        QVERIFY(!QFileInfo::exists(YearArchive::directory(QStringLiteral("2010"))));
        s.verifyStillOn2009();
    }

    void createANewYear()
    {
        Started s(Dialog::CreaArchivio);
        const QString dir = YearArchive::directory(QStringLiteral("2010"));
        s.confirm(QStringLiteral("2010"));

        QVERIFY(!s.dialog->isVisible());
        QVERIFY(QFileInfo(dir).isDir());
        QCOMPARE(s.env.transcript.texts(), creationMessages(YearArchive::allTables));
        for (const QString& file : YearArchive::allTables)
            QVERIFY2(YearArchive::isProtected(dir, file), qPrintable(file));
        QCOMPARE(storedYear(), QStringLiteral("2010"));
        QCOMPARE(s.label, QStringLiteral("2010"));
        QCOMPARE(s.aliasDir(), dir);
        // Customers of other years are not carried over.
        QVERIFY(YearArchive::customerNames(s.db.T_Rubrica).isEmpty());
    }

    // On a server the years are schemas; the dialogs say and do what they do with folders.
    void theDialogsWorkTheSameOnAServer()
    {
        if (!test::PostgresCluster::shared())
            QSKIP(qPrintable(test::PostgresCluster::unavailableReason()));
        const QString server = test::PostgresCluster::shared()->newDatabase();
        {
            Started create(Dialog::CreaArchivio, server);
            const QString dir = engine::DataPlace::child(server, QStringLiteral("2010"));
            create.confirm(QStringLiteral("2010"));
            QCOMPARE(create.env.transcript.texts(), creationMessages(YearArchive::allTables));
            for (const QString& file : YearArchive::allTables)
                QVERIFY2(YearArchive::isProtected(dir, file), qPrintable(file));
            QCOMPARE(create.aliasDir(), dir);
            QCOMPARE(create.label, QStringLiteral("2010"));
            QCOMPARE(engine::DataPlace::children(server), (QStringList{"2009", "2010"}));
        }

        Started change(Dialog::CambioAnno, server);
        change.confirm(QStringLiteral("2011"));
        QCOMPARE(change.env.transcript.texts(), QStringList{WorkingYear::invalidYear});
        QVERIFY(!engine::DataPlace::exists(engine::DataPlace::child(server, QStringLiteral("2011"))));
        change.env.transcript.clear();
        change.confirm(QStringLiteral("2009"));
        QCOMPARE(change.env.transcript.texts(), QStringList());
        QCOMPARE(change.label, QStringLiteral("2009"));
        QCOMPARE(YearArchive::customerNames(change.db.T_Rubrica),
                 (QStringList{"Cliente del 2009", "Cliente del 2009"}));
    }

    void createOverACompleteYearOnlySwitches()
    {
        Started s(Dialog::CreaArchivio);
        const QString dir = YearArchive::make(QStringLiteral("2010"), YearArchive::allTables, {"Rossi"});
        s.confirm(QStringLiteral("2010"));

        QVERIFY(!s.dialog->isVisible());
        QCOMPARE(s.env.transcript.texts(), QStringList());
        for (const QString& file : YearArchive::allTables)
            QVERIFY2(YearArchive::opensWithoutPassword(dir, file), qPrintable(file));
        QCOMPARE(s.label, QStringLiteral("2010"));
        QCOMPARE(YearArchive::customerNames(s.db.T_Rubrica), QStringList{"Rossi"});
    }

    void createWithOnlyTheInvoicesMissingProtectsAllThree()
    {
        Started s(Dialog::CreaArchivio);
        const QString dir = YearArchive::make(QStringLiteral("2010"), {"Rubrica.DB", "Bozze.DB"}, {"Rossi"});
        s.confirm(QStringLiteral("2010"));

        QCOMPARE(s.env.transcript.texts(), creationMessages({"Fatture.DB"}));
        for (const QString& file : YearArchive::allTables)
            QVERIFY2(YearArchive::isProtected(dir, file), qPrintable(file));
        QCOMPARE(YearArchive::customerNames(s.db.T_Rubrica), QStringList{"Rossi"});
    }

    void textsOutsideTheDataDirectoryAreInvalid_data()
    {
        addDialogColumn();
        QTest::addColumn<QString>("text");
        const std::pair<const char*, QString> texts[] = {
            {"empty", QString()},
            {"data directory", QStringLiteral(".")},
            {"parent", QStringLiteral("..")},
            {"climbing back", QStringLiteral("2009/../..")},
            {"absolute existing", QDir::tempPath()},
            {"drive", QStringLiteral("C:\\x")},
            {"network", QStringLiteral("\\\\server\\share")},
            // A year is one plain name: a level below an existing year, or a hidden name like the
            // copies' working folders, is not one.
            {"nested in a year", QStringLiteral("2009") + QDir::separator() + QStringLiteral("filiale")},
            {"hidden", QStringLiteral(".quillio-copia-2009")},
        };
        for (const auto& [name, text] : texts) {
            QTest::addRow("Cambio Anno, %s", name) << Dialog::CambioAnno << text;
            QTest::addRow("Crea Nuovo Archivio, %s", name) << Dialog::CreaArchivio << text;
        }
    }
    void textsOutsideTheDataDirectoryAreInvalid()
    {
        QFETCH(Dialog, kind);
        QFETCH(QString, text);
        Started s(kind);
        const QString root = s.env.paths.root();
        const QStringList rootBefore = entriesOfDirectory(root);
        const QStringList dataBefore = entriesOfDirectory(s.env.paths.programDir());
        s.confirm(text);

        QCOMPARE(s.env.transcript.texts(), QStringList{WorkingYear::invalidYear});
        QVERIFY(s.dialog->isVisible());
        QCOMPARE(s.dialog->Edit1->text(), text);
        QCOMPARE(entriesOfDirectory(root), rootBefore);
        QCOMPARE(entriesOfDirectory(s.env.paths.programDir()), dataBefore);
        s.verifyStillOn2009();
    }

    void aDirectoryThatCannotBeCreatedIsInvalid_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("first level missing") << QStringLiteral("2011/nuovo");
        QTest::newRow("name too long") << QString(300, u'x');
    }
    void aDirectoryThatCannotBeCreatedIsInvalid()
    {
        QFETCH(QString, text);
        Started s(Dialog::CreaArchivio);
        const QStringList dataBefore = entriesOfDirectory(s.env.paths.programDir());
        s.confirm(text);

        QCOMPARE(s.env.transcript.texts(), QStringList{WorkingYear::invalidYear});
        QVERIFY(s.dialog->isVisible());
        QCOMPARE(entriesOfDirectory(s.env.paths.programDir()), dataBefore);
        s.verifyStillOn2009();
    }

    // The invoice file's name is taken by a link to nowhere: the check sees no file, the engine
    // refuses to create one.
    void aFailingTableCreationLeavesEverythingOnTheStoredYear_data()
    {
        addDialogColumn();
        QTest::newRow("Cambio Anno") << Dialog::CambioAnno;
        QTest::newRow("Crea Nuovo Archivio") << Dialog::CreaArchivio;
    }
    void aFailingTableCreationLeavesEverythingOnTheStoredYear()
    {
        QFETCH(Dialog, kind);
        Started s(kind);
        const QString dir = YearArchive::make(QStringLiteral("2013"), {"Rubrica.DB"});
        QVERIFY(QFile::link(s.env.paths.root() + QStringLiteral("/nowhere/Fatture.DB"), dir + "Fatture.DB"));
        s.confirm(QStringLiteral("2013"));

        const QList<test::Transcript::Entry> shown = s.env.transcript.entries();
        QCOMPARE(s.env.transcript.texts(Kind::Message),
                 creationMessages({"Bozze.DB"}) << "Archivio Fatture - Assente - Premere OK per Crearlo");
        QCOMPARE(shown.size(), 4);
        QCOMPARE(shown.last().kind, Kind::Error);
        QVERIFY(s.dialog->isVisible());
        s.verifyStillOn2009();
    }

    void aChangedPendingRecordIsDroppedOnlyWhenThePersonAgrees_data()
    {
        addDialogColumn();
        QTest::addColumn<QString>("year");
        QTest::newRow("Cambio Anno") << Dialog::CambioAnno << "2010";
        QTest::newRow("Crea Nuovo Archivio") << Dialog::CreaArchivio << "2014";
    }
    void aChangedPendingRecordIsDroppedOnlyWhenThePersonAgrees()
    {
        QFETCH(Dialog, kind);
        QFETCH(QString, year);
        Started s(kind);
        YearArchive::make(QStringLiteral("2010"), YearArchive::allTables, {"Rossi"});
        const bool existed = QFileInfo(YearArchive::directory(year)).isDir();
        engine::Table& customers = s.db.T_Rubrica;
        customers.open();
        customers.append();
        customers.setFieldValue(QStringLiteral("Ragione_Sociale"), QStringLiteral("Non salvato"));

        s.env.messages.answerNext(false);
        s.confirm(year);
        QCOMPARE(s.env.transcript.texts(Kind::Confirm), QStringList{archive::PendingRecords::question});
        QCOMPARE(s.env.messages.lastDefault(), Messages::Default::No);
        QCOMPARE(s.env.transcript.texts(Kind::Message), QStringList());
        QVERIFY(s.dialog->isVisible());
        QCOMPARE(customers.state(), engine::DatasetState::Insert);
        QCOMPARE(customers.fieldValue(QStringLiteral("Ragione_Sociale")).toString(),
                 QStringLiteral("Non salvato"));
        QCOMPARE(QFileInfo(YearArchive::directory(year)).isDir(), existed);
        QCOMPARE(storedYear(), QStringLiteral("2009"));
        QCOMPARE(s.aliasDir(), YearArchive::directory(QStringLiteral("2009")));

        s.env.transcript.clear();
        s.env.messages.answerNext(true);
        s.confirm(year);
        QCOMPARE(s.env.transcript.texts(Kind::Confirm), QStringList{archive::PendingRecords::question});
        QVERIFY(!s.dialog->isVisible());
        QCOMPARE(storedYear(), year);
        QVERIFY(!customers.isActive());
    }

    void theNextStartOpensTheChosenYear()
    {
        Started s;
        const QString dir = YearArchive::make(QStringLiteral("2010"), YearArchive::allTables, {"Rossi"});
        s.confirm(QStringLiteral("2010"));
        QVERIFY(!s.dialog->isVisible());
        s.env.transcript.clear();

        archive::TFDB restarted;
        QString label;
        app::Bootstrap(restarted, [&label](const QString& year) { label = year; }).run();
        QCOMPARE(s.env.transcript.texts(), QStringList());
        QCOMPARE(label, QStringLiteral("2010"));
        QCOMPARE(restarted.Session1.aliasPath(alias), dir);
        QCOMPARE(YearArchive::customerNames(restarted.T_Rubrica), QStringList{"Rossi"});
    }
};

QTEST_MAIN(TestWorkingYear)
#include "tst_workingyear.moc"
