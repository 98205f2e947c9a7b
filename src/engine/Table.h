#pragma once

#include "engine/Dataset.h"

#include <functional>
#include <memory>

namespace quillio::engine {

class TableStorage;

// One table file of a year's archive, opened through its session's alias.
//
// Editing rules: append() and edit() put the current record into a pending state (insert or
// edit); fields can be written only then ("Dataset not in edit or insert mode"); post() stores
// the record in one committed transaction, giving a new record its AutoInc number; cancel() drops
// a new record and restores an edited one. A refused post leaves the record pending. append(),
// moving (first/next/prior/last) and close() first store a pending record when it was changed and
// drop it when it was not (close() always drops it). edit() on an empty table starts a new blank
// record; edit() while pending changes nothing. remove() while inserting acts as cancel(); on an
// empty table it fails with "Cannot perform this operation on an empty dataset"; afterwards the
// next record, or the new last one, is current. Text written into a Char field is cut to its
// width; an empty text or a null clears a field.
//
// Two copies of the program may share a file: a post or delete waits briefly while the file is
// busy, and a post over a record that another copy changed or deleted since it was read is refused
// with an EngineError, the record staying pending.
class Table : public Dataset
{
    Q_OBJECT

public:
    explicit Table(Session& session, QObject* parent = nullptr);
    ~Table() override;

    // The file name within the alias's directory; set while closed, resolved on open().
    void setTableName(const QString& fileName);
    QString tableName() const { return m_tableName; }
    // The full path the table resolves to with the current alias (valid while open).
    QString filePath() const;

    void open() override;
    void close() override;
    void first() override;
    void next() override;
    void prior() override;
    void last() override;
    // Stands on the first record, in the table's own order, whose field equals `value`, and says
    // whether there is one; when there is none the current record stays the one it was. A pending
    // record is settled first, as for any move.
    bool locate(const QString& field, const QVariant& value);
    bool isEmpty() const override;
    int recordCount() const override;
    const FieldDefs& fields() const override;
    QVariant fieldValue(const QString& name) const override;
    void setFieldValue(const QString& name, const QVariant& value) override;
    void append() override;
    void edit() override;
    void post() override;
    void cancel() override;
    void remove() override;
    bool isModified() const override;

private:
    // Steps from the first record until `found` holds; false, standing on the last, when never.
    bool scanFromFirst(const std::function<bool()>& found);

    QString m_tableName;
    std::unique_ptr<TableStorage> m_file;
    struct Cursor;
    std::unique_ptr<Cursor> m_cursor;
};

} // namespace quillio::engine
