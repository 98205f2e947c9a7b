#pragma once

#include "engine/Dataset.h"

#include <QSignalBlocker>

namespace quillio::recordbody {

// Steps through a table without telling its data-bound controls of every record passed: the
// controls of a hidden window would lay out each record's texts, which costs far more than reading
// them. When the scan ends they are told once, and show the record it ended on.
class QuietScan
{
public:
    explicit QuietScan(engine::Dataset& dataset) : m_dataset(dataset), m_blocker(&dataset) {}
    ~QuietScan()
    {
        m_blocker.unblock();
        emit m_dataset.stateChanged();
        emit m_dataset.recordChanged();
    }
    QuietScan(const QuietScan&) = delete;
    QuietScan& operator=(const QuietScan&) = delete;

private:
    engine::Dataset& m_dataset;
    QSignalBlocker m_blocker;
};

} // namespace quillio::recordbody
