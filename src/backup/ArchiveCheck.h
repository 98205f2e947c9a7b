#pragma once

#include <QString>
#include <QStringList>

namespace quillio::backup {

// Verifies a data directory (a folder or a server's database): every year's tables can be opened
// with the archive's password and read to the end, have the columns the program expects, and
// number consistently (the next number lies above every record's); and the company data reads,
// its register giving each progressive once. A restore that was stopped halfway is a problem of
// its own: the check reports it and changes nothing.
class ArchiveCheck
{
public:
    struct Report
    {
        QStringList lines;    // what was found, one line per year's table and one for the company
        QStringList problems; // empty when the archive is sound

        bool ok() const { return problems.isEmpty(); }
    };

    // `tableFiles`: the customers', drafts' and invoices' table names, in that order.
    static Report check(const QString& place, const QStringList& tableFiles);

private:
    static void checkTable(const QString& yearPlace, const QString& year, const QString& table, int kind,
                           Report& report);
    static void checkCompanyData(const QString& place, Report& report);
};

} // namespace quillio::backup
