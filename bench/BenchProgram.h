#pragma once

#include "Figure.h"
#include "Measurement.h"

#include <QList>

namespace quillio::bench {

// Builds an archive of each size in a temporary directory, takes every measurement on it and
// prints the figures: a block of text per size as soon as it is measured, or one JSON array at the
// end.
class BenchProgram
{
public:
    enum class Output { Text, Json };

    BenchProgram(Output output, const QList<int>& sizes);
    int run();

    static QList<Measurement> measurements();

private:
    QList<Figure> measureArchiveOf(int records, const QString& root);

    Output m_output;
    QList<int> m_sizes;
};

} // namespace quillio::bench
