#pragma once

#include <QList>
#include <QString>

namespace quillio::test {

// A customer of the address book as the person types it in.
struct SampleCustomer
{
    QString name;
    QString street;
    QString town;
    QString postCode;
    QString phone;
    QString mobile;
    QString contact;
};

// The few named customers the pictures and the fixed examples show: a company, a person, a shop
// whose name has an accent and an ampersand, a large company and a professional's office. The bench
// makes its thousands of customers from its own generator instead.
class SampleCustomers
{
public:
    static const QList<SampleCustomer>& all();
    static QStringList names();
};

} // namespace quillio::test
