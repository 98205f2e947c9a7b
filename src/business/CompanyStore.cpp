#include "business/CompanyStore.h"

#include "business/BusinessFile.h"

namespace quillio::business {

namespace {

const QString companyDocument = QStringLiteral("company");
const QString choicesDocument = QStringLiteral("choices");
const QString exportFolderKey = QStringLiteral("exportFolder");

} // namespace

std::optional<einvoice::CompanyData> CompanyStore::company()
{
    const std::optional<QJsonObject> stored = m_file.document(companyDocument);
    if (!stored)
        return std::nullopt;
    return einvoice::CompanyData::fromJson(*stored);
}

void CompanyStore::setCompany(const einvoice::CompanyData& company)
{
    m_file.setDocument(companyDocument, company.toJson());
}

QString CompanyStore::exportFolder()
{
    return m_file.document(choicesDocument).value_or(QJsonObject()).value(exportFolderKey).toString();
}

void CompanyStore::setExportFolder(const QString& folder)
{
    QJsonObject choices = m_file.document(choicesDocument).value_or(QJsonObject());
    choices.insert(exportFolderKey, folder);
    m_file.setDocument(choicesDocument, choices);
}

} // namespace quillio::business
