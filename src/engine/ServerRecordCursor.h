#pragma once

#include "engine/PgResult.h"
#include "engine/PositionedCursor.h"

#include <QHash>
#include <QList>

class QObject;

namespace quillio::engine {

class ServerTable;

// The current record of a server table, kept as its row id. Records are read a page at a time in
// row id order (keyset paging: rowid >= position, LIMIT n), so opening and stepping cost one
// round trip per page, whatever the size of the table. A page follows the one before in the same
// direction at twice its size, up to a limit: opening reads little, a scan few round trips. A
// page's fields are kept as the server sent them and made values when read, so a scan pays only
// for the fields it reads. A page is kept only until control returns to the event loop of
// `context`'s thread, or until a write of this thread; then the position is read again from the
// server, so what another desk changed meanwhile shows. A sorted result, which visits the rows in
// another order, reads them a batch at a time in its own order instead.
class ServerRecordCursor : public PositionedCursor
{
public:
    ServerRecordCursor(ServerTable& table, QObject* context);
    ~ServerRecordCursor() override;
    ServerRecordCursor(const ServerRecordCursor&) = delete;
    ServerRecordCursor& operator=(const ServerRecordCursor&) = delete;

    QVariant value(int field) override;
    QList<QVariant> values() override;
    qint64 version() override;

    // Drops the page read.
    void release() override;
    // Drops the pages of every cursor of the calling thread.
    static void releaseAll();

private:
    bool seek(bool forward, qint64 from) override;
    // Reads at most `limit` rows from `from` on, standing on the first; false when there is none.
    bool read(bool forward, qint64 from, int limit);
    // Moves one row on in the page's direction, reading the next page when this one is used up.
    bool stepOn() override;
    void leaveRow() override;
    qint64 rowidAt(int row) const;
    // A result read in its own order (a sorted query) reads ahead a batch of the records that
    // follow in that order, in one round trip, and then stands on them without reading again.
    bool readBatch(qint64 from);
    bool standInBatch(qint64 rowid);

    ServerTable& m_table;
    PgResult m_page;
    int m_rows = 0;
    int m_index = 0;
    int m_limit = 0;         // the rows the page was asked for
    bool m_pageFull = false; // the page was cut at its limit: more rows may follow
    bool m_batched = false;  // the page is a batch in the result's order, not in row id order
    QHash<qint64, int> m_batchRows;
};

} // namespace quillio::engine
