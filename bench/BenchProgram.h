#pragma once

#include "Figure.h"
#include "Measurement.h"

#include <QList>

namespace quillio::bench {

// Builds an archive of each size, in a temporary directory or on a throw-away database server of
// its own, takes every measurement on it and prints the figures: a block of text per size as soon
// as it is measured, or one JSON array at the end.
class BenchProgram
{
public:
    enum class Output { Text, Json };
    // Where the archives live: table files, or tables of a PostgreSQL server.
    enum class Backend { Files, PostgreSql };

    BenchProgram(Output output, Backend backend, const QList<int>& sizes);
    int run();

    // The figures taken on every archive of `backend`; on a server only the engine's own, since the
    // others measure processes and copies that work on files.
    static QList<Measurement> measurements(Backend backend);

private:
    int runOnFiles();
    int runOnServer();
    QList<Figure> measureArchiveOf(int records, const QString& root);
    // Prints a block as soon as it is measured, for text; keeps every figure for JSON.
    void report(int records, const QList<Figure>& figures);
    int finish();

    Output m_output;
    Backend m_backend;
    QList<int> m_sizes;
    QList<Figure> m_all;
};

} // namespace quillio::bench
