#pragma once

#include "GeneratedArchive.h"
#include "SampleRecords.h"

#include <QString>
#include <functional>

namespace quillio::bench {

// Builds a year's archive of generated records: the table files are created and protected the way
// the program creates its own, through the engine, then filled directly in one transaction each
// (posting a hundred thousand records one by one would measure the disk, not the tables).
class ArchiveGenerator
{
public:
    // Archives are made in subdirectories of the folder `root`, or in year schemas of the database
    // of the server address `root`.
    explicit ArchiveGenerator(const QString& root);

    // An archive whose customer and invoice tables hold `records` records each.
    GeneratedArchive generate(int records);
    // Removes the archive's folder or schema, with its tables.
    static void remove(const GeneratedArchive& archive);

private:
    using RecordMaker = std::function<SampleRecord(int)>;

    static void createTable(const QString& directory, const QString& fileName, const QString& columns);
    static void fill(const GeneratedArchive& archive, const QString& fileName, const RecordMaker& makeRecord);
    static void fillFile(const QString& path, int records, const RecordMaker& makeRecord);
    static void fillServerTable(const QString& yearAddress, const QString& fileName, int records,
                                const RecordMaker& makeRecord);

    QString m_root;
};

} // namespace quillio::bench
