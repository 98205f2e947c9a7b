#include "Timing.h"

#include <algorithm>

namespace quillio::bench {

double Timing::median(QList<double> samples)
{
    if (samples.isEmpty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const qsizetype middle = samples.size() / 2;
    return samples.size() % 2 ? samples.at(middle) : (samples.at(middle - 1) + samples.at(middle)) / 2;
}

int Timing::repetitionsFor(int records)
{
    if (records <= 1000)
        return 21;
    if (records <= 10000)
        return 9;
    return 3;
}

} // namespace quillio::bench
