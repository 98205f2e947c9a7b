#include "Storages.h"
#include "UnexpectedWarnings.h"
#include "business/BusinessFile.h"
#include "business/ExportRegister.h"
#include "engine/EngineError.h"
#include "engine/SqliteConnection.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using quillio::business::BusinessFile;
using quillio::business::ExportEntry;
using quillio::business::ExportRegister;
using quillio::engine::test::onServer;

namespace {

// A new, empty data directory of the storage under test: a temporary folder, or a new database
// on the throw-away server.
class DataPlace
{
public:
    DataPlace() : m_path(onServer() ? quillio::test::PostgresCluster::shared()->newDatabase() : m_dir.path())
    {
    }
    const QString& path() const { return m_path; }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

} // namespace

class TestBusinessFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QUILLIO_REQUIRE_STORAGE(); }
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void documentsSurviveReopening()
    {
        DataPlace dir;
        {
            BusinessFile file(dir.path());
            QVERIFY(!file.document(QStringLiteral("company")));
            file.setDocument(QStringLiteral("company"), {{"denominazione", "Rossi Arredamenti S.r.l."}});
            file.setDocument(QStringLiteral("company"), {{"denominazione", "Rossi & Figli S.r.l."}});
        }
        BusinessFile reopened(dir.path());
        QCOMPARE(reopened.document(QStringLiteral("company"))->value("denominazione").toString(),
                 QStringLiteral("Rossi & Figli S.r.l."));
        if (!onServer())
            QVERIFY(QFile::exists(QDir(dir.path()).filePath(BusinessFile::fileName)));
    }

    void progressiveText_data()
    {
        QTest::addColumn<qint64>("sequence");
        QTest::addColumn<QString>("text");
        QTest::newRow("first") << qint64(1) << "00001";
        QTest::newRow("last digit") << qint64(9) << "00009";
        QTest::newRow("first letter") << qint64(10) << "0000A";
        QTest::newRow("carry") << qint64(36) << "00010";
        QTest::newRow("largest") << qint64(36LL * 36 * 36 * 36 * 36 - 1) << "ZZZZZ";
    }
    void progressiveText()
    {
        QFETCH(qint64, sequence);
        QFETCH(QString, text);
        QCOMPARE(ExportRegister::progressiveText(sequence), text);
    }

    // Re-exporting an invoice keeps its file name; asking for a new one never gives an old one,
    // not after a restart and not from a second desk on the same file.
    void progressivesAreNeverGivenTwice()
    {
        DataPlace dir;
        QSet<QString> given;
        {
            BusinessFile desk1(dir.path());
            BusinessFile desk2(dir.path());
            ExportRegister one(desk1);
            ExportRegister two(desk2);
            const QString first = one.progressiveFor(2026, 1, false);
            QCOMPARE(first, QStringLiteral("00001"));
            QCOMPARE(two.progressiveFor(2026, 1, false), first);
            given << first << two.progressiveFor(2026, 2, false) << one.progressiveFor(2026, 3, false);
            const QString corrected = two.progressiveFor(2026, 1, true);
            QVERIFY(!given.contains(corrected));
            given << corrected;
            QCOMPARE(one.progressiveFor(2026, 1, false), corrected);
            QCOMPARE(one.progressiveFor(2025, 1, false), QStringLiteral("00005"));
            given << QStringLiteral("00005");
        }
        BusinessFile restarted(dir.path());
        ExportRegister again(restarted);
        const QString next = again.progressiveFor(2026, 4, false);
        QVERIFY2(!given.contains(next), qPrintable(next));
        QCOMPARE(next, QStringLiteral("00006"));
        QCOMPARE(again.currentProgressive(2026, 2).value_or(QString()), QStringLiteral("00002"));
        QVERIFY(!again.currentProgressive(2026, 99));
    }

    void exportsAreRecordedInOrder()
    {
        DataPlace dir;
        BusinessFile file(dir.path());
        ExportRegister exports(file);
        const QDateTime when(QDate(2026, 12, 10), QTime(9, 30), Qt::UTC);
        exports.record(
            {2026, 7, "0000A", "IT01234567897_0000A.xml", when, "ab12", "<p:FatturaElettronica/>"});
        exports.record({2025, 1, "0000B", "IT01234567897_0000B.xml", when, "cd34", {}});
        exports.record({2026, 8, "0000C", "IT01234567897_0000C.xml", when.addSecs(60), "ef56", {}});
        const QList<ExportEntry> year = exports.entries(2026);
        QCOMPARE(year.size(), 2);
        QCOMPARE(year[0].number, qint64(7));
        QCOMPARE(year[0].fileName, QStringLiteral("IT01234567897_0000A.xml"));
        QCOMPARE(year[0].exported, when);
        QCOMPARE(year[0].sha256, QByteArray("ab12"));
        QCOMPARE(year[1].progressive, QStringLiteral("0000C"));
        QVERIFY(year[0].content.isEmpty());
        QCOMPARE(exports.entries(2026, true)[0].content, QByteArray("<p:FatturaElettronica/>"));
    }

    void aFileWithATriggerIsNotOpened()
    {
        QUILLIO_FILES_ONLY("a trigger planted in the SQLite file");
        QTemporaryDir dir;
        {
            BusinessFile made(dir.path());
        }
        const QString path = dir.filePath(BusinessFile::fileName);
        {
            quillio::engine::SqliteConnection planted(path,
                                                      quillio::engine::SqliteConnection::Mode::OpenExisting);
            planted.exec("CREATE TRIGGER wipe AFTER INSERT ON progressives BEGIN DELETE FROM exports; END");
        }
        try {
            BusinessFile file(dir.path());
            QFAIL("a company file carrying a trigger was opened");
        } catch (const quillio::engine::EngineError& error) {
            QVERIFY2(error.text().contains(QStringLiteral("contiene trigger o viste")),
                     qPrintable(error.text()));
        }
    }

    void aDamagedFileIsReportedNotReplaced()
    {
        QUILLIO_FILES_ONLY("a damaged SQLite file");
        QTemporaryDir dir;
        QFile damaged(dir.filePath(BusinessFile::fileName));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(QByteArray(4096, 'x'));
        damaged.close();
        try {
            BusinessFile file(dir.path());
            QFAIL("a damaged file was opened");
        } catch (const quillio::engine::EngineError& error) {
            // The company file's messages are the program's own, in Italian, naming the file.
            QVERIFY2(
                error.text().startsWith(QStringLiteral("Impossibile aprire il file dei dati dell'azienda")),
                qPrintable(error.text()));
            QVERIFY2(error.text().contains(QStringLiteral("il file è danneggiato")),
                     qPrintable(error.text()));
            QVERIFY2(error.text().contains(QDir::toNativeSeparators(damaged.fileName())),
                     qPrintable(error.text()));
        }
        QCOMPARE(QFileInfo(damaged.fileName()).size(), qint64(4096));
    }
};

QUILLIO_MAIN_ON_EACH_STORAGE(TestBusinessFile)
#include "tst_businessfile.moc"
