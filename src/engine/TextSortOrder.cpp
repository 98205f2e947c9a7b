#include "engine/TextSortOrder.h"

#include "engine/TextCollation.h"

#include <QCollatorSortKey>
#include <QLocale>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <numeric>

namespace quillio::engine {

TextSortOrder::TextSortOrder(bool descending)
    : m_collator(TextCollation::collator()), m_descending(descending)
{
}

void TextSortOrder::reserve(qsizetype rows)
{
    m_rows.reserve(size_t(rows));
}

void TextSortOrder::add(qint64 rowid, QByteArrayView text)
{
    if (text.isEmpty())
        m_empty.append(rowid);
    else
        m_rows.push_back({rowid, QString::fromUtf8(text)});
    m_sorted = false;
}

void TextSortOrder::addMissing(qint64 rowid)
{
    m_missing.append(rowid);
    m_sorted = false;
}

void TextSortOrder::sort()
{
    if (m_sorted)
        return;
    if (m_collator.locale() == QLocale::c())
        sortByComparing();
    else
        sortByKeys();
    m_sorted = true;
}

std::vector<QCollatorSortKey> TextSortOrder::keysOf(const QCollator& collator, size_t from, size_t to) const
{
    std::vector<QCollatorSortKey> keys;
    keys.reserve(to - from);
    for (size_t row = from; row < to; ++row)
        keys.push_back(collator.sortKey(m_rows[row].text));
    return keys;
}

// Making the keys is most of the work; from TwoThreadsFrom rows on, a second thread, with a
// collator of its own, makes those of the second half.
std::vector<QCollatorSortKey> TextSortOrder::makeKeys() const
{
    const size_t count = m_rows.size();
    if (count < TwoThreadsFrom)
        return keysOf(m_collator, 0, count);
    const size_t half = count / 2;
    QFuture<std::vector<QCollatorSortKey>> secondHalf =
        QtConcurrent::run([this, half, count] { return keysOf(TextCollation::collator(), half, count); });
    std::vector<QCollatorSortKey> keys = keysOf(m_collator, 0, half);
    std::vector<QCollatorSortKey> rest = secondHalf.takeResult();
    keys.insert(keys.end(), std::make_move_iterator(rest.begin()), std::make_move_iterator(rest.end()));
    return keys;
}

void TextSortOrder::sortByKeys()
{
    const std::vector<QCollatorSortKey> keys = makeKeys();
    std::vector<size_t> order(m_rows.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const int byKey = keys[a].compare(keys[b]);
        if (byKey != 0)
            return m_descending ? byKey > 0 : byKey < 0;
        return m_rows[a].rowid < m_rows[b].rowid;
    });
    std::vector<Row> sorted;
    sorted.reserve(m_rows.size());
    for (size_t index : order)
        sorted.push_back(std::move(m_rows[index]));
    m_rows = std::move(sorted);
}

void TextSortOrder::sortByComparing()
{
    std::sort(m_rows.begin(), m_rows.end(), [this](const Row& a, const Row& b) {
        const int byText = m_collator.compare(a.text, b.text);
        if (byText != 0)
            return m_descending ? byText > 0 : byText < 0;
        return a.rowid < b.rowid;
    });
}

QList<qint64> TextSortOrder::blanksInOrder() const
{
    QList<qint64> missing = m_missing;
    QList<qint64> empty = m_empty;
    std::sort(missing.begin(), missing.end());
    std::sort(empty.begin(), empty.end());
    return m_descending ? empty + missing : missing + empty;
}

QList<qint64> TextSortOrder::rowids()
{
    sort();
    QList<qint64> rowids = blanksInOrder();
    rowids.reserve(rowids.size() + qsizetype(m_rows.size()));
    for (const Row& row : m_rows)
        rowids.append(row.rowid);
    return rowids;
}

QStringList TextSortOrder::texts()
{
    sort();
    QStringList texts(m_missing.size() + m_empty.size());
    texts.reserve(texts.size() + qsizetype(m_rows.size()));
    for (const Row& row : m_rows)
        texts.append(row.text);
    return texts;
}

} // namespace quillio::engine
