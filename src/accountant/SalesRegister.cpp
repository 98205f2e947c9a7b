#include "accountant/SalesRegister.h"

#include "accountant/AmountText.h"
#include "einvoice/Cents.h"

#include <QSet>
#include <algorithm>

namespace quillio::accountant {

QString RegisterPeriod::problem() const
{
    if (year < 1900 || year > 9999)
        return QStringLiteral("L'anno %1 non è un anno di lavoro (da 1900 a 9999).").arg(year);
    if (fromMonth < 1 || fromMonth > 12 || toMonth < 1 || toMonth > 12)
        return QStringLiteral("I mesi vanno da 1 a 12 (indicati: da %1 a %2).").arg(fromMonth).arg(toMonth);
    if (fromMonth > toMonth)
        return QStringLiteral("Il mese iniziale viene dopo quello finale.");
    return {};
}

using einvoice::Cents;
using einvoice::InvoiceRecord;

namespace {

qint64 cents(const std::optional<double>& value)
{
    return value ? Cents::fromDouble(*value).value_or(0) : 0;
}

RegisterRow rowOf(const InvoiceRecord& invoice, const QMap<qint64, QString>& electronicFiles)
{
    RegisterRow row;
    row.number = *invoice.ordNum;
    row.date = invoice.data;
    row.customer = invoice.ragioneSociale;
    row.partitaIva = invoice.pIva;
    row.codiceFiscale = invoice.cf;
    row.stato = invoice.stato;
    if (invoice.iva)
        row.rate = Cents::fromDouble(*invoice.iva);
    row.taxable = cents(invoice.totale);
    row.vat = cents(invoice.totaleIva);
    row.total = cents(invoice.totaleFattura);
    row.electronicFile = electronicFiles.value(row.number);
    return row;
}

// The totals the lines give, computed as the editor computes them, in cents.
struct LineTotals
{
    qint64 taxable;
    qint64 vat;
    qint64 total;
};

LineTotals fromLines(const InvoiceRecord& invoice)
{
    double sum = 0;
    for (const std::optional<double>& amount : invoice.costo)
        if (amount && *amount > 0)
            sum += *amount;
    const double vat = sum * invoice.iva.value_or(0) / 100;
    return {cents(sum), cents(vat), cents(sum + vat)};
}

QString dateText(const QDate& date)
{
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

} // namespace

void RegisterTotal::add(const RegisterRow& row)
{
    ++invoices;
    taxable += row.taxable;
    vat += row.vat;
    total += row.total;
}

SalesRegister SalesRegister::build(const QList<InvoiceRecord>& invoices, const RegisterPeriod& period,
                                   const QMap<qint64, QString>& electronicFiles)
{
    SalesRegister reg;
    reg.m_period = period;
    QList<qint64> yearNumbers;
    for (const InvoiceRecord& invoice : invoices) {
        if (!invoice.ordNum)
            continue;
        yearNumbers.append(*invoice.ordNum);
        if (!invoice.data.isValid() || invoice.data.year() != period.year) {
            reg.m_oddities.append(
                {RegisterOddity::Kind::OutsideYear, *invoice.ordNum,
                 invoice.data.isValid()
                     ? QStringLiteral("La fattura %1 è datata %2, fuori dall'anno %3: non è nel registro.")
                           .arg(*invoice.ordNum)
                           .arg(dateText(invoice.data))
                           .arg(period.year)
                     : QStringLiteral("La fattura %1 non ha data: non è nel registro.")
                           .arg(*invoice.ordNum)});
            continue;
        }
        if (!period.contains(invoice.data))
            continue;
        const RegisterRow row = rowOf(invoice, electronicFiles);
        reg.m_rows.append(row);
        reg.m_months[row.date.month()].add(row);
        reg.m_rates[row.rate.value_or(noRate)].add(row);
        reg.m_total.add(row);
        reg.addTotalsMismatch(invoice);
    }
    std::sort(reg.m_rows.begin(), reg.m_rows.end(),
              [](const RegisterRow& a, const RegisterRow& b) { return a.number < b.number; });
    reg.addGaps(yearNumbers);
    std::stable_sort(reg.m_oddities.begin(), reg.m_oddities.end(),
                     [](const RegisterOddity& a, const RegisterOddity& b) { return a.number < b.number; });
    return reg;
}

// A missing number belongs to the period of the invoice that follows it, so each gap is reported
// once, in the export that holds the invoice after it.
void SalesRegister::addGaps(const QList<qint64>& yearNumbers)
{
    QList<qint64> numbers = yearNumbers;
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    QSet<qint64> inPeriod;
    for (const RegisterRow& row : m_rows)
        inPeriod.insert(row.number);
    qint64 previous = 0;
    for (qint64 number : numbers) {
        if (inPeriod.contains(number) && number > previous + 1) {
            const QString text = number == previous + 2
                                     ? QStringLiteral("Manca la fattura numero %1.").arg(previous + 1)
                                     : QStringLiteral("Mancano le fatture dal numero %1 al numero %2.")
                                           .arg(previous + 1)
                                           .arg(number - 1);
            m_oddities.append({RegisterOddity::Kind::MissingNumber, previous + 1, text});
        }
        previous = number;
    }
}

void SalesRegister::addTotalsMismatch(const InvoiceRecord& invoice)
{
    const LineTotals lines = fromLines(invoice);
    if (lines.taxable == cents(invoice.totale) && lines.vat == cents(invoice.totaleIva) &&
        lines.total == cents(invoice.totaleFattura))
        return;
    m_oddities.append(
        {RegisterOddity::Kind::TotalsMismatch, *invoice.ordNum,
         QStringLiteral("I totali della fattura %1 non corrispondono alle sue righe "
                        "(imponibile dalle righe %2, memorizzato %3%4).")
             .arg(*invoice.ordNum)
             .arg(AmountText::grouped(lines.taxable), AmountText::grouped(cents(invoice.totale)),
                  invoice.totAut ? QString() : QStringLiteral(", totali inseriti a mano"))});
}

} // namespace quillio::accountant
