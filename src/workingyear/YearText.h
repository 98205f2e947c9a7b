#pragma once

#include <QString>

namespace quillio::workingyear {

// Judges the text typed as a working year before it is joined to the data directory.
class YearText
{
public:
    // Whether the text names a directory below the data directory: not empty, not the data
    // directory itself, not rooted (a separator, a drive letter or a network prefix at the start)
    // and without a ".." level. Both separators count on every platform, so a year written on one
    // system cannot climb out on another.
    static bool staysInDataDirectory(const QString& text);
};

} // namespace quillio::workingyear
