#pragma once

#include "engine/PgConnection.h"
#include "engine/ServerAddress.h"
#include "engine/TableStorage.h"

#include <QHash>
#include <memory>

namespace quillio::engine {

// One table of a year's schema on a database server, named as the table file it stands for
// (`Rubrica.DB`). The declared columns are the table's own columns with their types (a CHAR width
// is a varchar's length); an AUTOINC column is an identity column and the row id, otherwise a
// hidden identity column `quillio_rowid` is. A hidden `quillio_version` column counts the updates
// of each record. The table's comment marks it as ours and holds its protection. Every write is one
// statement, committed by the server before the call returns.
class ServerTable : public TableStorage
{
public:
    // `connection`: the session's connection to the address's database.
    static std::unique_ptr<ServerTable> open(std::shared_ptr<PgConnection> connection,
                                             const ServerAddress& place, const QString& tableName);
    static void create(PgConnection& connection, const ServerAddress& place, const QString& tableName,
                       const FieldDefs& columns);
    // Makes the collation text columns sort by, in the schema, unless it is there.
    static void ensureCollation(PgConnection& connection, const QString& schema);

    ~ServerTable() override;

    QString path() const override { return m_shown; }
    const FieldDefs& fields() const override { return m_fields; }
    int fieldIndex(const QString& name) const override;

    bool isProtected() const override { return m_protected; }
    void requireAccess(const QStringList& passwords) const override;
    void protect(const QString& password) override;

    qint64 insert(const QList<QVariant>& values) override;
    void update(qint64 rowid, qint64 version, const QList<QVariant>& values) override;
    void remove(qint64 rowid) override;

    int count() override;
    bool isEmpty() override;
    QList<qint64> orderedRowids(int field, bool descending) override;
    bool ordersByRowid(int field) const override;
    void cacheForScatteredReads(const QList<qint64>& order) override;
    QStringList orderedTexts(int field) override;
    std::unique_ptr<RecordReader> reader(QObject* context) override;
    ProtectionMarks protectionMarks() const override { return {m_salt, m_verifier}; }
    void setProtectionMarks(const ProtectionMarks& marks) override;
    qint64 nextNumber() override;
    void insertNumbered(const QList<NumberedRecord>& records) override;
    void continueNumbersAt(qint64 next) override;

    // The text of a statement reading row id, version and every field of at most `limit` records
    // from a row id on, forward (rowid >= $1, ascending) or backward (rowid <= $1, descending).
    QByteArray pageSql(bool forward, int limit) const;
    PgConnection& connection() { return *m_connection; }
    bool readsScattered() const { return !m_readOrder.isEmpty(); }
    // For a result read in another order than the row ids: the row ids that follow `rowid` in that
    // order, `rowid` first, at most `count`; empty when `rowid` is not in it.
    QList<qint64> followingInReadOrder(qint64 rowid, int count);
    // The records of a list of row ids, in no particular order: $1 is the list as an array.
    QByteArray batchSql() const;

private:
    ServerTable(std::shared_ptr<PgConnection> connection, const ServerAddress& place,
                const QString& tableName);
    void readDeclarations();
    [[noreturn]] void damaged(const QString& what) const;
    bool isTextField(int field) const;
    // A text field's sort key: blanks first, then the collation's order.
    QByteArray textOrderKey(int field);
    // Makes, unless it is there, the index that holds a text field's ascending order, so a sorted
    // list is read from it rather than sorted anew at every opening; once per field of this table.
    void ensureSortIndex(int field);
    QByteArray orderTerms(int field, bool descending);
    QList<PgParameter> parameters(const QList<QVariant>& values) const;
    QByteArray selectRecords() const;
    // The qualified name of the row id's sequence.
    QByteArray sequenceOf();

    std::shared_ptr<PgConnection> m_connection;
    ServerAddress m_place;
    QString m_tableName;
    QString m_shown;
    QByteArray m_qualified;   // "schema"."table"
    QByteArray m_rowid;       // the quoted row id column
    QByteArrayList m_columns; // each field's quoted name
    FieldDefs m_fields;
    QHash<QString, int> m_exactNames;
    QHash<QString, int> m_foldedNames;
    bool m_protected = false;
    QString m_salt;
    QString m_verifier;
    QList<qint64> m_readOrder; // a sorted result's row ids as it reads them; empty in row id order
    QHash<qint64, qsizetype> m_readOrderIndex; // made at the first read ahead
    bool m_collationChecked = false;
    QList<int> m_sortIndexChecked; // the fields whose sort index is known to be there
};

} // namespace quillio::engine
