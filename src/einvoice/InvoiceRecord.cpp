#include "einvoice/InvoiceRecord.h"

#include "engine/Dataset.h"
#include "engine/Values.h"

namespace quillio::einvoice {

using engine::Values;

namespace {

QString slotName(const char* prefix, int slot)
{
    return QLatin1String(prefix) + QStringLiteral("%1").arg(slot, 2, 10, QLatin1Char('0'));
}

QString text(const engine::Dataset& dataset, const char* field)
{
    const QVariant value = dataset.fieldValue(QLatin1String(field));
    return Values::isNull(value) ? QString() : value.toString();
}

std::optional<double> number(const QVariant& value)
{
    if (Values::isNull(value))
        return std::nullopt;
    return value.toDouble();
}

std::optional<double> number(const engine::Dataset& dataset, const char* field)
{
    return number(dataset.fieldValue(QLatin1String(field)));
}

} // namespace

InvoiceRecord InvoiceRecord::fromDataset(const engine::Dataset& dataset)
{
    InvoiceRecord record;
    const QVariant ordNum = dataset.fieldValue(QStringLiteral("OrdNum"));
    if (!Values::isNull(ordNum))
        record.ordNum = ordNum.toLongLong();
    record.stato = text(dataset, "Stato");
    const QVariant data = dataset.fieldValue(QStringLiteral("Data"));
    if (!Values::isNull(data))
        record.data = data.toDate();
    record.codRif = number(dataset, "CodRif");
    record.ragioneSociale = text(dataset, "Ragione_Sociale");
    record.via = text(dataset, "Via");
    record.citta = text(dataset, "Citta");
    record.cap = text(dataset, "Cap");
    record.pIva = text(dataset, "PIva");
    record.cf = text(dataset, "CF");
    record.testo1 = text(dataset, "Testo1");
    record.testo2 = text(dataset, "Testo2");
    for (int slot = 1; slot <= slotCount; ++slot) {
        const QVariant description = dataset.fieldValue(slotName("Desc", slot));
        record.desc[slot - 1] = Values::isNull(description) ? QString() : description.toString();
        record.costo[slot - 1] = number(dataset.fieldValue(slotName("Costo", slot)));
    }
    const QVariant automatic = dataset.fieldValue(QStringLiteral("TotAut"));
    record.totAut = Values::isNull(automatic) || automatic.toBool();
    record.totale = number(dataset, "Totale");
    record.iva = number(dataset, "Iva");
    record.totaleIva = number(dataset, "Totale_Iva");
    record.totaleFattura = number(dataset, "Totale_Fattura");
    record.condizioni = text(dataset, "Condizioni");
    record.note = text(dataset, "Note");
    return record;
}

} // namespace quillio::einvoice
