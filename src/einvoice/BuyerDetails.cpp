#include "einvoice/BuyerDetails.h"

namespace quillio::einvoice {

QString BuyerDetails::key(const QString& partitaIva, const QString& codiceFiscale)
{
    const QString vat = partitaIva.trimmed().toUpper();
    if (!vat.isEmpty())
        return QStringLiteral("PIVA:") + vat;
    const QString code = codiceFiscale.trimmed().toUpper();
    if (!code.isEmpty())
        return QStringLiteral("CF:") + code;
    return QString();
}

QJsonObject BuyerDetails::toJson() const
{
    return {{"codiceDestinatario", codiceDestinatario},
            {"pec", pec},
            {"provincia", provincia},
            {"nazione", nazione}};
}

BuyerDetails BuyerDetails::fromJson(const QJsonObject& object)
{
    BuyerDetails details;
    details.codiceDestinatario = object.value(QLatin1String("codiceDestinatario")).toString();
    details.pec = object.value(QLatin1String("pec")).toString();
    details.provincia = object.value(QLatin1String("provincia")).toString();
    details.nazione = object.value(QLatin1String("nazione")).toString(QStringLiteral("IT"));
    return details;
}

} // namespace quillio::einvoice
