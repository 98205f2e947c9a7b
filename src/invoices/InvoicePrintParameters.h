#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <utility>

namespace quillio::engine {
class Dataset;
}
namespace quillio::report {
class ReportProject;
}

namespace quillio::invoices {

// What the print command hands to the invoice layout: the fields of the current invoice record
// as named texts, in the order they are set, and the command itself.
class InvoicePrintParameters
{
public:
    using Parameter = std::pair<QString, QString>;

    // Every parameter name, in the order the print command sets them.
    static QStringList names();
    // The parameters of the invoice the dataset stands on. A blank field gives the empty text.
    static QList<Parameter> read(const engine::Dataset& invoice);

    // "#,##0.00": rounded half away from zero on the decimal value shown in the editor (15
    // significant digits), so 0.305 gives 0,31; grouped with the locale's separators.
    static QString amountText(double value);
    // "#0.##": at most two decimals, none when they are zero (20 gives 20, 7.3 gives 7,3).
    static QString rateText(double value);
    // The locale's short date with a four-digit year.
    static QString dateText(const QDate& date);

    // The layout file of invoices under the program directory `pathPrg`, else the one an
    // installation put in its data directory. When neither exists, the one under `pathPrg`, so
    // the missing-file error names the place looked at first.
    static QString layoutPath(const QString& pathPrg);

    // The print command: set the layout path, open it, clear every parameter, set them from the
    // invoice, run the report, close it. The project is closed even when a step fails; the
    // error then travels on to the caller's error handler. The invoice is only read.
    static void print(report::ReportProject& project, const engine::Dataset& invoice, const QString& pathPrg);
    // The same with PathPrg read afresh from the settings.
    static void print(report::ReportProject& project, const engine::Dataset& invoice);
    // The invoice as the print command lays it out, written as a PDF/A-1b file without asking
    // anything: the page attached to its electronic invoice.
    static void writeArchivalPdf(report::ReportProject& project, const engine::Dataset& invoice,
                                 const QString& pathPrg, const QString& path);
};

} // namespace quillio::invoices
