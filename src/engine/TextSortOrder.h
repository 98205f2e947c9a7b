#pragma once

#include <QByteArrayView>
#include <QCollator>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <utility>
#include <vector>

namespace quillio::engine {

class TextSortKeys;

// Sorts the rows of a text column as TextCollation orders them, with blanks first (no value below
// an empty text; in descending order the other way round) and ties in row id order.
//
// The texts are kept as the UTF-8 bytes the table file gives, one after the other in one buffer.
// Every text is turned into a collation key once, and the keys too lie in one buffer. The sort moves
// small entries pointing at their keys and compares the keys eight bytes at a time as integers,
// splitting the entries by each such word in turn (a multikey quicksort), so the start that many
// names share is not compared again at every step. Large inputs make and sort their keys on two
// threads, one half each, merged as they are read. In the C locale, whose keys would not ignore case as its
// comparison does, the texts are compared instead.
class TextSortOrder
{
public:
    // From this many texts on, two threads share the work; below it a second one costs more than
    // it saves.
    static constexpr qsizetype TwoThreadsFrom = 8192;

    explicit TextSortOrder(bool descending);
    ~TextSortOrder();
    TextSortOrder(const TextSortOrder&) = delete;
    TextSortOrder& operator=(const TextSortOrder&) = delete;

    // Room for about `rows` rows, so that adding them copies nothing already added.
    void reserve(qsizetype rows);
    // Rows are added in any order. A text is given as UTF-8 and reads as QString::fromUtf8 reads it.
    void add(qint64 rowid, QByteArrayView text);
    void addMissing(qint64 rowid);

    QList<qint64> rowids();
    // The texts in the same order as rowids(), a blank as an empty text.
    QStringList texts();

private:
    // A non-blank text: its bytes in m_bytes.
    struct Text
    {
        qint64 rowid;
        qsizetype start;
        qsizetype size;
    };
    // What the sort moves: a text and, once made, its key, with the word of it being compared.
    struct Entry
    {
        quint64 word;
        const char* key;
        quint32 keySize;
        quint32 text;
    };
    // Bytes written one after the other, grown without being cleared first.
    struct KeyBytes
    {
        std::unique_ptr<char[]> data;
        qsizetype size = 0;
        qsizetype capacity = 0;
        void reserve(qsizetype total);
    };
    // Entries still to be sorted, whose keys are known to be equal before `depth`.
    struct Part
    {
        Entry* entries;
        size_t count;
        quint32 depth;
    };
    // One thread's part of the texts, with the bytes of their keys.
    struct Share
    {
        qsizetype from;
        qsizetype to;
        KeyBytes keys;
    };

    void sort();
    void sortOnTwoThreads(qsizetype count, TextSortKeys& helperKeys);
    // Calls `visit` with each entry in order.
    template <typename Visit> void visitInOrder(Visit visit);
    template <bool Descending, typename Visit> void visitMerged(Visit visit) const;
    void sortShare(Share& share, TextSortKeys* keys);
    void makeKeys(Share& share, TextSortKeys& keys);
    void decodeAll();
    void sortEntries(qsizetype from, qsizetype to);
    template <bool Descending> void sortByKeys(Entry* entries, size_t count, quint32 depth, int splitsLeft);
    template <bool Descending> void sortByComparing(Entry* entries, size_t count, quint32 depth);
    template <bool Descending> void sortByInsertion(Entry* entries, size_t count, quint32 depth);
    template <bool Descending> std::array<Part, 3> splitAt(Entry* entries, size_t count, quint32 depth) const;
    static std::pair<size_t, size_t> splitByWord(Entry* entries, size_t count);
    static bool keysEnd(const Entry* entries, size_t count, quint32 depth);
    void sortByRowid(Entry* entries, size_t count) const;
    // Whether `a` comes before `b`, whose keys are known to be equal before `depth`.
    template <bool Descending> bool precedes(const Entry& a, const Entry& b, quint32 depth) const;
    int compareTexts(const Entry& a, const Entry& b, quint32 depth) const;
    static int compareKeys(const Entry& a, const Entry& b, quint32 depth);
    QByteArrayView bytesOf(const Text& text) const;
    QList<qint64> blanksInOrder() const;

    QCollator m_collator;
    std::unique_ptr<TextSortKeys> m_keys;
    bool m_descending;
    std::vector<char> m_bytes;
    std::vector<Text> m_texts;
    // The texts as strings, where they are compared rather than their keys.
    std::vector<QString> m_decoded;
    QList<qint64> m_missing;
    QList<qint64> m_empty;
    // One for each text, in the texts' order until sorted.
    std::unique_ptr<Entry[]> m_entries;
    // The threads' shares of the work, holding the keys the entries point at.
    std::vector<Share> m_shares;
    bool m_sorted = false;
};

} // namespace quillio::engine
