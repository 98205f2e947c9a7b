#include "ReportParameters.h"

#include <QStringList>

namespace quillio::report {

qsizetype ReportParameters::indexOf(const QString& name) const
{
    for (qsizetype i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void ReportParameters::set(const QString& name, const QString& text)
{
    const qsizetype index = indexOf(name);
    if (text.isEmpty()) {
        if (index >= 0)
            m_entries.removeAt(index);
    } else if (index >= 0) {
        m_entries[index].text = text;
    } else {
        m_entries.append({name, text});
    }
}

QString ReportParameters::value(const QString& name) const
{
    const qsizetype index = indexOf(name);
    return index >= 0 ? m_entries[index].text : QString();
}

bool ReportParameters::contains(const QString& name) const
{
    return indexOf(name) >= 0;
}

QStringList ReportParameters::names() const
{
    QStringList names;
    for (const Entry& entry : m_entries)
        names.append(entry.name);
    return names;
}

} // namespace quillio::report
