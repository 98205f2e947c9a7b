#include "DataDirectory.h"

#include "archive/TableSchemas.h"
#include "config/SettingsKey.h"
#include "config/SettingsStore.h"
#include "engine/DataPlace.h"
#include "engine/Engine.h"
#include "engine/Query.h"
#include "engine/Session.h"
#include "engine/Table.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>

namespace quillio::test {

namespace {

const QString alias = QStringLiteral("PROVA");

QString columnsOf(const QString& file)
{
    if (file == QLatin1String("Rubrica.DB"))
        return archive::TableSchemas::customers();
    if (file == QLatin1String("Bozze.DB"))
        return archive::TableSchemas::drafts();
    return archive::TableSchemas::invoices();
}

// A session and a table of a year's directory, opened.
struct OpenTable
{
    OpenTable(const QString& directory, const QString& file)
        : session(QStringLiteral("Prova")), table(session)
    {
        session.addStandardAlias(alias, directory);
        session.activate();
        session.addPassword(archive::masterPassword);
        table.setDatabaseName(alias);
        table.setTableName(file);
        table.open();
    }
    void moveTo(qint64 ordNum)
    {
        for (table.first(); !table.eof(); table.next())
            if (table.fieldValue(QStringLiteral("OrdNum")).toLongLong() == ordNum)
                return;
        qFatal("no record %lld", ordNum);
    }
    engine::Session session;
    engine::Table table;
};

} // namespace

QString DataDirectory::yearDirectory(const QString& year) const
{
    if (engine::DataPlace::isServerAddress(m_root))
        return engine::DataPlace::child(m_root, year);
    return QDir(m_root).filePath(year);
}

void DataDirectory::makeYear(const QString& year, bool protect) const
{
    const QString directory = yearDirectory(year);
    engine::DataPlace::create(directory);
    engine::Session session(QStringLiteral("Creazione"));
    session.addStandardAlias(alias, directory);
    session.activate();
    for (const QString& file : tables) {
        engine::Query create(session);
        create.setDatabaseName(alias);
        create.addSql(QStringLiteral("CREATE TABLE \"%1\" %2").arg(file, columnsOf(file)));
        create.execSql();
        if (protect)
            engine::Engine::protectTable(directory, file, archive::masterPassword);
    }
}

void DataDirectory::addCustomers(const QString& year, const QStringList& names) const
{
    OpenTable open(yearDirectory(year), QStringLiteral("Rubrica.DB"));
    for (const QString& name : names) {
        open.table.append();
        open.table.setFieldValue(QStringLiteral("Ragione_Sociale"), name);
        open.table.post();
    }
}

qint64 DataDirectory::addInvoice(const QString& year, const Invoice& invoice) const
{
    OpenTable open(yearDirectory(year), QStringLiteral("Fatture.DB"));
    engine::Table& table = open.table;
    table.append();
    table.setFieldValue(QStringLiteral("Data"), invoice.date);
    table.setFieldValue(QStringLiteral("Stato"), QStringLiteral("Emessa"));
    table.setFieldValue(QStringLiteral("Ragione_Sociale"), invoice.customer);
    table.setFieldValue(QStringLiteral("PIva"), invoice.partitaIva);
    table.setFieldValue(QStringLiteral("CF"), invoice.codiceFiscale);
    double sum = 0;
    for (qsizetype slot = 0; slot < invoice.amounts.size(); ++slot) {
        table.setFieldValue(QStringLiteral("Desc%1").arg(slot + 1, 2, 10, QLatin1Char('0')),
                            QStringLiteral("Voce"));
        table.setFieldValue(QStringLiteral("Costo%1").arg(slot + 1, 2, 10, QLatin1Char('0')),
                            invoice.amounts[slot]);
        if (invoice.amounts[slot] > 0)
            sum += invoice.amounts[slot];
    }
    table.setFieldValue(QStringLiteral("Iva"), invoice.rate);
    table.setFieldValue(QStringLiteral("TotAut"), invoice.automaticTotals);
    const double vat = sum * invoice.rate / 100;
    table.setFieldValue(QStringLiteral("Totale"), invoice.automaticTotals ? sum : invoice.taxable);
    table.setFieldValue(QStringLiteral("Totale_Iva"), invoice.automaticTotals ? vat : invoice.vat);
    table.setFieldValue(QStringLiteral("Totale_Fattura"),
                        invoice.automaticTotals ? sum + vat : invoice.total);
    table.post();
    return table.fieldValue(QStringLiteral("OrdNum")).toLongLong();
}

void DataDirectory::removeRecord(const QString& year, const QString& table, qint64 ordNum) const
{
    OpenTable open(yearDirectory(year), table);
    open.moveTo(ordNum);
    open.table.remove();
}

void DataDirectory::setField(const QString& year, const QString& table, qint64 ordNum, const QString& field,
                             const QVariant& value) const
{
    OpenTable open(yearDirectory(year), table);
    open.moveTo(ordNum);
    open.table.edit();
    open.table.setFieldValue(field, value);
    open.table.post();
}

QList<QVariantList> DataDirectory::records(const QString& year, const QString& table) const
{
    OpenTable open(yearDirectory(year), table);
    QList<QVariantList> all;
    for (open.table.first(); !open.table.eof(); open.table.next()) {
        QVariantList values;
        for (const engine::FieldDef& field : open.table.fields())
            values.append(open.table.fieldValue(field.name));
        all.append(values);
    }
    return all;
}

void DataDirectory::writeSettings(const QString& programDir, const QString& year) const
{
    namespace Key = config::SettingsKey;
    const std::pair<const QString&, QString> values[] = {
        {Key::conf, QStringLiteral("OK")},
        {Key::pathPrg, programDir},
        {Key::pathTemp, programDir},
        {Key::pathDatiGen, engine::DataPlace::isServerAddress(m_root) ? m_root : m_root + QDir::separator()},
        {Key::aliasDb, QStringLiteral("QUILDB09")},
        {Key::anno, year},
        {Key::dbRubrica, tables[0]},
        {Key::dbBozze, tables[1]},
        {Key::dbFatture, tables[2]},
    };
    for (const auto& [name, value] : values)
        config::SettingsStore::ScriviReg(Key::path, name, value);
}

QMap<QString, QByteArray> fingerprint(const QString& root, const QString& leftOut)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(root).relativeFilePath(path);
        if (!leftOut.isEmpty() && relative.startsWith(leftOut + u'/'))
            continue;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", qPrintable(path));
        QCryptographicHash hash(QCryptographicHash::Sha256);
        hash.addData(&file);
        files.insert(relative, hash.result().toHex());
    }
    return files;
}

} // namespace quillio::test
