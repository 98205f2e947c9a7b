#include "DataDirectory.h"
#include "TestEnvironment.h"
#include "UnexpectedWarnings.h"
#include "backup/AutomaticBackup.h"
#include "backup/BackupError.h"
#include "backup/BackupManifest.h"
#include "backup/BackupPreferences.h"
#include "backup/BackupRestore.h"
#include "backup/BackupRotation.h"
#include "backup/BackupVerifier.h"
#include "backup/BackupWriter.h"
#include "backup/SqliteFileCopy.h"
#include "backup/ZipArchive.h"
#include "business/BusinessFile.h"
#include "business/CompanyStore.h"

#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>

using namespace quillio;
using namespace quillio::backup;
using test::DataDirectory;
using test::fingerprint;

namespace {

const QDateTime copyMoment(QDate(2026, 3, 5), QTime(10, 30));

QList<qint64> ordNums(const QList<QVariantList>& records)
{
    QList<qint64> numbers;
    for (const QVariantList& record : records)
        numbers.append(record.value(0).toLongLong());
    return numbers;
}

// A copy of `zip` whose entries pass through `change` (which may drop one by returning false).
void rewriteZip(const QString& zipPath, const QString& into,
                const std::function<bool(const QString&, QByteArray&)>& change)
{
    const ZipArchive source(zipPath, ZipArchive::Mode::Read);
    ZipArchive target(into, ZipArchive::Mode::Create);
    for (const QString& name : source.entryNames()) {
        QByteArray bytes = source.read(name, 1 << 30);
        if (change(name, bytes))
            target.addData(name, bytes);
    }
    target.commit();
}

using Damage = std::function<void(const QString& good, const QString& damaged)>;
// Damage done to a file of the archive itself, as a disk fault or a power cut leaves it.
using FileDamage = std::function<void(QFile& file)>;

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray entryOf(const QString& zipPath, const QString& name)
{
    return ZipArchive(zipPath, ZipArchive::Mode::Read).read(name, 1 << 30);
}

// Gives the file or folder a modification time `seconds` ago, as a run killed that long ago left it.
void ageBy(const QString& path, int seconds)
{
    std::filesystem::last_write_time(QFile::encodeName(path).toStdString(),
                                     std::filesystem::file_time_type::clock::now() -
                                         std::chrono::seconds(seconds));
}

// Runs `work(i)` on `count` threads at once; returns what each raised (empty when nothing).
QStringList onThreadsAtOnce(int count, const std::function<void(int)>& work)
{
    QStringList failures(count);
    std::atomic<int> waiting = count;
    std::vector<std::thread> threads;
    for (int i = 0; i < count; ++i)
        threads.emplace_back([&, i] {
            --waiting;
            while (waiting > 0)
                std::this_thread::yield();
            try {
                work(i);
            } catch (const std::exception& error) {
                failures[i] = QString::fromUtf8(error.what());
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    return failures;
}

} // namespace

Q_DECLARE_METATYPE(Damage)
Q_DECLARE_METATYPE(FileDamage)

class TestBackup : public QObject
{
    Q_OBJECT

    // A data directory of two years with records in every table and a company file.
    struct Archive
    {
        test::TestEnvironment env;
        QTemporaryDir root;
        DataDirectory data{root.path()};

        Archive()
        {
            for (const QString year : {"2025", "2026"}) {
                data.makeYear(year);
                data.addCustomers(year, {"Rossi S.r.l.", "Bianchi & C. \"Snc\"", "Città Nuova"});
                data.addInvoice(year,
                                {QDate(year.toInt(), 1, 15), "Rossi S.r.l.", "01234567897", {}, {100, 20.5}});
                data.addInvoice(year,
                                {QDate(year.toInt(), 2, 1), "Città Nuova", {}, "RSSMRA80A01H501U", {99.99}});
            }
            business::BusinessFile company(data.path());
            einvoice::CompanyData seller;
            seller.denominazione = QStringLiteral("Ferramenta Esempio");
            business::CompanyStore(company).setCompany(seller);
        }
        BackupWriter writer() const { return BackupWriter(data.path(), DataDirectory::tables); }
        BackupRestore restorer() const { return BackupRestore(data.path(), DataDirectory::tables); }
        QString backupFolder() const { return QDir(root.path()).filePath(QStringLiteral("Backup")); }
    };

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void copyListsEveryTableAndVerifies()
    {
        Archive a;
        const QString zip = QDir(a.root.path()).filePath(QStringLiteral("copia.zip"));
        const BackupManifest manifest = a.writer().write(zip, copyMoment);
        QCOMPARE(manifest.years(), (QStringList{"2025", "2026"}));
        QStringList paths;
        for (const BackupManifest::File& file : manifest.files)
            paths << file.path;
        QCOMPARE(paths, (QStringList{"2025/Rubrica.DB", "2025/Bozze.DB", "2025/Fatture.DB", "2026/Rubrica.DB",
                                     "2026/Bozze.DB", "2026/Fatture.DB", "Azienda.DB"}));
        QCOMPARE(manifest.find("2026/Rubrica.DB")->records.value("records"), 3);
        QCOMPARE(manifest.find("2026/Fatture.DB")->highestOrdNum, std::optional<qint64>(2));
        QCOMPARE(manifest.find("2026/Bozze.DB")->highestOrdNum, std::nullopt);
        QCOMPARE(manifest.find("Azienda.DB")->records.value("documents"), 1);

        const BackupVerifier::Result verified = BackupVerifier::verify(zip);
        QVERIFY2(verified.ok(), qPrintable(verified.problems.join("; ")));
        QCOMPARE(verified.manifest->toJson(), manifest.toJson());
        // Nothing but the copy is left beside it.
        QCOMPARE(
            QDir(a.root.path()).entryList({"copia*", ".quillio*"}, QDir::Files | QDir::Dirs | QDir::Hidden),
            QStringList{"copia.zip"});
    }

    void copyTakenWhileAnotherDeskPosts()
    {
        test::TestEnvironment env;
        QTemporaryDir root;
        const DataDirectory data(root.path());
        // The other desk's program knows no password: the tables are left unprotected.
        data.makeYear("2026", false);
        QProcess desk;
        desk.start(QStringLiteral(RELIABILITY_COPY), {data.yearDirectory("2026"), "Rubrica.DB"});
        QVERIFY(desk.waitForStarted(5000));
        const auto readLine = [&desk] {
            while (!desk.canReadLine())
                if (!desk.waitForReadyRead(30000))
                    return QString();
            return QString::fromUtf8(desk.readLine()).trimmed();
        };
        desk.write("open\n");
        QCOMPARE(readLine(), QStringLiteral("ok"));
        desk.write("appendmany 600 Scrivania2\n");
        qint64 storedBefore = 0;
        while (storedBefore < 40)
            storedBefore = readLine().toLongLong();

        const QString zip = QDir(root.path()).filePath(QStringLiteral("copia.zip"));
        const BackupManifest manifest =
            BackupWriter(data.path(), DataDirectory::tables).write(zip, copyMoment);
        QString line;
        do
            line = readLine();
        while (line != QLatin1String("ok") && !line.isEmpty());
        desk.closeWriteChannel();
        QVERIFY(desk.waitForFinished(10000));
        QVERIFY2(manifest.find("2026/Rubrica.DB")->highestOrdNum.value_or(0) >= storedBefore,
                 "records stored before the copy started are missing");

        // Restored into an empty data directory, the copy holds every record up to its highest, in order.
        QTemporaryDir elsewhere;
        BackupRestore(elsewhere.path(), DataDirectory::tables)
            .restore(zip, QDir(elsewhere.path()).filePath("Backup"), copyMoment);
        const QList<qint64> numbers = ordNums(DataDirectory(elsewhere.path()).records("2026", "Rubrica.DB"));
        QList<qint64> expected;
        for (qint64 n = 1; n <= *manifest.find("2026/Rubrica.DB")->highestOrdNum; ++n)
            expected << n;
        QCOMPARE(numbers, expected);
    }

    void damagedCopyIsRefused_data()
    {
        QTest::addColumn<Damage>("damage");
        QTest::addColumn<QString>("problem");
        QTest::newRow("truncated") << Damage([](const QString& good, const QString& damaged) {
            QFile::copy(good, damaged);
            QFile file(damaged);
            file.resize(file.size() * 2 / 3);
        }) << "zip";
        QTest::newRow("one byte flipped") << Damage([](const QString& good, const QString& damaged) {
            QFile::copy(good, damaged);
            QFile file(damaged);
            QVERIFY(file.open(QIODevice::ReadWrite));
            file.seek(file.size() / 3);
            char byte;
            file.getChar(&byte);
            file.seek(file.size() / 3);
            file.putChar(char(byte ^ 0x20));
        }) << "";
        QTest::newRow("a table missing") << Damage([](const QString& good, const QString& damaged) {
            rewriteZip(good, damaged,
                       [](const QString& name, QByteArray&) { return name != "2026/Fatture.DB"; });
        }) << "manca il file 2026/Fatture.DB";
        QTest::newRow("a count that is not the file's")
            << Damage([](const QString& good, const QString& damaged) {
                   rewriteZip(good, damaged, [](const QString& name, QByteArray& bytes) {
                       if (name == BackupManifest::fileName)
                           bytes.replace("\"records\": 3", "\"records\": 4");
                       return true;
                   });
               })
            << "non contiene i record elencati";
        QTest::newRow("a place outside the data directory")
            << Damage([](const QString& good, const QString& damaged) {
                   rewriteZip(good, damaged, [](const QString& name, QByteArray& bytes) {
                       if (name == BackupManifest::fileName)
                           bytes.replace("\"Azienda.DB\"", "\"../Azienda.DB\"");
                       return true;
                   });
               })
            << "percorso non valido";
        QTest::newRow("not a zip") << Damage([](const QString&, const QString& damaged) {
            QFile file(damaged);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("Quillio, ma non una copia");
        }) << "zip";
    }

    void damagedCopyIsRefused()
    {
        QFETCH(Damage, damage);
        QFETCH(QString, problem);
        Archive a;
        const QString good = QDir(a.root.path()).filePath(QStringLiteral("buona.zip"));
        const QString damaged = QDir(a.root.path()).filePath(QStringLiteral("danneggiata.zip"));
        a.writer().write(good, copyMoment);
        damage(good, damaged);

        const BackupVerifier::Result verified = BackupVerifier::verify(damaged);
        QVERIFY(!verified.ok());
        QVERIFY2(verified.problems.join(" ").contains(problem), qPrintable(verified.problems.join("; ")));
        // Said in the person's words: none of libzip's English reasons, no "(No error)" after a
        // finding of our own.
        static const QRegularExpression english(
            QStringLiteral("No error|Not a zip|Read error|CRC error|[Ii]nconsistent|already exists"));
        QVERIFY2(!verified.problems.join(" ").contains(english), qPrintable(verified.problems.join("; ")));

        // The archive is changed after the copy, so a restore that replaced anything would show.
        a.data.addCustomers("2026", {"Dopo la copia"});
        const QMap<QString, QByteArray> before = fingerprint(a.root.path(), QStringLiteral("Backup"));
        try {
            a.restorer().restore(damaged, a.backupFolder(), copyMoment);
            QFAIL("a damaged copy was restored");
        } catch (const BackupError& error) {
            QVERIFY2(error.text().contains("Nessun file è stato sostituito"), qPrintable(error.text()));
        }
        QCOMPARE(fingerprint(a.root.path(), QStringLiteral("Backup")), before);
        QVERIFY(!QDir(a.backupFolder()).exists() || QDir(a.backupFolder()).isEmpty());
    }

    void restoreGivesBackTheRecordsAndKeepsTheArchiveAsItWas()
    {
        Archive a;
        const QString zip = QDir(a.root.path()).filePath(QStringLiteral("copia.zip"));
        a.writer().write(zip, copyMoment);
        QMap<QString, QList<QVariantList>> copied;
        for (const QString& table : DataDirectory::tables)
            copied.insert(table, a.data.records("2026", table));

        // Work done after the copy: a new customer, a deleted invoice, an edited name.
        a.data.addCustomers("2026", {"Verdi Mario"});
        a.data.removeRecord("2026", "Fatture.DB", 1);
        a.data.setField("2026", "Rubrica.DB", 2, "Ragione_Sociale", "Bianchi rinominato");
        QMap<QString, QList<QVariantList>> changed;
        for (const QString& table : DataDirectory::tables)
            changed.insert(table, a.data.records("2026", table));

        const BackupRestore::Outcome outcome = a.restorer().restore(zip, a.backupFolder(), copyMoment);
        QCOMPARE(QFileInfo(outcome.preRestoreCopy).fileName(),
                 QStringLiteral("Quillio-prima-del-ripristino-2026-03-05-1030.zip"));
        for (const QString& table : DataDirectory::tables)
            QCOMPARE(a.data.records("2026", table), copied.value(table));

        // A copy of the restored archive is the copy restored, file for file.
        const QString again = QDir(a.root.path()).filePath(QStringLiteral("ancora.zip"));
        const BackupManifest first = *BackupVerifier::verify(zip).manifest;
        const BackupManifest second = a.writer().write(again, copyMoment);
        for (const BackupManifest::File& file : first.files)
            QCOMPARE(second.find(file.path)->records, file.records);

        // The archive as it was before the restore is in its own copy, and comes back from it.
        QVERIFY(BackupVerifier::verify(outcome.preRestoreCopy).ok());
        const BackupRestore::Outcome undo =
            a.restorer().restore(outcome.preRestoreCopy, a.backupFolder(), copyMoment);
        for (const QString& table : DataDirectory::tables)
            QCOMPARE(a.data.records("2026", table), changed.value(table));
        // Two restores in one minute keep both earlier archives.
        QVERIFY(undo.preRestoreCopy != outcome.preRestoreCopy);
        QVERIFY(QFileInfo::exists(outcome.preRestoreCopy));
    }

    void damagedTableFileIsSavedAsItWasAndTheRestoreGoesOn_data()
    {
        QTest::addColumn<FileDamage>("damage");
        QTest::addColumn<QString>("reason");
        QTest::newRow("emptied") << FileDamage([](QFile& file) { QVERIFY(file.resize(0)); }) << "vuoto";
        QTest::newRow("garbage header") << FileDamage([](QFile& file) {
            QVERIFY(file.open(QIODevice::ReadWrite));
            file.write(QByteArray(100, '\x5a'));
        }) << "intestazione";
        QTest::newRow("pages overwritten") << FileDamage([](QFile& file) {
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.size() >= 8192);
            file.seek(4096);
            file.write(QByteArray(4096, '\x5a'));
        }) << "danneggiat";
    }

    void damagedTableFileIsSavedAsItWasAndTheRestoreGoesOn()
    {
        QFETCH(FileDamage, damage);
        QFETCH(QString, reason);
        Archive a;
        const QString good = QDir(a.root.path()).filePath(QStringLiteral("buona.zip"));
        a.writer().write(good, copyMoment);
        const QString damagedFile = QDir(a.data.yearDirectory("2026")).filePath("Fatture.DB");
        {
            QFile file(damagedFile);
            damage(file);
        }
        const QByteArray damagedBytes = contentOf(damagedFile);

        const BackupRestore::Outcome outcome = a.restorer().restore(good, a.backupFolder(), copyMoment);
        QCOMPARE(a.data.records("2026", "Fatture.DB").size(), 2);
        // The archive as it was, the damaged file byte for byte, is in the pre-restore copy.
        const BackupManifest::File* saved = outcome.saved.find("2026/Fatture.DB");
        QVERIFY(saved && saved->damaged);
        QVERIFY2(saved->damage.contains(reason), qPrintable(saved->damage));
        QCOMPARE(entryOf(outcome.preRestoreCopy, "2026/Fatture.DB"), damagedBytes);
        const BackupVerifier::Result verified = BackupVerifier::verify(outcome.preRestoreCopy);
        QVERIFY2(verified.ok(), qPrintable(verified.problems.join("; ")));
        QCOMPARE(verified.manifest->toJson(), outcome.saved.toJson());
        QVERIFY(outcome.warnings().join(" ").contains("2026/Fatture.DB"));

        // Restoring that copy puts back every other file, and not the damaged one, and says so.
        a.data.addCustomers("2025", {"Dopo il ripristino"});
        const QByteArray restoredFattureBytes = contentOf(damagedFile);
        const BackupRestore::Outcome back =
            a.restorer().restore(outcome.preRestoreCopy, a.backupFolder(), copyMoment);
        QCOMPARE(back.notRestored, QStringList{"2026/Fatture.DB"});
        QVERIFY2(back.warnings().join(" ").contains("2026/Fatture.DB non è stato ripristinato"),
                 qPrintable(back.warnings().join(" ")));
        QCOMPARE(contentOf(damagedFile), restoredFattureBytes);
        QCOMPARE(a.data.records("2025", "Rubrica.DB").size(), 3);
    }

    void automaticCopyOfADamagedArchiveIsWrittenAndKeepsTheOlderCopies()
    {
        Archive a;
        QDir().mkpath(a.backupFolder());
        // Rotation goes by the names alone: twelve days of copies, two more than it keeps.
        QStringList older;
        for (QDate day(2026, 1, 1); older.size() < 12; day = day.addDays(1)) {
            older << BackupWriter::fileNameFor(QDateTime(day, QTime(9, 0)));
            QVERIFY(QFile(QDir(a.backupFolder()).filePath(older.last())).open(QIODevice::WriteOnly));
        }
        QVERIFY(QFile(QDir(a.data.yearDirectory("2026")).filePath("Bozze.DB")).resize(0));

        const AutomaticBackup::Outcome outcome =
            AutomaticBackup::run({a.data.path(), DataDirectory::tables, copyMoment});
        QVERIFY(BackupVerifier::verify(outcome.copy).ok());
        QVERIFY2(outcome.failure.contains("2026/Bozze.DB è danneggiato"), qPrintable(outcome.failure));
        for (const QString& name : older)
            QVERIFY2(QFileInfo::exists(QDir(a.backupFolder()).filePath(name)), qPrintable(name));
        business::BusinessFile file(a.data.path());
        BackupPreferences preferences(file);
        QCOMPARE(preferences.pendingFailure(), outcome.failure);
        QCOMPARE(preferences.lastAutomaticCopy(), copyMoment.date());
    }

    void yearShortOfATableFileIsCopiedAndNothingUnsavedIsReplaced()
    {
        Archive a;
        const QString good = QDir(a.root.path()).filePath(QStringLiteral("buona.zip"));
        a.writer().write(good, copyMoment);
        QVERIFY(QFile::remove(QDir(a.data.yearDirectory("2026")).filePath("Bozze.DB")));
        const qint64 afterTheCopy =
            a.data.addInvoice("2026", {QDate(2026, 3, 1), "Rossi S.r.l.", {}, {}, {7}});

        const QString now = QDir(a.root.path()).filePath(QStringLiteral("ora.zip"));
        const BackupManifest manifest = a.writer().write(now, copyMoment);
        QCOMPARE(manifest.missing, QStringList{"2026/Bozze.DB"});
        QCOMPARE(manifest.find("2026/Fatture.DB")->highestOrdNum, std::optional(afterTheCopy));
        QVERIFY(manifest.warnings().join(" ").contains("2026/Bozze.DB manca"));
        QCOMPARE(BackupVerifier::verify(now).manifest->missing, manifest.missing);

        // Restoring the older copy keeps the invoice stored since in the copy taken before.
        const BackupRestore::Outcome outcome = a.restorer().restore(good, a.backupFolder(), copyMoment);
        QCOMPARE(outcome.saved.find("2026/Fatture.DB")->highestOrdNum, std::optional(afterTheCopy));
        a.restorer().restore(outcome.preRestoreCopy, a.backupFolder(), copyMoment);
        QCOMPARE(ordNums(a.data.records("2026", "Fatture.DB")).last(), afterTheCopy);

        // Table files of other names than the settings' are not saved, so none is replaced.
        const QMap<QString, QByteArray> before = fingerprint(a.root.path(), QStringLiteral("Backup"));
        try {
            BackupRestore(a.data.path(), {"Clienti.DB", "Bozze.DB", "Fatture.DB"})
                .restore(good, a.backupFolder(), copyMoment);
            QFAIL("a file that was not saved was replaced");
        } catch (const BackupError& error) {
            QVERIFY2(error.text().contains("Rubrica.DB") &&
                         error.text().contains("Nessun file è stato sostituito"),
                     qPrintable(error.text()));
        }
        QCOMPARE(fingerprint(a.root.path(), QStringLiteral("Backup")), before);
    }

    void folderThatIsNotAnArchiveIsRefused_data()
    {
        QTest::addColumn<QStringList>("contents");
        QTest::newRow("empty") << QStringList{};
        QTest::newRow("other files and empty folders") << QStringList{"appunti.txt", "2026/", "Backup/x.zip"};
        QTest::newRow("table files in a hidden folder")
            << QStringList{".2026/Rubrica.DB", ".2026/Fatture.DB"};
    }

    void folderThatIsNotAnArchiveIsRefused()
    {
        QFETCH(QStringList, contents);
        test::TestEnvironment env;
        QTemporaryDir root;
        const QString folder = QDir(root.path()).filePath("dati");
        QDir().mkpath(folder);
        for (const QString& name : contents) {
            QDir().mkpath(QFileInfo(QDir(folder).filePath(name)).absolutePath());
            if (!name.endsWith(u'/'))
                QFile(QDir(folder).filePath(name)).open(QIODevice::WriteOnly);
        }
        const QString zip = QDir(root.path()).filePath("copia.zip");
        try {
            BackupWriter(folder, DataDirectory::tables).write(zip, copyMoment);
            QFAIL("an empty copy was written");
        } catch (const BackupError& error) {
            QVERIFY2(error.text().contains(QDir::toNativeSeparators(folder)) &&
                         error.text().contains("non contiene un archivio"),
                     qPrintable(error.text()));
        }
        QVERIFY(!QFileInfo::exists(zip));
    }

    void simultaneousRunsNeverShareAName()
    {
        Archive a;
        const QString zip = QDir(a.root.path()).filePath(QStringLiteral("copia.zip"));
        QStringList failures = onThreadsAtOnce(4, [&](int) { a.writer().write(zip, copyMoment); });
        QCOMPARE(failures, QStringList(4));
        QVERIFY(BackupVerifier::verify(zip).ok());
        QCOMPARE(
            QDir(a.root.path()).entryList({"copia*", ".quillio*"}, QDir::Files | QDir::Dirs | QDir::Hidden),
            QStringList{"copia.zip"});

        // Three archives restored in the same minute, their earlier states saved in one folder.
        QList<std::shared_ptr<QTemporaryDir>> places;
        for (int i = 0; i < 3; ++i) {
            places << std::make_shared<QTemporaryDir>();
            QVERIFY(QFile::copy(QDir(a.data.path()).filePath("Azienda.DB"),
                                QDir(places.last()->path()).filePath("Azienda.DB")));
        }
        QStringList preRestoreCopies(3);
        failures = onThreadsAtOnce(3, [&](int i) {
            preRestoreCopies[i] = BackupRestore(places[i]->path(), DataDirectory::tables)
                                      .restore(zip, a.backupFolder(), copyMoment)
                                      .preRestoreCopy;
        });
        QCOMPARE(failures, QStringList(3));
        preRestoreCopies.removeDuplicates();
        QCOMPARE(preRestoreCopies.size(), 3);
        for (const QString& copy : preRestoreCopies)
            QVERIFY2(BackupVerifier::verify(copy).ok(), qPrintable(copy));
    }

    void leftoversOfKilledRunsAreRemovedAtTheNextCopy()
    {
        Archive a;
        const QDir folder(a.backupFolder());
        QDir().mkpath(folder.path());
        const auto leaveStaging = [&](const QString& name) {
            QDir().mkpath(folder.filePath(name));
            for (const char* file : {"1", "2", "copia.zip.part"})
                QFile::copy(QDir(a.data.yearDirectory("2026")).filePath("Fatture.DB"),
                            folder.filePath(name + u'/' + QLatin1String(file)));
        };
        leaveStaging(".quillio-copia-Ab12Cd");
        ageBy(folder.filePath(".quillio-copia-Ab12Cd"), 2 * 3600);
        leaveStaging(".quillio-copia-Ef34Gh"); // another run at work right now
        QFile(folder.filePath("Quillio-prima-del-ripristino-2026-03-04-0800.zip")).open(QIODevice::WriteOnly);
        ageBy(folder.filePath("Quillio-prima-del-ripristino-2026-03-04-0800.zip"), 2 * 3600);
        QFile(folder.filePath("appunti.txt")).open(QIODevice::WriteOnly);
        ageBy(folder.filePath("appunti.txt"), 2 * 3600);

        a.writer().write(folder.filePath(BackupWriter::fileNameFor(copyMoment)), copyMoment);
        QCOMPARE(folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
                 (QStringList{".quillio-copia-Ef34Gh", "Quillio-2026-03-05-1030.zip", "appunti.txt"}));
    }

    void rotationKeepsTenDaysAndTwelveMonths()
    {
        QStringList names;
        for (QDate day(2025, 1, 1); day <= QDate(2026, 3, 5); day = day.addDays(1))
            names << BackupWriter::fileNameFor(QDateTime(day, QTime(10, 30)));
        names << BackupWriter::fileNameFor(QDateTime(QDate(2026, 3, 5), QTime(8, 0)));
        names << QStringLiteral("Quillio-prima-del-ripristino-2024-01-01-0900.zip")
              << QStringLiteral("appunti.txt");

        const QStringList removed = BackupRotation::toRemove(names, QDate(2026, 3, 5));
        QStringList kept;
        for (const QString& name : names)
            if (!removed.contains(name))
                kept << name;
        QStringList expected;
        for (const char* day : {"2025-04-30", "2025-05-31", "2025-06-30", "2025-07-31", "2025-08-31",
                                "2025-09-30", "2025-10-31", "2025-11-30", "2025-12-31", "2026-01-31"})
            expected << QStringLiteral("Quillio-%1-1030.zip").arg(QLatin1String(day));
        for (QDate day(2026, 2, 24); day <= QDate(2026, 3, 5); day = day.addDays(1))
            expected << BackupWriter::fileNameFor(QDateTime(day, QTime(10, 30)));
        expected << QStringLiteral("Quillio-prima-del-ripristino-2024-01-01-0900.zip")
                 << QStringLiteral("appunti.txt");
        QCOMPARE(kept, expected);
    }

    void automaticCopyRunsOncePerDayAndRotates()
    {
        Archive a;
        const QDate firstDay(2025, 12, 1), lastDay(2026, 2, 13);
        AutomaticBackup::Job job{a.data.path(), DataDirectory::tables, {}};
        for (QDate day = firstDay; day <= lastDay; day = day.addDays(1)) {
            job.now = QDateTime(day, QTime(9, 15));
            const AutomaticBackup::Outcome outcome = AutomaticBackup::run(job);
            QVERIFY2(outcome.ran && outcome.failure.isEmpty(), qPrintable(outcome.failure));
        }
        job.now = QDateTime(lastDay, QTime(17, 40));
        QVERIFY(!AutomaticBackup::run(job).ran);

        QStringList expected{"Quillio-2025-12-31-0915.zip", "Quillio-2026-01-31-0915.zip"};
        for (QDate day(2026, 2, 4); day <= lastDay; day = day.addDays(1))
            expected << BackupWriter::fileNameFor(QDateTime(day, QTime(9, 15)));
        QCOMPARE(QDir(a.backupFolder()).entryList(QDir::Files, QDir::Name), expected);
        business::BusinessFile file(a.data.path());
        QCOMPARE(BackupPreferences(file).lastAutomaticCopy(), lastDay);
    }

    void failedAutomaticCopyIsKeptForTheDialog()
    {
        Archive a;
        const QString blocker = QDir(a.root.path()).filePath(QStringLiteral("file-non-cartella"));
        QFile(blocker).open(QIODevice::WriteOnly);
        {
            business::BusinessFile file(a.data.path());
            BackupPreferences(file).setFolder(QDir(blocker).filePath(QStringLiteral("Backup")));
        }
        const AutomaticBackup::Outcome outcome =
            AutomaticBackup::run({a.data.path(), DataDirectory::tables, copyMoment});
        QVERIFY(outcome.ran);
        QVERIFY(outcome.failure.startsWith(
            QStringLiteral("La copia di sicurezza automatica del 05/03/2026 10:30")));
        business::BusinessFile file(a.data.path());
        BackupPreferences preferences(file);
        QCOMPARE(preferences.pendingFailure(), outcome.failure);
        // Not taken, so the next start of the day tries again.
        QVERIFY(!preferences.lastAutomaticCopy().isValid());
    }

    void commandLineBacksUpVerifiesAndRefuses()
    {
        Archive a;
        const QString zip = QDir(a.root.path()).filePath(QStringLiteral("notte.zip"));
        const auto run = [](const QStringList& arguments, QString* output = nullptr) {
            QProcess tool;
            tool.start(QStringLiteral(QUILLIO_ARCHIVE_TOOL), arguments);
            tool.waitForFinished(60000);
            if (output)
                *output = QString::fromUtf8(tool.readAllStandardOutput() + tool.readAllStandardError());
            return tool.exitCode();
        };
        QString output;
        QCOMPARE(run({"backup", a.data.path(), zip}, &output), 0);
        QCOMPARE(run({"verify", zip}, &output), 0);
        QVERIFY2(output.contains("2026/Rubrica.DB: 3 record") && output.contains("copia integra"),
                 qPrintable(output));

        // A damaged table file is kept as it is: the copy and the restore go on, and say so.
        QVERIFY(QFile(QDir(a.data.yearDirectory("2026")).filePath("Bozze.DB")).resize(0));
        const QString withDamage = QDir(a.root.path()).filePath(QStringLiteral("con-danno.zip"));
        QCOMPARE(run({"backup", a.data.path(), withDamage}, &output), 3);
        QVERIFY2(output.contains("attenzione: 2026/Bozze.DB è danneggiato"), qPrintable(output));
        QCOMPARE(run({"restore", zip, a.data.path()}, &output), 3);
        QVERIFY2(output.contains("archivio precedente salvato in") &&
                     output.contains("attenzione: 2026/Bozze.DB è danneggiato"),
                 qPrintable(output));

        // A damaged company file, which names the backup folder, does not stop the restore either.
        {
            QFile company(QDir(a.data.path()).filePath(business::BusinessFile::fileName));
            QVERIFY(company.open(QIODevice::ReadWrite));
            company.write(QByteArray(100, '\x5a'));
        }
        QCOMPARE(run({"restore", zip, a.data.path()}, &output), 3);
        QVERIFY2(output.contains("attenzione: Azienda.DB è danneggiato"), qPrintable(output));
        business::BusinessFile restoredCompany(a.data.path());
        QCOMPARE(
            business::CompanyStore(restoredCompany).company().value_or(einvoice::CompanyData()).denominazione,
            QStringLiteral("Ferramenta Esempio"));

        QFile file(zip);
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.resize(file.size() / 2);
        file.close();
        QCOMPARE(run({"verify", zip}, &output), 1);
        QVERIFY2(output.contains("notte.zip"), qPrintable(output));
        QCOMPARE(run({"restore", zip, a.data.path()}, &output), 1);
        QVERIFY2(output.contains("Nessun file è stato sostituito"), qPrintable(output));
        QCOMPARE(run({"copia"}, &output), 2);
    }
};

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
