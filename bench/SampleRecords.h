#pragma once

#include <QList>
#include <QRandomGenerator>
#include <QString>
#include <QVariant>
#include <utility>

namespace quillio::bench {

// A record as field name and value pairs, in column order; a null value leaves its field blank.
using SampleRecord = QList<std::pair<QString, QVariant>>;

// Makes records that look like a small Italian business's: company names, streets, towns, VAT
// numbers, invoice lines with amounts, memos. The same seed gives the same records, so every run of
// the bench works on the same data.
class SampleRecords
{
public:
    explicit SampleRecords(quint32 seed);

    SampleRecord customer();
    // Every invoice carries all twenty line slots (the unused ones null), so all invoices share one
    // column list and one prepared insert.
    SampleRecord invoice(int number);

private:
    QString pick(const QStringList& choices);
    QString companyName();
    QString personName();
    QString street();
    std::pair<QString, QString> townAndPostCode();
    QString digits(int count);
    QString taxCode();
    // Eleven digits whose last is the check digit, as a real VAT number has.
    QString vatNumber();
    double amount(int minimumCents, int maximumCents);

    QRandomGenerator m_random;
};

} // namespace quillio::bench
