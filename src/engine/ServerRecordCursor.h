#pragma once

#include "engine/RecordReader.h"

#include <QList>
#include <QPointer>
#include <memory>

class QObject;

namespace quillio::engine {

class ServerTable;

// The current record of a server table, kept as its row id. Records are read a page at a time in
// row id order (keyset paging: rowid >= position, LIMIT n), so opening and stepping cost one
// round trip per page, whatever the size of the table. A page is kept only until control returns to
// the event loop of `context`'s thread, or until a write of this thread; then the position is read
// again from the server, so what another desk changed meanwhile shows.
class ServerRecordCursor : public RecordReader
{
public:
    ServerRecordCursor(ServerTable& table, QObject* context);
    ~ServerRecordCursor() override;
    ServerRecordCursor(const ServerRecordCursor&) = delete;
    ServerRecordCursor& operator=(const ServerRecordCursor&) = delete;

    bool first() override;
    bool last() override;
    bool next() override;
    bool prior() override;
    void setPosition(qint64 rowid, bool exact) override;
    void clearPosition() override;
    bool advanceTo(qint64 rowid) override;
    bool hasPosition() const override { return m_hasPosition; }
    qint64 position() const override { return m_position; }
    bool isRecordThere() override;
    bool load() override;
    QVariant value(int field) override;
    QList<QVariant> values() override;
    qint64 version() override;

    // Drops the page read.
    void release();
    // Drops the pages of every cursor of the calling thread.
    static void releaseAll();

private:
    struct Row
    {
        qint64 rowid = 0;
        qint64 version = 0;
        QList<QVariant> values;
    };
    enum class Active { None, Forward, Backward };

    bool seek(bool forward, qint64 from);
    // Moves one row on in the page's direction, reading the next page when this one is used up.
    bool step();
    void scheduleRelease();
    const Row& current() const { return m_page.at(m_index); }

    ServerTable& m_table;
    QPointer<QObject> m_context;
    QList<Row> m_page;
    qsizetype m_index = 0;
    bool m_pageFull = false; // the page was cut at its limit: more rows may follow
    Active m_active = Active::None;
    bool m_hasPosition = false;
    bool m_exact = false;
    bool m_missing = false;
    qint64 m_position = 0;
    bool m_releaseScheduled = false;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace quillio::engine
