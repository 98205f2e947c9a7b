#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace quillio::test {

// Everything the program showed the person, in order: messages, questions and errors.
class Transcript
{
public:
    enum class Kind { Message, Confirm, Error };
    struct Entry
    {
        Kind kind;
        QString text;
    };

    void add(Kind kind, const QString& text) { m_entries.append({kind, text}); }
    const QList<Entry>& entries() const { return m_entries; }
    // The texts alone, in order.
    QStringList texts() const;
    // Only the entries of one kind.
    QStringList texts(Kind kind) const;
    void clear() { m_entries.clear(); }

private:
    QList<Entry> m_entries;
};

} // namespace quillio::test
