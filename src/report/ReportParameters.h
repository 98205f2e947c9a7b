#pragma once

#include <QHash>
#include <QList>
#include <QString>

namespace quillio::report {

// The named texts a report is run with. Names are compared without regard to letter case; the
// first spelling used is kept. Setting the empty text removes the name.
class ReportParameters
{
public:
    void set(const QString& name, const QString& text);
    // The text under the name, empty when there is none.
    QString value(const QString& name) const;
    bool contains(const QString& name) const;
    void clear()
    {
        m_entries.clear();
        m_index.clear();
    }
    qsizetype size() const { return m_entries.size(); }
    QStringList names() const;

private:
    struct Entry
    {
        QString name;
        QString text;
    };
    qsizetype indexOf(const QString& name) const;
    static QString key(const QString& name) { return name.toCaseFolded(); }

    QList<Entry> m_entries;
    QHash<QString, qsizetype> m_index; // case-folded name -> place in m_entries
};

} // namespace quillio::report
