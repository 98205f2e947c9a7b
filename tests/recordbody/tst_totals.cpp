#include "UnexpectedWarnings.h"
#include "archive/TableSchemas.h"
#include "engine/EngineError.h"
#include "engine/Query.h"
#include "engine/Session.h"
#include "engine/Table.h"
#include "platform/ConversionError.h"
#include "recordbody/Totals.h"

#include <QTemporaryDir>
#include <QTest>

using namespace quillio;

namespace {

using Amounts = QMap<int, QVariant>;

// A draft table of one record being added, with the given slot amounts, switch and rate.
struct Draft
{
    QTemporaryDir dir;
    engine::Session session{QStringLiteral("totals")};
    engine::Table table{session};

    Draft(const Amounts& amounts, const QVariant& automatic, const QVariant& rate)
    {
        session.addStandardAlias("A", dir.path() + "/");
        engine::Query create(session);
        create.setDatabaseName("A");
        create.addSql(QStringLiteral("CREATE TABLE \"Bozze.DB\" ") + archive::TableSchemas::drafts());
        create.execSql();
        table.setDatabaseName("A");
        table.setTableName("Bozze.DB");
        table.open();
        table.append();
        for (auto it = amounts.begin(); it != amounts.end(); ++it)
            table.setFieldValue(QStringLiteral("Costo%1").arg(it.key(), 2, 10, QLatin1Char('0')), it.value());
        table.setFieldValue("TotAut", automatic);
        table.setFieldValue("Iva", rate);
        table.setFieldValue("Totale", 1.0);
        table.setFieldValue("Totale_Iva", 2.0);
        table.setFieldValue("Totale_Fattura", 3.0);
    }
    QVariant value(const char* field) const { return table.fieldValue(QLatin1String(field)); }
};

} // namespace

class TestTotals : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void recompute_data()
    {
        QTest::addColumn<Amounts>("amounts");
        QTest::addColumn<QVariant>("automatic");
        QTest::addColumn<QVariant>("rate");
        QTest::addColumn<double>("taxable");
        QTest::addColumn<double>("vat");
        QTest::addColumn<double>("total");
        const QVariant on(true), null;
        QTest::newRow("first and last slot")
            << Amounts{{1, 100.0}, {20, 50.0}} << on << QVariant(20.0) << 150.0 << 30.0 << 180.0;
        QTest::newRow("discount ignored")
            << Amounts{{1, 100.0}, {2, -30.0}} << on << QVariant(20.0) << 100.0 << 20.0 << 120.0;
        QTest::newRow("all empty") << Amounts{} << on << QVariant(20.0) << 0.0 << 0.0 << 0.0;
        QTest::newRow("switch null counts as on")
            << Amounts{{5, 10.0}} << null << QVariant(20.0) << 10.0 << 2.0 << 12.0;
        QTest::newRow("rate zero") << Amounts{{3, 80.0}} << on << QVariant(0.0) << 80.0 << 0.0 << 80.0;
        QTest::newRow("not rounded") << Amounts{{1, 33.33}} << on << QVariant(20.0) << 33.33 << 6.666
                                     << 39.996;
        QTest::newRow("switch off keeps totals")
            << Amounts{{1, 100.0}} << QVariant(false) << QVariant(20.0) << 1.0 << 2.0 << 3.0;
    }
    void recompute()
    {
        QFETCH(Amounts, amounts);
        QFETCH(QVariant, automatic);
        QFETCH(QVariant, rate);
        QFETCH(double, taxable);
        QFETCH(double, vat);
        QFETCH(double, total);
        Draft draft(amounts, automatic, rate);
        recordbody::Totals::recompute(draft.table);
        QCOMPARE(draft.value("Totale").toDouble(), taxable);
        QCOMPARE(draft.value("Totale_Iva").toDouble(), vat);
        QCOMPARE(draft.value("Totale_Fattura").toDouble(), total);
    }

    // A missing rate stops the recomputation before it writes anything.
    void nullRateLeavesAllThreeTotals()
    {
        Draft draft({{1, 100.0}}, true, QVariant());
        try {
            recordbody::Totals::recompute(draft.table);
            QFAIL("a null rate was taken as a number");
        } catch (const ConversionError& error) {
            QCOMPARE(error.text(),
                     QStringLiteral("Could not convert variant of type (Null) into type (Double)"));
        }
        QCOMPARE(draft.value("Totale").toDouble(), 1.0);
        QCOMPARE(draft.value("Totale_Iva").toDouble(), 2.0);
        QCOMPARE(draft.value("Totale_Fattura").toDouble(), 3.0);
    }
};

QTEST_GUILESS_MAIN(TestTotals)
#include "tst_totals.moc"
