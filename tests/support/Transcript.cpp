#include "Transcript.h"

namespace quillio::test {

QStringList Transcript::texts() const
{
    QStringList result;
    for (const Entry& entry : m_entries)
        result.append(entry.text);
    return result;
}

QStringList Transcript::texts(Kind kind) const
{
    QStringList result;
    for (const Entry& entry : m_entries)
        if (entry.kind == kind)
            result.append(entry.text);
    return result;
}

} // namespace quillio::test
