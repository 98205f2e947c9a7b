#pragma once

#include <QList>

namespace quillio::report {

// The order in which pages go to a device that cannot make copies itself: collated, whole sets
// one after the other (1 2 3 1 2 3); not collated, each page repeated (1 1 2 2 3 3).
class PageSequence
{
public:
    static QList<int> order(int pageCount, int copies, bool collate);
};

} // namespace quillio::report
