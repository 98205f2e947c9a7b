#include "YearArchive.h"

#include "archive/TableSchemas.h"
#include "config/SettingsKey.h"
#include "config/SettingsStore.h"
#include "engine/EngineError.h"
#include "engine/Query.h"
#include "engine/Session.h"
#include "engine/Table.h"

#include <QDir>

namespace quillio::test::YearArchive {

namespace {

const QString alias = QStringLiteral("PROBE");

QString columnsOf(const QString& file)
{
    if (file == QLatin1String("Rubrica.DB"))
        return archive::TableSchemas::customers();
    if (file == QLatin1String("Bozze.DB"))
        return archive::TableSchemas::drafts();
    return archive::TableSchemas::invoices();
}

void bindTo(engine::Session& session, engine::Table& table, const QString& dir, const QString& file)
{
    session.addStandardAlias(alias, dir);
    table.setDatabaseName(alias);
    table.setTableName(file);
}

void addCustomers(const QString& dir, const QStringList& customers)
{
    engine::Session session(QStringLiteral("filler"));
    engine::Table table(session);
    bindTo(session, table, dir, QStringLiteral("Rubrica.DB"));
    table.open();
    for (const QString& name : customers) {
        table.append();
        table.setFieldValue(QStringLiteral("Ragione_Sociale"), name);
        table.post();
    }
}

bool opens(const QString& dir, const QString& file, const QString& password)
{
    engine::Session session(QStringLiteral("probe"));
    if (!password.isEmpty())
        session.addPassword(password);
    engine::Table table(session);
    bindTo(session, table, dir, file);
    try {
        table.open();
        return table.isActive();
    } catch (const engine::EngineError&) {
        return false;
    }
}

} // namespace

QString directory(const QString& year)
{
    return config::SettingsStore::LeggiReg(config::SettingsKey::path, config::SettingsKey::pathDatiGen) +
           year + QDir::separator();
}

QString make(const QString& year, const QStringList& tables, const QStringList& customers)
{
    QString dir = directory(year);
    QDir().mkpath(dir);
    engine::Session session(QStringLiteral("maker"));
    session.addStandardAlias(alias, dir);
    engine::Query query(session);
    query.setDatabaseName(alias);
    for (const QString& file : tables) {
        query.close();
        query.clearSql();
        query.addSql(QStringLiteral("CREATE TABLE \"%1\" %2").arg(file, columnsOf(file)));
        query.execSql();
    }
    if (tables.contains(QStringLiteral("Rubrica.DB")))
        addCustomers(dir, customers);
    return dir;
}

bool opensWithoutPassword(const QString& dir, const QString& file)
{
    return opens(dir, file, QString());
}

bool isProtected(const QString& dir, const QString& file)
{
    return !opensWithoutPassword(dir, file) && opens(dir, file, archive::masterPassword);
}

QStringList customerNames(engine::Table& table)
{
    table.open();
    QStringList names;
    for (table.first(); !table.eof(); table.next())
        names << table.fieldValue(QStringLiteral("Ragione_Sociale")).toString();
    return names;
}

} // namespace quillio::test::YearArchive
