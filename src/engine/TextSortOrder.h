#pragma once

#include <QByteArrayView>
#include <QCollator>
#include <QCollatorSortKey>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

namespace quillio::engine {

// Sorts the rows of a text column as TextCollation orders them, with blanks first (no value below
// an empty text; in descending order the other way round) and ties in row id order.
//
// Every text is turned into the collator's sort key once and std::sort compares the keys, which is
// much cheaper than comparing the texts themselves at every step. In the C locale, whose keys would not
// ignore case as its comparison does, the texts are compared instead.
class TextSortOrder
{
public:
    // From this many texts on, two threads make the sort keys; below it a second one costs more
    // than it saves.
    static constexpr size_t TwoThreadsFrom = 8192;

    explicit TextSortOrder(bool descending);

    // Room for about `rows` rows, so that adding them copies nothing already added.
    void reserve(qsizetype rows);
    // Rows are added in any order. A text is given as UTF-8 and reads as QString::fromUtf8 reads it.
    void add(qint64 rowid, QByteArrayView text);
    void addMissing(qint64 rowid);

    QList<qint64> rowids();
    // The texts in the same order as rowids(), a blank as an empty text.
    QStringList texts();

private:
    struct Row
    {
        qint64 rowid;
        QString text;
    };

    void sort();
    void sortByKeys();
    std::vector<QCollatorSortKey> makeKeys() const;
    std::vector<QCollatorSortKey> keysOf(const QCollator& collator, size_t from, size_t to) const;
    void sortByComparing();
    QList<qint64> blanksInOrder() const;

    QCollator m_collator;
    bool m_descending;
    std::vector<Row> m_rows;
    QList<qint64> m_missing;
    QList<qint64> m_empty;
    bool m_sorted = false;
};

} // namespace quillio::engine
