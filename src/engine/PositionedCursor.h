#pragma once

#include "engine/RecordReader.h"

#include <QPointer>
#include <memory>

class QObject;

namespace quillio::engine {

// The position rules every storage's cursor shares: the current record kept as its row id, moving
// to the first, last, next and prior record, an exact position that reads as blank once its record
// is gone, and what is read being let go when control returns to the event loop of `context`'s
// thread. A storage says how to seek from a row id, how to step on and how to let go.
class PositionedCursor : public RecordReader
{
public:
    explicit PositionedCursor(QObject* context);

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

    // Lets go of what is being read (a statement and its lock, or a page of rows).
    virtual void release() = 0;

protected:
    enum class Active { None, Forward, Backward };

    // Reads from the first row id at or after `from` (before, backwards), standing on it; false
    // when there is none.
    virtual bool seek(bool forward, qint64 from) = 0;
    // Stands on the next row in the active direction; false at the end, letting go being left to
    // the caller.
    virtual bool stepOn() = 0;
    // Stops reading where it stands before the position is set anew.
    virtual void leaveRow() = 0;
    // Called by seek() once it stands on a row.
    void scheduleRelease();

    Active m_active = Active::None;
    bool m_hasPosition = false;
    bool m_exact = false;
    bool m_missing = false;
    qint64 m_position = 0;

private:
    bool stepOrRelease();

    QPointer<QObject> m_context;
    bool m_releaseScheduled = false;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace quillio::engine
