#include "engine/TextSortOrder.h"

#include "engine/TextCollation.h"
#include "engine/TextSortKeys.h"

#include <QtEndian>
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <exception>
#include <thread>

namespace quillio::engine {

namespace {

// Keys are compared eight bytes at a time, as one integer.
constexpr quint32 WordSize = 8;
// Parts of fewer entries are sorted by insertion.
constexpr size_t SmallPart = 16;
// Bytes reserved for the text of each row: a name, with room to spare.
constexpr qsizetype ReservedBytesPerText = 32;
// A key takes about a byte for each character, and a few more for the accents and the separators.
constexpr qsizetype KeyBytesBeyondText = 8;

// The key's bytes from `depth` on as one integer, zeros past its end. Keys hold no zero byte, so a
// key that ends sorts before every longer key it begins, as in a byte-by-byte comparison.
quint64 wordAt(const char* key, quint32 size, quint32 depth)
{
    if (size >= depth + WordSize)
        return qFromBigEndian<quint64>(key + depth);
    uchar bytes[WordSize] = {};
    if (size > depth)
        std::memcpy(bytes, key + depth, size - depth);
    return qFromBigEndian<quint64>(bytes);
}

quint64 medianOf(quint64 a, quint64 b, quint64 c)
{
    return std::max(std::min(a, b), std::min(std::max(a, b), c));
}

// Splits allowed for a part of `count` entries at one depth before its keys are compared whole.
int splitsFor(size_t count)
{
    return 2 * int(std::bit_width(count));
}

} // namespace

void TextSortOrder::KeyBytes::reserve(qsizetype total)
{
    if (total <= capacity)
        return;
    auto grown = std::make_unique_for_overwrite<char[]>(size_t(total));
    if (size > 0)
        std::memcpy(grown.get(), data.get(), size_t(size));
    data = std::move(grown);
    capacity = total;
}

TextSortOrder::TextSortOrder(bool descending)
    : m_collator(TextCollation::collator()), m_keys(TextSortKeys::forLocale(m_collator.locale())),
      m_descending(descending)
{
}

TextSortOrder::~TextSortOrder() = default;

void TextSortOrder::reserve(qsizetype rows)
{
    // Growing these by doubling would copy them again and again, each time into fresh memory.
    m_texts.reserve(size_t(rows));
    m_bytes.reserve(size_t(rows * ReservedBytesPerText));
}

void TextSortOrder::add(qint64 rowid, QByteArrayView text)
{
    if (text.isEmpty()) {
        m_empty.append(rowid);
        return;
    }
    m_texts.push_back({rowid, qsizetype(m_bytes.size()), text.size()});
    m_bytes.insert(m_bytes.end(), text.begin(), text.end());
}

void TextSortOrder::addMissing(qint64 rowid)
{
    m_missing.append(rowid);
}

QByteArrayView TextSortOrder::bytesOf(const Text& text) const
{
    return QByteArrayView(m_bytes.data() + text.start, text.size);
}

void TextSortOrder::sort()
{
    if (m_sorted)
        return;
    m_sorted = true;
    const auto count = qsizetype(m_texts.size());
    // Left unset here: each thread fills in its own part.
    m_entries = std::make_unique_for_overwrite<Entry[]>(size_t(count));
    if (!m_keys)
        decodeAll();

    // Each thread has a collator of its own: they are not safe to share.
    std::unique_ptr<TextSortKeys> helperKeys;
    if (m_keys && count >= TwoThreadsFrom)
        helperKeys = TextSortKeys::forLocale(m_collator.locale());
    if (helperKeys) {
        sortOnTwoThreads(count, *helperKeys);
    } else {
        m_shares.push_back({0, count, {}});
        sortShare(m_shares.front(), m_keys.get());
    }
}

void TextSortOrder::sortOnTwoThreads(qsizetype count, TextSortKeys& helperKeys)
{
    m_shares.push_back({0, count / 2, {}});
    m_shares.push_back({count / 2, count, {}});
    std::exception_ptr helperFailure;
    std::thread helper([&] {
        try {
            sortShare(m_shares[1], &helperKeys);
        } catch (...) {
            helperFailure = std::current_exception();
        }
    });
    try {
        sortShare(m_shares[0], m_keys.get());
    } catch (...) {
        helper.join();
        throw;
    }
    helper.join();
    if (helperFailure)
        std::rethrow_exception(helperFailure);
}

void TextSortOrder::decodeAll()
{
    m_decoded.reserve(m_texts.size());
    for (const Text& text : m_texts)
        m_decoded.push_back(QString::fromUtf8(bytesOf(text)));
}

void TextSortOrder::sortShare(Share& share, TextSortKeys* keys)
{
    for (qsizetype i = share.from; i < share.to; ++i)
        m_entries[size_t(i)] = {0, nullptr, 0, quint32(i)};
    if (keys)
        makeKeys(share, *keys);
    sortEntries(share.from, share.to);
}

void TextSortOrder::makeKeys(Share& share, TextSortKeys& keys)
{
    if (share.from == share.to)
        return;
    KeyBytes& bytes = share.keys;
    const Text& last = m_texts[size_t(share.to - 1)];
    const qsizetype textBytes = last.start + last.size - m_texts[size_t(share.from)].start;
    bytes.reserve(textBytes + (share.to - share.from) * KeyBytesBeyondText);
    for (qsizetype i = share.from; i < share.to; ++i) {
        const QByteArrayView text = bytesOf(m_texts[size_t(i)]);
        qsizetype size = keys.write(text, bytes.data.get() + bytes.size, bytes.capacity - bytes.size);
        if (size >= bytes.capacity - bytes.size) {
            bytes.reserve(std::max(2 * bytes.capacity, bytes.size + size + 1));
            size = keys.write(text, bytes.data.get() + bytes.size, bytes.capacity - bytes.size);
        }
        bytes.size += size;
        m_entries[size_t(i)].keySize = quint32(size);
    }
    // The keys lie one after the other, and the buffer no longer moves: the entries may point into it.
    const char* key = bytes.data.get();
    for (qsizetype i = share.from; i < share.to; ++i) {
        m_entries[size_t(i)].key = key;
        key += m_entries[size_t(i)].keySize;
    }
}

int TextSortOrder::compareKeys(const Entry& a, const Entry& b, quint32 depth)
{
    // The bytes before `depth` are known to be equal.
    const quint32 common = std::min(a.keySize, b.keySize);
    if (common > depth) {
        const int order = std::memcmp(a.key + depth, b.key + depth, common - depth);
        if (order != 0)
            return order;
    }
    return a.keySize < b.keySize ? -1 : (a.keySize > b.keySize ? 1 : 0);
}

int TextSortOrder::compareTexts(const Entry& a, const Entry& b, quint32 depth) const
{
    return m_keys ? compareKeys(a, b, depth) : m_collator.compare(m_decoded[a.text], m_decoded[b.text]);
}

template <bool Descending> bool TextSortOrder::precedes(const Entry& a, const Entry& b, quint32 depth) const
{
    const int order = compareTexts(a, b, depth);
    if (order != 0)
        return Descending ? order > 0 : order < 0;
    return m_texts[a.text].rowid < m_texts[b.text].rowid;
}

void TextSortOrder::sortEntries(qsizetype from, qsizetype to)
{
    Entry* const entries = m_entries.get() + from;
    const auto count = size_t(to - from);
    if (m_keys && m_descending)
        sortByKeys<true>(entries, count, 0, splitsFor(count));
    else if (m_keys)
        sortByKeys<false>(entries, count, 0, splitsFor(count));
    else if (m_descending)
        sortByComparing<true>(entries, count, 0);
    else
        sortByComparing<false>(entries, count, 0);
}

template <bool Descending> void TextSortOrder::sortByComparing(Entry* entries, size_t count, quint32 depth)
{
    std::sort(entries, entries + count,
              [this, depth](const Entry& a, const Entry& b) { return precedes<Descending>(a, b, depth); });
}

// A multikey quicksort: the entries are split by the key word at `depth` into those below, equal to
// and above a pivot word; the equal ones go on with the next word. Common starts of keys are thus
// compared once for a whole part, not again at every comparison. Where the words give out, the
// remaining entries of a part hold equal keys and take row id order.
template <bool Descending>
void TextSortOrder::sortByKeys(Entry* entries, size_t count, quint32 depth, int splitsLeft)
{
    while (count > 1) {
        if (count < SmallPart) {
            sortByInsertion<Descending>(entries, count, depth);
            return;
        }
        // Badly chosen pivots would make the splits quadratic: comparing whole keys bounds the cost.
        if (splitsLeft-- == 0) {
            sortByComparing<Descending>(entries, count, depth);
            return;
        }
        const std::array<Part, 3> parts = splitAt<Descending>(entries, count, depth);
        // The largest part goes on in this loop; the others, at most half as large, recurse, so the
        // recursion stays shallow.
        const Part& largest = *std::max_element(
            parts.begin(), parts.end(), [](const Part& a, const Part& b) { return a.count < b.count; });
        for (const Part& part : parts) {
            if (&part != &largest)
                sortByKeys<Descending>(part.entries, part.count, part.depth, splitsFor(part.count));
        }
        if (largest.depth != depth)
            splitsLeft = splitsFor(largest.count);
        entries = largest.entries;
        count = largest.count;
        depth = largest.depth;
    }
}

// Splits the entries by their key words at `depth`: those below the pivot word, those above it, and
// those equal to it, which go on at the next word unless their keys end there: they are then equal
// keys, put in row id order at once.
template <bool Descending>
std::array<TextSortOrder::Part, 3> TextSortOrder::splitAt(Entry* entries, size_t count, quint32 depth) const
{
    // In descending order the words are turned over, so that larger ones come first.
    const quint64 flip = Descending ? ~quint64(0) : 0;
    for (size_t i = 0; i < count; ++i)
        entries[i].word = wordAt(entries[i].key, entries[i].keySize, depth) ^ flip;
    const auto [equalFrom, equalTo] = splitByWord(entries, count);
    std::array<Part, 3> parts = {Part{entries, equalFrom, depth},
                                 Part{entries + equalTo, count - equalTo, depth},
                                 Part{entries + equalFrom, equalTo - equalFrom, depth + WordSize}};
    if (keysEnd(parts[2].entries, parts[2].count, parts[2].depth)) {
        sortByRowid(parts[2].entries, parts[2].count);
        parts[2].count = 0;
    }
    return parts;
}

std::pair<size_t, size_t> TextSortOrder::splitByWord(Entry* entries, size_t count)
{
    const quint64 pivot = medianOf(entries[0].word, entries[count / 2].word, entries[count - 1].word);
    size_t below = 0;
    size_t next = 0;
    size_t above = count;
    while (next < above) {
        if (entries[next].word < pivot)
            std::swap(entries[below++], entries[next++]);
        else if (entries[next].word > pivot)
            std::swap(entries[next], entries[--above]);
        else
            ++next;
    }
    return {below, above};
}

bool TextSortOrder::keysEnd(const Entry* entries, size_t count, quint32 depth)
{
    return std::all_of(entries, entries + count,
                       [depth](const Entry& entry) { return entry.keySize <= depth; });
}

void TextSortOrder::sortByRowid(Entry* entries, size_t count) const
{
    std::sort(entries, entries + count, [this](const Entry& a, const Entry& b) {
        return m_texts[a.text].rowid < m_texts[b.text].rowid;
    });
}

template <bool Descending> void TextSortOrder::sortByInsertion(Entry* entries, size_t count, quint32 depth)
{
    for (size_t i = 1; i < count; ++i) {
        const Entry entry = entries[i];
        size_t place = i;
        for (; place > 0 && precedes<Descending>(entry, entries[place - 1], depth); --place)
            entries[place] = entries[place - 1];
        entries[place] = entry;
    }
}

template <bool Descending, typename Visit> void TextSortOrder::visitMerged(Visit visit) const
{
    // Each share is sorted on its own; merging them as they are read costs no pass of its own.
    const Entry* first = m_entries.get() + m_shares.front().from;
    const Entry* const firstEnd = m_entries.get() + m_shares.front().to;
    const Entry* second = m_entries.get() + m_shares.back().from;
    const Entry* const secondEnd = m_entries.get() + m_shares.back().to;
    if (m_shares.size() == 1)
        second = secondEnd;
    while (first != firstEnd && second != secondEnd)
        visit(precedes<Descending>(*second, *first, 0) ? *second++ : *first++);
    for (; first != firstEnd; ++first)
        visit(*first);
    for (; second != secondEnd; ++second)
        visit(*second);
}

template <typename Visit> void TextSortOrder::visitInOrder(Visit visit)
{
    sort();
    if (m_descending)
        visitMerged<true>(visit);
    else
        visitMerged<false>(visit);
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
    QList<qint64> ordered = blanksInOrder();
    ordered.reserve(ordered.size() + qsizetype(m_texts.size()));
    visitInOrder([&](const Entry& entry) { ordered.append(m_texts[entry.text].rowid); });
    return ordered;
}

QStringList TextSortOrder::texts()
{
    QStringList ordered(m_missing.size() + m_empty.size());
    ordered.reserve(ordered.size() + qsizetype(m_texts.size()));
    visitInOrder(
        [&](const Entry& entry) { ordered.append(QString::fromUtf8(bytesOf(m_texts[entry.text]))); });
    return ordered;
}

} // namespace quillio::engine
