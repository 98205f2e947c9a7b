#pragma once

#include "business/ExportEntry.h"

#include <QList>
#include <QString>
#include <optional>

namespace quillio::business {

class BusinessFile;

// The register of electronic invoices: which progressive each invoice was given and every file
// written. The exchange system refuses a file name it has seen from the same sender, so a
// progressive is never given out twice for the data directory, whatever happens to the files.
class ExportRegister
{
public:
    explicit ExportRegister(BusinessFile& file) : m_file(file) {}

    // The progressive the invoice's file goes out under: the one it was last given, or a new one
    // when it has none or `fresh` asks for it (a corrected file after a rejection). A new one is
    // stored before it is returned.
    QString progressiveFor(int year, qint64 number, bool fresh);
    // The progressive the invoice was last given, without giving one.
    std::optional<QString> currentProgressive(int year, qint64 number);

    void record(const ExportEntry& entry);
    // Every file written for invoices of the year, oldest first; with their content when asked.
    QList<ExportEntry> entries(int year, bool withContent = false);

    // The n-th progressive: five digits and capital letters counting in base 36 ("00001" …).
    static QString progressiveText(qint64 sequence);

private:
    BusinessFile& m_file;
};

} // namespace quillio::business
