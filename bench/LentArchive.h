#pragma once

#include "GeneratedArchive.h"

#include <QString>

namespace quillio::bench {

// Lends the generated table files to a program directory as its working year's archive for as long
// as it lives, then gives them back. The files are moved, not copied: the largest are hundreds of
// megabytes.
class LentArchive
{
public:
    LentArchive(const GeneratedArchive& archive, const QString& programDirectory);
    ~LentArchive();
    LentArchive(const LentArchive&) = delete;
    LentArchive& operator=(const LentArchive&) = delete;

    static inline const QString WorkingYear = QStringLiteral("2009");

private:
    QString m_from;
    QString m_to;
};

} // namespace quillio::bench
