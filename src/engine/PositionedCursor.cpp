#include "engine/PositionedCursor.h"

#include <QCoreApplication>
#include <QObject>
#include <limits>

namespace quillio::engine {

PositionedCursor::PositionedCursor(QObject* context) : m_context(context) {}

void PositionedCursor::scheduleRelease()
{
    if (m_releaseScheduled || !m_context || !QCoreApplication::instance())
        return;
    m_releaseScheduled = true;
    const std::weak_ptr<bool> alive = m_alive;
    QMetaObject::invokeMethod(
        m_context.data(),
        [this, alive] {
            if (alive.expired())
                return;
            m_releaseScheduled = false;
            release();
        },
        Qt::QueuedConnection);
}

bool PositionedCursor::first()
{
    m_exact = false;
    m_hasPosition = seek(true, std::numeric_limits<qint64>::min());
    return m_hasPosition;
}

bool PositionedCursor::last()
{
    m_exact = false;
    m_hasPosition = seek(false, std::numeric_limits<qint64>::max());
    return m_hasPosition;
}

bool PositionedCursor::stepOrRelease()
{
    if (stepOn())
        return true;
    release();
    return false;
}

bool PositionedCursor::next()
{
    if (!m_hasPosition)
        return false;
    m_exact = false;
    if (m_active == Active::Forward)
        return stepOrRelease();
    return m_position < std::numeric_limits<qint64>::max() && seek(true, m_position + 1);
}

bool PositionedCursor::prior()
{
    if (!m_hasPosition)
        return false;
    m_exact = false;
    if (m_active == Active::Backward)
        return stepOrRelease();
    return m_position > std::numeric_limits<qint64>::min() && seek(false, m_position - 1);
}

void PositionedCursor::setPosition(qint64 rowid, bool exact)
{
    leaveRow();
    m_position = rowid;
    m_hasPosition = true;
    m_exact = exact;
    m_missing = false;
}

void PositionedCursor::clearPosition()
{
    release();
    m_hasPosition = false;
    m_missing = false;
}

bool PositionedCursor::advanceTo(qint64 rowid)
{
    if (m_active != Active::Forward || !stepOn())
        return false;
    return m_position == rowid;
}

bool PositionedCursor::load()
{
    if (m_active != Active::None)
        return true;
    if (!m_hasPosition || m_missing)
        return false;
    const qint64 wanted = m_position;
    if (seek(true, wanted) && m_position == wanted)
        return true;
    if (m_exact) {
        // The record was removed by another user: it reads as blank where it stood.
        release();
        m_position = wanted;
        m_missing = true;
        return false;
    }
    if (m_active != Active::None)
        return true;
    if (seek(false, wanted))
        return true;
    m_hasPosition = false;
    return false;
}

bool PositionedCursor::isRecordThere()
{
    const bool wasExact = m_exact;
    m_exact = true;
    const bool there = load();
    m_exact = wasExact;
    if (!there)
        m_missing = false;
    return there;
}

} // namespace quillio::engine
