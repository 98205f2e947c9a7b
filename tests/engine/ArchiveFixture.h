#pragma once

#include "Storages.h"
#include "engine/Query.h"
#include "engine/Session.h"
#include "engine/Table.h"
#include "engine/TableStorage.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sqlite3.h>

namespace quillio::engine::test {

// The column lists of the archive's three tables, as the archive module sends them.
inline QString customerColumns()
{
    return QStringLiteral(
        "( OrdNum AUTOINC, Tipo CHAR(60), Ragione_Sociale CHAR(60), Via CHAR(60), Citta CHAR(40), "
        "Cap CHAR(5), PIva CHAR(11), CF CHAR(16), Telefono CHAR(100), Fax CHAR(100), "
        "Cellulare CHAR(100), EMail CHAR(100), Sito CHAR(100), Riferimento CHAR(100), "
        "Note BLOB(1,1) )");
}

inline QString bodyColumns()
{
    QString text =
        QStringLiteral("CodRif NUMERIC, Ragione_Sociale CHAR(60), Via CHAR(60), Citta CHAR(40), Cap CHAR(5), "
                       "PIva CHAR(11), CF CHAR(16), Testo1 CHAR(100), Testo2 CHAR(100), ");
    for (int slot = 1; slot <= 20; ++slot)
        text += QStringLiteral("Desc%1 CHAR(100), Costo%1 NUMERIC, ").arg(slot, 2, 10, QLatin1Char('0'));
    return text + QStringLiteral("TotAut Boolean, Totale NUMERIC, Iva NUMERIC, Totale_Iva NUMERIC, "
                                 "Totale_Fattura NUMERIC, Condizioni BLOB(1,1), Note BLOB(1,1) )");
}

inline QString draftColumns()
{
    return QStringLiteral("( OrdNum AUTOINC, ") + bodyColumns();
}

inline QString invoiceColumns()
{
    return QStringLiteral("( OrdNum AUTOINC, Numero CHAR(20), Stato CHAR(50), Data DATE, ") + bodyColumns();
}

// One field of every type, for the value rules.
inline QString sampleColumns()
{
    return QStringLiteral(
        "( OrdNum AUTOINC, Nome CHAR(10), Importo NUMERIC, Data DATE, Flag Boolean, Note BLOB(1,1) )");
}

inline const QString Alias = QStringLiteral("Archivio");

// A new, empty year of the archive on the current storage (a temporary directory, or a year schema
// of the test server), reached through an alias of an active session.
struct ArchiveFixture
{
    QTemporaryDir dir;
    // The year's directory: the temporary directory, or the server's year address.
    QString location = onServer() ? newServerYear() : dir.path() + QDir::separator();
    Session session{QStringLiteral("Prova")};

    ArchiveFixture()
    {
        session.addStandardAlias(Alias, location);
        session.activate();
    }

    // How the engine names the table `file` of this year (on files, its path).
    QString path(const QString& file) const { return TableStorage::locationOf(location, file); }

    void create(const QString& file, const QString& columns)
    {
        Query query(session);
        query.setDatabaseName(Alias);
        query.addSql(QStringLiteral("CREATE TABLE \"%1\" %2").arg(file, columns));
        query.execSql();
    }

    std::unique_ptr<Table> table(const QString& file)
    {
        auto table = std::make_unique<Table>(session);
        table->setDatabaseName(Alias);
        table->setTableName(file);
        return table;
    }

    // Adds records whose `field` holds each of `values` (null for an empty text), in order.
    void addRecords(const QString& file, const QString& field, const QStringList& values)
    {
        auto t = table(file);
        t->open();
        for (const QString& value : values) {
            t->append();
            t->setFieldValue(field, value.isEmpty() ? QVariant() : QVariant(value));
            t->post();
        }
    }

    // Record number -> Ragione_Sociale of every record stored in `file`.
    QHash<int, QString> storedNames(const QString& file)
    {
        QHash<int, QString> records;
        auto t = table(file);
        t->open();
        for (; !t->eof(); t->next())
            records.insert(t->fieldValue(QStringLiteral("OrdNum")).toInt(),
                           t->fieldValue(QStringLiteral("Ragione_Sociale")).toString());
        return records;
    }

    // SQLite's own verdict on the file ("ok" when it is intact), read without the engine.
    QString integrityCheck(const QString& file) const
    {
        sqlite3* db = nullptr;
        QString result;
        if (sqlite3_open_v2(QFile::encodeName(path(file)).constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
            SQLITE_OK) {
            sqlite3_stmt* statement = nullptr;
            if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr) == SQLITE_OK &&
                sqlite3_step(statement) == SQLITE_ROW)
                result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
            sqlite3_finalize(statement);
        }
        sqlite3_close(db);
        return result;
    }
};

// The text of the error of type E that `action` raises; "<no error>" when it raises none.
template <typename E, typename F> QString errorText(F&& action)
{
    try {
        action();
    } catch (const E& error) {
        return error.text();
    }
    return QStringLiteral("<no error>");
}

inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace quillio::engine::test
