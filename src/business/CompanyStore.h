#pragma once

#include "einvoice/CompanyData.h"

#include <QString>
#include <optional>

namespace quillio::business {

class BusinessFile;

// The company's own data and the few choices remembered for the whole data directory.
class CompanyStore
{
public:
    explicit CompanyStore(BusinessFile& file) : m_file(file) {}

    // Nothing until the company's data were first stored.
    std::optional<einvoice::CompanyData> company();
    void setCompany(const einvoice::CompanyData& company);

    // The folder electronic invoices were last written into; empty until chosen.
    QString exportFolder();
    void setExportFolder(const QString& folder);

private:
    BusinessFile& m_file;
};

} // namespace quillio::business
