#include "AddressesWithAPassword.h"
#include "PostgresCluster.h"
#include "TestEnvironment.h"
#include "UnexpectedWarnings.h"
#include "app/Bootstrap.h"
#include "app/Program.h"
#include "app/TFMain.h"
#include "archive/TFDB.h"
#include "archive/TableSchemas.h"
#include "config/SettingsKey.h"
#include "config/SettingsStore.h"
#include "engine/DataPlace.h"
#include "engine/EngineError.h"
#include "engine/Query.h"
#include "engine/Session.h"
#include "engine/Table.h"
#include "widgets/ValueLabel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>

using namespace quillio;
using config::SettingsStore;
namespace Key = config::SettingsKey;
using Kind = test::Transcript::Kind;

namespace {

const QStringList firstStartMessages = {
    "CONFIGURAZIONE ASSENTE",
    "E STATA CARICATA LA CONFIGURAZIONE DI BASE",
    "Archivio Rubrica - Assente - Premere OK per Crearlo",
    "Archivio Rubrica.DB Creato",
    "Archivio Bozze - Assente - Premere OK per Crearlo",
    "Archivio Bozze.DB Creato",
    "Archivio Fatture - Assente - Premere OK per Crearlo",
    "Archivio Fatture.DB Creato",
};

void set(const QString& name, const QString& value)
{
    SettingsStore::ScriviReg(Key::path, name, value);
}

QString get(const QString& name)
{
    return SettingsStore::LeggiReg(Key::path, name);
}

// Runs the start-up over a fresh data module; returns the year label's text.
QString runBootstrap(archive::TFDB& db)
{
    QString label = QStringLiteral("2009");
    app::Bootstrap(db, [&label](const QString& year) { label = year; }).run();
    return label;
}

QString runBootstrap()
{
    archive::TFDB db;
    return runBootstrap(db);
}

// After a first start with the defaults, starts again on `db` with the data directory at `address`;
// the transcript then holds only what this start showed.
void startAgainOn(const QString& address, test::TestEnvironment& env, archive::TFDB& db)
{
    runBootstrap();
    set(Key::pathDatiGen, address);
    env.transcript.clear();
    runBootstrap(db);
}

// Whether a table file opens in a session that knows no password, and in one that knows the
// master password.
bool opensWithoutPassword(const QString& dir, const QString& file)
{
    engine::Session session(QStringLiteral("probe"));
    session.addStandardAlias(QStringLiteral("P"), dir);
    engine::Table table(session);
    table.setDatabaseName(QStringLiteral("P"));
    table.setTableName(file);
    try {
        table.open();
        return true;
    } catch (const engine::EngineError&) {
        return false;
    }
}

bool opensWithMasterPassword(const QString& dir, const QString& file)
{
    engine::Session session(QStringLiteral("probe"));
    session.addStandardAlias(QStringLiteral("P"), dir);
    session.addPassword(archive::masterPassword);
    engine::Table table(session);
    table.setDatabaseName(QStringLiteral("P"));
    table.setTableName(file);
    table.open();
    return table.isActive();
}

bool isProtected(const QString& dir, const QString& file)
{
    return !opensWithoutPassword(dir, file) && opensWithMasterPassword(dir, file);
}

void createUnprotected(const QString& dir, const QString& file, const QString& columns)
{
    engine::Session session(QStringLiteral("maker"));
    session.addStandardAlias(QStringLiteral("M"), dir);
    engine::Query query(session);
    query.setDatabaseName(QStringLiteral("M"));
    query.addSql(QStringLiteral("CREATE TABLE \"%1\" %2").arg(file, columns));
    query.execSql();
}

const QStringList tableFiles = {"Rubrica.DB", "Bozze.DB", "Fatture.DB"};

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& contents)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

} // namespace

class TestBootstrap : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void firstStartConfiguresCreatesAndProtects()
    {
        test::TestEnvironment env;
        archive::TFDB db;
        QCOMPARE(runBootstrap(db), QStringLiteral("2009"));

        QCOMPARE(env.transcript.texts(), firstStartMessages);
        const QString program = env.paths.programDir();
        QCOMPARE(get(Key::conf), QStringLiteral("OK"));
        QCOMPARE(get(Key::pathPrg), program);
        QCOMPARE(get(Key::pathTemp), program);
        QCOMPARE(get(Key::pathDatiGen), program);
        QCOMPARE(get(Key::aliasDb), QStringLiteral("QUILDB09"));
        QCOMPARE(get(Key::anno), QStringLiteral("2009"));
        QCOMPARE(get(Key::dbRubrica), QStringLiteral("Rubrica.DB"));
        QCOMPARE(get(Key::dbBozze), QStringLiteral("Bozze.DB"));
        QCOMPARE(get(Key::dbFatture), QStringLiteral("Fatture.DB"));

        const QString year = program + QStringLiteral("2009/");
        for (const QString& file : tableFiles)
            QVERIFY2(isProtected(year, file), qPrintable(file));

        // Bound and closed, ready for the commands of the main window.
        QVERIFY(db.Session1.isActive());
        QCOMPARE(db.T_Fatture.databaseName(), QStringLiteral("QUILDB09"));
        QCOMPARE(db.T_Fatture.tableName(), QStringLiteral("Fatture.DB"));
        QVERIFY(!db.T_Fatture.isActive());
        db.T_Fatture.open();
        QVERIFY(db.T_Fatture.isEmpty());
        QCOMPARE(db.QGEN.databaseName(), QStringLiteral("QUILDB09"));
    }

    // A program folder the person may not write into (a system-wide installation) sends the
    // archive and the temporary files to the user's places; the program folder stays as it is.
    void firstRunDefaultsFollowTheProgramFolder_data()
    {
        QTest::addColumn<bool>("writable");
        QTest::newRow("writable program folder") << true;
        QTest::newRow("read-only program folder") << false;
    }

    void firstRunDefaultsFollowTheProgramFolder()
    {
        QFETCH(bool, writable);
        test::TestEnvironment env;
        env.paths.programDirWritableOverride = writable;
        const QString program = env.paths.programDir();
        const QString data = writable ? program : env.paths.userDataDir();
        const QString temp = writable ? program : env.paths.userTempDir();

        QCOMPARE(runBootstrap(), QStringLiteral("2009"));
        QCOMPARE(env.transcript.texts(), firstStartMessages);
        QCOMPARE(get(Key::pathPrg), program);
        QCOMPARE(get(Key::pathDatiGen), data);
        QCOMPARE(get(Key::pathTemp), temp);
        for (const QString& file : tableFiles)
            QVERIFY2(isProtected(data + QStringLiteral("2009/"), file), qPrintable(file));
        QCOMPARE(QDir(program).exists(QStringLiteral("2009")), writable);

        // The next start finds the archive where the first one put it.
        env.transcript.clear();
        QCOMPARE(runBootstrap(), QStringLiteral("2009"));
        QCOMPARE(env.transcript.texts(), QStringList());
    }

    void programFolderWritabilityIsAskedOfTheFileSystem()
    {
        test::TestEnvironment env;
        const QString program = env.paths.programDir();
        QVERIFY(env.paths.Paths::programDirWritable());
        QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner);
        const bool stillWritable = QFileInfo(program).isWritable();
        const bool answer = env.paths.Paths::programDirWritable();
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (stillWritable)
            QSKIP(
                "Running as root: a read-only folder is still writable, the injected answer is tested above");
        QVERIFY(!answer);
    }

    void secondStartSaysNothing()
    {
        test::TestEnvironment env;
        runBootstrap();
        env.transcript.clear();
        set(Key::anno, QStringLiteral("2009"));
        QCOMPARE(runBootstrap(), QStringLiteral("2009"));
        QCOMPARE(env.transcript.texts(), QStringList());
    }

    void oneMissingTableIsCreatedAndAllThreeProtected()
    {
        test::TestEnvironment env;
        runBootstrap();
        env.transcript.clear();
        // A year whose customer and invoice files were made without protection, drafts missing.
        const QString year = env.paths.programDir() + QStringLiteral("2010/");
        QDir().mkpath(year);
        createUnprotected(year, QStringLiteral("Rubrica.DB"), archive::TableSchemas::customers());
        createUnprotected(year, QStringLiteral("Fatture.DB"), archive::TableSchemas::invoices());
        set(Key::anno, QStringLiteral("2010"));

        QCOMPARE(runBootstrap(), QStringLiteral("2010"));
        QCOMPARE(env.transcript.texts(), (QStringList{"Archivio Bozze - Assente - Premere OK per Crearlo",
                                                      "Archivio Bozze.DB Creato"}));
        for (const QString& file : tableFiles)
            QVERIFY2(isProtected(year, file), qPrintable(file));
    }

    void renamedTableFileIsLookedForAndNamed()
    {
        test::TestEnvironment env;
        runBootstrap();
        env.transcript.clear();
        set(Key::dbRubrica, QStringLiteral("Clienti.DB"));
        runBootstrap();
        QCOMPARE(env.transcript.texts(), (QStringList{"Archivio Rubrica - Assente - Premere OK per Crearlo",
                                                      "Archivio Clienti.DB Creato"}));
        QVERIFY(QFile::exists(env.paths.programDir() + QStringLiteral("2009/Clienti.DB")));
    }

    void confOtherThanOkRestoresEveryDefault_data()
    {
        QTest::addColumn<QString>("conf");
        QTest::newRow("lower case") << "ok";
        QTest::newRow("trailing blank") << "OK ";
        QTest::newRow("empty") << "";
        QTest::newRow("other text") << "SI";
    }
    void confOtherThanOkRestoresEveryDefault()
    {
        QFETCH(QString, conf);
        test::TestEnvironment env;
        runBootstrap();
        set(Key::conf, conf);
        set(Key::anno, QStringLiteral("2015"));
        set(Key::aliasDb, QStringLiteral("ALTRO"));
        set(Key::dbFatture, QStringLiteral("F.DB"));
        env.transcript.clear();

        QCOMPARE(runBootstrap(), QStringLiteral("2009"));
        QCOMPARE(env.transcript.texts(),
                 (QStringList{"CONFIGURAZIONE ASSENTE", "E STATA CARICATA LA CONFIGURAZIONE DI BASE"}));
        QCOMPARE(get(Key::conf), QStringLiteral("OK"));
        QCOMPARE(get(Key::anno), QStringLiteral("2009"));
        QCOMPARE(get(Key::aliasDb), QStringLiteral("QUILDB09"));
        QCOMPARE(get(Key::dbFatture), QStringLiteral("Fatture.DB"));
    }

    void pathFailuresStopWithTheirMessage_data()
    {
        QTest::addColumn<QString>("pathPrg");
        QTest::addColumn<QString>("pathDatiGen");
        QTest::addColumn<QString>("anno");
        QTest::addColumn<QString>("message");
        QTest::newRow("program dir missing, data dir too") << "missing-program/"
                                                           << "missing-data/"
                                                           << "2009" << app::Bootstrap::programPathError;
        QTest::newRow("program dir empty") << ""
                                           << "."
                                           << "2009" << app::Bootstrap::programPathError;
        QTest::newRow("data dir missing") << "."
                                          << "missing-data/"
                                          << "2009" << app::Bootstrap::dataPathError;
        QTest::newRow("two new levels") << "."
                                        << "."
                                        << "2011/nuovo" << app::Bootstrap::yearCreationError;
        // A year is one plain name below the data directory, never a way out of it.
        QTest::newRow("year climbing out") << "."
                                           << "."
                                           << "../x" << app::Bootstrap::yearCreationError;
        QTest::newRow("parent as the year") << "."
                                            << "."
                                            << ".." << app::Bootstrap::yearCreationError;
    }
    void pathFailuresStopWithTheirMessage()
    {
        QFETCH(QString, pathPrg);
        QFETCH(QString, pathDatiGen);
        QFETCH(QString, anno);
        QFETCH(QString, message);
        test::TestEnvironment env;
        const QString program = env.paths.programDir();
        const auto resolve = [&](const QString& path) {
            return path.isEmpty() ? path : path == QLatin1String(".") ? program : program + path;
        };
        runBootstrap();
        set(Key::pathPrg, resolve(pathPrg));
        set(Key::pathDatiGen, resolve(pathDatiGen));
        set(Key::anno, anno);
        env.transcript.clear();

        archive::TFDB db;
        QCOMPARE(runBootstrap(db), QStringLiteral("2009"));
        QCOMPARE(env.transcript.texts(), QStringList{message});
        QVERIFY(!QDir(program + QStringLiteral("missing-data")).exists());
        QVERIFY(!QDir(program + QStringLiteral("2011")).exists());
        QVERIFY(!QDir(program + QStringLiteral("../x")).exists());
        QVERIFY(!QFile::exists(program + QStringLiteral("../Rubrica.DB")));
        QVERIFY(!db.Session1.hasAlias(QStringLiteral("QUILDB09")));
        QVERIFY(db.T_Rubrica.tableName().isEmpty());
    }

    // A server address in place of the data folder: the first start makes the year's schema and
    // its three protected tables with the messages of a folder.
    void aServerArchiveStartsAsAFolderDoes()
    {
        if (!test::PostgresCluster::shared())
            QSKIP(qPrintable(test::PostgresCluster::unavailableReason()));
        test::TestEnvironment env;
        runBootstrap();
        const QString database = test::PostgresCluster::shared()->newDatabase();
        set(Key::pathDatiGen, database);
        env.transcript.clear();
        archive::TFDB db;
        QCOMPARE(runBootstrap(db), QStringLiteral("2009"));
        QCOMPARE(env.transcript.texts(), firstStartMessages.mid(2));
        const QString year = engine::DataPlace::child(database, QStringLiteral("2009"));
        for (const QString& file : tableFiles)
            QVERIFY2(isProtected(year, file), qPrintable(file));
        env.transcript.clear();
        archive::TFDB again;
        runBootstrap(again);
        QCOMPARE(env.transcript.texts(), QStringList());
    }

    // A server that cannot be used stops the start with the data-directory message, then says why,
    // never showing the password of the address.
    void anUnusableServerStopsWithItsReason_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no server there") << "postgresql://quillio:segreta@%2Fnonexistent%2Fsocket/quillio/"
                                         << "nonexistent";
        QTest::newRow("no such database") << ""
                                          << "quillio_assente";
    }
    void anUnusableServerStopsWithItsReason()
    {
        QFETCH(QString, address);
        QFETCH(QString, reason);
        if (address.isEmpty()) {
            if (!test::PostgresCluster::shared())
                QSKIP(qPrintable(test::PostgresCluster::unavailableReason()));
            address = test::PostgresCluster::shared()->newDatabase().replace(
                QRegularExpression(QStringLiteral("/[^/]+/$")), QStringLiteral("/quillio_assente/"));
        }
        test::TestEnvironment env;
        archive::TFDB db;
        startAgainOn(address, env, db);
        QCOMPARE(env.transcript.texts(Kind::Message), QStringList{app::Bootstrap::dataPathError});
        const QStringList errors = env.transcript.texts(Kind::Error);
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].contains(reason), qPrintable(errors[0]));
        QVERIFY2(!errors[0].contains(QLatin1String("segreta")), qPrintable(errors[0]));
        QVERIFY(!db.Session1.hasAlias(QStringLiteral("QUILDB09")));
    }

    // The start-up's stop message and the server's reason never show the address's password,
    // whatever the address looks like.
    void theStartShowsNoPasswordOfTheAddress_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QStringList>("secrets");
        if (!test::PostgresCluster::shared())
            QSKIP(qPrintable(test::PostgresCluster::unavailableReason()));
        for (const test::AddressWithAPassword& row :
             test::addressesWithAPassword(test::PostgresCluster::shared()->socketHost()))
            QTest::newRow(row.name) << row.address << row.secrets;
    }
    void theStartShowsNoPasswordOfTheAddress()
    {
        QFETCH(QString, address);
        QFETCH(QStringList, secrets);
        test::TestEnvironment env;
        archive::TFDB db;
        startAgainOn(address, env, db);
        QCOMPARE(env.transcript.texts(Kind::Message), QStringList{app::Bootstrap::dataPathError});
        for (const QString& text : env.transcript.texts())
            for (const QString& secret : secrets)
                QVERIFY2(!text.contains(secret), qPrintable(text));
    }

    void missingYearDirectoryIsCreated()
    {
        test::TestEnvironment env;
        runBootstrap();
        set(Key::anno, QStringLiteral("2012"));
        env.transcript.clear();
        QCOMPARE(runBootstrap(), QStringLiteral("2012"));
        QVERIFY(QDir(env.paths.programDir() + QStringLiteral("2012")).exists());
        QCOMPARE(env.transcript.texts(Kind::Message).size(), 6);
    }

    // A restore stopped within its swap, as its journal says: the year's customer file set aside
    // into the staging folder, the copy's one (made anew, so it differs) in its place.
    void aStoppedRestoreIsFinishedOrUndoneBeforeATableOpens_data()
    {
        QTest::addColumn<QByteArray>("journal");
        QTest::addColumn<QString>("told");    // in the message, or in the error when the start stops
        QTest::addColumn<bool>("copyStays");  // the copy's file is in place afterwards
        QTest::addColumn<bool>("startStops"); // the journal is not understood: nothing is touched
        const QByteArray files = "\"staging\": \".quillio-ripristino-prova\", "
                                 "\"files\": [{\"path\": \"2009/Rubrica.DB\", \"existed\": true}], "
                                 "\"createdFolders\": []";
        QTest::newRow("stopped while swapping") << "{\"state\": \"swapping\", " + files + "}"
                                                << "annullato" << false << false;
        QTest::newRow("stopped after every file was in place") << "{\"state\": \"committed\", " + files + "}"
                                                               << "completato" << true << false;
        QTest::newRow("journal cut short") << QByteArray("{\"state\": \"swapping\", \"stag")
                                           << ".quillio-ripristino.journal" << true << true;
        QTest::newRow("journal naming a file outside the archive")
            << "{\"state\": \"swapping\", " + QByteArray(files).replace("2009/", "../") + "}"
            << ".quillio-ripristino.journal" << true << true;
    }

    void aStoppedRestoreIsFinishedOrUndoneBeforeATableOpens()
    {
        QFETCH(QByteArray, journal);
        QFETCH(QString, told);
        QFETCH(bool, copyStays);
        QFETCH(bool, startStops);
        test::TestEnvironment env;
        runBootstrap();
        const QString data = env.paths.programDir();
        const QString target = data + QStringLiteral("2009/Rubrica.DB");
        const QByteArray before = contentsOf(target);
        QVERIFY(QDir().mkpath(data + QStringLiteral(".quillio-ripristino-prova/prima")));
        QVERIFY(QFile::rename(target, data + QStringLiteral(".quillio-ripristino-prova/prima/0")));
        createUnprotected(data + QStringLiteral("2009"), QStringLiteral("Rubrica.DB"),
                          archive::TableSchemas::customers());
        const QByteArray copied = contentsOf(target);
        QVERIFY(copied != before);
        writeFile(data + QStringLiteral(".quillio-ripristino.journal"), journal);
        env.transcript.clear();

        runBootstrap();
        const QStringList said = env.transcript.texts(startStops ? Kind::Error : Kind::Message);
        QCOMPARE(said.size(), 1);
        QVERIFY2(said.first().contains(told), qPrintable(said.first()));
        QCOMPARE(env.transcript.texts().size(), 1);
        QCOMPARE(contentsOf(target), copyStays ? copied : before);
        QCOMPARE(QFileInfo::exists(data + QStringLiteral(".quillio-ripristino.journal")), startStops);
        QCOMPARE(QFileInfo::exists(data + QStringLiteral(".quillio-ripristino-prova/prima/0")), startStops);
    }

    void unwritableSettingsStopTheFirstStart()
    {
        test::TestEnvironment env;
        QFile blocker(env.paths.settingsRoot() + QStringLiteral("/ORVALDA"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        archive::TFDB db;
        app::TFMain main;
        main.setDataModule(&db);
        main.show();
        QCOMPARE(env.transcript.texts(Kind::Message), QStringList{"CONFIGURAZIONE ASSENTE"});
        const QStringList errors = env.transcript.texts(Kind::Error);
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().contains(QStringLiteral("'Conf'")), qPrintable(errors.first()));
        QVERIFY(!QDir(env.paths.programDir() + QStringLiteral("2009")).exists());
    }

    void mainWindowRunsTheStartUpOnItsFirstShowOnly()
    {
        test::TestEnvironment env;
        app::Program program;
        program.showMainWindow();
        QVERIFY(program.main().isMaximized() || program.main().windowState() & Qt::WindowMaximized);
        QCOMPARE(program.main().windowTitle(), QStringLiteral("Quillio"));
        QCOMPARE(env.transcript.texts(), firstStartMessages);
        QCOMPARE(program.main().StaticText1->text(), QStringLiteral("2009"));
        program.main().hide();
        program.main().showMinimized();
        program.main().showMaximized();
        QCOMPARE(env.transcript.texts(), firstStartMessages);
    }
};

QTEST_MAIN(TestBootstrap)
#include "tst_bootstrap.moc"
