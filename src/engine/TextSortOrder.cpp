#include "TextSortOrder.h"

#include "TextCollation.h"

#include <algorithm>

namespace quillio::engine {

TextSortOrder::TextSortOrder(bool descending)
    : m_collator(TextCollation::collator()), m_hasKeys(m_collator.locale().language() != QLocale::C),
      m_descending(descending)
{
}

void TextSortOrder::add(qint64 rowid, const QString& text)
{
    if (text.isEmpty())
        m_rows.push_back({rowid, Row::Empty, QString(), std::nullopt});
    else if (m_hasKeys)
        m_rows.push_back({rowid, Row::Text, QString(), m_collator.sortKey(text)});
    else
        m_rows.push_back({rowid, Row::Text, text, std::nullopt});
}

void TextSortOrder::addMissing(qint64 rowid)
{
    m_rows.push_back({rowid, Row::Missing, QString(), std::nullopt});
}

bool TextSortOrder::precedes(const Row& a, const Row& b) const
{
    // Blanks come first in either direction; among them a missing value sorts below an empty text.
    if (isBlank(a) != isBlank(b))
        return isBlank(a);
    int order = 0;
    if (isBlank(a))
        order = int(a.kind) - int(b.kind);
    else
        order = m_hasKeys ? a.key->compare(*b.key) : m_collator.compare(a.text, b.text);
    if (m_descending)
        order = -order;
    if (order != 0)
        return order < 0;
    return a.rowid < b.rowid;
}

QList<qint64> TextSortOrder::rowids()
{
    std::sort(m_rows.begin(), m_rows.end(), [this](const Row& a, const Row& b) { return precedes(a, b); });
    QList<qint64> ordered;
    ordered.reserve(qsizetype(m_rows.size()));
    for (const Row& row : m_rows)
        ordered.append(row.rowid);
    return ordered;
}

} // namespace quillio::engine
