#pragma once

#include <QStringList>

namespace quillio {

// The files the program ships (the report layout, the guide) are looked for beside the program
// first, as in the build tree or a copy carried on a stick, then where an installation put them.
class ProgramFiles
{
public:
    // The first of `candidates` that is an existing file; the empty text when none is.
    static QString firstExisting(const QStringList& candidates);

    // Where the guide's first page may be, in the order it is looked for.
    static QStringList guideCandidates();
    // The guide's first page; the empty text when no guide is there.
    static QString guideIndex();
};

} // namespace quillio
