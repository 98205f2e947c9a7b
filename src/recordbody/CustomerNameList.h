#pragma once

#include <QFuture>
#include <QFutureWatcher>
#include <QObject>
#include <QStringList>

namespace quillio::engine {
class SortedColumn;
}

namespace quillio::recordbody {

// Every customer's name in alphabetical order (case ignored, equal names in table order, a blank
// name as empty text), read and sorted on a worker thread with a connection of its own: with a
// hundred thousand customers that takes longer than a window may take to show.
class CustomerNameList : public QObject
{
    Q_OBJECT

public:
    explicit CustomerNameList(QObject* parent = nullptr);
    // Waits for every reading still running.
    ~CustomerNameList() override;

    // Starts reading the column; a reading started before is dropped.
    void start(const engine::SortedColumn& names);
    // The names of the reading started last, waiting for them; throws the error that stopped it.
    QStringList take();

signals:
    // The reading started last has ended; take() returns at once.
    void ready();

private:
    QFuture<QStringList> m_current;
    QList<QFuture<QStringList>> m_running;
    QFutureWatcher<QStringList> m_watcher;
};

} // namespace quillio::recordbody
