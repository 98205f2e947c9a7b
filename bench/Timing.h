#pragma once

#include <QElapsedTimer>
#include <QList>

namespace quillio::bench {

// Stopwatch and statistics shared by the measurements.
class Timing
{
public:
    template <typename Work> static double milliseconds(Work&& work)
    {
        QElapsedTimer clock;
        clock.start();
        work();
        return double(clock.nsecsElapsed()) / 1e6;
    }

    // The middle sample (the mean of the two middle ones for an even count); 0 for none.
    static double median(QList<double> samples);
    // How many times to repeat a measurement whose cost grows with the table: small tables give
    // small, noisy figures and are cheap to repeat.
    static int repetitionsFor(int records);
};

} // namespace quillio::bench
