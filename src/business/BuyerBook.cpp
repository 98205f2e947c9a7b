#include "business/BuyerBook.h"

#include "business/BusinessFile.h"

namespace quillio::business {

namespace {

QString documentName(const QString& partitaIva, const QString& codiceFiscale)
{
    const QString key = einvoice::BuyerDetails::key(partitaIva, codiceFiscale);
    return key.isEmpty() ? QString() : QStringLiteral("buyer:") + key;
}

} // namespace

std::optional<einvoice::BuyerDetails> BuyerBook::details(const QString& partitaIva,
                                                         const QString& codiceFiscale)
{
    const QString name = documentName(partitaIva, codiceFiscale);
    if (name.isEmpty())
        return std::nullopt;
    const std::optional<QJsonObject> stored = m_file.document(name);
    if (!stored)
        return std::nullopt;
    return einvoice::BuyerDetails::fromJson(*stored);
}

void BuyerBook::remember(const QString& partitaIva, const QString& codiceFiscale,
                         const einvoice::BuyerDetails& details)
{
    const QString name = documentName(partitaIva, codiceFiscale);
    if (!name.isEmpty())
        m_file.setDocument(name, details.toJson());
}

} // namespace quillio::business
