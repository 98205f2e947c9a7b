#pragma once

#include <QCollator>
#include <QList>
#include <QString>
#include <optional>
#include <vector>

namespace quillio::engine {

// Sorts the rows of a text column as TextCollation orders them, with blanks (no value or an empty
// text) first and ties in row id order. Each text is turned into a collation key once, so a sort of
// n rows converts n texts rather than comparing two freshly converted texts n log n times. In the C
// locale, whose keys would not ignore case as its comparison does, the texts are compared instead.
class TextSortOrder
{
public:
    explicit TextSortOrder(bool descending);

    // Rows are added in any order.
    void add(qint64 rowid, const QString& text);
    void addMissing(qint64 rowid);
    QList<qint64> rowids();

private:
    struct Row
    {
        qint64 rowid;
        enum Kind { Missing, Empty, Text } kind;
        QString text;
        // None where the collator has no keys (the C locale), the texts then being compared.
        std::optional<QCollatorSortKey> key;
    };

    static bool isBlank(const Row& row) { return row.kind != Row::Text; }
    bool precedes(const Row& a, const Row& b) const;

    QCollator m_collator;
    bool m_hasKeys;
    bool m_descending;
    std::vector<Row> m_rows;
};

} // namespace quillio::engine
