#include "ArchiveFixture.h"
#include "Values.h"

#include <QElapsedTimer>
#include <QTest>
#include <algorithm>
#include <sqlite3.h>

using namespace quillio::engine;
using namespace quillio::engine::test;

namespace {

const QString Drafts = QStringLiteral("Bozze.DB");
constexpr int Records = 100000;

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

// Opening, stepping and reading must stay cheap on a large table of the widest schema.
class PerformanceTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void openReadsNoRecordsAhead();
    void scanCostsLittleMoreThanSqliteItself();

private:
    double engineScanMs();
    double sqliteScanMs();

    ArchiveFixture m_archive;
};

void PerformanceTest::initTestCase()
{
    m_archive.create(Drafts, draftColumns());
    // Filled directly, in one transaction: a hundred thousand posts would measure the disk instead.
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(m_archive.path(Drafts)).constData(), &db), SQLITE_OK);
    QCOMPARE(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_stmt* insert = nullptr;
    QCOMPARE(sqlite3_prepare_v2(
                 db,
                 "INSERT INTO records (Ragione_Sociale, Via, Citta, Desc01, Costo01, Desc02, Costo02, "
                 "Desc03, Costo03, Totale, Iva, Note) VALUES (?1, 'Via Roma 1', ?2, 'Consulenza', 100, "
                 "'Trasferta', 25.5, 'Materiale', 12, ?3, 20, 'Nota di prova')",
                 -1, &insert, nullptr),
             SQLITE_OK);
    for (int i = 0; i < Records; ++i) {
        const QByteArray name = "Cliente " + QByteArray::number(i);
        const QByteArray town = "Città " + QByteArray::number(i % 97);
        sqlite3_bind_text(insert, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, town.constData(), int(town.size()), SQLITE_TRANSIENT);
        sqlite3_bind_double(insert, 3, 137.5 + i);
        QCOMPARE(sqlite3_step(insert), SQLITE_DONE);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    QCOMPARE(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

void PerformanceTest::openReadsNoRecordsAhead()
{
    QList<double> times;
    for (int round = 0; round < 9; ++round) {
        auto table = m_archive.table(Drafts);
        QElapsedTimer clock;
        clock.start();
        table->open();
        const QString first = table->fieldValue(QStringLiteral("Ragione_Sociale")).toString();
        table->next();
        const QString second = table->fieldValue(QStringLiteral("Ragione_Sociale")).toString();
        times.append(clock.nsecsElapsed() / 1e6);
        QCOMPARE(first, QStringLiteral("Cliente 0"));
        QCOMPARE(second, QStringLiteral("Cliente 1"));
    }
    qInfo("open and read two records of %d: median %.2f ms", Records, median(times));
    // Loading the table, or even counting its records, would take tens of milliseconds.
    QVERIFY2(median(times) < 10.0, qPrintable(QString::number(median(times))));
}

double PerformanceTest::engineScanMs()
{
    auto table = m_archive.table(Drafts);
    table->open();
    QElapsedTimer clock;
    clock.start();
    double total = 0;
    int count = 0;
    qsizetype textSize = 0;
    for (table->first(); !table->eof(); table->next()) {
        textSize += table->fieldValue(QStringLiteral("Ragione_Sociale")).toString().size();
        textSize += table->fieldValue(QStringLiteral("Citta")).toString().size();
        total += Values::toDouble(table->fieldValue(QStringLiteral("Totale")));
        ++count;
    }
    const double ms = clock.nsecsElapsed() / 1e6;
    if (count != Records || textSize == 0 || total <= 0)
        qFatal("engine scan read %d records", count);
    return ms;
}

double PerformanceTest::sqliteScanMs()
{
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(m_archive.path(Drafts)).constData(), &db);
    QElapsedTimer clock;
    clock.start();
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(db, "SELECT Ragione_Sociale, Citta, Totale FROM records ORDER BY rowid", -1, &select,
                       nullptr);
    double total = 0;
    int count = 0;
    qsizetype textSize = 0;
    while (sqlite3_step(select) == SQLITE_ROW) {
        for (int column : {0, 1}) {
            const QString text =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(select, column)),
                                  sqlite3_column_bytes(select, column));
            textSize += text.size();
        }
        total += sqlite3_column_double(select, 2);
        ++count;
    }
    sqlite3_finalize(select);
    const double ms = clock.nsecsElapsed() / 1e6;
    sqlite3_close(db);
    if (count != Records || textSize == 0 || total <= 0)
        qFatal("direct scan read %d records", count);
    return ms;
}

void PerformanceTest::scanCostsLittleMoreThanSqliteItself()
{
    // Best of three of each, so a busy machine does not decide the outcome.
    double engine = 1e9;
    double direct = 1e9;
    for (int round = 0; round < 3; ++round) {
        engine = std::min(engine, engineScanMs());
        direct = std::min(direct, sqliteScanMs());
    }
    qInfo("scan of %d records reading three fields: engine %.1f ms, SQLite %.1f ms, ratio %.2f", Records,
          engine, direct, engine / direct);
    QVERIFY2(engine / direct < 3.5, qPrintable(QString::number(engine / direct)));
}

QTEST_GUILESS_MAIN(PerformanceTest)
#include "tst_Performance.moc"
