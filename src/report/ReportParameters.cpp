#include "report/ReportParameters.h"

#include <QStringList>

namespace quillio::report {

qsizetype ReportParameters::indexOf(const QString& name) const
{
    return m_index.value(key(name), -1);
}

void ReportParameters::set(const QString& name, const QString& text)
{
    const qsizetype index = indexOf(name);
    if (text.isEmpty()) {
        if (index >= 0) {
            m_entries.removeAt(index);
            m_index.remove(key(name));
            for (auto it = m_index.begin(); it != m_index.end(); ++it)
                if (it.value() > index)
                    --it.value();
        }
    } else if (index >= 0) {
        m_entries[index].text = text;
    } else {
        m_index.insert(key(name), m_entries.size());
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
