#include "report/PageSequence.h"

namespace quillio::report {

QList<int> PageSequence::order(int pageCount, int copies, bool collate)
{
    QList<int> pages;
    const int sets = qMax(1, copies);
    if (collate) {
        for (int set = 0; set < sets; ++set)
            for (int page = 0; page < pageCount; ++page)
                pages.append(page);
    } else {
        for (int page = 0; page < pageCount; ++page)
            for (int set = 0; set < sets; ++set)
                pages.append(page);
    }
    return pages;
}

} // namespace quillio::report
