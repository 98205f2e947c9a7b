#pragma once

#include <QByteArray>

namespace quillio::accountant {

class SalesRegister;

// "Fatture-AAAA.csv": one row per invoice of the register's period, under a row of headings.
class SalesRegisterCsv
{
public:
    static QByteArray of(const SalesRegister& salesRegister);
};

} // namespace quillio::accountant
