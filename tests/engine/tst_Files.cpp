#include "ArchiveFixture.h"
#include "UnexpectedWarnings.h"
#include "engine/Engine.h"
#include "engine/EngineError.h"

#include <QRandomGenerator>
#include <QTest>
#include <sqlite3.h>

using namespace quillio::engine;
using namespace quillio::engine::test;

namespace {

const QString Customers = QStringLiteral("Rubrica.DB");
const QString Master = QStringLiteral("QK48ZR61MW27");

QString openError(ArchiveFixture& archive, const QString& file)
{
    auto table = archive.table(file);
    return errorText<EngineError>([&] { table->open(); });
}

} // namespace

class FilesTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void filesThatAreNotTablesAreRefusedAndLeftAlone_data();
    void filesThatAreNotTablesAreRefusedAndLeftAlone();
    void protectedTableOpensOnlyWithItsPassword_data();
    void protectedTableOpensOnlyWithItsPassword();
    void protectingAgain();
    void sessionRules();
};

void FilesTest::filesThatAreNotTablesAreRefusedAndLeftAlone_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing file") << "missing"
                                  << "does not exist";
    QTest::newRow("empty file") << "empty"
                                << "is not a table file";
    QTest::newRow("random bytes") << "random"
                                  << "is not a table file";
    QTest::newRow("another SQLite database") << "foreign"
                                             << "is not a table file";
    QTest::newRow("directory") << "directory"
                               << "is a directory";
}

void FilesTest::filesThatAreNotTablesAreRefusedAndLeftAlone()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    ArchiveFixture archive;
    const QString path = archive.path(Customers);
    if (kind == QLatin1String("empty") || kind == QLatin1String("random")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (kind == QLatin1String("random")) {
            QByteArray bytes(8192, Qt::Uninitialized);
            QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
            file.write(bytes);
        }
    } else if (kind == QLatin1String("foreign")) {
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
        QCOMPARE(sqlite3_exec(db, "CREATE TABLE records (x); INSERT INTO records VALUES (1)", nullptr,
                              nullptr, nullptr),
                 SQLITE_OK);
        sqlite3_close(db);
    } else if (kind == QLatin1String("directory")) {
        QVERIFY(QDir(archive.dir.path()).mkdir(Customers));
    }
    const QByteArray before = fileBytes(path);
    const QStringList entries =
        QDir(archive.dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    const QString native = QDir::toNativeSeparators(path);
    const QString tableText = openError(archive, Customers);
    QVERIFY2(tableText.contains(native) && tableText.contains(reason), qPrintable(tableText));

    Query query(archive.session);
    query.setDatabaseName(Alias);
    query.addSql(QStringLiteral("SELECT * FROM Rubrica.DB"));
    const QString queryText = errorText<EngineError>([&] { query.open(); });
    QVERIFY2(queryText.contains(native), qPrintable(queryText));
    const QString protectText =
        errorText<EngineError>([&] { Engine::protectTable(archive.dir.path(), Customers, Master); });
    QVERIFY2(protectText.contains(native), qPrintable(protectText));

    QCOMPARE(fileBytes(path), before);
    QCOMPARE(QDir(archive.dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             entries);
}

void FilesTest::protectedTableOpensOnlyWithItsPassword_data()
{
    QTest::addColumn<QStringList>("registered");
    QTest::addColumn<bool>("opens");
    QTest::newRow("no password") << QStringList{} << false;
    QTest::newRow("another password") << QStringList{"QK48ZR61MW28"} << false;
    QTest::newRow("the password in another case") << QStringList{"qk48zr61mw27"} << false;
    QTest::newRow("the password") << QStringList{Master} << true;
    QTest::newRow("the password among others") << QStringList{"altra", Master} << true;
}

void FilesTest::protectedTableOpensOnlyWithItsPassword()
{
    QFETCH(QStringList, registered);
    QFETCH(bool, opens);
    ArchiveFixture archive;
    archive.create(Customers, customerColumns());
    archive.addRecords(Customers, QStringLiteral("Tipo"), {"riservato"});
    Engine::initialize();
    Engine::protectTable(archive.dir.path() + QDir::separator(), Customers, Master);
    Engine::release();

    Session session(QStringLiteral("Altra"));
    session.addStandardAlias(Alias, archive.dir.path());
    for (const QString& password : registered)
        session.addPassword(password);
    Table table(session);
    table.setDatabaseName(Alias);
    table.setTableName(Customers);
    Query query(session);
    query.setDatabaseName(Alias);
    query.addSql(QStringLiteral("SELECT * FROM Rubrica.DB"));
    if (opens) {
        table.open();
        query.open();
        QCOMPARE(table.fieldValue(QStringLiteral("Tipo")).toString(), QStringLiteral("riservato"));
        QCOMPARE(query.fieldValue(QStringLiteral("Tipo")).toString(), QStringLiteral("riservato"));
    } else {
        const QString text = errorText<EngineError>([&] { table.open(); });
        QVERIFY2(text.contains(QStringLiteral("protected")) && text.contains(Customers), qPrintable(text));
        QVERIFY(errorText<EngineError>([&] { query.open(); }).contains(QStringLiteral("protected")));
        QVERIFY(!table.isActive());
    }
}

void FilesTest::protectingAgain()
{
    ArchiveFixture archive;
    archive.create(Customers, customerColumns());
    Engine::protectTable(archive.dir.path(), Customers, Master);
    const QByteArray protectedBytes = fileBytes(archive.path(Customers));
    Engine::protectTable(archive.dir.path(), Customers, Master);
    QCOMPARE(fileBytes(archive.path(Customers)), protectedBytes);

    const QString other =
        errorText<EngineError>([&] { Engine::protectTable(archive.dir.path(), Customers, "altra"); });
    QVERIFY2(other.contains(QStringLiteral("another password")), qPrintable(other));
    QCOMPARE(fileBytes(archive.path(Customers)), protectedBytes);
    QVERIFY(errorText<EngineError>([&] {
                Engine::protectTable(archive.dir.path(), "Manca.DB", Master);
            }).contains(QStringLiteral("does not exist")));

    // Protection is a mark in the file, not encryption: the records stay readable.
    archive.session.addPassword(Master);
    archive.addRecords(Customers, QStringLiteral("Tipo"), {"leggibile"});
    QVERIFY(fileBytes(archive.path(Customers)).contains("leggibile"));
}

void FilesTest::sessionRules()
{
    ArchiveFixture archive;
    archive.create(Customers, customerColumns());
    Session& session = archive.session;

    QVERIFY(!errorText<EngineError>([&] { session.setNetDir(archive.dir.path()); }).isEmpty());
    QVERIFY(!errorText<EngineError>([&] { session.setPrivateDir(archive.dir.path()); }).isEmpty());
    QVERIFY(session.netDir().isEmpty());

    auto table = archive.table(Customers);
    Query query(session);
    query.setDatabaseName(QStringLiteral("ARCHIVIO"));
    query.addSql(QStringLiteral("SELECT * FROM Rubrica.DB"));
    table->open();
    query.open();
    session.deactivate();
    QVERIFY(!session.isActive());
    QVERIFY(!table->isActive());
    QVERIFY(!query.isActive());

    session.setNetDir(archive.dir.path());
    session.setPrivateDir(archive.dir.path());
    QCOMPARE(session.netDir(), archive.dir.path());
    table->open();
    QVERIFY(session.isActive());
    session.activate();
    QVERIFY(table->isActive());

    QVERIFY(session.hasAlias(QStringLiteral("archivio")));
    QVERIFY(session.aliasPath(Alias).endsWith(QDir::separator()));
    session.deleteAlias(QStringLiteral("Nessuno"));
    session.deleteAlias(QStringLiteral("ARCHIVIO"));
    QVERIFY(!session.hasAlias(Alias));
    QCOMPARE(errorText<EngineError>([&] { session.aliasPath(QStringLiteral("Archivio")); }),
             QStringLiteral("Unknown database: Archivio"));
    // An open table keeps its file; the alias is resolved again on the next open.
    QVERIFY(table->isActive());
    table->close();
    QCOMPARE(errorText<EngineError>([&] { table->open(); }), QStringLiteral("Unknown database: Archivio"));

    // The default session is one for the whole program: what one caller adds, the next one sees,
    // and a named session does not.
    Engine::defaultSession().addStandardAlias(QStringLiteral("Condiviso"), archive.dir.path());
    QVERIFY(Engine::defaultSession().hasAlias(QStringLiteral("condiviso")));
    QVERIFY(!session.hasAlias(QStringLiteral("Condiviso")));
    Engine::defaultSession().deleteAlias(QStringLiteral("Condiviso"));
}

QTEST_GUILESS_MAIN(FilesTest)
#include "tst_Files.moc"
