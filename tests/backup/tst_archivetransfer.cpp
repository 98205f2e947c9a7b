#include "AddressesWithAPassword.h"
#include "DataDirectory.h"
#include "PostgresCluster.h"
#include "UnexpectedWarnings.h"
#include "backup/ArchiveCheck.h"
#include "backup/ArchiveTransfer.h"
#include "backup/AutomaticBackup.h"
#include "backup/BackupError.h"
#include "backup/BackupWriter.h"
#include "business/BusinessFile.h"
#include "business/ExportRegister.h"
#include "engine/DataPlace.h"
#include "engine/ServerAddress.h"
#include "engine/Session.h"
#include "engine/Table.h"
#include "engine/TableStorage.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

using namespace quillio;
using namespace quillio::backup;
using engine::DataPlace;
using test::DataDirectory;

namespace {

const QStringList years = {"2025", "2026"};

// Two years with records in every table, a gap in the invoices' numbers (the last one removed, so
// only the automatic numbering knows the next number), and company data with a register whose
// stored file is not plain text.
void fill(const DataDirectory& data)
{
    for (const QString& year : years) {
        data.makeYear(year);
        data.addCustomers(year, {"Rossi S.r.l.", "Bianchi & C. \"Snc\"", "Città Nuova"});
        data.addInvoice(year, {QDate(year.toInt(), 1, 15), "Rossi S.r.l.", "01234567897", {}, {100, 20.5}});
        data.addInvoice(year, {QDate(year.toInt(), 2, 1), "Città Nuova", {}, "RSSMRA80A01H501U", {99.99}});
        const qint64 last = data.addInvoice(year, {QDate(year.toInt(), 3, 1), "Rossi S.r.l.", {}, {}, {5}});
        data.removeRecord(year, QStringLiteral("Fatture.DB"), last);
    }
    data.removeRecord(QStringLiteral("2026"), QStringLiteral("Rubrica.DB"), 2);
    business::BusinessFile company(data.path());
    company.setDocument(QStringLiteral("company"), {{"denominazione", "Ferramenta Esempio"}});
    business::ExportRegister electronic(company);
    const QString progressive = electronic.progressiveFor(2026, 1, false);
    electronic.progressiveFor(2026, 2, false);
    electronic.record({2026, 1, progressive, "IT01234567897_" + progressive + ".xml",
                       QDateTime(QDate(2026, 1, 16), QTime(9, 0), Qt::UTC), "ab12",
                       QByteArray("<?xml?>\0\xff\x01", 10)});
}

qint64 nextNumber(const DataDirectory& data, const QString& year, const QString& table)
{
    return engine::TableStorage::open(data.yearDirectory(year), table)->nextNumber();
}

bool isProtected(const DataDirectory& data, const QString& year, const QString& table)
{
    return engine::TableStorage::open(data.yearDirectory(year), table)->isProtected();
}

void compareCompanyData(const QString& one, const QString& other)
{
    const business::BusinessData a = business::BusinessFile(one).storage().everything();
    const business::BusinessData b = business::BusinessFile(other).storage().everything();
    QCOMPARE(b.documents, a.documents);
    QCOMPARE(b.progressives.size(), a.progressives.size());
    for (qsizetype i = 0; i < a.progressives.size(); ++i) {
        QCOMPARE(b.progressives[i].sequence, a.progressives[i].sequence);
        QCOMPARE(b.progressives[i].progressive, a.progressives[i].progressive);
        QCOMPARE(b.progressives[i].number, a.progressives[i].number);
        QCOMPARE(b.progressives[i].assigned, a.progressives[i].assigned);
    }
    QCOMPARE(b.exports.size(), a.exports.size());
    for (qsizetype i = 0; i < a.exports.size(); ++i) {
        QCOMPARE(b.exports[i].fileName, a.exports[i].fileName);
        QCOMPARE(b.exports[i].exported, a.exports[i].exported);
        QCOMPARE(b.exports[i].sha256, a.exports[i].sha256);
        QCOMPARE(b.exports[i].content, a.exports[i].content);
    }
}

void compareArchives(const DataDirectory& one, const DataDirectory& other)
{
    for (const QString& year : years) {
        for (const QString& table : DataDirectory::tables) {
            const QString name = year + '/' + table;
            QVERIFY2(other.records(year, table) == one.records(year, table), qPrintable(name));
            QVERIFY2(nextNumber(other, year, table) == nextNumber(one, year, table), qPrintable(name));
            QVERIFY2(isProtected(other, year, table) == isProtected(one, year, table), qPrintable(name));
        }
    }
    compareCompanyData(one.path(), other.path());
}

void ignore(const QString&) {}

// The text of the error `action` raises; empty when it raises none.
QString textOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const QuillioError& error) {
        return error.text();
    }
    return {};
}

// Every file and folder below `root` except those inside `skipped`, with what each file holds.
QStringList entriesBelow(const QString& root, const QString& skipped)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path == skipped || path.startsWith(skipped + '/'))
            continue;
        QFile file(path);
        const QByteArray content =
            it.fileInfo().isFile() && file.open(QIODevice::ReadOnly) ? file.readAll() : "";
        entries << path + ' ' + QString::fromUtf8(content.toHex());
    }
    entries.sort();
    return entries;
}

using Spoil = std::function<void(const DataDirectory&)>;

} // namespace

Q_DECLARE_METATYPE(Spoil)

class TestArchiveTransfer : public QObject
{
    Q_OBJECT

    QString newServerArchive() { return test::PostgresCluster::shared()->newDatabase(); }

private slots:
    void initTestCase()
    {
        if (!test::PostgresCluster::shared())
            QSKIP(qPrintable(test::PostgresCluster::unavailableReason()));
    }
    void init() { quillio::test::failOnUnexpectedWarnings(); }

    // Folder to server and back gives the same archive, and the next number continues in both.
    void thereAndBackGivesTheSameArchive()
    {
        QTemporaryDir folder;
        QTemporaryDir back;
        const DataDirectory original(folder.path());
        fill(original);
        const DataDirectory server(newServerArchive());
        QStringList told;
        ArchiveTransfer::copy(original.path(), server.path(), DataDirectory::tables,
                              [&told](const QString& line) { told << line; });
        QCOMPARE(told.size(), 3);
        QVERIFY2(told[0].startsWith(QLatin1String("dati dell'azienda copiati")), qPrintable(told[0]));

        const ArchiveCheck::Report report = ArchiveCheck::check(server.path(), DataDirectory::tables);
        QVERIFY2(report.ok(), qPrintable(report.problems.join('\n')));
        QVERIFY2(report.lines.contains("2026/Fatture.DB: 2 record, prossimo numero 4, protetta"),
                 qPrintable(report.lines.join('\n')));
        compareArchives(original, server);

        const DataDirectory returned(back.path());
        ArchiveTransfer::copy(server.path(), returned.path(), DataDirectory::tables, ignore);
        compareArchives(original, returned);
        QVERIFY(!QDir(back.path()).entryList(QDir::AllEntries | QDir::Hidden).join(' ').contains("copia"));

        const DataDirectory::Invoice next{QDate(2026, 4, 1), "Bianchi", {}, {}, {1}};
        QCOMPARE(server.addInvoice("2026", next), qint64(4));
        QCOMPARE(returned.addInvoice("2026", next), qint64(4));
    }

    // A year already at the destination refuses the whole copy before anything is written.
    void anExistingYearIsNeverOverwritten()
    {
        QTemporaryDir folder;
        const DataDirectory original(folder.path());
        fill(original);
        const DataDirectory server(newServerArchive());
        server.makeYear("2026");
        server.addCustomers("2026", {"Già qui"});
        try {
            ArchiveTransfer::copy(original.path(), server.path(), DataDirectory::tables, ignore);
            QFAIL("the copy went over an existing year");
        } catch (const BackupError& error) {
            QVERIFY2(error.text().contains("2026"), qPrintable(error.text()));
        }
        QCOMPARE(DataPlace::children(server.path()), QStringList{"2026"});
        QCOMPARE(server.records("2026", "Rubrica.DB").size(), 1);
        QVERIFY(business::BusinessFile(server.path()).storage().everything().isEmpty());
    }

    // A year that cannot be read leaves nothing of itself at the destination.
    void aFailedYearLeavesNothingBehind()
    {
        QTemporaryDir folder;
        QTemporaryDir target;
        const DataDirectory original(folder.path());
        fill(original);
        QFile damaged(QDir(original.yearDirectory("2026")).filePath("Bozze.DB"));
        QVERIFY(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
        damaged.write(QByteArray(4096, 'x'));
        damaged.close();
        QVERIFY_THROWS_EXCEPTION(QuillioError, ArchiveTransfer::copy(original.path(), target.path(),
                                                                     DataDirectory::tables, ignore));
        QCOMPARE(QDir(target.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{"2025"});
    }

    void checkNamesWhatIsWrong_data()
    {
        QTest::addColumn<Spoil>("spoil");
        QTest::addColumn<QString>("problem");
        QTest::newRow("missing table") << Spoil([](const DataDirectory& data) {
            QFile::remove(QDir(data.yearDirectory("2025")).filePath("Bozze.DB"));
        }) << "2025/Bozze.DB: manca";
        QTest::newRow("other columns") << Spoil([](const DataDirectory& data) {
            const QString year = data.yearDirectory("2026");
            QFile::remove(QDir(year).filePath("Fatture.DB"));
            QFile::copy(QDir(year).filePath("Rubrica.DB"), QDir(year).filePath("Fatture.DB"));
        }) << "2026/Fatture.DB: la colonna 2";
        QTest::newRow("no year") << Spoil([](const DataDirectory& data) {
            for (const QString& year : years)
                QDir(data.yearDirectory(year)).removeRecursively();
        }) << "non ha anni di lavoro";
    }
    void checkNamesWhatIsWrong()
    {
        QFETCH(Spoil, spoil);
        QFETCH(QString, problem);
        QTemporaryDir folder;
        const DataDirectory data(folder.path());
        fill(data);
        spoil(data);
        const ArchiveCheck::Report report = ArchiveCheck::check(data.path(), DataDirectory::tables);
        QVERIFY(!report.ok());
        QVERIFY2(report.problems.join('\n').contains(problem), qPrintable(report.problems.join('\n')));
    }

    // Copies of files cannot be taken of a server's archive: the copy says where they are made,
    // and the daily one does not run (nor fail every day).
    void aServerArchiveIsCopiedOnTheServer()
    {
        const DataDirectory server(newServerArchive());
        server.makeYear("2026");
        QTemporaryDir folder;
        try {
            BackupWriter(server.path(), DataDirectory::tables)
                .write(QDir(folder.path()).filePath("c.zip"), {});
            QFAIL("a server's archive was copied as files");
        } catch (const BackupError& error) {
            QVERIFY2(error.text().contains("pg_dump"), qPrintable(error.text()));
        }
        const AutomaticBackup::Outcome outcome =
            AutomaticBackup::run({server.path(), DataDirectory::tables, QDateTime::currentDateTime()});
        QVERIFY(!outcome.ran);
        QVERIFY(outcome.failure.isEmpty());
        QVERIFY(QDir(folder.path()).isEmpty());
    }

    // Any desk may make schemas on the server: one named to climb out of the destination folder
    // (or to pass for the copy's own staging) is no year. The copy leaves it out and says so, never
    // touches anything beside the destination, and copies the real years.
    void namesOnTheServerNeverLeaveTheDestination()
    {
        const DataDirectory server(newServerArchive());
        server.makeYear("2026");
        server.addCustomers("2026", {"Rossi S.r.l."});
        const QStringList hostile = {"../x", "..", "a/b", ".quillio-copia-2026", "a/../../x"};
        for (qsizetype i = 0; i < hostile.size(); ++i) {
            const QString made = QStringLiteral("h%1").arg(i);
            server.makeYear(made);
            server.addCustomers(made, {"Intruso"});
            const QString database = engine::ServerAddress::parse(server.path())->database();
            QCOMPARE(
                test::PostgresCluster::shared()->execute(
                    QStringLiteral("ALTER SCHEMA \"%1\" RENAME TO \"%2\"").arg(made, hostile[i]), database),
                QString());
        }
        QTemporaryDir outer;
        const QString folder = QDir(outer.path()).filePath("archivio");
        QVERIFY(QDir().mkpath(QDir(outer.path()).filePath("x")));
        QFile sentinel(QDir(outer.path()).filePath("x/resta.txt"));
        QVERIFY(sentinel.open(QIODevice::WriteOnly));
        sentinel.write("resta");
        sentinel.close();
        const QStringList besideBefore = entriesBelow(outer.path(), folder);

        QProcess tool;
        tool.start(QUILLIO_ARCHIVE_TOOL, {"copy", server.path(), folder});
        QVERIFY(tool.waitForFinished(60000));
        const QByteArray printed = tool.readAllStandardOutput();
        QVERIFY2(tool.exitCode() == 0, tool.readAllStandardError().constData());
        QCOMPARE(entriesBelow(outer.path(), folder), besideBefore);
        QVERIFY(sentinel.open(QIODevice::ReadOnly));
        QCOMPARE(sentinel.readAll(), QByteArray("resta"));
        QCOMPARE(QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{"2026"});
        QCOMPARE(DataDirectory(folder).records("2026", "Rubrica.DB").size(), 1);
        // Each is named, but for one of the copy's own staging form, which it never takes for a year.
        for (const QString& name : hostile)
            QVERIFY2(printed.contains(QStringLiteral("\"%1\" saltato").arg(name).toUtf8()) ==
                         !name.startsWith(".quillio-copia-"),
                     printed.constData());

        tool.start(QUILLIO_ARCHIVE_TOOL, {"check", server.path()});
        QVERIFY(tool.waitForFinished(60000));
        const QByteArray checked = tool.readAllStandardOutput();
        QVERIFY2(checked.contains("\"../x\""), checked.constData());
        QVERIFY2(!checked.contains("../x/Rubrica.DB"), checked.constData());
    }

    // Whatever an address looks like, a password written in it shows in no message: not in the
    // engine's, the company data's or the command line's.
    void noMessageShowsThePassword_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QStringList>("secrets");
        for (const test::AddressWithAPassword& row :
             test::addressesWithAPassword(test::PostgresCluster::shared()->socketHost()))
            QTest::newRow(row.name) << row.address << row.secrets;
    }
    void noMessageShowsThePassword()
    {
        QFETCH(QString, address);
        QFETCH(QStringList, secrets);
        const QString year = DataPlace::child(address, QStringLiteral("2026"));
        QStringList texts;
        for (const QString& place : {address, year}) {
            texts << DataPlace::shown(place);
            DataPlace::exists(place);
            texts << DataPlace::lastError();
            DataPlace::create(place);
            texts << DataPlace::lastError();
            texts << DataPlace::children(place) << DataPlace::lastError();
            texts << textOf([&] { engine::TableStorage::open(place, QStringLiteral("Rubrica.DB")); });
            texts << textOf([&] { business::BusinessFile(place).storage().everything(); });
        }
        texts << textOf([&] {
            engine::Session session(QStringLiteral("Prova"));
            session.addStandardAlias(QStringLiteral("PROVA"), year);
            session.activate();
            engine::Table table(session);
            table.setDatabaseName(QStringLiteral("PROVA"));
            table.setTableName(QStringLiteral("Rubrica.DB"));
            table.open();
        });
        QTemporaryDir folder;
        const QString zip = QDir(folder.path()).filePath("copia.zip");
        for (const QStringList& arguments :
             {QStringList{"check", address}, QStringList{"copy", address, folder.path()},
              QStringList{"copy", folder.path(), address}, QStringList{"restore", zip, address},
              QStringList{"backup", address, zip}}) {
            QProcess tool;
            tool.start(QUILLIO_ARCHIVE_TOOL, arguments);
            QVERIFY(tool.waitForFinished(60000));
            QVERIFY2(tool.exitCode() != 0, qPrintable(arguments.join(' ')));
            texts << QString::fromUtf8(tool.readAllStandardOutput() + tool.readAllStandardError());
        }
        for (const QString& text : std::as_const(texts))
            for (const QString& secret : secrets)
                QVERIFY2(!text.contains(secret), qPrintable(text));
    }

    // The command line prints what it did and exits 0, or 1 with the reason.
    void theToolCopiesAndChecks()
    {
        QTemporaryDir folder;
        const DataDirectory original(folder.path());
        fill(original);
        const QString server = newServerArchive();
        QProcess tool;
        tool.start(QUILLIO_ARCHIVE_TOOL, {"copy", original.path(), server});
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 0);
        QVERIFY2(tool.readAllStandardOutput().contains("anno 2026 copiato"), "no line for the year");
        tool.start(QUILLIO_ARCHIVE_TOOL, {"check", server});
        QVERIFY(tool.waitForFinished(60000));
        const QByteArray printed = tool.readAllStandardOutput();
        QCOMPARE(tool.exitCode(), 0);
        QVERIFY2(printed.contains("2025/Rubrica.DB: 3 record, prossimo numero 4, protetta"),
                 printed.constData());
        QVERIFY2(printed.contains("archivio integro"), printed.constData());
        tool.start(QUILLIO_ARCHIVE_TOOL, {"copy", original.path(), server});
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 1);
        QVERIFY(tool.readAllStandardError().contains("esiste già"));
    }
};

QTEST_GUILESS_MAIN(TestArchiveTransfer)
#include "tst_archivetransfer.moc"
