// Random sequences of table operations, from fixed seeds, each step compared with EngineModel:
// state, edges, record count, every field of the current record, and the text of every refusal.

#include "EngineModel.h"
#include "Storages.h"
#include "UnexpectedWarnings.h"
#include "engine/EngineError.h"
#include "engine/Query.h"
#include "engine/Session.h"
#include "engine/Table.h"

#include <QDate>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

using namespace quillio::engine;
using namespace quillio::reliability;

namespace {

const QString Alias = QStringLiteral("Archivio");
const QString FileName = QStringLiteral("Modello.DB");
constexpr int StepsPerSeed = 3000;

// What a step did to the engine and to the model, for the failure message.
struct Step
{
    QString name;
    std::function<void(Table&)> onEngine;
    std::function<EngineModel::Error(EngineModel&)> onModel;
};

QString randomText(QRandomGenerator& random, int maxLength)
{
    // Accented letters and a character outside the BMP, so cutting to width meets surrogate pairs.
    static const QStringList pieces{QStringLiteral("a"), QStringLiteral("Z"), QStringLiteral("è"),
                                    QStringLiteral(" "), QStringLiteral("'"), QStringLiteral("😀"),
                                    QStringLiteral("ß"), QStringLiteral("7")};
    QString text;
    const int length = random.bounded(maxLength + 1);
    while (text.size() < length)
        text += pieces.at(random.bounded(pieces.size()));
    return text;
}

// A value for a field: often null or empty text, otherwise one of the field's own type.
QVariant randomValue(QRandomGenerator& random, int field)
{
    const int kind = random.bounded(10);
    if (kind == 0)
        return QVariant();
    if (kind == 1)
        return QString();
    switch (field) {
    case 1:
        return randomText(random, 2 * EngineModel::NameWidth);
    case 2:
        return double(random.bounded(-100000, 100000)) / 100.0;
    case 3:
        return QDate(2009, 1, 1).addDays(random.bounded(730));
    case 4:
        return random.bounded(2) == 1;
    case 5:
        return randomText(random, random.bounded(5) == 0 ? 5000 : 40);
    default:
        return double(random.bounded(100)); // OrdNum: always refused
    }
}

QString shown(const QVariant& value)
{
    return value.isValid() ? QStringLiteral("%1(%2)").arg(value.typeName(), value.toString().left(40))
                           : QStringLiteral("null");
}

bool sameValue(const QVariant& expected, const QVariant& actual)
{
    if (!expected.isValid() || !actual.isValid())
        return expected.isValid() == actual.isValid();
    switch (expected.typeId()) {
    case QMetaType::QString:
        return actual.typeId() == QMetaType::QString && actual.toString() == expected.toString();
    case QMetaType::QDate:
        return actual.typeId() == QMetaType::QDate && actual.toDate() == expected.toDate();
    case QMetaType::Bool:
        return actual.typeId() == QMetaType::Bool && actual.toBool() == expected.toBool();
    default:
        return actual.toDouble() == expected.toDouble();
    }
}

Step randomStep(QRandomGenerator& random)
{
    using M = EngineModel;
    const int pick = random.bounded(100);
    if (pick < 3)
        return {"open", &Table::open, &M::open};
    if (pick < 5)
        return {"close", &Table::close, &M::close};
    if (pick < 14)
        return {"append", &Table::append, &M::append};
    if (pick < 22)
        return {"edit", &Table::edit, &M::edit};
    if (pick < 32)
        return {"post", &Table::post, &M::post};
    if (pick < 36)
        return {"cancel", &Table::cancel, &M::cancel};
    if (pick < 41)
        return {"remove", &Table::remove, &M::remove};
    if (pick < 45)
        return {"first", &Table::first, &M::first};
    if (pick < 55)
        return {"next", &Table::next, &M::next};
    if (pick < 62)
        return {"prior", &Table::prior, &M::prior};
    if (pick < 66)
        return {"last", &Table::last, &M::last};
    const int field = random.bounded(EngineModel::fieldNames().size());
    const QVariant value = randomValue(random, field);
    const QString name = EngineModel::fieldNames().at(field);
    return {QStringLiteral("set %1 = %2").arg(name, shown(value)),
            [name, value](Table& table) { table.setFieldValue(name, value); },
            [field, value](M& model) { return model.setField(field, value); }};
}

// The differences between what the engine shows and what the model expects; empty when none.
QString differences(const Table& table, const EngineModel& model)
{
    QStringList found;
    if (int(table.state()) != int(model.state()))
        found << QStringLiteral("state %1, expected %2").arg(int(table.state())).arg(int(model.state()));
    if (table.bof() != model.bof() || table.eof() != model.eof())
        found << QStringLiteral("bof/eof %1/%2, expected %3/%4")
                     .arg(table.bof())
                     .arg(table.eof())
                     .arg(model.bof())
                     .arg(model.eof());
    if (table.recordCount() != model.recordCount())
        found << QStringLiteral("%1 records, expected %2").arg(table.recordCount()).arg(model.recordCount());
    if (table.isModified() != model.isModified())
        found << QStringLiteral("modified %1, expected %2").arg(table.isModified()).arg(model.isModified());
    if (!table.isActive())
        return found.join(QStringLiteral("; "));
    for (int field = 0; field < EngineModel::fieldNames().size(); ++field) {
        const QVariant actual = table.fieldValue(EngineModel::fieldNames().at(field));
        const QVariant expected = model.fieldValue(field);
        if (!sameValue(expected, actual))
            found << QStringLiteral("%1 is %2, expected %3")
                         .arg(EngineModel::fieldNames().at(field), shown(actual), shown(expected));
    }
    return found.join(QStringLiteral("; "));
}

} // namespace

class EngineModelTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void randomOperationsFollowTheModel_data();
    void randomOperationsFollowTheModel();
    void initTestCase() { QUILLIO_REQUIRE_STORAGE(); }
};

void EngineModelTest::randomOperationsFollowTheModel_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::newRow("seed 1") << 1u;
    QTest::newRow("seed 2009") << 2009u;
    QTest::newRow("seed 424242") << 424242u;
}

void EngineModelTest::randomOperationsFollowTheModel()
{
    QFETCH(quint32, seed);
    QTemporaryDir dir;
    const QString location = test::onServer() ? test::newServerYear() : dir.path();
    Session session(QStringLiteral("Modello"));
    session.addStandardAlias(Alias, location);
    session.activate();
    {
        Query create(session);
        create.setDatabaseName(Alias);
        create.addSql(QStringLiteral("CREATE TABLE \"%1\" ( OrdNum AUTOINC, Nome CHAR(%2), Importo NUMERIC, "
                                     "Data DATE, Flag Boolean, Note BLOB(1,1) )")
                          .arg(FileName)
                          .arg(EngineModel::NameWidth));
        create.execSql();
    }
    {
        Table table(session);
        table.setDatabaseName(Alias);
        table.setTableName(FileName);
        EngineModel model;
        QRandomGenerator random(seed);
        QStringList history;
        for (int i = 0; i < StepsPerSeed; ++i) {
            const Step step = randomStep(random);
            history.append(step.name);
            QString engineError;
            try {
                step.onEngine(table);
            } catch (const EngineError& error) {
                engineError = error.text();
            }
            const QString modelError = step.onModel(model).value_or(QString());
            QString problem;
            if (engineError != modelError)
                problem = QStringLiteral("error \"%1\", expected \"%2\"").arg(engineError, modelError);
            else
                problem = differences(table, model);
            if (!problem.isEmpty())
                QFAIL(qPrintable(QStringLiteral("step %1 (%2): %3\nlast steps: %4")
                                     .arg(i)
                                     .arg(step.name, problem, history.mid(history.size() - 12).join(", "))));
        }
    }
}

QUILLIO_MAIN_ON_EACH_STORAGE(EngineModelTest)
#include "tst_EngineModel.moc"
