#pragma once

#include "einvoice/CompanyData.h"

namespace quillio::test {

// The one sample seller of the tests, the bench and the screenshots: a company with valid
// identification numbers, a bank account and a register entry.
class SampleCompany
{
public:
    static einvoice::CompanyData seller(const QString& regimeFiscale = QStringLiteral("RF01"));
};

} // namespace quillio::test
