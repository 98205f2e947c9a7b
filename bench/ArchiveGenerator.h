#pragma once

#include "GeneratedArchive.h"
#include "SampleRecords.h"

#include <QString>
#include <functional>

namespace quillio::bench {

// Builds a year's archive of generated records: the table files are created and protected the way
// the program creates its own, then filled directly in one transaction each (posting a hundred
// thousand records one by one would measure the disk, not the tables).
class ArchiveGenerator
{
public:
    // Archives are made in subdirectories of `root`.
    explicit ArchiveGenerator(const QString& root);

    // An archive whose customer and invoice tables hold `records` records each.
    GeneratedArchive generate(int records);

private:
    using RecordMaker = std::function<SampleRecord(int)>;

    static void createTable(const QString& directory, const QString& fileName, const QString& columns);
    static void fill(const QString& path, int records, const RecordMaker& makeRecord);

    QString m_root;
};

} // namespace quillio::bench
