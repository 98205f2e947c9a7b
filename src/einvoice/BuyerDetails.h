#pragma once

#include <QJsonObject>
#include <QString>

namespace quillio::einvoice {

// What the electronic invoice needs about a buyer beyond the invoice record: how it is reached,
// and the province and country of its address.
struct BuyerDetails
{
    QString codiceDestinatario; // 7 characters; empty when the buyer gave none
    QString pec;                // certified e-mail address, when the buyer is reached that way
    QString provincia;
    QString nazione = QStringLiteral("IT");

    // The key the details are stored under: "PIVA:<vat>" when the buyer has a VAT number, else
    // "CF:<code>"; empty when it has neither. Blanks around and case do not matter.
    static QString key(const QString& partitaIva, const QString& codiceFiscale);

    QJsonObject toJson() const;
    static BuyerDetails fromJson(const QJsonObject& object);
};

} // namespace quillio::einvoice
