#pragma once

#include <QList>
#include <QVariant>

namespace quillio::engine {

// The current record of a table, kept as its row id, and the reading of its fields. After the
// record at the position was removed by another user, an exact position reads as blank; otherwise
// the reader moves on to the record that followed it (or the last one).
class RecordReader
{
public:
    virtual ~RecordReader() = default;

    // Each returns whether there is a record to stand on; next() and prior() keep the position when
    // there is no record beyond it.
    virtual bool first() = 0;
    virtual bool last() = 0;
    virtual bool next() = 0;
    virtual bool prior() = 0;

    // Stands on `rowid` without reading it yet.
    virtual void setPosition(qint64 rowid, bool exact) = 0;
    virtual void clearPosition() = 0;
    // Steps on to `rowid` when it is the record after the one being read; false otherwise, the
    // position then being undefined until set again.
    virtual bool advanceTo(qint64 rowid) = 0;
    virtual bool hasPosition() const = 0;
    virtual qint64 position() const = 0;

    // Whether the record at the position still exists, reading it.
    virtual bool isRecordThere() = 0;
    // Reads the record at the position; false when there is nothing to read.
    virtual bool load() = 0;
    virtual QVariant value(int field) = 0;
    virtual QList<QVariant> values() = 0;
    virtual qint64 version() = 0;
};

} // namespace quillio::engine
