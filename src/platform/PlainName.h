#pragma once

#include <QString>

namespace quillio {

// Names that come from outside the program (a schema on a server, a folder, a zip entry, the
// settings, a file name in the register) and are joined to a path. Only one plain path segment may
// be joined: anything that could climb out of the folder it is joined to, name a drive or a device,
// or hide among the program's own dot-named working folders is refused before it reaches a path.
class PlainName
{
public:
    // One segment: not empty, at most 100 characters, neither "." nor "..", no separator of either
    // kind, no drive colon, no control character, no leading blank and no trailing blank or dot
    // (which Windows drops, making two names one).
    static bool isSegment(const QString& name);
    // A working year's directory (or schema) name: one segment that does not start with a dot, so
    // that the staging folders of copies and restores are never taken for a year.
    static bool isYear(const QString& name);
};

} // namespace quillio
