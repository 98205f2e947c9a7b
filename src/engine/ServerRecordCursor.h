#pragma once

#include "engine/PositionedCursor.h"

#include <QList>

class QObject;

namespace quillio::engine {

class ServerTable;

// The current record of a server table, kept as its row id. Records are read a page at a time in
// row id order (keyset paging: rowid >= position, LIMIT n), so opening and stepping cost one
// round trip per page, whatever the size of the table. A page is kept only until control returns to
// the event loop of `context`'s thread, or until a write of this thread; then the position is read
// again from the server, so what another desk changed meanwhile shows.
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
    struct Row
    {
        qint64 rowid = 0;
        qint64 version = 0;
        QList<QVariant> values;
    };
    bool seek(bool forward, qint64 from) override;
    // Moves one row on in the page's direction, reading the next page when this one is used up.
    bool stepOn() override;
    void leaveRow() override;
    const Row& current() const { return m_page.at(m_index); }

    ServerTable& m_table;
    QList<Row> m_page;
    qsizetype m_index = 0;
    bool m_pageFull = false; // the page was cut at its limit: more rows may follow
};

} // namespace quillio::engine
