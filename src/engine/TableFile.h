#pragma once

#include "engine/FieldDef.h"
#include "engine/SqliteConnection.h"
#include "engine/SqliteStatement.h"
#include "engine/TableStorage.h"

#include <QHash>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <optional>

namespace quillio::engine {

class TextSortOrder;

// One table file on disk: an SQLite database holding the records table, the declared columns with
// their types and widths, and the protection marks. Opening reads only the declarations; records are
// read through RecordCursor and written here, each write in one committed transaction.
//
// Layout of a file: `quillio_meta` (key, value) holds the format mark and the protection; the
// columns are listed in `quillio_columns`; the records are in `records`, whose AUTOINC column (or a
// hidden one when none is declared) is the row id, never reused, so row order is insertion order.
// A hidden `quillio_version` column counts the updates of each record.
class TableFile : public TableStorage
{
public:
    // Opens an existing table file; a missing file, a directory, a file that is not a table file or
    // one that carries triggers or views is refused without touching it.
    static std::unique_ptr<TableFile> open(const QString& path);
    // Creates a new, empty, unprotected table file; refused when a file of that name exists.
    static void create(const QString& path, const FieldDefs& columns);
    // The file `fileName` of an alias's directory; with no directory, the name as a path.
    static QString pathIn(const QString& directory, const QString& fileName);

    ~TableFile() override;
    TableFile(const TableFile&) = delete;
    TableFile& operator=(const TableFile&) = delete;

    QString path() const override { return m_connection.path(); }
    SqliteConnection& connection() { return m_connection; }
    const FieldDefs& fields() const override { return m_fields; }
    // Case-insensitive; -1 for an unknown name.
    int fieldIndex(const QString& name) const override;

    bool isProtected() const override { return m_protected; }
    // Raises an EngineError unless the file is unprotected or one of `passwords` opens it.
    void requireAccess(const QStringList& passwords) const override;
    // Protects the file with `password`; nothing when already protected with the same one.
    void protect(const QString& password) override;

    // The text of a statement reading row id, version and the given fields, from a row id on,
    // forward (rowid >= ?1, ascending) or backward (rowid <= ?1, descending).
    QByteArray cursorSql(const QList<int>& fields, bool forward) const;

    // Stores a new record and returns its row id (for an AUTOINC column, its number).
    qint64 insert(const QList<QVariant>& values) override;
    // Stores an edited record read at `version`; refused when another user changed or deleted it.
    void update(qint64 rowid, qint64 version, const QList<QVariant>& values) override;
    void remove(qint64 rowid) override;

    int count() override;
    bool isEmpty() override;
    // The row ids in the order of `field` (-1: file order), ties in file order.
    QList<qint64> orderedRowids(int field, bool descending) override;
    // Whether the order of `field` (-1: file order) is the order of the records in the file.
    bool ordersByRowid(int field) const override;
    // For a result read in an order unrelated to the records' places in the file, which would read
    // the same pages of the file again and again: keeps more of the file in memory.
    void cacheForScatteredReads(const QList<qint64>& order) override;
    std::unique_ptr<RecordReader> reader(QObject* context) override;
    ProtectionMarks protectionMarks() const override { return {m_salt, m_verifier}; }
    void setProtectionMarks(const ProtectionMarks& marks) override;
    qint64 nextNumber() override;
    void insertNumbered(const QList<NumberedRecord>& records) override;
    void continueNumbersAt(qint64 next) override;

    // Every record's value of the column `field` as text (a missing value as an empty text), in the
    // order of orderedRowids(field, false). Touches nothing but this file's own connection, so a
    // worker thread may call it on a table file it opened itself.
    QStringList orderedTexts(int field) override;

private:
    explicit TableFile(const QString& path);
    void readDeclarations();
    void beginWrite();
    [[noreturn]] void damaged(const QString& what) const;
    bool isTextField(int field) const;
    // The order of a text column sorted here; none when the column holds a value that is not text.
    std::optional<QList<qint64>> textOrderedRowids(int field, bool descending);
    // About as many as the records, never fewer unless the file holds more than a million: the span
    // of the row ids, which only removed records make larger than the count.
    qsizetype estimatedCount();
    // Reads every record's `field` into `order`; false at the first value that is neither text nor
    // missing.
    bool readTexts(int field, TextSortOrder& order);
    QList<qint64> sqlOrderedRowids(int field, bool descending);
    QStringList sqlOrderedTexts(int field);
    QByteArray orderTerms(int field, bool descending) const;

    SqliteConnection m_connection;
    FieldDefs m_fields;
    QHash<QString, int> m_exactNames;
    QHash<QString, int> m_foldedNames;
    bool m_protected = false;
    QString m_salt;
    QString m_verifier;
    SqliteStatement m_insert;
    SqliteStatement m_update;
};

} // namespace quillio::engine
