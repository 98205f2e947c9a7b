#pragma once

#include "einvoice/InvoiceRecord.h"

#include <QDate>
#include <QList>
#include <QMap>
#include <QString>
#include <optional>

namespace quillio::accountant {

// The months of one working year handed to the accountant, both ends included.
struct RegisterPeriod
{
    int year = 0;
    int fromMonth = 1;
    int toMonth = 12;

    bool contains(const QDate& date) const
    {
        return date.isValid() && date.year() == year && date.month() >= fromMonth && date.month() <= toMonth;
    }
    // What is wrong with the period, in Italian; empty when it names months of a year.
    QString problem() const;
};

// One invoice as the register shows it: the amounts are the invoice's own, in cents, rounded half
// away from zero exactly as the printed invoice shows them.
struct RegisterRow
{
    qint64 number = 0;
    QDate date;
    QString customer;
    QString partitaIva;
    QString codiceFiscale;
    QString stato;
    std::optional<qint64> rate; // hundredths of a percent; none when the invoice has no rate
    qint64 taxable = 0;
    qint64 vat = 0;
    qint64 total = 0;
    QString electronicFile; // the electronic invoice's file name, when one was written
};

// Sums of the rounded figures, so the totals on paper add up.
struct RegisterTotal
{
    int invoices = 0;
    qint64 taxable = 0;
    qint64 vat = 0;
    qint64 total = 0;

    void add(const RegisterRow& row);
};

// Something the accountant will ask about, or that the export had to change.
struct RegisterOddity
{
    enum class Kind { MissingNumber, TotalsMismatch, OutsideYear, RenamedElectronicFile };
    Kind kind;
    qint64 number = 0;
    QString text; // in Italian
};

// The sales VAT register of a period: its invoices in number order, the totals per month and per
// rate, and the gaps and oddities: numbers missing from the sequence, stored totals that do not
// match the lines, invoices dated outside their working year.
class SalesRegister
{
public:
    // `invoices`: every invoice of the working year's table, in any order. `electronicFiles`: the
    // last electronic-invoice file name written for each invoice number.
    static SalesRegister build(const QList<einvoice::InvoiceRecord>& invoices, const RegisterPeriod& period,
                               const QMap<qint64, QString>& electronicFiles = {});

    const RegisterPeriod& period() const { return m_period; }
    const QList<RegisterRow>& rows() const { return m_rows; }
    const QMap<int, RegisterTotal>& monthTotals() const { return m_months; }  // by month 1..12
    const QMap<qint64, RegisterTotal>& rateTotals() const { return m_rates; } // by rate, hundredths; -1 none
    const RegisterTotal& grandTotal() const { return m_total; }
    const QList<RegisterOddity>& oddities() const { return m_oddities; }

    static constexpr qint64 noRate = -1;

private:
    void addGaps(const QList<qint64>& yearNumbers);
    void addTotalsMismatch(const einvoice::InvoiceRecord& invoice);

    RegisterPeriod m_period;
    QList<RegisterRow> m_rows;
    QMap<int, RegisterTotal> m_months;
    QMap<qint64, RegisterTotal> m_rates;
    RegisterTotal m_total;
    QList<RegisterOddity> m_oddities;
};

} // namespace quillio::accountant
