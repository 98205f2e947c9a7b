// A restore killed at random points, again and again: after the recovery that the next start runs,
// the archive is the old one or the copy, whole, with nothing left over; before it, the check never
// calls a half-restored archive whole. The seed is printed; QUILLIO_RESTORE_CRASH_SEED gives the same
// delays again.

#include "DataDirectory.h"
#include "TestEnvironment.h"
#include "UnexpectedWarnings.h"
#include "backup/ArchiveCheck.h"
#include "backup/BackupError.h"
#include "backup/BackupRestore.h"
#include "backup/BackupWriter.h"
#include "backup/RestoreJournal.h"
#include "backup/SqliteFileCopy.h"
#include "business/BusinessFile.h"
#include "business/CompanyStore.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

using namespace quillio;
using namespace quillio::backup;
using test::DataDirectory;

namespace {

using Fingerprint = QMap<QString, QByteArray>;

const QDateTime copyMoment(QDate(2026, 3, 5), QTime(10, 30));
const QString journal = RestoreJournal::journalName;

// Every file and link below `root`, hidden ones too, with its SHA-256; the backup folder, where
// the pre-restore copies go, left out.
Fingerprint fingerprint(const QString& root)
{
    Fingerprint files;
    QDirIterator it(root, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(root).relativeFilePath(path);
        if (relative == QLatin1String("Backup") || relative.startsWith(QLatin1String("Backup/")))
            continue;
        files.insert(relative, it.fileInfo().isDir() ? QByteArray("folder") : SqliteFileCopy::sha256Of(path));
    }
    return files;
}

void copyFolder(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = QDir(to).filePath(QDir(from).relativeFilePath(path));
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(path, target);
    }
}

// The archive's own files: the fingerprint without the restore's working files beside the years.
Fingerprint archiveFiles(Fingerprint print)
{
    print.removeIf([](const auto& entry) { return entry.key().startsWith(u'.'); });
    return print;
}

void makeArchive(const DataDirectory& data, const QStringList& years, const QString& seller, int invoices)
{
    for (const QString& year : years) {
        data.makeYear(year);
        data.addCustomers(year, {"Rossi S.r.l.", seller});
        for (int i = 1; i <= invoices; ++i)
            data.addInvoice(year,
                            {QDate(year.toInt(), 1, i), "Rossi S.r.l.", "01234567897", {}, {100.0 * i}});
    }
    business::BusinessFile company(data.path());
    einvoice::CompanyData details;
    details.denominazione = seller;
    business::CompanyStore(company).setCompany(details);
}

QStringList leftovers(const QString& dataDirectory)
{
    return QDir(dataDirectory)
        .entryList({".quillio-ripristino*"}, QDir::AllEntries | QDir::Hidden | QDir::System);
}

} // namespace

class TestRestoreCrash : public QObject
{
    Q_OBJECT

    test::TestEnvironment env;
    QTemporaryDir root;
    QString zip;
    QString oldArchive; // the archive as it is before each restore
    Fingerprint oldPrint;
    Fingerprint newPrint;

    QString place(const QString& name) const { return QDir(root.path()).filePath(name); }

    // A fresh copy of the old archive.
    QString freshArchive(const QString& name) const
    {
        const QString folder = place(name);
        copyFolder(oldArchive, folder);
        return folder;
    }

    // The real program, with settings of its own (none: the defaults).
    void start(QProcess& tool, const QStringList& arguments) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), place(QStringLiteral("settings")));
        tool.setProcessEnvironment(environment);
        tool.start(QStringLiteral(QUILLIO_ARCHIVE_TOOL), arguments);
        QVERIFY(tool.waitForStarted());
    }

    void startRestore(QProcess& tool, const QString& folder) const
    {
        tool.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        tool.setStandardOutputFile(QProcess::nullDevice());
        start(tool, {QStringLiteral("restore"), zip, folder});
    }

    int run(const QStringList& arguments, QString& output) const
    {
        QProcess tool;
        tool.setProcessChannelMode(QProcess::MergedChannels);
        start(tool, arguments);
        tool.waitForFinished(60000);
        output = QString::fromUtf8(tool.readAll());
        return tool.exitCode();
    }

    // A restore killed just after its journal was written: stopped within its swap.
    QString stoppedRestore()
    {
        for (int attempt = 0; attempt < 20; ++attempt) {
            const QString folder = freshArchive(QStringLiteral("fermato-%1").arg(attempt));
            QProcess tool;
            startRestore(tool, folder);
            const bool swapping = waitForJournal(tool, folder);
            tool.kill();
            tool.waitForFinished(20000);
            if (swapping && QFileInfo::exists(QDir(folder).filePath(journal)))
                return folder;
        }
        return {};
    }

    // Waits for the restore's journal to appear, or for the restore to end; whether it appeared.
    static bool waitForJournal(QProcess& tool, const QString& folder)
    {
        const QString path = QDir(folder).filePath(journal);
        QElapsedTimer guard;
        guard.start();
        while (!QFileInfo::exists(path)) {
            if (tool.waitForFinished(0) || guard.hasExpired(20000))
                return false;
            QThread::usleep(50);
        }
        return true;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(root.isValid());
        // The copy: three years. The archive it goes over: two years, every file different.
        const DataDirectory source(place(QStringLiteral("sorgente")));
        QDir().mkpath(source.path());
        makeArchive(source, {"2025", "2026", "2027"}, QStringLiteral("Ferramenta Esempio"), 3);
        zip = place(QStringLiteral("copia.zip"));
        BackupWriter(source.path(), DataDirectory::tables).write(zip, copyMoment);

        const DataDirectory old(place(QStringLiteral("vecchio")));
        QDir().mkpath(old.path());
        makeArchive(old, {"2025", "2026"}, QStringLiteral("Bianchi & C."), 5);
        oldArchive = old.path();
        oldPrint = fingerprint(oldArchive);

        const QString expected = freshArchive(QStringLiteral("atteso"));
        BackupRestore(expected, DataDirectory::tables)
            .restore(zip, place(QStringLiteral("Backup")), copyMoment);
        newPrint = fingerprint(expected);
        QVERIFY(newPrint.contains(QStringLiteral("2027/Fatture.DB")));
        for (auto it = oldPrint.cbegin(); it != oldPrint.cend(); ++it)
            if (!it.value().startsWith("folder"))
                QVERIFY2(newPrint.value(it.key()) != it.value(), qPrintable(it.key()));
    }

    void init() { quillio::test::failOnUnexpectedWarnings(); }

    void killedRestoreLeavesTheOldArchiveOrTheCopyWhole()
    {
        const quint32 seed = qEnvironmentVariableIsSet("QUILLIO_RESTORE_CRASH_SEED")
                                 ? quint32(qEnvironmentVariableIntValue("QUILLIO_RESTORE_CRASH_SEED"))
                                 : QRandomGenerator::global()->generate();
        qInfo("seed %u (QUILLIO_RESTORE_CRASH_SEED=%u gives the same delays again)", seed, seed);
        QRandomGenerator random(seed);

        // One restore left to finish measures the time the kills are spread over.
        QElapsedTimer clock;
        QProcess whole;
        const QString measured = freshArchive(QStringLiteral("misura"));
        clock.start();
        startRestore(whole, measured);
        waitForJournal(whole, measured); // without a journal no kill counts as within the swap, below
        const qint64 untilSwap = clock.nsecsElapsed() / 1000;
        QVERIFY(whole.state() == QProcess::NotRunning || whole.waitForFinished(20000));
        const qint64 total = clock.nsecsElapsed() / 1000;
        QCOMPARE(whole.exitStatus(), QProcess::NormalExit);
        QCOMPARE(whole.exitCode(), 0);
        QCOMPARE(fingerprint(measured), newPrint);
        qInfo("one restore: %lld ms, its swap the last %lld ms", total / 1000, (total - untilSwap) / 1000);

        constexpr int rounds = 32;
        int before = 0, during = 0, after = 0, becameOld = 0, becameNew = 0;
        for (int round = 0; round < rounds; ++round) {
            const QString folder = freshArchive(QStringLiteral("giro-%1").arg(round));
            QProcess tool;
            startRestore(tool, folder);
            // Half the kills anywhere in the restore, half within its swap.
            if (round % 2 == 0)
                QThread::usleep(random.bounded(quint32(total * 11 / 10)));
            else if (waitForJournal(tool, folder))
                QThread::usleep(random.bounded(quint32(std::max<qint64>(total - untilSwap, 1))));
            tool.kill();
            QVERIFY(tool.state() == QProcess::NotRunning || tool.waitForFinished(20000));

            const bool stoppedInSwap = QFileInfo::exists(QDir(folder).filePath(journal));
            const Fingerprint found = fingerprint(folder);
            (stoppedInSwap ? during : found == newPrint ? after : before)++;

            const ArchiveCheck::Report report = ArchiveCheck::check(folder, DataDirectory::tables);
            QCOMPARE(fingerprint(folder), found); // the check changes nothing
            const bool halfRestored = archiveFiles(found) != archiveFiles(oldPrint) &&
                                      archiveFiles(found) != archiveFiles(newPrint);
            QVERIFY2(
                !halfRestored || !report.ok(),
                qPrintable(QStringLiteral("round %1: a half-restored archive checked whole").arg(round)));
            if (stoppedInSwap)
                QVERIFY2(
                    report.problems.join(u'\n').contains(journal),
                    qPrintable(QStringLiteral("round %1: %2").arg(round).arg(report.problems.join(u'\n'))));

            // As the next start does.
            RestoreJournal::recover(folder);
            const Fingerprint recovered = fingerprint(folder);
            QVERIFY2(
                recovered == oldPrint || recovered == newPrint,
                qPrintable(QStringLiteral("round %1: neither the old archive nor the copy; left over: %2")
                               .arg(round)
                               .arg(leftovers(folder).join(u' '))));
            QVERIFY2(ArchiveCheck::check(folder, DataDirectory::tables).ok(),
                     qPrintable(QString::number(round)));
            (recovered == newPrint ? becameNew : becameOld)++;
            QDir(folder).removeRecursively();
        }
        qInfo(
            "%d kills: %d before the swap, %d during it, %d after it; recovered %d to the old archive, %d to "
            "the copy",
            rounds, before, during, after, becameOld, becameNew);
        QVERIFY(during > 0);
    }

    void commandLineFinishesAStoppedRestoreAndCheckOnlyReportsIt()
    {
        const QString folder = stoppedRestore();
        QVERIFY2(!folder.isEmpty(), "no restore could be stopped within its swap");
        const Fingerprint stopped = fingerprint(folder);

        QString output;
        QCOMPARE(run({"check", folder}, output), 1);
        QVERIFY2(output.contains(journal) && output.contains("sarà completato o annullato"),
                 qPrintable(output));
        QCOMPARE(fingerprint(folder), stopped);

        QCOMPARE(run({"backup", folder, place(QStringLiteral("dopo.zip"))}, output), 0);
        QVERIFY2(output.contains("Un ripristino interrotto"), qPrintable(output));
        const Fingerprint recovered = fingerprint(folder);
        QVERIFY(recovered == oldPrint || recovered == newPrint);
        QCOMPARE(run({"check", folder}, output), 0);
    }

    // A file where the copy's third year goes: its tables cannot be put in place, after those of
    // the first two years were.
    void aFailedSwapPutsEveryFileBack()
    {
        const QString folder = freshArchive(QStringLiteral("bloccato"));
        QFile blocker(QDir(folder).filePath(QStringLiteral("2027")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.write("non una cartella");
        blocker.close();
        const Fingerprint before = fingerprint(folder);
        try {
            BackupRestore(folder, DataDirectory::tables)
                .restore(zip, place(QStringLiteral("Backup-bloccato")), copyMoment);
            QFAIL("restored over a file named like a year");
        } catch (const BackupError& error) {
            QVERIFY2(error.text().contains(QStringLiteral("2027")), qPrintable(error.text()));
        }
        QCOMPARE(fingerprint(folder), before);
    }
};

QTEST_GUILESS_MAIN(TestRestoreCrash)
#include "tst_restorecrash.moc"
