#pragma once

#include "engine/FieldDef.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

class QObject;

namespace quillio::engine {

class RecordReader;
class Session;

// Where the records of one table live, as tables and queries see it: a table file on disk, or a
// table of a year's schema on a database server. Every write is one committed transaction; records
// are identified by their row id, which grows with each insert and is never reused, so row order
// is insertion order.
class TableStorage
{
public:
    // Opens the table `fileName` of `directory` (a folder, or a server's year address); a missing
    // table, or one that is not a table of ours, is refused without touching it. On a server the
    // table uses `session`'s connection, or one of its own without a session.
    static std::unique_ptr<TableStorage> open(const QString& directory, const QString& fileName,
                                              Session* session = nullptr);
    // Creates a new, empty, unprotected table; refused when one of that name exists.
    static void create(const QString& directory, const QString& fileName, const FieldDefs& columns,
                       Session* session = nullptr);
    // How the table is named to the person: a file's path, or the server address with the table.
    static QString locationOf(const QString& directory, const QString& fileName);

    // A protected table's salt and password verifier; both empty when it is unprotected.
    struct ProtectionMarks
    {
        QString salt;
        QString verifier;
    };

    virtual ~TableStorage() = default;

    // The location shown in error texts.
    virtual QString path() const = 0;
    virtual const FieldDefs& fields() const = 0;
    // Case-insensitive; -1 for an unknown name.
    virtual int fieldIndex(const QString& name) const = 0;

    virtual bool isProtected() const = 0;
    // Raises an EngineError unless the table is unprotected or one of `passwords` opens it.
    virtual void requireAccess(const QStringList& passwords) const = 0;
    // Protects the table with `password`; nothing when already protected with the same one.
    virtual void protect(const QString& password) = 0;

    // Stores a new record and returns its row id (for an AUTOINC column, its number).
    virtual qint64 insert(const QList<QVariant>& values) = 0;
    // Stores an edited record read at `version`; refused when another user changed or deleted it.
    virtual void update(qint64 rowid, qint64 version, const QList<QVariant>& values) = 0;
    virtual void remove(qint64 rowid) = 0;

    virtual int count() = 0;
    virtual bool isEmpty() = 0;
    // The row ids in the order of `field` (-1: row order), ties in row order.
    virtual QList<qint64> orderedRowids(int field, bool descending) = 0;
    // Whether the order of `field` (-1: row order) is the order of the row ids.
    virtual bool ordersByRowid(int field) const = 0;
    // For a result read in an order unrelated to the row ids, `order` (its row ids, as read): a
    // hint to keep more in memory, or to read ahead in that order.
    virtual void cacheForScatteredReads(const QList<qint64>& order) = 0;
    // Every record's value of the column `field` as text (a missing value as an empty text), in the
    // order of orderedRowids(field, false). Touches nothing but this table's own connection, so a
    // worker thread may call it on a table it opened itself.
    virtual QStringList orderedTexts(int field) = 0;
    // What a copy of the table takes over: the protection as it is, each record with its row id,
    // and the number the next new record gets.
    virtual ProtectionMarks protectionMarks() const = 0;
    virtual void setProtectionMarks(const ProtectionMarks& marks) = 0;
    virtual qint64 nextNumber() = 0;
    struct NumberedRecord
    {
        qint64 rowid = 0;
        QList<QVariant> values;
    };
    // Stores the records with their row ids, all in one transaction: a copy commits once per batch
    // instead of once per record.
    virtual void insertNumbered(const QList<NumberedRecord>& records) = 0;
    virtual void continueNumbersAt(qint64 next) = 0;

    // A reader of this table's records; `context`'s thread is the one that reads.
    virtual std::unique_ptr<RecordReader> reader(QObject* context) = 0;
};

} // namespace quillio::engine
