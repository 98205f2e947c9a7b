#include "CustomerNameList.h"

#include "TableFile.h"

#include <QMetaObject>

namespace quillio::recordbody {

namespace {

const QString NameField = QStringLiteral("Ragione_Sociale");

QStringList readNames(const QString& path)
{
    const std::unique_ptr<engine::TableFile> file = engine::TableFile::open(path);
    return file->orderedTexts(file->fieldIndex(NameField));
}

} // namespace

CustomerNameList::CustomerNameList(QObject* parent) : QObject(parent) {}

CustomerNameList::~CustomerNameList()
{
    for (const std::shared_future<QStringList>& reading : m_running)
        reading.wait();
}

void CustomerNameList::start(const QString& path)
{
    dropFinished();
    const int generation = ++m_generation;
    m_current = std::async(std::launch::async, [this, path, generation] {
                    // Told even when the reading fails; the destructor waits for this thread, so
                    // the object is still there.
                    struct TellWhenDone
                    {
                        CustomerNameList* list;
                        int generation;
                        ~TellWhenDone()
                        {
                            QMetaObject::invokeMethod(
                                list,
                                [list = list, generation = generation] {
                                    if (generation == list->m_generation)
                                        emit list->ready();
                                },
                                Qt::QueuedConnection);
                        }
                    } tell{this, generation};
                    return readNames(path);
                }).share();
    m_running.push_back(m_current);
}

QStringList CustomerNameList::take()
{
    return m_current.valid() ? m_current.get() : QStringList();
}

void CustomerNameList::dropFinished()
{
    std::erase_if(m_running, [](const std::shared_future<QStringList>& reading) {
        return reading.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    });
}

} // namespace quillio::recordbody
