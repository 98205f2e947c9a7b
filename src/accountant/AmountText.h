#pragma once

#include <QString>
#include <optional>

namespace quillio::accountant {

// Amounts in cents written the Italian way, whatever the system's language: the accountant's
// spreadsheet and the register read them as the printed invoice shows them.
class AmountText
{
public:
    // "1234,50", "-3,00": decimal comma, no grouping, as a spreadsheet reads a number.
    static QString plain(qint64 cents);
    // "1.234,50": grouped by thousands, for the printed register.
    static QString grouped(qint64 cents);
    // A rate in hundredths of a percent: "22", "7,3", "4,25"; empty for none.
    static QString rate(std::optional<qint64> hundredths);
};

} // namespace quillio::accountant
