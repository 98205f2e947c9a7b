#include "recordbody/CustomerNameList.h"

#include "engine/SortedColumn.h"

#include <QException>
#include <QtConcurrent/QtConcurrentRun>

namespace quillio::recordbody {

CustomerNameList::CustomerNameList(QObject* parent) : QObject(parent)
{
    // The watcher follows only the reading started last, so an older one never announces itself.
    connect(&m_watcher, &QFutureWatcher<QStringList>::finished, this, &CustomerNameList::ready);
}

CustomerNameList::~CustomerNameList()
{
    for (QFuture<QStringList>& reading : m_running) {
        // Waiting rethrows a reading's error; by now nobody is left to read it.
        try {
            reading.waitForFinished();
        } catch (...) {
        }
    }
}

void CustomerNameList::start(const engine::SortedColumn& names)
{
    m_running.removeIf([](const QFuture<QStringList>& reading) { return reading.isFinished(); });
    m_current = QtConcurrent::run([names] { return names.read(); });
    m_running.append(m_current);
    m_watcher.setFuture(m_current);
}

QStringList CustomerNameList::take()
{
    if (!m_current.isValid())
        return {};
    try {
        return m_current.result();
    } catch (const QUnhandledException& failure) {
        // The engine's error travels on as itself, so the person reads its text.
        if (failure.exception())
            std::rethrow_exception(failure.exception());
        throw;
    }
}

} // namespace quillio::recordbody
