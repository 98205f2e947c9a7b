// Copies crafted to harm the archive they are restored into: each is refused by the verifier and
// by a restore, which then leaves every file of the archive as it was.

#include "CraftedCopy.h"
#include "DataDirectory.h"
#include "TestEnvironment.h"
#include "UnexpectedWarnings.h"
#include "backup/ArchiveCheck.h"
#include "backup/BackupError.h"
#include "backup/BackupRestore.h"
#include "backup/BackupVerifier.h"
#include "backup/BackupWriter.h"
#include "backup/SqliteFileCopy.h"
#include "business/BusinessFile.h"
#include "business/CompanyStore.h"
#include "engine/EngineError.h"
#include "engine/SqliteConnection.h"
#include "engine/SqliteStatement.h"

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

using namespace quillio;
using namespace quillio::backup;
using test::CraftedCopy;
using test::DataDirectory;
using test::fingerprint;

namespace {

const QDateTime copyMoment(QDate(2026, 3, 5), QTime(10, 30));

// The records of a table file counted by SQLite itself, without the engine's refusals.
qint64 storedRecords(const QString& tableFile)
{
    engine::SqliteConnection connection(tableFile, engine::SqliteConnection::Mode::OpenExisting);
    engine::SqliteStatement count = connection.prepare("SELECT count(*) FROM records");
    return count.step() ? count.columnInt64(0) : -1;
}

using Craft = std::function<void(CraftedCopy&)>;

} // namespace

Q_DECLARE_METATYPE(Craft)

class TestBackupVerifier : public QObject
{
    Q_OBJECT

    // A data directory of one year with three customers, six invoices and a company file, its copy
    // in "buona.zip", and a folder for the copy taken before a restore.
    struct Archive
    {
        test::TestEnvironment env;
        QTemporaryDir root;
        QTemporaryDir elsewhere;
        DataDirectory data{root.path()};
        QString good = QDir(elsewhere.path()).filePath(QStringLiteral("buona.zip"));
        QString crafted = QDir(elsewhere.path()).filePath(QStringLiteral("preparata.zip"));

        Archive()
        {
            data.makeYear("2026");
            data.addCustomers("2026", {"Rossi S.r.l.", "Bianchi & C.", "Città Nuova"});
            for (int day = 1; day <= 6; ++day)
                data.addInvoice("2026",
                                {QDate(2026, 1, day), "Rossi S.r.l.", "01234567897", {}, {100.0 * day}});
            business::BusinessFile company(data.path());
            einvoice::CompanyData seller;
            seller.denominazione = QStringLiteral("Ferramenta Esempio");
            business::CompanyStore(company).setCompany(seller);
            BackupWriter(data.path(), DataDirectory::tables).write(good, copyMoment);
        }
        QString backupFolder() const { return QDir(root.path()).filePath(QStringLiteral("Backup")); }
        QString invoices() const { return QDir(data.yearDirectory("2026")).filePath("Fatture.DB"); }

        // Refused by the verifier with `problem` among its reasons, and by a restore, which then
        // replaced nothing and took no copy of the archive.
        void requireRefused(const QString& problem) const
        {
            const BackupVerifier::Result verified = BackupVerifier::verify(crafted);
            QVERIFY2(!verified.ok(), "a crafted copy passed the verifier");
            QVERIFY2(verified.problems.join(" ").contains(problem), qPrintable(verified.problems.join("; ")));

            const QMap<QString, QByteArray> before = fingerprint(root.path());
            try {
                BackupRestore(data.path(), DataDirectory::tables)
                    .restore(crafted, backupFolder(), copyMoment);
                QFAIL("a crafted copy was restored");
            } catch (const BackupError& error) {
                QVERIFY2(error.text().contains("Nessun file è stato sostituito"), qPrintable(error.text()));
            }
            QCOMPARE(fingerprint(root.path()), before);
        }
    };

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }

    void copyHoldingWhatNoArchiveHasIsRefused_data()
    {
        QTest::addColumn<Craft>("craft");
        QTest::addColumn<QString>("problem");
        QTest::newRow("the pre-restore copy's name") << Craft([](CraftedCopy& copy) {
            copy.put("Backup/Quillio-prima-del-ripristino-2026-03-05-1030.zip", {}, {});
        }) << "non è dell'anno elencato";
        QTest::newRow("a file beside the company file")
            << Craft([](CraftedCopy& copy) { copy.put("Leggimi.txt", {}, {}); })
            << "Leggimi.txt non è un file dell'archivio";
        QTest::newRow("an emptied table file listed without its year")
            << Craft([](CraftedCopy& copy) { copy.put("2026/Fatture.DB", {}, {}); })
            << "non è dell'anno elencato";
        QTest::newRow("an emptied company file")
            << Craft([](CraftedCopy& copy) { copy.put("Azienda.DB", {}, {}); })
            << "il file Azienda.DB è danneggiato: è vuoto";
        QTest::newRow("a table file the archive does not name") << Craft([](CraftedCopy& copy) {
            copy.put("2026/Note.DB", copy.bytes("2026/Rubrica.DB"), "2026");
        }) << "2026/Note.DB non è un file dell'archivio";
        QTest::newRow("a table file of another kind") << Craft([](CraftedCopy& copy) {
            copy.put("2026/Rubrica.DB", copy.bytes("2026/Fatture.DB"), "2026");
        }) << "la tabella 2026/Rubrica.DB non è come il programma la crea";
        QTest::newRow("an entry the manifest does not list")
            << Craft([](CraftedCopy& copy) { copy.putUnlisted("../fuori.txt", "fuori"); })
            << "la copia contiene ../fuori.txt, che non è elencato";
        QTest::newRow("a name below a year's directory") << Craft([](CraftedCopy& copy) {
            copy.put("2026/x/Fatture.DB", copy.bytes("2026/Fatture.DB"), "2026");
        }) << "percorso non valido";
        QTest::newRow("a size beyond any archive's") << Craft([](CraftedCopy& copy) {
            copy.manifest().files[0].size = qint64(5) * 1024 * 1024 * 1024;
        }) << "troppo grande";
        QTest::newRow("a size that is not the file's")
            << Craft([](CraftedCopy& copy) { copy.manifest().files[0].size += 1; })
            << "non ha la dimensione elencata";
    }

    void copyHoldingWhatNoArchiveHasIsRefused()
    {
        QFETCH(Craft, craft);
        QFETCH(QString, problem);
        Archive a;
        CraftedCopy copy(a.good);
        craft(copy);
        copy.write(a.crafted);
        a.requireRefused(problem);
    }

    void plantedTriggerOrViewNeverRuns_data()
    {
        QTest::addColumn<QByteArray>("sql");
        // Stored invoice 7 would take every earlier invoice with it.
        QTest::newRow("insert trigger") << QByteArray("CREATE TRIGGER cleanup AFTER INSERT ON records BEGIN "
                                                      "DELETE FROM records WHERE OrdNum < NEW.OrdNum; END");
        QTest::newRow("view") << QByteArray("CREATE VIEW everything AS SELECT * FROM records");
    }

    void plantedTriggerOrViewNeverRuns()
    {
        QFETCH(QByteArray, sql);
        Archive a;
        CraftedCopy copy(a.good);
        copy.runSql("2026/Fatture.DB", sql);
        copy.write(a.crafted);
        a.requireRefused("triggers or views");

        // Put straight into the data folder, the table file is refused by the engine and by the
        // archive's check, and the six invoices stay.
        QFile planted(a.invoices());
        QVERIFY(planted.open(QIODevice::WriteOnly));
        planted.write(copy.bytes("2026/Fatture.DB"));
        planted.close();
        QString refusal;
        try {
            a.data.addInvoice("2026", {QDate(2026, 2, 1), "Bianchi & C.", "01234567897", {}, {700}});
        } catch (const engine::EngineError& error) {
            refusal = error.text();
        }
        // Had the planted trigger run, invoice 7 would be the only one left.
        QCOMPARE(storedRecords(a.invoices()), 6);
        QVERIFY2(refusal.contains("carries triggers or views"), qPrintable(refusal));
        const ArchiveCheck::Report report = ArchiveCheck::check(a.data.path(), DataDirectory::tables);
        QVERIFY2(report.problems.join(" ").contains("2026/Fatture.DB: The table file"),
                 qPrintable(report.problems.join("; ")));

        // A good copy still restores over it: the planted file goes into the copy of the archive as
        // it was, byte for byte and marked, and is never put back from there.
        const BackupRestore::Outcome outcome =
            BackupRestore(a.data.path(), DataDirectory::tables).restore(a.good, a.backupFolder(), copyMoment);
        QCOMPARE(storedRecords(a.invoices()), 6);
        const BackupManifest::File* saved = outcome.saved.find("2026/Fatture.DB");
        QVERIFY(saved && saved->damaged);
        QVERIFY2(saved->damage.contains("trigger o viste"), qPrintable(saved->damage));
        QVERIFY(outcome.warnings().join(" ").contains("2026/Fatture.DB"));
    }

    void inflatingStopsAtTheDeclaredSize()
    {
        Archive a;
        CraftedCopy copy(a.good);
        // Listed as the real file, the entry inflates to 32 MiB beyond it.
        const QByteArray real = copy.bytes("2026/Fatture.DB");
        copy.putUnlisted("2026/Fatture.DB", real + QByteArray(32 * 1024 * 1024, '\0'));
        copy.write(a.crafted);
        CraftedCopy::declareSize(a.crafted, "2026/Fatture.DB", quint32(real.size()));

        QTemporaryDir into;
        const BackupVerifier::Result verified = BackupVerifier::verify(a.crafted, into.path());
        QCOMPARE_LE(QFileInfo(into.filePath("2026/Fatture.DB")).size(), real.size());
        QVERIFY(!verified.ok());
        QVERIFY2(verified.problems.join(" ").contains("2026/Fatture.DB è più grande di quanto dichiarato."),
                 qPrintable(verified.problems.join("; ")));
        a.requireRefused("più grande di quanto dichiarato");
    }
};

QTEST_GUILESS_MAIN(TestBackupVerifier)
#include "tst_backupverifier.moc"
